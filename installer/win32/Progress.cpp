#include "installer/win32/Progress.h"

#include "installer/win32/Program.h"

#include <windows.h>

void setProgress(int) {
    pumpMessages();
}

void setProgressText(const String&) {
    // Shown by the progress dialog once there is one.
    pumpMessages();
}

void confirmCancel() {
    const String text = message(28);
    const String caption = message(20);
    if (MessageBoxA(ownerWindow(), text.c_str(), caption.c_str(), MB_YESNO | MB_ICONQUESTION) ==
        IDYES)
        exitInstaller();
}
