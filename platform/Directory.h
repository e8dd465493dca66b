#pragma once
// Directories: the current one, existence, creation with parents, removal.

#include "core/String.h"

String currentDirectory();
// False for a blank path; the current directory is left as it was.
bool directoryExists(const String& path);
// Creates the directory and every missing parent; true when it exists afterwards.
bool createDirectoryPath(const String& path);
// Removes one empty directory; refuses paths of three characters or fewer.
bool removeDirectory(const String& path);
// Removes the directory with everything in it, going on past failures. Never
// touches a drive or share root or the Windows directory; a junction inside
// is unlinked, not followed. True only when everything went; otherwise the
// thread's last error is that of the last failure.
bool removeDirectoryTree(const String& path);

// makeAbsolute against the installer's own directory.
bool makeAbsoluteToProgramDirectory(String& path);
