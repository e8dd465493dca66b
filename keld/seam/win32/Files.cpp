// keld's file access on Windows: UTF-8 paths become UTF-16 for the wide API, so
// that a name outside the ANSI code page works; times come from the file system
// in UTC, as on POSIX.
#include "keld/Files.h"

#include <windows.h>

namespace keld {

namespace {

// 1601-01-01 to 1970-01-01 in FILETIME's 100-nanosecond units.
constexpr int64_t kUnixEpochTicks = 116444736000000000LL;
constexpr int64_t kTicksPerSecond = 10000000;

int64_t unixSeconds(const FILETIME& time) {
    const int64_t ticks =
        int64_t((uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime) - kUnixEpochTicks;
    // Rounded down, as POSIX truncates a time before 1970 too.
    return ticks / kTicksPerSecond - (ticks % kTicksPerSecond < 0 ? 1 : 0);
}

} // namespace

std::filesystem::path toFsPath(const std::string& path) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, path.data(), int(path.size()), nullptr, 0);
    std::wstring wide(size_t(length), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_UTF8, 0, path.data(), int(path.size()), &wide[0], length);
    return std::filesystem::path(wide);
}

std::string fromFsPath(const std::filesystem::path& path) {
    const std::wstring& wide = path.native();
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string text(size_t(length), '\0');
    if (length > 0)
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), &text[0], length, nullptr,
                            nullptr);
    return text;
}

std::optional<FileInfo> fileInfo(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(toFsPath(path).c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    const int64_t size = int64_t((uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
    return FileInfo{size, unixSeconds(data.ftLastWriteTime),
                    (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0};
}

} // namespace keld
