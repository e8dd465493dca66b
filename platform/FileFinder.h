#pragma once
// Directory search: one entry at a time, with names the installer cannot
// handle left out.

#include "core/String.h"
#include "core/TimeStamp.h"

#include <cstdint>

inline constexpr uint32_t kAttributeReadOnly = 0x1;
inline constexpr uint32_t kAttributeHidden = 0x2;
inline constexpr uint32_t kAttributeSystem = 0x4;
inline constexpr uint32_t kAttributeDirectory = 0x10;
inline constexpr uint32_t kAttributeArchive = 0x20;
inline constexpr uint32_t kAttributeNormal = 0x80;
inline constexpr uint32_t kAttributeReparsePoint = 0x400;

// One directory entry. Times are local, to the second.
struct FileInfo {
    TimeStamp lastAccessTime;
    uint32_t attributes = 0;
    TimeStamp lastWriteTime;
    TimeStamp creationTime;
    String name;
    String shortName;
    uint64_t size = 0;

    bool isDirectory() const { return (attributes & kAttributeDirectory) != 0; }
    // "." or "..".
    bool isDotEntry() const;
};

class FileFinder {
public:
    FileFinder() = default;
    ~FileFinder();
    FileFinder(const FileFinder&) = delete;
    FileFinder& operator=(const FileFinder&) = delete;

    // Starts a new search. Entries whose name is empty or holds any of
    // / " < > | * ? : ; are skipped; "." and ".." are not. False when nothing
    // matches.
    bool findFirst(const String& pattern, FileInfo& info);
    // False, with the search closed, when it is exhausted.
    bool findNext(FileInfo& info);
    void close();
    // The directory part of the pattern, where the entries lie.
    const String& directory() const { return directory_; }

private:
    void* handle_ = nullptr;
    String directory_;
};
