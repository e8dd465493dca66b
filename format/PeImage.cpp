#include "format/PeImage.h"

#include "format/ArchiveLayout.h"

#include <cstring>

bool peekU16(const uint8_t* bytes, int64_t length, int64_t offset, uint16_t& value) {
    if (!bytes || offset < 0 || offset + 2 > length)
        return false;
    value = static_cast<uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
    return true;
}

bool peekU32(const uint8_t* bytes, int64_t length, int64_t offset, uint32_t& value) {
    if (!bytes || offset < 0 || offset + 4 > length)
        return false;
    value = uint32_t(bytes[offset]) | uint32_t(bytes[offset + 1]) << 8 |
            uint32_t(bytes[offset + 2]) << 16 | uint32_t(bytes[offset + 3]) << 24;
    return true;
}

namespace {

SectionLookup corrupt(CorruptionCode code) {
    return SectionLookup{SectionSearch::Corrupt, code};
}

bool isArchiveName(const uint8_t* name) {
    char text[kSectionNameSize + 1];
    std::memcpy(text, name, kSectionNameSize);
    text[kSectionNameSize] = '\0';
    return std::strcmp(text, kArchiveSectionName) == 0;
}

} // namespace

SectionLookup findArchiveSection(const uint8_t* head, int32_t headLength, int64_t fileSize,
                                 ArchiveSection& section) {
    section = ArchiveSection();
    // The head is never trusted to be longer than the file it came from.
    const int64_t length = headLength < fileSize ? headLength : fileSize;

    uint16_t peOffset = 0;
    if (!peekU16(head, length, kPeOffsetField, peOffset) || peOffset < kMinPeOffset ||
        peOffset > kMaxPeOffset)
        return corrupt(BadPeOffset);
    section.peOffset = peOffset;

    uint16_t count = 0;
    if (!peekU16(head, length, peOffset + kNumberOfSectionsField, count) ||
        count < kMinSectionCount || count > kMaxSectionCount)
        return corrupt(BadSectionCount);
    section.sectionCount = count;

    uint16_t optionalSize = 0;
    if (!peekU16(head, length, peOffset + kSizeOfOptionalHeaderField, optionalSize))
        return corrupt(BadSectionCount);
    const int64_t table = int64_t(peOffset) + kOptionalHeaderStart + optionalSize;

    for (int i = 0; i < count; ++i) {
        const int64_t entry = table + int64_t(i) * kSectionEntrySize;
        // A table that claims more entries than the file holds.
        if (entry + kSectionEntrySize > length)
            return corrupt(BadSectionCount);
        if (!isArchiveName(head + entry))
            continue;
        section.index = i;
        section.entryOffset = static_cast<int32_t>(entry);
        peekU32(head, length, entry + kSectionVirtualSize, section.virtualSize);
        peekU32(head, length, entry + kSectionVirtualAddress, section.virtualAddress);
        peekU32(head, length, entry + kSectionSizeOfRawData, section.sizeOfRawData);
        peekU32(head, length, entry + kSectionPointerToRawData, section.pointerToRawData);
        if (section.pointerToRawData == 0)
            return corrupt(SectionNotInFile);
        if (section.pointerToRawData > fileSize)
            return corrupt(SectionSeekFailed);
        return SectionLookup{SectionSearch::Found, NotCorrupt};
    }
    return SectionLookup{SectionSearch::NotFound, NotCorrupt};
}
