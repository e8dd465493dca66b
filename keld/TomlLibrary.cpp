// toml++'s implementation, compiled once for every file that reads a project
// (Debian's libtomlplusplus.so exists for the host only; keld.exe needs its own).
#define TOML_IMPLEMENTATION
#include <toml++/toml.h>
