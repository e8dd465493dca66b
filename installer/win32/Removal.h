#pragma once
// Taking the product's things off the machine: its fonts, the files and
// directories Uninstall.DAT lists, and its Start Menu folder. What cannot be
// removed is kept in UninstallList for the next run.

#include "core/Array.h"
#include "core/String.h"

// The machine's own folders (Windows, Program Files, the desktop, the
// documents, the Start Menu and the others behind the path variables): the
// removal never takes one away, nor a folder that holds one.
Array<String> keptFolders();

// Each font of the ProductFonts text: its value in the Fonts key, its
// resource and its file in the fonts folder. With ConfirmFontRemoval the
// user is asked font by font. Windows is told when any font went.
void removeProductFonts(const String& productFonts);

// Works through the file list: deletes the files (a file that stays is a
// problem, and is listed again), deletes the "!" keys, and collects the
// directories for removeRecordedDirectories. With `confinedTo`, for a list
// the uninstall entry does not vouch for, only files and directories below
// one of those places are acted on, and no key.
void removeRecordedFiles(const String& fileList, Array<String>& directories, String& problems,
                         const Array<String>* confinedTo = nullptr);

// Removes each directory, longest first, and its parents as they become
// empty, up to the install directory and never a kept folder. A directory
// that stays (foreign files in it) is listed again, and is no problem.
void removeRecordedDirectories(Array<String>& directories, const String& installDir,
                               const Array<String>& kept);

// The product's Start Menu folder and its parents as they become empty,
// below the Programs folder of all users or of the current user.
void removeStartMenuFolder(const String& productStartMenu, bool allUsers);
