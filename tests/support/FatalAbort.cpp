// Test programs end a fatal error by printing it and aborting: death tests
// match the text on stderr.
#include "core/Fatal.h"
#include "core/String.h"

#include <cstdio>
#include <cstdlib>

void fatalError(const char* text) {
    std::fprintf(stderr, "FATAL ERROR: %s\n", text ? text : "");
    std::fflush(stderr);
    std::abort();
}

void fatalError(const String& text) {
    fatalError(text.c_str());
}
