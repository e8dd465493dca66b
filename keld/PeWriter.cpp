#include "keld/PeWriter.h"

#include "format/ArchiveLayout.h"
#include "format/PeImage.h"

#include <algorithm>
#include <cstring>

namespace keld {

namespace {

constexpr uint16_t kPe32Magic = 0x10B;

struct Headers {
    size_t pe = 0;
    int sections = 0;
    size_t table = 0;
    uint32_t sectionAlignment = 0;
    uint32_t fileAlignment = 0;
    uint32_t sizeOfHeaders = 0;
};

bool fail(std::string& error, const std::string& reason) {
    error = "the installer stub " + reason;
    return false;
}

bool readHeaders(const Bytes& exe, Headers& h, std::string& error) {
    if (exe.size() < 0x40 || exe[0] != 'M' || exe[1] != 'Z')
        return fail(error, "is not a Windows program");
    const uint32_t pe = loadU32(exe, kPeOffsetField);
    if (pe < kMinPeOffset || pe > kMaxPeOffset || pe + kDataDirectoryStart > exe.size() ||
        loadU32(exe, pe) != static_cast<uint32_t>(kPeSignature))
        return fail(error, "has no PE header where the installer looks for it");
    if (loadU16(exe, pe + kOptionalHeaderStart) != kPe32Magic)
        return fail(error, "is not a 32-bit program");
    h.pe = pe;
    h.sections = loadU16(exe, pe + kNumberOfSectionsField);
    h.table = pe + kOptionalHeaderStart + loadU16(exe, pe + kSizeOfOptionalHeaderField);
    h.sectionAlignment = loadU32(exe, pe + kSectionAlignmentField);
    h.fileAlignment = loadU32(exe, pe + kFileAlignmentField);
    h.sizeOfHeaders = loadU32(exe, pe + kSizeOfHeadersField);
    if (h.sectionAlignment == 0 || h.fileAlignment == 0 ||
        h.sectionAlignment % h.fileAlignment != 0)
        return fail(error, "has alignments the installer cannot extend");
    if (h.sections + 1 < kMinSectionCount || h.sections + 1 > kMaxSectionCount)
        return fail(error, "has a section count the installer would refuse with one more");
    if (h.table + size_t(h.sections) * kSectionEntrySize > exe.size())
        return fail(error, "has a section table beyond its end");
    const uint32_t directories = loadU32(exe, pe + kNumberOfRvaAndSizesField);
    const size_t certificate = pe + kDataDirectoryStart + 8 * kCertificateDirectory;
    if (directories > kCertificateDirectory && certificate + 8 <= exe.size() &&
        loadU32(exe, certificate + 4) != 0)
        return fail(error, "is signed; sign the finished installer instead");
    return true;
}

// The uninstaller moves the slot after the table into the archive's place,
// so that slot must be in the headers and empty too.
bool hasRoomForEntry(const Bytes& exe, const Headers& h, std::string& error) {
    const size_t newEntry = h.table + size_t(h.sections) * kSectionEntrySize;
    const size_t newEntryEnd = newEntry + 2 * kSectionEntrySize;
    size_t room = h.sizeOfHeaders;
    for (int i = 0; i < h.sections; ++i) {
        const size_t entry = h.table + size_t(i) * kSectionEntrySize;
        char name[kSectionNameSize + 1] = {};
        std::memcpy(name, &exe[entry], kSectionNameSize);
        if (std::strcmp(name, kArchiveSectionName) == 0)
            return fail(error, "already holds an archive section");
        const uint32_t raw = loadU32(exe, entry + kSectionSizeOfRawData);
        const uint32_t pointer = loadU32(exe, entry + kSectionPointerToRawData);
        if (raw != 0 && pointer != 0)
            room = std::min<size_t>(room, pointer);
    }
    if (newEntryEnd > room || newEntryEnd > exe.size())
        return fail(error, "has no header room for one more section entry");
    for (size_t i = newEntry; i < newEntryEnd; ++i)
        if (exe[i] != 0)
            return fail(error, "has something in the header where the new entry would go");
    return true;
}

// The first address after every section, and the end of the last one's raw data.
void imageEnds(const Bytes& exe, const Headers& h, uint64_t& virtualEnd, uint64_t& fileEnd) {
    virtualEnd = loadU32(exe, h.pe + kSizeOfImageField);
    fileEnd = exe.size();
    for (int i = 0; i < h.sections; ++i) {
        const size_t entry = h.table + size_t(i) * kSectionEntrySize;
        const uint64_t size = std::max(loadU32(exe, entry + kSectionVirtualSize),
                                       loadU32(exe, entry + kSectionSizeOfRawData));
        virtualEnd =
            std::max<uint64_t>(virtualEnd, loadU32(exe, entry + kSectionVirtualAddress) + size);
        fileEnd =
            std::max<uint64_t>(fileEnd, uint64_t(loadU32(exe, entry + kSectionPointerToRawData)) +
                                            loadU32(exe, entry + kSectionSizeOfRawData));
    }
}

} // namespace

bool addArchiveSection(Bytes& exe, uint32_t virtualSize, SectionPlacement& placement,
                       std::string& error) {
    Headers h;
    if (!readHeaders(exe, h, error) || !hasRoomForEntry(exe, h, error))
        return false;
    uint64_t virtualEnd = 0;
    uint64_t fileEnd = 0;
    imageEnds(exe, h, virtualEnd, fileEnd);
    const uint64_t address = alignUp(virtualEnd, h.sectionAlignment);
    const uint64_t rawSize = alignUp(std::max<uint32_t>(virtualSize, 1), h.sectionAlignment);
    // On a page boundary in the file as in memory, the loader can map the
    // archive's pages straight from the file, reading each only when it is
    // used, where it would otherwise copy the whole section in at start-up.
    const uint64_t pointer = alignUp(fileEnd, std::max(h.fileAlignment, h.sectionAlignment));
    const uint64_t imageSize = address + rawSize;
    if (imageSize > 0x7FFFFFFF || pointer + rawSize > 0x7FFFFFFF)
        return fail(error, "would grow beyond 2 GB with the archive");

    const size_t entry = h.table + size_t(h.sections) * kSectionEntrySize;
    std::memcpy(&exe[entry], kArchiveSectionName, sizeof(kArchiveSectionName));
    storeU32(exe, entry + kSectionVirtualSize, virtualSize);
    storeU32(exe, entry + kSectionVirtualAddress, static_cast<uint32_t>(address));
    storeU32(exe, entry + kSectionSizeOfRawData, static_cast<uint32_t>(rawSize));
    storeU32(exe, entry + kSectionPointerToRawData, static_cast<uint32_t>(pointer));
    storeU32(exe, entry + kSectionCharacteristics, kArchiveSectionCharacteristics);

    storeU16(exe, h.pe + kNumberOfSectionsField, static_cast<uint16_t>(h.sections + 1));
    storeU32(exe, h.pe + kSizeOfImageField, static_cast<uint32_t>(imageSize));
    const size_t initialized = h.pe + kSizeOfInitializedDataField;
    storeU32(exe, initialized, loadU32(exe, initialized) + static_cast<uint32_t>(rawSize));
    storeU32(exe, h.pe + kCheckSumField, 0);
    exe.resize(pointer, 0);

    placement.pointerToRawData = static_cast<uint32_t>(pointer);
    placement.virtualAddress = static_cast<uint32_t>(address);
    placement.sizeOfRawData = static_cast<uint32_t>(rawSize);
    return true;
}

} // namespace keld
