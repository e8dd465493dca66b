#include "keld/ArchiveWriter.h"

#include "core/ByteBuffer.h"
#include "format/ArchiveHeader.h"
#include "format/ArchiveLayout.h"
#include "format/CompressedBlock.h"
#include "keld/PeWriter.h"

#include <algorithm>

namespace keld {

namespace {

uint32_t checksumOf(const Bytes& bytes, size_t size) {
    return checksum(bytes.data(), static_cast<int32_t>(size));
}

// The fields in the order the installer's header reader takes them; the file
// count is the number of sizes that follow.
void appendHeader(Bytes& out, const ArchiveHeader& h, const std::vector<int32_t>& fileSizes) {
    appendU32(out, kArchiveMagic);
    appendU32(out, static_cast<uint32_t>(h.formatVersion));
    appendU32(out, static_cast<uint32_t>(h.settingsSize));
    appendU32(out, h.settingsChecksum);
    appendU32(out, h.installerChecksum);
    appendU32(out, static_cast<uint32_t>(h.archiveLength));
    appendU32(out, static_cast<uint32_t>(fileSizes.size()));
    appendU32(out, static_cast<uint32_t>(h.dataLength));
    appendU32(out, h.dataChecksum);
    for (int32_t size : fileSizes)
        appendU32(out, static_cast<uint32_t>(size));
}

bool storedDataArea(const std::vector<FileRecord>& files, const ArchiveOptions& options,
                    DataAreaBytes& area, std::string& error) {
    if (!writeDataArea(files, area, error))
        return false;
    if (options.compressData && !area.bytes.empty()) {
        Bytes block;
        if (!encodeCompressedBlock(area.bytes.data(), area.bytes.size(), options.level, block,
                                   options.progress)) {
            error = "the data area is too large to compress";
            return false;
        }
        // Decoded as the installer will decode it before it is shipped: an
        // encoder fault must stop the build, not reach the people installing.
        Bytes decoded(area.bytes.size());
        if (decodeCompressedBlock(block.data(), block.size(), decoded.data(), decoded.size()) !=
                BlockStatus::Ok ||
            decoded != area.bytes) {
            error = "the compressed data area does not decode to the files (a fault of keld's "
                    "encoder; compression = \"fast\" avoids it until it is fixed)";
            return false;
        }
        area.bytes.swap(block);
    }
    if (area.bytes.size() > 0x7FFFFFFF) {
        error = "the data area is larger than 2 GB";
        return false;
    }
    return true;
}

} // namespace

Bytes scrambledSettingsBlock(const Bytes& settings, CompressionLevel level) {
    Bytes block;
    if (settings.size() > 0x7FFFFFFF ||
        !encodeCompressedBlock(settings.data(), settings.size(), level, block) ||
        block.size() > static_cast<size_t>(kMaxSettingsSize))
        return Bytes();
    xorWithKey(block.data(), static_cast<int32_t>(block.size()),
               checksumOf(settings, settings.size()));
    return block;
}

bool buildInstaller(const Bytes& stub, const Bytes& settings, const std::vector<FileRecord>& files,
                    const ArchiveOptions& options, BuiltInstaller& out, std::string& error) {
    out = BuiltInstaller();
    DataAreaBytes area;
    if (!storedDataArea(files, options, area, error))
        return false;
    const Bytes block = scrambledSettingsBlock(settings, options.level);
    if (block.empty()) {
        error = "the settings do not fit the archive's settings block";
        return false;
    }

    ArchiveHeader header;
    header.formatVersion = options.formatVersion != 0 ? options.formatVersion : kFormatVersion;
    header.settingsSize = static_cast<int32_t>(block.size());
    header.settingsChecksum = checksumOf(settings, settings.size());
    header.dataLength = static_cast<int32_t>(area.bytes.size());
    header.dataChecksum = checksumOf(area.bytes, area.bytes.size());
    const size_t settingsOffset = static_cast<size_t>(archiveHeaderSize(area.fileSizes.size()));
    const size_t settingsEnd = settingsOffset + block.size();

    size_t firstPart = area.bytes.size();
    if (options.firstPartLimit >= 0)
        firstPart = std::min(firstPart, static_cast<size_t>(options.firstPartLimit));
    const size_t inSection = options.dataBeyondImage ? settingsEnd : settingsEnd + firstPart;
    header.archiveLength = static_cast<int32_t>(inSection);

    out.setup = stub;
    SectionPlacement placement;
    if (!addArchiveSection(out.setup, static_cast<uint32_t>(inSection), placement, error))
        return false;
    header.installerChecksum = checksumOf(out.setup, placement.pointerToRawData);

    Bytes archive;
    appendHeader(archive, header, area.fileSizes);
    appendBytes(archive, block.data(), block.size());
    if (options.dataBeyondImage) {
        // The installer counts everything from the settings end to the end
        // of the file as data; the section's padding must not cut into it.
        const size_t rawEnd = placement.sizeOfRawData - settingsEnd;
        firstPart = std::min(area.bytes.size(), std::max(firstPart, rawEnd));
    }
    appendBytes(archive, area.bytes.data(), firstPart);
    archive.resize(std::max<size_t>(archive.size(), placement.sizeOfRawData), 0);
    appendBytes(out.setup, archive.data(), archive.size());

    out.volumes = splitIntoVolumes(area.bytes.data() + firstPart, area.bytes.size() - firstPart,
                                   options.volumeSize, options.volumeBaseName, options.volumeTag);
    out.sectionOffset = placement.pointerToRawData;
    out.settingsOffset = static_cast<uint32_t>(settingsOffset);
    out.settingsEnd = static_cast<uint32_t>(settingsEnd);
    return true;
}

} // namespace keld
