#pragma once
// The borderless window behind every dialog: it covers the work area (or the
// whole screen, maximised), paints the display settings (installer/
// DisplaySettings.h), carries the taskbar text and owns the dialogs and
// boxes while there is no progress dialog. It lives in
// programState().backgroundWindow until exitInstaller destroys it.

#include <windows.h>

inline constexpr char kBackgroundWindowClass[] = "ZEP Window Class";

// Registers the window class on first use, then creates, shows and activates
// the window. A failure ends the program through fatalError. Called once;
// while a window exists it is returned as it is.
HWND createBackgroundWindow(HINSTANCE instance);

// Makes the window repaint, background and title, after a display setting
// changed. Nothing without a window.
void invalidateBackgroundWindow();

// Puts the display settings' taskbar text on the window, when there is one.
void showTaskbarText();
