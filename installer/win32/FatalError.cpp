// The installer's fatal report: a task-modal box captioned "FATAL ERROR",
// then the usual way out. Linked into the program only; test programs bring
// their own report.
#include "core/Fatal.h"
#include "installer/win32/Program.h"

void fatalError(const char* text) {
    ProgramState& state = programState();
    // A failure while a fatal error is already on screen must not recurse.
    if (state.reportingFatalError)
        ExitProcess(1);
    state.reportingFatalError = true;
    MessageBoxA(ownerWindow(), text ? text : "", "FATAL ERROR", MB_TASKMODAL | MB_ICONERROR);
    exitInstaller();
}

void fatalError(const String& text) {
    fatalError(text.c_str());
}
