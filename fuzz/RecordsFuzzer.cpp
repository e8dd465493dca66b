// The file records of a data area against any bytes, as the file loop reads
// them: no read or pointer past the area, whatever the sizes say; and the
// texts of a record (target override, deletion values and specifications)
// through the rules that take them apart.
//
// Input: one byte with the number of records (at most 15), that many 32-bit
// sizes, then the data area.

#include "core/String.h"
#include "core/TimeStamp.h"
#include "installer/ArchiveCursor.h"
#include "installer/FileRecords.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

const PathVariableValues& variables() {
    static PathVariableValues values = [] {
        PathVariableValues v;
        v.set(PathVariable::InstallDir, "C:\\Program Files\\Acme");
        v.set(PathVariable::SystemDir, "C:\\WINDOWS\\SYSTEM32");
        v.set(PathVariable::WinDir, "%InstallDir%");
        return v;
    }();
    return values;
}

TargetPlaces places() {
    TargetPlaces p;
    p.installDir = "C:\\Program Files\\Acme";
    p.uninstallDir = "C:\\Program Files\\Acme\\Uninstall";
    p.sharedDir = "\\\\server\\share\\Acme";
    p.fontDir = "C:\\WINDOWS\\Fonts";
    p.systemDir = "C:\\WINDOWS\\SYSTEM32";
    return p;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > (1u << 20))
        return 0;
    const int count = data[0] & 0x0F;
    size_t at = 1;
    if (size < at + 4 * size_t(count))
        return 0;
    int32_t sizes[16];
    for (int i = 0; i < count; ++i, at += 4)
        sizes[i] = int32_t(uint32_t(data[at]) | uint32_t(data[at + 1]) << 8 |
                           uint32_t(data[at + 2]) << 16 | uint32_t(data[at + 3]) << 24);
    const uint8_t* area = data + at;
    const int64_t length = int64_t(size - at);

    ArchiveCursor cursor;
    cursor.set(area, length);
    static const TargetPlaces targetPlaces = places();
    for (int i = 0; i < count; ++i) {
        FileEntry entry;
        if (readFileEntry(cursor, sizes[i], entry) != NotCorrupt)
            break;
        if (entry.data < area || entry.data + entry.length > area + length || entry.length < 0)
            abort();
        const FileTarget target = fileTarget(entry, targetPlaces, variables());
        if (target.code != NotCorrupt && target.code != UnknownFileKind)
            abort();
        String listed;
        sharedFileEntry(entry, target.path, listed);
        CorruptionCode code = NotCorrupt;
        deletionConditionHolds(entry.kind, entry.detail, entry.time, uint64_t(entry.length),
                               code);
        Array<String> patterns;
        fileSpecificationPatterns(entry.arguments, target.path, patterns);
        compareVersionStrings(entry.detail.c_str(), entry.workingDirectory.c_str());
    }
    return 0;
}
