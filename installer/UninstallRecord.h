#pragma once
// Uninstall.DAT as the uninstaller reads it back: the file list before
// "[Strings]", the messages after it, and the "[Associations]" lines whose
// keys the removal undoes. The file may have lain on disk for years, so any
// bytes read as something, and the lines examined are bounded.

#include "core/Array.h"
#include "core/String.h"
#include "format/SettingsLayout.h"
#include "installer/MessageTable.h"

#include <cstdint>

// At most this many lines of the strings part are read for an id, and of the
// associations part at all.
inline constexpr int kMaxStringIdLines = 500;
inline constexpr int kMaxAssociationLines = 500;
// Ids outside 1 to this are skipped.
inline constexpr int kMaxRecordedMessageId = 1000;

// One "[Associations]" line: what to undo, and what the installation made
// (AssociationMade bits; 0 on lines written before it was recorded, which
// then lose no key and no value but those kept under the backup name).
struct RecordedAssociation {
    String extension;
    String fileType;
    String verb;
    uint16_t made = 0;
};

struct UninstallRecord {
    String fileList;      // everything before "[Strings]"
    MessageTable strings; // the texts in column 0
    // Extension, file type and verb only; lines missing one are dropped.
    Array<RecordedAssociation> associations;
    // The association lines beyond those read, kept for the next run.
    String unreadAssociations;
};

// Splits the file's text; a missing file is the empty text.
UninstallRecord readUninstallRecord(const String& text);

// Walks the lines of a text. A line ends at CR, LF, CR LF or LF CR; every
// other byte, a zero byte too, belongs to the line.
class LineReader {
public:
    LineReader(const String& text, int start = 0, int end = kWholeText);
    // False at the end of the text; otherwise the next line, without its
    // break (the break's length in `breakLength`).
    bool next(String& line);
    int breakLength() const { return breakLength_; }
    // Where the next line begins.
    int position() const { return pos_; }

private:
    const String& text_;
    int pos_;
    int end_;
    int breakLength_ = 0;
};
