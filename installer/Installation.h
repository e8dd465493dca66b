#pragma once
// The state of the installation beside its settings: where the product goes.
// Process-wide, like the settings, and read by every stage that places
// something.

#include "core/String.h"

struct Installation {
    String installDir;   // %InstallDir%: the /d value, the default, or the chosen directory
    String uninstallDir; // installDir joined with the uninstall subdirectory
};

Installation& installation();
