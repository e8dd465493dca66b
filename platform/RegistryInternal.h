#pragma once
// Shared by the registry's own files.

#include <windows.h>

#include "core/String.h"

#include <cstdint>

// Sets the thread's last error to `error` and, with kRegErrorBox, shows it.
void registryFailed(LONG error, uint32_t flags);

// "Software" and the path below it.
String softwarePath(const String& subPath);
// The current user's or the local machine's "Software".
HKEY softwareRoot(bool currentUser);
