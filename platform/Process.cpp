#include "platform/Process.h"

#include "installer/Startup.h"

#include <windows.h>

namespace {

bool dispatchMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return false;
}

bool (*gPump)(); // null: dispatchMessages; zero, so no writable data in varnoke.exe

} // namespace

void setProcessWaitPump(bool (*pump)()) {
    gPump = pump;
}

uint32_t runProcess(const String& commandLine, uint32_t options, const String& workingDirectory) {
    if (commandLine.isEmpty())
        return kRunNotStarted;
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    if (options & kRunHidden) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_HIDE;
    }
    PROCESS_INFORMATION process;
    ZeroMemory(&process, sizeof process);
    // CreateProcessA may write into the command line.
    String line(commandLine);
    if (!CreateProcessA(nullptr, line.writablePointer(0), nullptr, nullptr, FALSE,
                        NORMAL_PRIORITY_CLASS, nullptr,
                        workingDirectory.isEmpty() ? nullptr : workingDirectory.c_str(), &startup,
                        &process))
        return kRunNotStarted;
    uint32_t result = kRunNoExitCode;
    if (options & kRunWait) {
        if (options & kRunPumpMessages) {
            while (WaitForSingleObject(process.hProcess, 1) == WAIT_TIMEOUT)
                (gPump ? gPump : dispatchMessages)();
        } else {
            WaitForSingleObject(process.hProcess, INFINITE);
        }
        DWORD code = 0;
        if (GetExitCodeProcess(process.hProcess, &code))
            result = code;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}

bool startInMinimizedConsole(const String& application, const String& commandLine) {
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_MINIMIZE;
    PROCESS_INFORMATION process;
    ZeroMemory(&process, sizeof process);
    String line(commandLine);
    if (!CreateProcessA(application.isEmpty() ? nullptr : application.c_str(),
                        line.isEmpty() ? nullptr : line.writablePointer(0), nullptr, nullptr, FALSE,
                        CREATE_NEW_CONSOLE, nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool openWithShell(const String& path) {
    if (path.isBlank())
        return false;
    const String& directory = startupValues().installerDir;
    HINSTANCE result = ShellExecuteA(nullptr, nullptr, path.c_str(), nullptr,
                                     directory.isEmpty() ? nullptr : directory.c_str(), SW_SHOW);
    return reinterpret_cast<INT_PTR>(result) > 32;
}
