// The installer's first look at itself against any bytes: the section table,
// the archive header, the settings block and the data-area assembly must
// never crash, hang or read outside the bytes they were given.
//
// The input is the installer file; the loaded section is copied into a
// buffer of its own exact size, so that a read past it is caught.

#include "core/String.h"
#include "format/ArchiveHeader.h"
#include "format/ArchiveLayout.h"
#include "format/PeImage.h"
#include "installer/ArchiveData.h"
#include "installer/ArchiveSettingsBlock.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr uint32_t kMaxDeclared = 1u << 16;

uint32_t loadLittle32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// The installer file for the tail; no volume is ever there, and the user
// cancels at once.
class FuzzFiles : public ArchiveFiles {
public:
    FuzzFiles(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool readInstaller(int64_t offset, int32_t length, void* out) override {
        if (offset < 0 || length < 0 || uint64_t(offset) + uint64_t(length) > size_)
            return false;
        std::memcpy(out, data_ + offset, size_t(length));
        return true;
    }
    int64_t openVolume(const String&) override { return -1; }
    bool readVolume(int64_t, int32_t, void*) override { std::abort(); }
    void closeVolume() override { std::abort(); }
    bool askForVolume(const String&, const String&) override { return false; }
    bool confirmCancel() override { return true; }
    String message(int) override { return String("%d %c"); }
    void setProgress(int percent) override {
        if (percent < 5 || percent > 35)
            std::abort();
    }
    void progressStep(int, int) override {}

private:
    const uint8_t* data_;
    size_t size_;
};

void checkHeader(const std::vector<uint8_t>& section, const ArchiveHeader& h) {
    const int64_t length = int64_t(section.size());
    if (h.settingsEnd > length || h.archiveLength > length || h.settingsOffset < 36 ||
        h.settingsEnd - h.settingsOffset != h.settingsSize)
        std::abort();
    for (int32_t i = 0; i < h.fileCount; ++i)
        if (h.fileSize(i) < 0 || h.fileSize(i) > kMaxStoredFileSize)
            std::abort();
}

void readArchive(const uint8_t* file, size_t fileSize, const ArchiveSection& placement,
                 const std::vector<uint8_t>& section) {
    ArchiveHeader header;
    const HeaderCheck check = readArchiveHeader(section.data(), int64_t(section.size()), header);
    if (check.code != NotCorrupt || check.newerFormat)
        return;
    checkHeader(section, header);

    // Large declared sizes would only test the allocator.
    const uint8_t* block = section.data() + header.settingsOffset;
    uint32_t declared = header.settingsSize >= 8 ? loadLittle32(block + 4) : 0;
    declared ^= header.settingsChecksum;
    if (declared <= kMaxDeclared) {
        String settings;
        loadSettingsBlock(block, header.settingsSize, header.settingsChecksum, settings);
    }
    if (header.dataLength > int32_t(kMaxDeclared))
        return;
    for (int layout = 0; layout < 4; ++layout) {
        DataAreaInput input;
        input.image = section.data();
        input.archiveLength = header.archiveLength;
        input.settingsEnd = header.settingsEnd;
        input.pointerToRawData = placement.pointerToRawData;
        input.installerSize = int64_t(fileSize);
        input.dataLength = header.dataLength;
        input.dataChecksum = header.dataChecksum;
        input.dataBeyondImage = (layout & 1) != 0;
        input.compressedData = (layout & 2) != 0;
        input.volumeBaseName = "DISK";
        FuzzFiles files(file, fileSize);
        DataArea area;
        const DataAreaResult result = assembleDataArea(input, files, area);
        if (result.status == DataAreaStatus::Ready && area.length > 0 && !area.bytes)
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 24))
        return 0;
    // The bytes as a section on their own: the header's checks directly.
    readArchive(data, size, ArchiveSection(), std::vector<uint8_t>(data, data + size));

    // The bytes as the installer file.
    ArchiveSection placement;
    const SectionLookup found = findArchiveSection(data, int32_t(size), int64_t(size), placement);
    if (found.result != SectionSearch::Found)
        return 0;
    if (placement.pointerToRawData == 0 || placement.pointerToRawData > size)
        std::abort();
    const size_t start = placement.pointerToRawData;
    size_t length = placement.virtualSize != 0 ? placement.virtualSize : placement.sizeOfRawData;
    if (length > size - start)
        length = size - start;
    readArchive(data, size, placement, std::vector<uint8_t>(data + start, data + start + length));
    return 0;
}
