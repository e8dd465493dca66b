// The Uninstall.DAT reader against any bytes: it must never crash or hang,
// and what it gives must hold to its limits. Beyond that, what the
// uninstaller writes back after a partial removal (the file list, the
// messages, the unread association lines) must read back the same, so that
// a second run works on what the first one kept.

#include "core/String.h"
#include "installer/InstallRecords.h"
#include "installer/UninstallRecord.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

void checkLimits(const UninstallRecord& record) {
    require(record.associations.count() <= kMaxAssociationLines);
    for (const RecordedAssociation& a : record.associations)
        require(!a.extension.isBlank() && !a.fileType.isBlank() && !a.verb.isBlank());
    require(record.strings.messageCount() <= kMaxRecordedMessageId + 1);
    for (int id = 0; id < record.strings.messageCount(); ++id) {
        const String* text = record.strings.find(id, 0);
        if (!text || text->isEmpty())
            continue;
        require(id >= 1);
        const char last = text->lastChar();
        require(last != ' ' && last != '\r' && last != '\n' && last != '\t');
        LineReader lines(*text);
        String line;
        while (lines.next(line))
            require(line.firstChar() != '~');
    }
}

String storedText(const UninstallRecord& record, int id) {
    const String* text = record.strings.find(id, 0);
    return text ? *text : String();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20))
        return 0;
    const String bytes(reinterpret_cast<const char*>(data), int(size));
    const UninstallRecord record = readUninstallRecord(bytes);
    checkLimits(record);

    Array<String> strings;
    for (int id : kUninstallStringIds)
        strings.append(storedText(record, id));
    const UninstallRecord again =
        readUninstallRecord(uninstallDataText(record.fileList, strings, record.unreadAssociations));
    checkLimits(again);
    require(again.fileList == record.fileList + "\r\n\r\n");
    for (int id : kUninstallStringIds)
        require(storedText(again, id) == storedText(record, id));
    const String& unread = record.unreadAssociations;
    const String& left = again.unreadAssociations;
    require(left.length() <= unread.length() &&
            String(unread.c_str() + unread.length() - left.length(), left.length()) == left);
    return 0;
}
