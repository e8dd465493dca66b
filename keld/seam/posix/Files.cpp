// keld's file access on POSIX: paths are the bytes the system takes.
#include "keld/Files.h"

#include <sys/stat.h>

namespace keld {

std::filesystem::path toFsPath(const std::string& path) {
    return std::filesystem::path(path);
}

std::string fromFsPath(const std::filesystem::path& path) {
    return path.native();
}

std::optional<FileInfo> fileInfo(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return FileInfo{int64_t(info.st_size), int64_t(info.st_mtime), S_ISDIR(info.st_mode)};
}

} // namespace keld
