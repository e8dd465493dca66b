#include "core/ProgramName.h"

namespace {
const char* gProgramName = "";
} // namespace

const char* programName() {
    return gProgramName;
}

// The name must outlive the program: callers pass a literal.
void setProgramName(const char* name) {
    gProgramName = name ? name : "";
}
