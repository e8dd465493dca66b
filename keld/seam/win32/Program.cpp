// The command line comes as UTF-16 from the system, not as argv in the ANSI code
// page, so that any file name given on it can be opened.
#include "keld/Program.h"

#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

namespace keld {

namespace {

std::string utf8(const wchar_t* text) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1)
        return std::string();
    std::string out(size_t(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], length, nullptr, nullptr);
    out.resize(size_t(length) - 1);
    return out;
}

} // namespace

std::vector<std::string> programArguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide)
        return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i)
        args.push_back(utf8(wide[i]));
    LocalFree(wide);
    return args;
}

std::string programFile() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, &path[0], DWORD(path.size()));
        if (length == 0)
            return std::string();
        if (length < path.size()) {
            path.resize(length);
            return utf8(path.c_str());
        }
        path.resize(path.size() * 2);
    }
}

bool stderrShowsProgress() {
    // A pipe or a file has no console mode. A console takes "ESC [K" only once
    // asked to (Windows 10 and later); older ones get no progress line.
    const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode = 0;
    if (err == INVALID_HANDLE_VALUE || !GetConsoleMode(err, &mode))
        return false;
    return (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0 ||
           SetConsoleMode(err, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

} // namespace keld
