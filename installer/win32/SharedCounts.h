#pragma once
// The reference counts of shared files in the machine's SharedDLLs key: one
// for each installation that uses the file, so that the last uninstaller to
// go removes it.

// With Uninstallable: a reinstallation first gives back the counts its
// previous installation added, then every file of SharedFileList counts once
// more, and the SharedFiles text lists them for the uninstaller.
void updateSharedFileCounts();
