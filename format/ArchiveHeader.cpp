#include "format/ArchiveHeader.h"

#include "format/ArchiveLayout.h"
#include "format/PeImage.h"

bool isNewerFormat(int32_t formatVersion) {
    return formatVersion * 0.01 - kInstallerVersion > 0.01;
}

namespace {

int32_t field(const uint8_t* section, int64_t length, int32_t offset) {
    uint32_t value = 0;
    peekU32(section, length, offset, value);
    return static_cast<int32_t>(value);
}

HeaderCheck fail(CorruptionCode code) {
    return HeaderCheck{code, false};
}

} // namespace

int32_t ArchiveHeader::fileSize(int32_t index) const {
    if (!fileSizes || index < 0 || index >= fileCount)
        return -1;
    return field(fileSizes, 4 * int64_t(fileCount), 4 * index);
}

HeaderCheck readArchiveHeader(const uint8_t* section, int64_t length, ArchiveHeader& header) {
    header = ArchiveHeader();
    if (!section || length < kHeaderFileSizes)
        return fail(BadMagic);
    header.magic = static_cast<uint32_t>(field(section, length, kHeaderMagic));
    if (header.magic != kArchiveMagic)
        return fail(BadMagic);
    header.formatVersion = field(section, length, kHeaderFormatVersion);
    if (isNewerFormat(header.formatVersion))
        return HeaderCheck{NotCorrupt, true};

    header.settingsSize = field(section, length, kHeaderSettingsSize);
    if (header.settingsSize < 1 || header.settingsSize > kMaxSettingsSize)
        return fail(BadSettingsSize);
    header.settingsChecksum =
        static_cast<uint32_t>(field(section, length, kHeaderSettingsChecksum));
    header.installerChecksum =
        static_cast<uint32_t>(field(section, length, kHeaderInstallerChecksum));
    header.archiveLength = field(section, length, kHeaderArchiveLength);
    if (header.archiveLength < 0 || header.archiveLength > length)
        return fail(NegativeArchiveLength);
    header.fileCount = field(section, length, kHeaderFileCount);
    if (header.fileCount < 0 || archiveHeaderSize(header.fileCount) > length)
        return fail(NegativeFileCount);
    header.dataLength = field(section, length, kHeaderDataLength);
    if (header.dataLength < 0)
        return fail(NegativeDataLength);
    header.dataChecksum = static_cast<uint32_t>(field(section, length, kHeaderDataChecksum));

    for (int32_t i = 0; i < header.fileCount; ++i) {
        const int32_t size = field(section, length, kHeaderFileSizes + 4 * i);
        if (size < 0 || size > kMaxStoredFileSize)
            return fail(BadFileSize);
    }
    header.fileSizes = section + kHeaderFileSizes;

    const int64_t settingsOffset = archiveHeaderSize(header.fileCount);
    const int64_t settingsEnd = settingsOffset + header.settingsSize;
    if (settingsEnd > length)
        return fail(BadSettingsSize);
    header.settingsOffset = static_cast<int32_t>(settingsOffset);
    header.settingsEnd = static_cast<int32_t>(settingsEnd);
    return HeaderCheck();
}
