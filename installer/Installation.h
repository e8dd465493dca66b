#pragma once
// The state of the installation beside its settings: where the product goes,
// what was done and what went wrong, and the lists the file loop fills for the
// steps after it. Process-wide, like the settings. What the background
// window shows, the title among it, is in installer/DisplaySettings.h.

#include "core/Array.h"
#include "core/String.h"
#include "installer/PathSet.h"
#include "installer/UninstallRecord.h"

// A shortcut to be made once the files are placed.
struct ShortcutRecord {
    bool desktop = false;
    bool startMenu = false;
    bool startup = false;
    bool permanent = false; // its links are not listed for the uninstaller
    String target;
    String caption; // relative to its folder; may hold subfolders
    String icon;    // full path, or empty for the target's own icon
    String arguments;
    String workingDirectory;
};

struct Installation {
    String installDir;          // %InstallDir%: the /d value, the default, or the chosen directory
    String uninstallDir;        // installDir joined with the uninstall subdirectory
    bool reinstall = false;     // ReinstallFlag: an existing installation's place is reused
    String createdFolder;       // the outermost folder made on the way to installDir; or empty
    String previousSharedFiles; // "SharedFiles" of the existing installation's uninstall entry
    // The associations of the existing installation's Uninstall.DAT, when the
    // uninstall entry vouches for it: what it made stays the product's.
    Array<RecordedAssociation> previousAssociations;
    // The file list of that same Uninstall.DAT: what an earlier version placed
    // and this one may no longer carry still goes with the product.
    String previousFileList;

    String installLog;    // lines for Install.LOG
    String problemReport; // empty means success
    String uninstallList; // lines for Uninstall.DAT, each ending in CR LF
    PathSet recordedDirectories;
    PathSet permanentFiles; // the targets this installation leaves for good

    Array<ShortcutRecord> shortcutList;
    Array<String> sharedFileList; // target and marker
    Array<String> comServerList;
    Array<String> typeLibraryList;
    String productFontsText;
    bool fontsAdded = false;
    String sharedFilesText;      // "SharedFiles" of the uninstall entry
    String associationList;      // the "[Associations]" lines of Uninstall.DAT
    bool desktopChanged = false; // a shortcut was asked for on the desktop
    String desktopFolder;        // the prepared desktop folder; empty until then
    bool desktopFolderPrepared = false;

    // A file line (the bare path) or, once per directory whatever its case, a
    // "~" directory line. Paths of three characters or fewer are ignored.
    void recordForUninstall(const String& path, bool isDirectory);
    // Adds the lines of `previousFileList` this installation did not list:
    // files and keys an earlier version recorded and this one does not carry
    // (or could not replace), and their folders. A file this installation
    // declares permanent stays so.
    void keepPreviousFiles();
};

Installation& installation();

// UninstallDir joined with UninstallerName.
String uninstallerPath();
// /u:"UninstallKey", which makes the uninstaller remove this product.
String uninstallerArguments();
