#pragma once
// The well-known folders of the target machine. Each lookup tries the folder
// value the shell keeps in the registry, then the shell's special-folder
// function, then a default built from the Windows directory: the first
// answer that is not empty wins. Nothing is cached.

#include "core/String.h"

#include <cstdint>

// The Windows directory of the start-up values, else the system's answer.
String windowsDir();

// A value of "...\Explorer\Shell Folders" below the local machine (allUsers)
// or the current user.
String shellFolder(const String& valueName, bool allUsers);
// A value of "Software\Microsoft\Windows\CurrentVersion" below the local machine.
String currentVersionPath(const String& valueName);
// SHGetSpecialFolderPathA of the CSIDL, without creating the folder; empty
// when the shell does not know it.
String specialFolderPath(int csidl);
// SHChangeNotify; false when the shell lacks it.
bool shellChangeNotify(int32_t eventId, uint32_t flags, const void* item1, const void* item2);
// Puts `lookup` in the place of the shell's function, so that tests can play
// a shell that knows less; null puts the shell back.
void setSpecialFolderLookup(bool (*lookup)(int csidl, String& path));

String desktopDir();
String desktopAllDir();
String documentDir();
String documentAllDir();
String favoritesDir();
String favoritesAllDir();
String fontDir();
String startMenuDir();
String startMenuAllDir();
String smProgramsDir();
String smProgramsAllDir();
String startupDir();
String startupAllDir();
String programsDir();
String commonDir();
String mediaDir();
String deviceDir();

// The system directory; when the system does not say, "System32" (Windows
// NT) or "System" in the Windows directory.
String systemDir();
String systemDirFrom(const String& systemAnswer, const String& windows, bool nt);

// The boot drive's upper-case letter, 'C' when the registry does not tell.
char bootDrive();
char bootDriveFrom(const String& bootDir);

// The first "%SystemRoot%" (in any case) of a device path, expanded.
String expandSystemRoot(const String& devicePath);
// The all-users Programs (or, with startMenu, Start Menu) folder derived
// from the all-users Startup folder.
String allUsersFromCommonStartup(const String& commonStartup, bool startMenu);
