#pragma once
// Finding the archive section in the installer file's PE headers. Works over
// the file's first bytes, so that the installer, keld and the tests share it.

#include "format/CorruptionCode.h"

#include <cstdint>

// Where the archive section lies, in the file and in the loaded image.
struct ArchiveSection {
    int32_t peOffset = 0;    // e_lfanew
    int sectionCount = 0;    // NumberOfSections
    int index = -1;          // the archive's slot in the section table
    int32_t entryOffset = 0; // file offset of that slot
    uint32_t virtualAddress = 0;
    uint32_t virtualSize = 0;
    uint32_t sizeOfRawData = 0;
    uint32_t pointerToRawData = 0;
};

enum class SectionSearch {
    Found,
    Corrupt,  // `code` says why
    NotFound, // a sound PE without ".keld": a plain varnoke.exe
};

struct SectionLookup {
    SectionSearch result = SectionSearch::Corrupt;
    CorruptionCode code = NotCorrupt;
};

// Reads the headers from `head`, the file's first `headLength` bytes (the
// first kMaxHeaderSpan bytes suffice), of a file of `fileSize` bytes. Checks
// e_lfanew (43) and NumberOfSections (44; also when the section table runs
// past the file), and of the archive section PointerToRawData 0 (9) and a
// PointerToRawData past the end of the file (10). `section` is filled as far
// as the search got.
SectionLookup findArchiveSection(const uint8_t* head, int32_t headLength, int64_t fileSize,
                                 ArchiveSection& section);

// Little-endian reads from a byte range; false when they do not fit.
bool peekU16(const uint8_t* bytes, int64_t length, int64_t offset, uint16_t& value);
bool peekU32(const uint8_t* bytes, int64_t length, int64_t offset, uint32_t& value);
