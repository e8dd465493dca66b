#pragma once
// Writing the installation's records: the uninstall entry in the registry,
// Uninstall.DAT, and at the very end the finishing report with its block in
// Install.LOG.

#include "core/String.h"

class RegistryKey;

String installLogPath();
String uninstallDataPath();

// False when the key cannot be opened or "UninstallString" does not read
// back as written; the problem report says so. `dataDigest` is the digest of
// the Uninstall.DAT just written, which the entry keeps to vouch for it;
// empty when the uninstaller or its record did not land whole, which writes
// nothing and reports the entry as not saved.
bool writeUninstallEntry(const String& dataDigest);

// False when the file cannot be written whole; the caller reports it.
// `digest` gets the SHA-256 of what was written, empty on failure.
bool writeUninstallData(String& digest);

// Uninstall.DAT at `path` into `text` (empty when missing). True when the
// entry's digest value matches it: only then is the file the one the
// installation (or the uninstaller's last run) wrote.
bool readVouchedRecord(RegistryKey& entry, const String& path, String& text);

// Tells the user how it went (unless in automatic mode), appends the log
// block when there were problems or the log is always wanted, and opens the
// log when the user asks to see it.
void finishInstallation(bool isReinstall, const String& report);
