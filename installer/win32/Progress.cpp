#include "installer/win32/Progress.h"

#include "installer/InstallSettings.h"
#include "installer/win32/Dialogs.h"
#include "installer/win32/Program.h"
#include "platform/DynamicLibrary.h"

#include <windows.h>

namespace {

constexpr int kTitleText = 1009;
constexpr int kBarPlaceholder = 1007;
constexpr int kStatusText = 1011;
constexpr int kCancelButton = 1003;

HWND gBar = nullptr;
DWORD gStepMark = 0;

bool cancelAllowed() {
    return !programState().uninstallMode && !installSettings().has(NoCancel);
}

// The bar's window class comes with the common controls, loaded from the
// system directory only.
void loadCommonControls() {
    static DynamicLibrary controls;
    if (controls.isLoaded() || !controls.load("comctl32.dll"))
        return;
    void(WINAPI * init)() = nullptr;
    if (controls.entry("InitCommonControls", init))
        init();
}

INT_PTR CALLBACK progressProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        centreWindow(dialog);
        WINDOWPLACEMENT placement = {};
        placement.length = sizeof placement;
        GetWindowPlacement(GetDlgItem(dialog, kBarPlaceholder), &placement);
        const RECT& r = placement.rcNormalPosition;
        gBar = CreateWindowExA(0, "msctls_progress32", nullptr, WS_CHILD | WS_VISIBLE, r.left - 1,
                               r.top - 1, r.right - r.left + 3, r.bottom - r.top + 3, dialog,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
        // The texts are in place before the dialog first shows, never blank.
        const bool uninstalling = programState().uninstallMode;
        setWindowText(dialog, message(uninstalling ? 55 : 54).c_str());
        setItemMessage(dialog, kTitleText, uninstalling ? 71 : 39);
        setItemMessage(dialog, kCancelButton, 49);
        EnableWindow(GetDlgItem(dialog, kCancelButton), cancelAllowed());
        return TRUE;
    }
    if (msg == WM_COMMAND && lParam != 0 && LOWORD(wParam) == kCancelButton &&
        !installSettings().has(NoCancel)) {
        confirmCancel();
        return TRUE;
    }
    return FALSE;
}

} // namespace

void openProgressDialog() {
    loadCommonControls();
    ProgramState& state = programState();
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), "ProgressDlg",
                                     state.backgroundWindow, progressProc, 0);
    if (!dialog)
        return;
    state.progressDialog = dialog;
}

void closeProgressDialog() {
    ProgramState& state = programState();
    if (state.progressDialog) {
        DestroyWindow(state.progressDialog);
        state.progressDialog = nullptr;
        gBar = nullptr;
    }
}

bool setStatusText(const String& text) {
    HWND dialog = programState().progressDialog;
    if (dialog) {
        setItemText(dialog, kStatusText, text.c_str());
        UpdateWindow(dialog);
    }
    return pumpMessages();
}

bool setProgress(int percent) {
    if (gBar)
        PostMessageA(gBar, WM_USER + 2, WPARAM(percent), 0);
    return pumpMessages();
}

void PacedProgress::showPercent() {
    if (percent_ == shownPercent_)
        return;
    shownPercent_ = percent_;
    if (gBar)
        PostMessageA(gBar, WM_USER + 2, WPARAM(percent_), 0);
}

void PacedProgress::progress(int percent) {
    percent_ = percent;
    pump();
}

void PacedProgress::pump() {
    if (!pumpPace_.due(GetTickCount()))
        return;
    showPercent();
    pumpMessages();
}

void PacedProgress::status(String&& text) {
    if (textPace_.due(GetTickCount())) {
        textPending_ = false;
        setStatusText(text);
        return;
    }
    pending_ = static_cast<String&&>(text);
    textPending_ = true;
}

void PacedProgress::finish() {
    showPercent();
    if (textPending_)
        setStatusText(pending_);
    textPending_ = false;
}

void markStep() {
    gStepMark = GetTickCount();
}

void progressStep(int messageId, int percent) {
    markStep();
    setStatusText(message(messageId));
    setProgress(percent);
}

void pauseStep(int milliseconds) {
    if (programState().automaticMode)
        return;
    for (int round = 0; round < milliseconds; ++round) {
        if (pumpMessages())
            break;
        const int64_t difference = int64_t(GetTickCount()) - int64_t(gStepMark);
        if ((difference < 0 ? -difference : difference) >= milliseconds)
            break;
        Sleep(50);
    }
}

void confirmCancel() {
    const String text = message(28);
    const String caption = message(20);
    if (MessageBoxA(ownerWindow(), text.c_str(), caption.c_str(), MB_YESNO | MB_ICONQUESTION) ==
        IDYES)
        exitInstaller();
}

void showWaitCursor() {
    SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
}

void clearCursor() {
    SetCursor(nullptr);
}
