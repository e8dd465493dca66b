#pragma once
// Writing the installation's records: the uninstall entry in the registry,
// Uninstall.DAT, and at the very end the finishing report with its block in
// Install.LOG.

#include "core/String.h"

String installLogPath();
String uninstallDataPath();

// False when the key cannot be opened or "UninstallString" does not read
// back as written; the problem report says so.
bool writeUninstallEntry();

// False when the file cannot be written; the caller reports it.
bool writeUninstallData();

// Tells the user how it went (unless in automatic mode), appends the log
// block when there were problems or the log is always wanted, and opens the
// log when the user asks to see it.
void finishInstallation(bool isReinstall, const String& report);
