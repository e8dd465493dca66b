#pragma once
// The data area's file records as the file loop reads them, and the rules of
// placement that need no system: where a file goes, how versions compare,
// which shared-file marker it carries, and the conditions of the deletion
// list. installer/win32/Placement.h does the work on disk.

#include "core/Array.h"
#include "core/String.h"
#include "core/TimeStamp.h"
#include "format/CorruptionCode.h"
#include "format/FileEntry.h"
#include "installer/ArchiveCursor.h"
#include "installer/PathVariables.h"

#include <cstdint>

// One record, its data left in the data area.
struct FileEntry {
    String name;
    int32_t kind = 0;
    int32_t options = 0;
    int32_t attributes = 0;
    const uint8_t* data = nullptr;
    int32_t length = 0;
    TimeStamp time;
    String detail;
    String icon; // only with a desktop or Start Menu shortcut
    String arguments;
    String target;
    String workingDirectory;

    bool permanent() const { return (options & Permanent) != 0; }
    int32_t existenceRule() const { return options & ExistenceRuleMask; }
};

// Reads record i of `length` data bytes at the cursor with the loop's checks:
// 70 empty name, 71 negative length, 72 length above 1 GB, 100 data that differ
// from their checksum. A record that runs past the end of the data area is
// error 100 too: its data cannot be what the archive says.
CorruptionCode readFileEntry(ArchiveCursor& cursor, int32_t length, FileEntry& entry);

// Negative, zero or positive as version a is older, equal or newer: numbers
// compare one by one ("1.10" is newer than "1.9", "2.0" than "2"), then the
// last letter ("1.2b" is newer than "1.2a").
int compareVersionStrings(const char* a, const char* b);

// The directories a record's target is completed against.
struct TargetPlaces {
    String installDir;
    String uninstallDir;
    String sharedDir; // empty without Uninstallable
    String fontDir;
    String systemDir;
};

struct FileTarget {
    CorruptionCode code = NotCorrupt; // 110 for a kind the loop does not know
    String path;
    bool inInstallTree = false; // its directory is made and listed
};

// Where the record's file goes. An override without a backslash renames the
// file (entry.name changes); one with a backslash is the path itself, its
// variables expanded, relative to the shared directory (kind 1) or the
// install directory, with the name appended when it ends in a backslash.
FileTarget fileTarget(FileEntry& entry, const TargetPlaces& places,
                      const PathVariableSource& variables);

// For the kinds whose files are counted as shared: the target and its marker
// (blank: only counted; "^" COM server; 0xA9 type library; none for a kind 1
// file that is not permanent). False for every other kind.
bool sharedFileEntry(const FileEntry& entry, const String& target, String& listed);

// Whether a deletion condition holds for a file of that time and size. A
// date condition whose value does not parse sets code 65.
bool deletionConditionHolds(int condition, const String& value, const TimeStamp& fileTime,
                            uint64_t fileSize, CorruptionCode& code);

// The absolute patterns of a file specification: line by line, each line's
// directory completed against defaultDir, each ";" item against the line's
// directory. An item ending in " /s" keeps it for the listing.
void fileSpecificationPatterns(const String& specification, const String& defaultDir,
                               Array<String>& patterns);
