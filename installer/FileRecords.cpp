#include "installer/FileRecords.h"

#include "core/ByteBuffer.h"
#include "core/DateTime.h"
#include "core/Path.h"
#include "core/StringParse.h"
#include "format/ArchiveLayout.h"
#include "installer/SharedFilesText.h"

#include <climits>

namespace {

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

struct Version {
    Array<int64_t> numbers;
    char suffix = 0;
};

Version parseVersion(const char* text) {
    Version v;
    for (const char* p = text ? text : ""; *p;) {
        if (isDigit(*p)) {
            int64_t number = 0;
            for (; isDigit(*p); ++p)
                if (number < INT32_MAX)
                    number = number * 10 + (*p - '0');
            v.numbers.append(number < INT32_MAX ? number : INT32_MAX);
            continue;
        }
        if (*p == '.' && v.numbers.count() == 0)
            v.numbers.append(0);
        else if (isLetter(*p))
            v.suffix = *p;
        ++p;
    }
    return v;
}

int clampToInt(int64_t value) {
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : int(value);
}

} // namespace

CorruptionCode readFileEntry(ArchiveCursor& cursor, int32_t length, FileEntry& entry) {
    entry = FileEntry();
    if (!cursor.readString(entry.name))
        return FileChecksumMismatch;
    if (entry.name.isEmpty())
        return EmptyFileName;
    if (!cursor.readInt32(entry.kind) || !cursor.readInt32(entry.options) ||
        !cursor.readInt32(entry.attributes))
        return FileChecksumMismatch;
    if (length < 0)
        return NegativeStoredLength;
    if (length > kMaxStoredFileSize)
        return StoredLengthTooLarge;
    if (cursor.remaining() < length)
        return FileChecksumMismatch;
    entry.data = cursor.current();
    entry.length = length;
    cursor.skip(length);
    int32_t stored = 0;
    if (!cursor.readInt32(stored) || uint32_t(stored) != checksum(entry.data, length))
        return FileChecksumMismatch;
    int32_t* const time[] = {&entry.time.year, &entry.time.month,  &entry.time.day,
                             &entry.time.hour, &entry.time.minute, &entry.time.second};
    for (int32_t* field : time)
        if (!cursor.readInt32(*field))
            return FileChecksumMismatch;
    if (!cursor.readString(entry.detail) ||
        (hasIconField(entry.options) && !cursor.readString(entry.icon)) ||
        !cursor.readString(entry.arguments) || !cursor.readString(entry.target) ||
        !cursor.readString(entry.workingDirectory))
        return FileChecksumMismatch;
    return NotCorrupt;
}

int compareVersionStrings(const char* a, const char* b) {
    const Version va = parseVersion(a);
    const Version vb = parseVersion(b);
    for (int i = 0;; ++i) {
        if (i == va.numbers.count()) {
            if (i < vb.numbers.count())
                return -1;
            return int(static_cast<unsigned char>(va.suffix)) -
                   int(static_cast<unsigned char>(vb.suffix));
        }
        if (i == vb.numbers.count())
            return 1;
        if (va.numbers[i] != vb.numbers[i])
            return clampToInt(va.numbers[i] - vb.numbers[i]);
    }
}

FileTarget fileTarget(FileEntry& entry, const TargetPlaces& places,
                      const PathVariableSource& variables) {
    FileTarget result;
    if (!entry.target.isEmpty() && entry.target.findChar('\\') < 0) {
        entry.name = entry.target;
        entry.target.clear();
    }
    if (entry.target.isEmpty()) {
        if (entry.options & InUninstallDir) {
            result.path = joinPath(places.uninstallDir, entry.name);
            return result;
        }
        switch (entry.kind) {
        case InstallDirFile:
        case StartupFile:
        case VersionedFile:
            result.path = joinPath(places.installDir, entry.name);
            result.inInstallTree = true;
            break;
        case SharedFile:
            result.path = joinPath(places.sharedDir, entry.name);
            break;
        case FontFile:
            result.path = joinPath(places.fontDir, entry.name);
            break;
        case SystemFile:
        case ComServerFile:
        case TypeLibraryFile:
            result.path = joinPath(places.systemDir, entry.name);
            break;
        default:
            result.code = UnknownFileKind;
            break;
        }
        return result;
    }
    result.path = entry.target;
    expandPathVariables(result.path, variables);
    makeAbsolute(result.path,
                 (entry.kind == SharedFile ? places.sharedDir : places.installDir).c_str());
    if (result.path.lastChar() == '\\')
        result.path += fileNamePart(entry.name);
    result.inInstallTree = true;
    return result;
}

bool sharedFileEntry(const FileEntry& entry, const String& target, String& listed) {
    char marker = 0;
    switch (entry.kind) {
    case SharedFile:
        marker = entry.permanent() ? kCountOnlyMarker : 0;
        break;
    case SystemFile:
        marker = kCountOnlyMarker;
        break;
    case ComServerFile:
        marker = entry.permanent() ? kCountOnlyMarker : kComServerMarker;
        break;
    case TypeLibraryFile:
        marker = entry.permanent() ? kCountOnlyMarker : kTypeLibraryMarker;
        break;
    default:
        return false;
    }
    listed = target;
    if (marker)
        listed += marker;
    return true;
}

bool deletionConditionHolds(int condition, const String& value, const TimeStamp& fileTime,
                            uint64_t fileSize, CorruptionCode& code) {
    if (condition >= 1 && condition <= 3) {
        DateTime wanted;
        if (!wanted.parse(value.c_str())) {
            code = BadDeletionDate;
            return false;
        }
        const DateTime file = fileTime.toDateTime();
        const int order =
            wanted.time().isValid() ? compare(file, wanted) : compare(file.date(), wanted.date());
        return condition == 1 ? order == 0 : condition == 2 ? order >= 0 : order <= 0;
    }
    if (condition >= 4 && condition <= 6) {
        const int64_t wanted = toInt(value);
        const int64_t size = fileSize > uint64_t(INT64_MAX) ? INT64_MAX : int64_t(fileSize);
        return condition == 4 ? size == wanted : condition == 5 ? size >= wanted : size <= wanted;
    }
    return true;
}

void fileSpecificationPatterns(const String& specification, const String& defaultDir,
                               Array<String>& patterns) {
    String rest = specification;
    while (!rest.isEmpty()) {
        String line = takeLine(rest);
        line.trim();
        const int separator = lastSeparator(line);
        String directory;
        if (separator >= 0 && line.charAt(separator) == '\\') {
            const bool afterDrive = separator > 0 && line.charAt(separator - 1) == ':';
            directory = substring(line, 0, afterDrive ? separator + 1 : separator);
        }
        if (directory.isBlank())
            directory = defaultDir;
        else
            makeAbsolute(directory, defaultDir.c_str());
        Array<String> items;
        split(line, items, ";", 0);
        for (int i = 0; i < items.count(); ++i) {
            String& item = items[i];
            if (item.isEmpty())
                continue;
            // The first item carries the line's directory itself; completing
            // it against that directory would name it twice.
            makeAbsolute(item, i == 0 ? defaultDir.c_str() : directory.c_str());
            patterns.append(item);
        }
    }
}
