#pragma once
// The building machine's files, read and written as bytes on every system.
// Paths are UTF-8 text everywhere (keld/PathText.h says which forms they take);
// on Windows they reach the system as UTF-16, so that any name works.
// toFsPath, fromFsPath and fileInfo have one implementation per platform in
// keld/seam/<platform>/Files.cpp.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace keld {

// UTF-8 text to the system's own path and back; never fails (a byte sequence
// that is not UTF-8 becomes U+FFFD on Windows).
std::filesystem::path toFsPath(const std::string& path);
std::string fromFsPath(const std::filesystem::path& path);

struct FileInfo {
    int64_t size = 0;
    int64_t modified = 0; // seconds since 1970-01-01 00:00 UTC
    bool folder = false;
};

// What the file system says of the file at `path` (links followed on POSIX);
// nothing when it does not exist or cannot be asked.
std::optional<FileInfo> fileInfo(const std::string& path);

// The whole file; false, with `out` empty, when it cannot be read (a folder
// cannot).
bool readFile(const std::string& path, std::vector<uint8_t>& out);
bool readFile(const std::string& path, std::string& out);

// "cannot read the file \"PATH\"", or what stands in its way when the path
// names a folder or nothing at all: for the messages of every reader.
std::string unreadableFile(const std::string& what, const std::string& path);
// Why `path` could not be written, as far as the file system tells.
std::string unwritableFile(const std::string& path);

// True when the two paths name one existing file (through links, letter case
// or another spelling of the path).
bool sameFile(const std::string& a, const std::string& b);

// Creates or replaces the file; false when it cannot be written whole.
bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes);

} // namespace keld
