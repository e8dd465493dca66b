// The program's entry point: the DLL search is narrowed to the system
// directory, the static constructors run, then WinMain with the command line's
// arguments, then the functions registered with atexit, then ExitProcess.
#include "platform/LibrarySearch.h"

#include <windows.h>

namespace {

using Function = void (*)();

// The C++ atexit list, kept on the heap: destructors of static objects.
struct ExitEntry {
    Function function;
    ExitEntry* next;
};
ExitEntry* gExitList = nullptr;

// What WinMain receives: the command line after the program's name (quotes
// may enclose any part of it) and the blanks and control characters after it.
char* argumentsOf(char* line) {
    bool quoted = false;
    while (static_cast<unsigned char>(*line) > ' ' || (*line && quoted)) {
        if (*line == '"')
            quoted = !quoted;
        ++line;
    }
    while (*line && static_cast<unsigned char>(*line) <= ' ')
        ++line;
    return line;
}

int showCommand() {
    STARTUPINFOA startup;
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    return startup.dwFlags & STARTF_USESHOWWINDOW ? startup.wShowWindow : SW_SHOWDEFAULT;
}

} // namespace

extern "C" {

// The linker's table of static constructors: a -1, the entries, a 0. They
// run from the last to the first, as GCC lays them out.
extern Function __CTOR_LIST__[];

int atexit(Function function) {
    auto* entry = static_cast<ExitEntry*>(HeapAlloc(GetProcessHeap(), 0, sizeof(ExitEntry)));
    if (!entry)
        return -1;
    entry->function = function;
    entry->next = gExitList;
    gExitList = entry;
    return 0;
}

// A pure virtual call is a bug in the installer, never a path it takes.
void __cxa_pure_virtual() {
    ExitProcess(3);
}

void __stdcall varnokeStart() {
    restrictLibrarySearch();
    int count = 0;
    while (__CTOR_LIST__[count + 1])
        ++count;
    for (int i = count; i >= 1; --i)
        __CTOR_LIST__[i]();

    const int result =
        WinMain(GetModuleHandleA(nullptr), nullptr, argumentsOf(GetCommandLineA()), showCommand());
    while (gExitList) {
        ExitEntry* entry = gExitList;
        gExitList = entry->next;
        entry->function();
    }
    ExitProcess(static_cast<UINT>(result));
}

} // extern "C"
