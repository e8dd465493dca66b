#pragma once
// keld's archive writer: turns the installer stub, the settings bytes and the
// files into setup.exe and its volume files.

#include "keld/DataAreaWriter.h"
#include "keld/Encoder.h"
#include "keld/VolumeWriter.h"

#include <cstdint>
#include <string>
#include <vector>

namespace keld {

// How the archive is laid out. The settings stream must agree: its
// CompressedData bit, DataBeyondImage, VolumeBaseName and VolumeTag.
struct ArchiveOptions {
    int32_t formatVersion = 0; // 0: this keld's own
    CompressionLevel level = CompressionLevel::Best;
    bool compressData = false;
    bool dataBeyondImage = false;
    // Data-area bytes setup.exe holds at most; the rest goes into volumes of
    // volumeSize data bytes each (0: one volume). -1: everything in setup.exe.
    int64_t firstPartLimit = -1;
    size_t volumeSize = 0;
    std::string volumeBaseName;
    uint32_t volumeTag = 0;
    // Told how far the compression of the data area has come.
    EncodeProgress progress;
};

struct BuiltInstaller {
    Bytes setup;
    std::vector<VolumeFile> volumes;
    // Where the archive lies, for inspection and for the tests.
    uint32_t sectionOffset = 0;
    uint32_t settingsOffset = 0; // from the section start
    uint32_t settingsEnd = 0;
};

// False with the reason in `error` when the stub cannot take the section or
// a file record, the settings or the data area cannot be written.
bool buildInstaller(const Bytes& stub, const Bytes& settings, const std::vector<FileRecord>& files,
                    const ArchiveOptions& options, BuiltInstaller& out, std::string& error);

// The settings block as it travels: compressed, then XORed with the
// checksum of `settings`. Empty when the settings are too large.
Bytes scrambledSettingsBlock(const Bytes& settings, CompressionLevel level);

} // namespace keld
