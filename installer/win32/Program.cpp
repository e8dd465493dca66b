#include "installer/win32/Program.h"

#include "core/Fatal.h"
#include "installer/CommandLine.h"
#include "installer/InstallSettings.h"
#include "installer/MessageTable.h"
#include "installer/Startup.h"

#include <cstdarg>
#include <cstdio>

namespace {

const char kCorruptText[] =
    "This installation program is corrupt.  This is usually caused by a faulty download, but "
    "it can also be caused by a virus on your computer.  The installation cannot proceed.\r\n"
    "\r\n"
    "Delete the corrupted installer (to prevent caching), then re-download it.  If the problem "
    "persists, check your system for viruses.\r\n"
    "\r\n"
    "Error code: %d";

} // namespace

ProgramState& programState() {
    static ProgramState state;
    return state;
}

String message(int id) {
    const InstallSettings& settings = installSettings();
    return messageFrom(settings.messageTable, id, settings.currentLanguage, settings.productName,
                       startupValues().windowsDir);
}

HWND ownerWindow() {
    const ProgramState& state = programState();
    if (state.progressDialog)
        return state.progressDialog;
    return state.backgroundWindow;
}

int messageBox(const char* text, int captionId, unsigned flags) {
    return MessageBoxA(ownerWindow(), text, message(captionId).c_str(), flags);
}

void setWindowText(HWND window, const char* text) {
    SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void setItemText(HWND dialog, int item, const char* text) {
    SendDlgItemMessageA(dialog, item, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void setItemMessage(HWND dialog, int item, int id) {
    setItemText(dialog, item, message(id).c_str());
}

void showError(const char* format, ...) {
    const ProgramState& state = programState();
    if (state.automaticMode && !state.errorsInAutomaticMode)
        return;
    va_list args;
    va_start(args, format);
    String text;
    text.appendFormatList(format, args);
    va_end(args);
    if (text.isBlank())
        return;
    String caption = message(21);
    MessageBoxA(ownerWindow(), text.c_str(), caption.isEmpty() ? "Error" : caption.c_str(),
                MB_ICONERROR);
}

void corruptInstaller(int code) {
    String format = message(13);
    if (format.isEmpty())
        format.assign(kCorruptText);
    fatalError(formatWithCode(format, code));
}

void usage(const char* text) {
    fatalError(usageText(text, startupValues().installerFileName.c_str()));
}

bool pumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        if (msg.message == WM_DESTROY || msg.message == WM_CLOSE || msg.message == WM_QUIT)
            return true;
    }
    return false;
}

void exitInstaller() {
    ProgramState& state = programState();
    if (state.progressDialog) {
        DestroyWindow(state.progressDialog);
        state.progressDialog = nullptr;
    }
    if (state.backgroundWindow) {
        ShowWindow(state.backgroundWindow, SW_MINIMIZE);
        DestroyWindow(state.backgroundWindow);
        state.backgroundWindow = nullptr;
    }
    pumpMessages();
    for (const String& directory : state.directoriesMadeAhead)
        RemoveDirectoryA(directory.c_str());
    OleUninitialize();
    ExitProcess(1);
}
