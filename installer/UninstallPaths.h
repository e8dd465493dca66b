#pragma once
// Where the removal stops. The uninstaller walks up from what it removed and
// removes whole trees and keys named by the uninstall entry; these rules keep
// it inside the product, whatever the entry says: the system's and the user's
// own folders and the system's own keys are never removed.

#include "core/Array.h"
#include "core/String.h"

// The path with its "." and ".." components resolved the way Windows
// resolves them, never above the drive or share; trailing backslashes go.
String collapseDotComponents(const String& path);

// `path` lies strictly below `root`, component by component, ignoring case.
bool isBelowPath(const String& path, const String& root);

// `path` is one of `folders` or holds one of them; empty folders do not count.
bool holdsAnyOf(const String& path, const Array<String>& folders);

// The directories the removal of a recorded directory tries in turn: the
// directory, then each parent, stopping before the install directory, before
// a drive root, and before any of `kept` (the known folders: a product folder
// on the desktop must not take the desktop with it when that is empty).
Array<String> recordedDirectoryChain(const String& directory, const String& installDir,
                                     const Array<String>& kept);

// The product's Start Menu folder and its parents, at most 20, all strictly
// below the Programs folder; none when the name is empty or leads out of it.
inline constexpr int kMaxStartMenuLevels = 20;
Array<String> startMenuChain(const String& programsDir, const String& productStartMenu);

// The whole install tree may go: a usable location that is no drive or share
// root, none of `kept` and holds none of them.
bool mayRemoveInstallTree(const String& installDir, const Array<String>& kept);

// The uninstall entry's places: an absolute location (a drive root too, where
// the product may have been installed), and a subdirectory that stays inside it.
bool isUsableInstallLocation(const String& installDir);

// The parents of the install directory that the installation created, the
// deepest first, up to and including `createdFolder`; none when that is not
// a parent of it. The chain stops before a drive or share root and before
// any of `kept`, which were never the product's.
Array<String> createdParentChain(const String& installDir, const String& createdFolder,
                                 const Array<String>& kept);

// `path` lies strictly below one of `places` (blank ones ignored).
bool isBelowAnyOf(const String& path, const Array<String>& places);
bool isUsableSubdir(const String& subdir);

// A key below "Software" that can be the product's: named in every component
// and not below one of the keys Windows keeps there for itself (Classes,
// Microsoft, Policies and the like).
bool isProductKeyPath(const String& path);

// One level up: the path without its last component (a trailing backslash
// ignored). False, leaving it alone, when it has no backslash.
bool parentKeyPath(String& path);
