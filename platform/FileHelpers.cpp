#include "platform/FileHelpers.h"

#include "platform/DelayedFile.h"
#include "platform/File.h"
#include "platform/FileFinder.h"

#include <windows.h>

#include <cstring>

namespace {

// Below a page: the stub's frames stay under 4 KB, so that none needs a stack probe.
constexpr int kCompareBlock = 2048;
constexpr int kAppendAttempts = 10;

// Keeps the system's error of a failure across the clean-up after it.
class KeptError {
public:
    KeptError() : error_(GetLastError()) {}
    ~KeptError() { SetLastError(error_ ? error_ : ERROR_WRITE_FAULT); }

private:
    DWORD error_;
};

// A time the system cannot take leaves the file's own; only the bytes count.
bool writeAndStamp(File& file, const void* data, int length, const TimeStamp* time) {
    if (data && length > 0 && !file.writeBlock(data, length))
        return false;
    if (time)
        file.setLastWriteTime(*time);
    return true;
}

bool dropFile(File& file) {
    const KeptError kept;
    const String name = file.name();
    file.close();
    DeleteFileA(name.c_str());
    return false;
}

} // namespace

bool writeFileWhole(const String& path, const void* data, int length, const TimeStamp* time) {
    if (data && length == kWholeText)
        length = static_cast<int>(std::strlen(static_cast<const char*>(data)));
    File file;
    const FileOpenResult created = file.open(path.c_str(), CreateNew | NoRead);
    if (created == FileOpened)
        return writeAndStamp(file, data, length, time) || dropFile(file);
    if (created != FileExists)
        return false;
    // Fails as overwriting it would: in use, read-only, not a file.
    if (file.open(path.c_str(), OpenExisting | NoRead) != FileOpened)
        return false;
    file.close();
    File copy;
    if (copy.open(path.c_str(), TempBeside | NoRead) != FileOpened)
        return !copy.name().isEmpty() && dropFile(copy);
    if (!writeAndStamp(copy, data, length, time))
        return dropFile(copy);
    const String copyName = copy.name();
    copy.close();
    if (replaceFileNow(copyName, path))
        return true;
    const KeptError kept;
    DeleteFileA(copyName.c_str());
    return false;
}

bool writeFile(const String& path, const void* data, int length) {
    return writeFileWhole(path, data, length);
}

bool writeFile(const String& path, const String& data) {
    return writeFile(path, data.c_str(), data.length());
}

bool writeTempFile(const void* data, int length, String& name) {
    File file;
    FileOpenResult opened = file.open(nullptr, TempInTempDir);
    name = file.name();
    if (opened != FileOpened)
        return false;
    if (data && length == kWholeText)
        length = static_cast<int>(std::strlen(static_cast<const char*>(data)));
    if (!data || length <= 0 || file.writeBlock(data, length))
        return true;
    name.clear();
    return dropFile(file);
}

bool fileEquals(const String& path, const void* data, int length) {
    if (!data && length > 0)
        return false;
    File file;
    if (file.open(path.c_str(), OpenExisting | NoWrite | ShareRead) != FileOpened)
        return false;
    if (file.size() != length)
        return false;
    const char* expected = static_cast<const char*>(data);
    char block[kCompareBlock];
    for (int done = 0; done < length; done += kCompareBlock) {
        int count = length - done < kCompareBlock ? length - done : kCompareBlock;
        if (!file.readBlock(block, count) || std::memcmp(block, expected + done, count) != 0)
            return false;
    }
    return true;
}

bool appendToFile(const String& path, const char* text, int mode) {
    if (path.isBlank())
        return false;
    const uint32_t flags = SeekToEnd | ((mode & kAppendMustExist) ? OpenExisting : OpenAlways);
    const int length = text ? static_cast<int>(std::strlen(text)) : 0;
    const bool existed = GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    for (int attempt = 1;; ++attempt) {
        File file;
        if (file.open(path.c_str(), flags) != FileOpened)
            return false;
        const int32_t before = file.size();
        if (mode & kAppendOnNewLine)
            file.ensureFinalLineBreak();
        if (file.writeBlock(text, length))
            return true;
        {
            // A full disk must not leave half a block, nor an empty new file.
            const KeptError kept;
            if (!existed) {
                dropFile(file);
            } else if (file.seek(before)) {
                file.truncate();
            }
        }
        if ((mode & kAppendNoRetry) || attempt == kAppendAttempts)
            return false;
        file.close();
        Sleep(100);
    }
}

bool lastWriteTime(const String& path, TimeStamp& time) {
    FileFinder finder;
    FileInfo info;
    if (!finder.findFirst(path, info))
        return false;
    time = info.lastWriteTime;
    return true;
}
