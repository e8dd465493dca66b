#pragma once
// File records of the data area written byte by byte, as keld lays them out,
// for tests of the installer's reading and placing.

#include "core/ByteBuffer.h"
#include "format/FileEntry.h"

#include <cstdint>
#include <string>
#include <vector>

struct FileRecordBytes {
    std::vector<uint8_t> bytes;

    FileRecordBytes& text(const std::string& s) {
        bytes.insert(bytes.end(), s.begin(), s.end());
        bytes.push_back(0);
        return *this;
    }
    FileRecordBytes& i32(int32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(uint8_t(uint32_t(v) >> (8 * i)));
        return *this;
    }
    // The data and their checksum.
    FileRecordBytes& data(const std::string& d) {
        bytes.insert(bytes.end(), d.begin(), d.end());
        return i32(int32_t(checksum(d.data(), int32_t(d.size()))));
    }
};

// One whole record; the time is year, month, day, hour, minute, second.
struct FileRecordFields {
    std::string name;
    int32_t kind = InstallDirFile;
    int32_t options = 0;
    int32_t attributes = -1;
    std::string data;
    int32_t time[6] = {2024, 5, 6, 7, 8, 9};
    std::string detail, icon, arguments, target, workingDirectory;

    std::vector<uint8_t> bytes() const {
        FileRecordBytes r;
        r.text(name).i32(kind).i32(options).i32(attributes).data(data);
        for (int32_t v : time)
            r.i32(v);
        r.text(detail);
        if (hasIconField(options))
            r.text(icon);
        r.text(arguments).text(target).text(workingDirectory);
        return r.bytes;
    }
};
