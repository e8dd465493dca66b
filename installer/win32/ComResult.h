#pragma once
// What the shell-link and type-library calls share: their paths go to the
// system as UTF-16 of at most MAX_PATH units, and their failures come back as
// HRESULTs, which the reports can only quote once they are the last error.

#include "core/String.h"

#include <windows.h>

// Makes `result` the thread's last error (the Win32 code inside it when it
// carries one) and returns false. A result the system has no words for
// leaves the last error the failed call left, which often says more (the
// file that could not be opened).
bool failedWith(HRESULT result);

// The ANSI path as UTF-16 in a zero-filled buffer. False, with the last
// error ERROR_FILENAME_EXCED_RANGE, when it does not fit with its terminator.
bool toWidePath(const String& path, WCHAR (&wide)[MAX_PATH]);
