#pragma once
// keld's data-area writer: one FileEntry record per file (format/FileEntry.h),
// with the stored length of each file's data for the header's FileSizes.

#include "core/TimeStamp.h"
#include "keld/ArchiveWriterBytes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace keld {

struct FileRecord {
    std::string name;
    int32_t kind = 0;
    int32_t options = 0;
    int32_t attributes = -1; // -1 leaves the target's attributes alone
    Bytes data;
    TimeStamp time;
    std::string detail;
    std::string icon; // written only with options bit 0 or 1
    std::string arguments;
    std::string target;
    std::string workingDirectory;
};

struct DataAreaBytes {
    Bytes bytes;
    std::vector<int32_t> fileSizes;
};

// Returns false, with `error` saying which file and why, for an empty name, a
// text holding a zero byte, or data above the largest stored size.
bool writeDataArea(const std::vector<FileRecord>& files, DataAreaBytes& out, std::string& error);

} // namespace keld
