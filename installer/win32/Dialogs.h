#pragma once
// The modal dialogs of an installation: language, licence and readme pages,
// and the install directory with its folder browser. Their templates are the
// program's resources; every text but the language dialog's title comes from
// the archive's messages.

#include <windows.h>

// Centres the window on the screen, no larger than the screen.
void centreWindow(HWND window);

// The directory dialog on the installation's directory; true for OK (the
// directory then holds the edited path), false for Cancel.
bool chooseDirectory();

// 1001 (OK) or 1003 (Cancel); sets the current language, and with it the
// title and the background, as the selection moves.
int chooseLanguage();

// 1001 or 1003; the text is shown read-only.
int showLicencePage(const char* text);
int showReadmePage(const char* text);
