#pragma once
// The reference counts of shared files in the machine's SharedDLLs key: one
// for each installation that uses the file, so that the last uninstaller to
// go removes it.

#include "core/String.h"

// With Uninstallable: a reinstallation first gives back the counts its
// previous installation added, then every file of SharedFileList counts once
// more, and the SharedFiles text lists them for the uninstaller.
void updateSharedFileCounts();

// The uninstaller's side, for each entry of the SharedFiles text: one count
// less, and once none is left the file is unregistered (a COM server or type
// library) and deleted, unless it was only counted. With
// ConfirmUninstallDeletion the user is asked first. False when the key
// cannot be opened; then no count changes.
bool releaseSharedFiles(const String& sharedFiles);
