#pragma once
// Volume files: the part of the data area that setup.exe does not hold, in
// numbered files "<base><n>.ZEP" beside it (n from 2), each behind its tag.

#include "keld/ArchiveWriterBytes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace keld {

struct VolumeFile {
    std::string name; // file name only, e.g. "DISK2.ZEP"
    Bytes bytes;      // tag, then data
};

// The name of volume `number` for `baseName`.
std::string volumeFileName(const std::string& baseName, int number);

// Splits data[0, size) into volumes of at most `volumeSize` data bytes,
// tagged firstTag, firstTag + 1, ... volumeSize 0 puts everything in one.
std::vector<VolumeFile> splitIntoVolumes(const uint8_t* data, size_t size, size_t volumeSize,
                                         const std::string& baseName, uint32_t firstTag);

// Writes each volume into `directory`; false with the failing path in `error`.
bool writeVolumeFiles(const std::vector<VolumeFile>& volumes, const std::string& directory,
                      std::string& error);

} // namespace keld
