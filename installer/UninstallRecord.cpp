#include "installer/UninstallRecord.h"

#include "core/StringParse.h"
#include "installer/ShellNames.h"

namespace {

const char kStringsHeading[] = "[Strings]";
const char kAssociationsHeading[] = "[Associations]";
const char kFieldSeparator[] = "~!~";

// The id lines of the strings part, each followed by its text lines.
void readStrings(const String& text, int start, int end, MessageTable& strings) {
    LineReader lines(text, start, end);
    String line;
    bool more = lines.next(line);
    for (int examined = 0; more && examined < kMaxStringIdLines; ++examined) {
        if (line.firstChar() != '~') {
            more = lines.next(line);
            continue;
        }
        const int32_t id = toInt(line);
        more = lines.next(line);
        if (id < 1 || id > kMaxRecordedMessageId)
            continue;
        String message;
        while (more && line.firstChar() != '~') {
            message += line;
            message.appendBytes(text.c_str() + lines.position() - lines.breakLength(),
                                lines.breakLength());
            more = lines.next(line);
        }
        message.trimRightSet(" \r\n\t");
        strings.set(id, 0, message);
    }
}

// "extension~!~file type~!~verb", then "~!~" and what the installation made;
// false when one of the first three is blank.
bool parseAssociation(const String& line, RecordedAssociation& association) {
    const int first = line.find(kFieldSeparator);
    if (first < 0)
        return false;
    const int typeStart = first + 3;
    const int second = line.find(kFieldSeparator, typeStart);
    if (second < 0)
        return false;
    association = RecordedAssociation();
    association.extension = substring(line, 0, first);
    association.fileType = substring(line, typeStart, second - typeStart);
    const int verbStart = second + 3;
    const int third = line.find(kFieldSeparator, verbStart);
    association.verb = substring(line, verbStart, (third < 0 ? line.length() : third) - verbStart);
    if (third >= 0)
        association.made = associationMadeFromText(substring(line, third + 3, line.length()));
    return !association.extension.isBlank() && !association.fileType.isBlank() &&
           !association.verb.isBlank();
}

void readAssociations(const String& text, int start, UninstallRecord& record) {
    LineReader lines(text, start);
    String line;
    for (int count = 0; count < kMaxAssociationLines && lines.next(line); ++count) {
        RecordedAssociation association;
        if (parseAssociation(line, association))
            record.associations.append(association);
    }
    record.unreadAssociations = substring(text, lines.position(), text.length());
}

} // namespace

LineReader::LineReader(const String& text, int start, int end)
    : text_(text), pos_(start < 0 ? 0 : start),
      end_(end > text.length() || end < 0 ? text.length() : end) {}

bool LineReader::next(String& line) {
    if (pos_ >= end_) {
        breakLength_ = 0;
        return false;
    }
    const char* bytes = text_.c_str();
    int stop = pos_;
    while (stop < end_ && bytes[stop] != '\r' && bytes[stop] != '\n')
        ++stop;
    line.assignBytes(bytes + pos_, stop - pos_);
    breakLength_ = 0;
    if (stop < end_) {
        breakLength_ = 1;
        const char pair = bytes[stop] == '\r' ? '\n' : '\r';
        if (stop + 1 < end_ && bytes[stop + 1] == pair)
            breakLength_ = 2;
    }
    pos_ = stop + breakLength_;
    return true;
}

UninstallRecord readUninstallRecord(const String& text) {
    UninstallRecord record;
    const int strings = text.find(kStringsHeading, 0, kFindNoCase);
    if (strings < 0) {
        record.fileList = text;
        return record;
    }
    record.fileList = substring(text, 0, strings);
    const int stringsStart = strings + int(sizeof kStringsHeading) - 1;
    const int associations = text.find(kAssociationsHeading, stringsStart, kFindNoCase);
    readStrings(text, stringsStart, associations < 0 ? text.length() : associations,
                record.strings);
    if (associations >= 0)
        readAssociations(text, associations + int(sizeof kAssociationsHeading) - 1, record);
    return record;
}
