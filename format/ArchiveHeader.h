#pragma once
// The fixed header at the start of the archive section, read and checked.

#include "format/CorruptionCode.h"

#include <cstdint>

struct ArchiveHeader {
    uint32_t magic = 0;
    int32_t formatVersion = 0;
    int32_t settingsSize = 0;
    uint32_t settingsChecksum = 0;
    uint32_t installerChecksum = 0;
    int32_t archiveLength = 0;
    int32_t fileCount = 0;
    int32_t dataLength = 0;
    uint32_t dataChecksum = 0;
    // FileCount sizes of 32 bits, checked, inside the bytes the header was
    // read from (which must outlive the header).
    const uint8_t* fileSizes = nullptr;
    int32_t settingsOffset = 0; // where the settings block starts, from the section start
    int32_t settingsEnd = 0;    // just after it: where the data area starts

    int32_t fileSize(int32_t index) const;
};

struct HeaderCheck {
    CorruptionCode code = NotCorrupt;
    // The archive comes from a newer keld: the version message, not a code.
    bool newerFormat = false;
};

// An archive newer than this installer: FormatVersion / 100 more than 0.01
// above the installer's own version.
bool isNewerFormat(int32_t formatVersion);

// Reads the header from the `length` bytes of the loaded section at `section`
// and checks every field in order, stopping at the first failure. Besides the
// rules of each field, nothing may point past the section: FileSizes that do
// not fit are error 27, a settings block that does not fit error 22, and an
// ArchiveLength beyond the section error 45. A section too short for the
// fixed fields reads as a bad magic.
HeaderCheck readArchiveHeader(const uint8_t* section, int64_t length, ArchiveHeader& header);
