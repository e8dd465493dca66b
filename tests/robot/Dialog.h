// What the robot reads from a dialog window of the program under test, and how it
// presses one of its buttons. Texts are UTF-8.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace robot {

struct Button {
    int id = 0;
    std::string label; // without the '&' that marks the access key
    bool enabled = true;
    bool isDefault = false;
};

struct Dialog {
    HWND hwnd = nullptr;
    std::string caption;
    std::string text; // the texts of the static controls, one per line; icons skipped
    std::vector<Button> buttons;
    bool hasProgressBar = false; // a "msctls_progress32" child: a progress dialog
    int progress = -1;           // the bar's position, when there is a bar
    DWORD readTick = 0;          // when the caption and texts were read
};

// Reads the dialog until two reads agree on its caption, buttons and bar, so that a
// window caught while it is being made or destroyed is not taken for another one.
// False when the window went away (or was hidden) meanwhile: nothing to handle.
bool readSettledDialog(HWND hwnd, Dialog& out);

// The visible top-level dialog windows (class "#32770": message boxes and dialogs
// from templates) of process `pid`, in Z order.
std::vector<HWND> findDialogs(DWORD pid);

// Describes a visible top-level window of any class, for the timeout report.
struct WindowInfo {
    std::string className;
    std::string caption;
};
std::vector<WindowInfo> visibleWindows(DWORD pid);

Dialog readDialog(HWND hwnd);

// The button that `spec` names: "id:N", or a label compared without regard to case and
// without '&'. Returns nullptr when there is none.
const Button* findButton(const Dialog& dialog, const std::string& spec);

// The button pressed when no label is given: the dialog's default button, else its only
// button. Returns nullptr when neither exists.
const Button* defaultButton(const Dialog& dialog);

// Clicks `button` the way its own click would: a BN_CLICKED command posted to the
// dialog, so that the robot never waits for a modal loop that the click starts.
void pressButton(const Dialog& dialog, const Button& button);

// Saves the whole screen as a 24-bit BMP file. Returns false when it could not.
bool saveScreen(const std::wstring& file);

} // namespace robot
