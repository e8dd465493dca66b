#include "core/ProgramName.h"

namespace {
const char* gProgramName; // null: none set; zero, so no writable data in varnoke.exe
} // namespace

const char* programName() {
    return gProgramName ? gProgramName : "";
}

// The name must outlive the program: callers pass a literal.
void setProgramName(const char* name) {
    gProgramName = name;
}
