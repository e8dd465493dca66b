#pragma once
// One file's record in the data area. FileCount records follow each other
// from the start of the (decoded) data area, in the order of FileSizes:
//
//   name               text   file name or relative path; never empty
//   kind               i32    DestinationKind
//   options            i32    EntryOptions bits
//   attributes         i32    Win32 attribute bits; -1 leaves them alone
//   data               bytes  FileSizes[i] bytes, no length stored here
//   data checksum      u32    ArchiveChecksum of the data
//   time               24     TimeStamp: six i32 (TimeStamp.h)
//   detail             text   version (kinds 6-9), font name (4), shortcut name (0, 5)
//   icon               text   only with options bit 0 or 1
//   arguments          text   shortcut arguments
//   target             text   target override
//   working directory  text   shortcut working directory
//
// Texts are zero-terminated 8-bit strings; integers little-endian.

#include <cstdint>

enum DestinationKind : int32_t {
    InstallDirFile = 0,
    SharedFile = 1,
    FontFile = 4,
    StartupFile = 5,
    SystemFile = 6,
    ComServerFile = 7,
    TypeLibraryFile = 8,
    VersionedFile = 9,
};

enum EntryOptions : int32_t {
    DesktopShortcut = 0x1,
    StartMenuShortcut = 0x2,
    ExistenceRuleMask = 0xC,
    Permanent = 0x20,
    InUninstallDir = 0x40,
};

enum ExistenceRule : int32_t {
    AlwaysInstall = 0x0,
    NeverInstall = 0x4,
    InstallWhenPresent = 0x8,
    InstallWhenAbsent = 0xC,
};

inline constexpr int32_t kFileTimeSize = 24;

// The icon field is present only for entries that make a shortcut of kind 0.
constexpr bool hasIconField(int32_t options) {
    return (options & (DesktopShortcut | StartMenuShortcut)) != 0;
}
