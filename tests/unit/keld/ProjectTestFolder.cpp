#include "tests/unit/keld/ProjectTestFolder.h"

#include "keld/Files.h"
#include "keld/PathText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/time.h>
#endif

namespace fs = std::filesystem;

namespace {

// The file's modification time, the way each system sets it.
bool setModified(const std::string& path, int64_t seconds) {
#ifdef _WIN32
    // FILETIME counts 100 ns from 1601-01-01.
    const uint64_t ticks = uint64_t(seconds * 10000000 + 116444736000000000LL);
    const FILETIME time{DWORD(ticks), DWORD(ticks >> 32)};
    const HANDLE file = CreateFileW(keld::toFsPath(path).c_str(), FILE_WRITE_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool set = SetFileTime(file, nullptr, &time, &time) != 0;
    CloseHandle(file);
    return set;
#else
    const timeval times[2] = {{time_t(seconds), 0}, {time_t(seconds), 0}};
    return utimes(path.c_str(), times) == 0;
#endif
}

} // namespace

ProjectTestFolder::ProjectTestFolder() {
    std::error_code ec;
    const fs::path temp = fs::temp_directory_path(ec);
    std::random_device random;
    for (int attempt = 0; attempt < 100 && dir_.empty(); ++attempt) {
        const fs::path candidate = temp / ("keld-test-" + std::to_string(random()));
        if (fs::create_directory(candidate, ec))
            dir_ = keld::fromFsPath(candidate.lexically_normal());
    }
    if (dir_.empty())
        ADD_FAILURE() << "cannot make a test folder in " << keld::fromFsPath(temp);
}

ProjectTestFolder::~ProjectTestFolder() {
    std::error_code ec;
    if (!dir_.empty())
        fs::remove_all(keld::toFsPath(dir_), ec);
}

std::string ProjectTestFolder::path(const std::string& name) const {
    return keld::joinPath(dir_, name);
}

std::string ProjectTestFolder::write(const std::string& name, const std::string& bytes,
                                     int64_t mtime) {
    const std::string file = path(name);
    std::error_code ec;
    fs::create_directories(keld::toFsPath(keld::folderOf(file)), ec);
    EXPECT_TRUE(keld::writeFile(file, keld::Bytes(bytes.begin(), bytes.end()))) << file;
    EXPECT_TRUE(setModified(file, mtime)) << file;
    return file;
}

std::string ProjectTestFolder::read(const std::string& name) const {
    std::string bytes;
    keld::readFile(path(name), bytes);
    return bytes;
}
