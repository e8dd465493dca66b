#pragma once
// Shell links (.LNK files): one written where it is asked for, and the two
// folders the product's shortcuts usually go to. COM must be initialised on
// the thread (the installer's start-up does it).

#include "core/String.h"

// Writes the link, creating its folder first. The path gets ".LNK" unless it
// already ends in ".lnk". True only when the link was saved; otherwise the
// thread's last error says why.
bool createShellLink(String& linkPath, const String& target, const String& arguments,
                     const String& workingDirectory, const String& iconPath);

// The link named `name` on the desktop of all users or of the current user;
// `linkPath` gets the path as written.
bool createDesktopShortcut(const String& name, const String& target, const String& arguments,
                           const String& workingDirectory, const String& iconPath, bool allUsers,
                           String& linkPath);

// The same below the Start Menu's Programs folder. For all users on Windows
// 95 and 98 with user profiles, the current user's Programs folder gets a copy
// too (those shells show only the user's own folder); the first link alone
// decides the result and is returned. `userCopyPath` gets the copy's path when
// the copy was saved, so that the uninstaller can take it away too; otherwise
// it is left empty.
bool createProgramsShortcut(const String& name, const String& target, const String& arguments,
                            const String& workingDirectory, const String& iconPath, bool allUsers,
                            String& linkPath, String& userCopyPath);

// Whether all-users links below the Programs folder get the current user's
// copy on this machine (Windows 95 and 98 with user profiles).
bool programsLinksCopiedForUser(bool allUsers);
