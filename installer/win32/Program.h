#pragma once
// The program-wide message and exit operations every part of the installer uses.

#include "core/Array.h"
#include "core/String.h"

#include <windows.h>

// The windows the program owns and the switches that decide whether it may speak.
struct ProgramState {
    HWND backgroundWindow = nullptr;
    bool backgroundClassRegistered = false; // registered once per process
    HWND progressDialog = nullptr;
    bool automaticMode = false;
    bool uninstallMode = false;
    bool errorsInAutomaticMode = false;
    bool reportingFatalError = false;
    // Made ahead of their use, deepest first: each is removed on the way out
    // while it is still empty, so that a refusal or a Cancel leaves none.
    Array<String> directoriesMadeAhead;
};

ProgramState& programState();

// The text of message `id` in the current language, with "<product>" and "<os>" filled in.
String message(int id);

// The progress dialog, else the background window, else none.
HWND ownerWindow();

// A box owned by ownerWindow() and captioned by message `captionId`; its answer.
int messageBox(const char* text, int captionId, unsigned flags);

// Texts of the program's own windows and controls, by WM_SETTEXT, as
// SetWindowTextA and SetDlgItemTextA send it for them: two imports fewer.
void setWindowText(HWND window, const char* text);
void setItemText(HWND dialog, int item, const char* text);
// setItemText with the text of message `id`.
void setItemMessage(HWND dialog, int item, int id);

// An error box captioned by message 21; silent in automatic mode unless the
// settings ask for errors there. Never ends the program.
void showError(const char* format, ...) __attribute__((format(printf, 1, 2)));

[[noreturn]] void corruptInstaller(int code);
[[noreturn]] void usage(const char* text);

// Dispatches every waiting message; true as soon as one of them was a
// destroy, close or quit message.
bool pumpMessages();

// The only way out of the program: tears the windows down and exits with code 1.
[[noreturn]] void exitInstaller();
