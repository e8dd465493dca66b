#include "platform/FileHelpers.h"

#include "platform/File.h"
#include "platform/FileFinder.h"

#include <windows.h>

#include <cstring>

namespace {

constexpr int kCompareBlock = 4096;
constexpr int kAppendAttempts = 10;

} // namespace

bool writeFile(const String& path, const void* data, int length) {
    if (data && length == kWholeText)
        length = static_cast<int>(std::strlen(static_cast<const char*>(data)));
    File file;
    if (file.open(path.c_str(), CreateAlways) != FileOpened)
        return false;
    return !data || length <= 0 || file.writeBlock(data, length);
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
    return !data || length <= 0 || file.writeBlock(data, length);
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
    for (int attempt = 1;; ++attempt) {
        File file;
        if (file.open(path.c_str(), flags) != FileOpened)
            return false;
        if (mode & kAppendOnNewLine)
            file.ensureFinalLineBreak();
        if (file.writeBlock(text, length))
            return true;
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
