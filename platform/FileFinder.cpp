#include "platform/FileFinder.h"

#include "core/Path.h"

#include <windows.h>

#include <cstring>

namespace {

TimeStamp localStamp(const FILETIME& utc) {
    TimeStamp stamp;
    FILETIME local;
    SYSTEMTIME time;
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &time))
        return stamp;
    stamp.year = time.wYear;
    stamp.month = time.wMonth;
    stamp.day = time.wDay;
    stamp.hour = time.wHour;
    stamp.minute = time.wMinute;
    stamp.second = time.wSecond;
    return stamp;
}

// Names the rest of the installer cannot pass on safely.
bool isUsableName(const char* name) {
    return *name && !std::strpbrk(name, "/\"<>|*?:;");
}

void fill(FileInfo& info, const WIN32_FIND_DATAA& data) {
    info.lastAccessTime = localStamp(data.ftLastAccessTime);
    info.attributes = data.dwFileAttributes;
    info.lastWriteTime = localStamp(data.ftLastWriteTime);
    info.creationTime = localStamp(data.ftCreationTime);
    info.name.assign(data.cFileName);
    info.shortName.assign(data.cAlternateFileName);
    info.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

} // namespace

bool FileInfo::isDotEntry() const {
    return name == "." || name == "..";
}

FileFinder::~FileFinder() {
    close();
}

void FileFinder::close() {
    if (handle_)
        FindClose(static_cast<HANDLE>(handle_));
    handle_ = nullptr;
}

bool FileFinder::findFirst(const String& pattern, FileInfo& info) {
    close();
    directory_ = directoryPart(pattern);
    WIN32_FIND_DATAA data;
    HANDLE handle = FindFirstFileA(pattern.c_str(), &data);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    handle_ = handle;
    if (isUsableName(data.cFileName)) {
        fill(info, data);
        return true;
    }
    return findNext(info);
}

bool FileFinder::findNext(FileInfo& info) {
    if (!handle_)
        return false;
    WIN32_FIND_DATAA data;
    while (FindNextFileA(static_cast<HANDLE>(handle_), &data)) {
        if (isUsableName(data.cFileName)) {
            fill(info, data);
            return true;
        }
    }
    close();
    return false;
}
