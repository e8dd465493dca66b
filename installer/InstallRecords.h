#pragma once
// The records an installation leaves behind, as text: the block it appends
// to Install.LOG, the whole of Uninstall.DAT, and the version numbers of the
// uninstall entry. The uninstaller and the next installation read them back,
// so their forms are fixed. installer/win32/InstallRecords.h writes them.

#include "core/Array.h"
#include "core/String.h"

#include <cstdint>

// Below HKEY_LOCAL_MACHINE\Software: where every product's uninstall entry lives.
// This and kUninstallStringIds carry their alignment, so that the installer's
// objects (data aligned as the ABI asks) and the tests' agree on their size.
alignas(4) inline constexpr char kUninstallEntryRoot[] =
    "Microsoft\\Windows\\CurrentVersion\\Uninstall";

inline constexpr char kInstallLogName[] = "Install.LOG";
inline constexpr char kUninstallDataName[] = "Uninstall.DAT";

// The uninstall entry's value that vouches for Uninstall.DAT: the SHA-256 of
// its bytes in hexadecimal. The entry needs administrator rights to change,
// the file may not: a file that no longer matches is not the installation's.
inline constexpr char kUninstallDataDigestValue[] = "UninstallDataDigest";
// The entry's value naming the outermost folder the installation created on
// the way to the install directory (absent when it created none above it).
inline constexpr char kCreatedFolderValue[] = "CreatedFolder";
// The entry's other values that the installation writes and the uninstaller
// (or the next installation) reads back: each name once, for both sides.
inline constexpr char kUninstallStringValue[] = "UninstallString";
inline constexpr char kQuietUninstallStringValue[] = "QuietUninstallString";
inline constexpr char kDisplayNameValue[] = "DisplayName";
inline constexpr char kDisplayVersionValue[] = "DisplayVersion";
inline constexpr char kProductRegistryValue[] = "ProductRegistry";
inline constexpr char kProductStartMenuValue[] = "ProductStartMenu";
inline constexpr char kSharedPathValue[] = "SharedPath";
inline constexpr char kProductFontsValue[] = "ProductFonts";
inline constexpr char kProductFlagsValue[] = "ProductFlags";
inline constexpr char kUninstallBatch1Value[] = "UninstallBatch1";
inline constexpr char kUninstallBatch2Value[] = "UninstallBatch2";
inline constexpr char kSharedFilesValue[] = "SharedFiles";
inline constexpr char kUninstallSubdirValue[] = "UninstallSubdir";
inline constexpr char kShortcutModeValue[] = "ShortcutMode";
inline constexpr char kDisplayTitleValue[] = "DisplayTitle";
inline constexpr char kTitleColorValue[] = "TitleColor";
inline constexpr char kTopColorValue[] = "TopColor";
inline constexpr char kBottomColorValue[] = "BottomColor";
inline constexpr char kMonoColorValue[] = "MonoColor";
inline constexpr char kTitleShadowValue[] = "TitleShadow";
inline constexpr char kTitlePositionValue[] = "TitlePosition";
inline constexpr char kTitleFontValue[] = "TitleFont";
inline constexpr char kTaskbarTextValue[] = "TaskbarText";
inline constexpr char kBitmapSizeValue[] = "BitmapSize";
inline constexpr char kStretchModeValue[] = "StretchMode";
inline constexpr char kInstallLocationValue[] = "InstallLocation";

// A command line that starts `program` with `arguments`: the program in
// double quotes, so that a space in its path cannot start another program.
String quotedCommandLine(const String& program, const String& arguments);

// What the log block's head says about the installation.
struct InstallLogHead {
    String productName;
    String installDate; // "d-M-yy h:ii:ssap"
    bool uninstallable = false;
    bool reinstall = false;
    String installDir;
    String displayVersion;
};

// The head of a log block, up to and including its empty line.
String installLogHeadText(const InstallLogHead& head);
// The whole block: head, the log when it is not blank, then the report.
String installLogBlock(const InstallLogHead& head, const String& installLog, const String& report);

// The messages the uninstaller needs, in the order they are stored.
alignas(4) inline constexpr int kUninstallStringIds[] = {10, 15, 20, 30, 34, 35, 39, 49, 53, 55,
                                                         56, 57, 58, 59, 67, 68, 69, 70, 71};
inline constexpr int kUninstallStringCount =
    int(sizeof kUninstallStringIds / sizeof kUninstallStringIds[0]);

// Uninstall.DAT: the list, the [Strings] (texts in kUninstallStringIds order),
// and [Associations] when there are any.
String uninstallDataText(const String& uninstallList, const Array<String>& strings,
                         const String& associations);

// The uninstall entry's version numbers, present only when the version holds
// a ".": the number before it, and the one right after it (0x80000000 when
// the "." ends the text).
bool hasVersionNumbers(const String& displayVersion);
int32_t versionMajor(const String& displayVersion);
int32_t versionMinor(const String& displayVersion);

// The finishing report when Install.LOG could not be written: the problems
// themselves (the first kShownReportLength characters), then which log failed
// and why, since there is no log to point at.
inline constexpr int kShownReportLength = 2000;
String unwrittenLogReport(const String& report, const String& logPath, const String& error);

// Opens the log in Notepad from the Windows directory, never one that the
// search path would find first beside the installer.
String logViewerCommand(const String& windowsDir, const String& logPath);
