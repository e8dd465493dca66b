#include "format/UninstallerImage.h"

#include "core/ByteBuffer.h"
#include "format/ArchiveLayout.h"

#include <cstring>

namespace {

void lowerField(String& image, int64_t offset, uint32_t amount) {
    if (offset < 0 || offset + 4 > image.length())
        return;
    const auto at = static_cast<int32_t>(offset);
    setInt32At(image, at, static_cast<uint32_t>(getInt32At(image, at)) - amount);
}

// Moves every entry after the archive's one slot down; the last real slot
// receives the bytes that followed the table. A section whose data lay after
// the archive's now starts SizeOfRawData earlier in the file.
void removeSectionEntry(String& image, const ArchiveSection& section) {
    const int64_t table = int64_t(section.entryOffset) - int64_t(section.index) * kSectionEntrySize;
    const uint32_t archiveEnd = section.pointerToRawData + section.sizeOfRawData;
    const int remaining = section.sectionCount - 1;
    for (int slot = section.index; slot < section.sectionCount; ++slot) {
        const int64_t to = table + int64_t(slot) * kSectionEntrySize;
        const int64_t from = to + kSectionEntrySize;
        if (to < 0 || to + kSectionEntrySize > image.length())
            return;
        char* target = image.writablePointer(static_cast<int32_t>(to));
        if (from + kSectionEntrySize <= image.length())
            std::memmove(target, target + kSectionEntrySize, kSectionEntrySize);
        else
            std::memset(target, 0, kSectionEntrySize);
        if (slot >= remaining)
            continue;
        const auto pointerAt = static_cast<int32_t>(to + kSectionPointerToRawData);
        const auto pointer = static_cast<uint32_t>(getInt32At(image, pointerAt));
        // Sections without data in the file (pointer 0) and sections before
        // the archive keep their place.
        if (pointer >= archiveEnd && pointer != 0)
            setInt32At(image, pointerAt, pointer - section.sizeOfRawData);
    }
}

// A signature (Authenticode) added to setup.exe lies after the archive and
// signs setup.exe alone: the uninstaller neither carries it nor names it, so
// that its certificate entry does not point into bytes that are no longer there.
void dropSignature(String& image, const ArchiveSection& section) {
    const int64_t entry =
        int64_t(section.peOffset) + kDataDirectoryStart + 8 * kCertificateDirectory;
    const int64_t count = int64_t(section.peOffset) + kNumberOfRvaAndSizesField;
    if (count + 4 > image.length() || entry + 8 > image.length() ||
        static_cast<uint32_t>(getInt32At(image, static_cast<int32_t>(count))) <=
            uint32_t(kCertificateDirectory))
        return;
    const auto offset = static_cast<uint32_t>(getInt32At(image, static_cast<int32_t>(entry)));
    const uint32_t archiveEnd = section.pointerToRawData + section.sizeOfRawData;
    if (offset == 0 || offset < archiveEnd)
        return;
    const int64_t at = int64_t(offset) - section.sizeOfRawData;
    if (at < image.length())
        image.splice(static_cast<int32_t>(at), image.length() - static_cast<int32_t>(at), nullptr,
                     0);
    setInt32At(image, static_cast<int32_t>(entry), 0);
    setInt32At(image, static_cast<int32_t>(entry + 4), 0);
}

} // namespace

CorruptionCode buildUninstallerImage(UninstallerParts parts, const ArchiveSection& section,
                                     String& image) {
    image.clear();
    if (parts.verifyInstaller && checksum(parts.head) != parts.installerChecksum)
        return InstallerChecksumMismatch;
    image = static_cast<String&&>(parts.head);
    image.append(parts.tail);

    const int64_t pe = section.peOffset;
    if (pe + kNumberOfSectionsField + 2 <= image.length())
        setInt16At(image, static_cast<int32_t>(pe + kNumberOfSectionsField),
                   static_cast<uint16_t>(section.sectionCount - 1));
    lowerField(image, pe + kSizeOfInitializedDataField, section.sizeOfRawData);
    lowerField(image, pe + kSizeOfImageField, section.sizeOfRawData);
    removeSectionEntry(image, section);
    dropSignature(image, section);

    if (parts.patchOffset > 0 && parts.patchOffset < image.length() && !parts.patch.isEmpty()) {
        const int32_t room = image.length() - parts.patchOffset;
        const int32_t count = parts.patch.length() < room ? parts.patch.length() : room;
        std::memcpy(image.writablePointer(parts.patchOffset), parts.patch.c_str(), count);
    }
    return NotCorrupt;
}
