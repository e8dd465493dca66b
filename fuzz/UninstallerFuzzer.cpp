// The uninstaller image made from any installer bytes: the section lookup
// picks the section, the builder takes it out, and nothing is read or
// written outside the image; only the headers and the patch may change.

#include "core/String.h"
#include "format/ArchiveLayout.h"
#include "format/PeImage.h"
#include "format/UninstallerImage.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 22))
        return 0;
    ArchiveSection section;
    if (findArchiveSection(data, int32_t(size), int64_t(size), section).result !=
        SectionSearch::Found)
        return 0;
    const size_t start = section.pointerToRawData;
    const uint64_t end = uint64_t(start) + section.sizeOfRawData;
    UninstallerParts parts;
    parts.head = String(reinterpret_cast<const char*>(data), int(start));
    if (end < size)
        parts.tail = String(reinterpret_cast<const char*>(data) + end, int(size - end));
    // A patch from the section's own first bytes, at an offset they give.
    if (size - start >= 6) {
        parts.patchOffset = int32_t(data[start] | data[start + 1] << 8 | data[start + 2] << 16);
        parts.patch =
            String(reinterpret_cast<const char*>(data) + start + 3,
                   int(data[start + 3] % 8 + 1 < int(size - start - 3) ? data[start + 3] % 8 + 1
                                                                       : int(size - start - 3)));
    }
    const int expected = parts.head.length() + parts.tail.length();
    const String tail = parts.tail;
    String image;
    if (buildUninstallerImage(parts, section, image) != NotCorrupt || image.length() != expected)
        std::abort();

    // Past the headers and the patch, the tail arrives unchanged.
    int64_t headerEnd =
        int64_t(section.entryOffset) + int64_t(section.sectionCount - section.index) * 40;
    if (headerEnd < section.peOffset + kSizeOfImageField + 4)
        headerEnd = section.peOffset + kSizeOfImageField + 4;
    const int64_t patchEnd = int64_t(parts.patchOffset) + parts.patch.length();
    const int32_t tailStart = int32_t(start);
    for (int32_t i = 0; i < tail.length(); ++i) {
        const int64_t at = int64_t(tailStart) + i;
        if (at < headerEnd || (at >= parts.patchOffset && at < patchEnd))
            continue;
        if (image.charAt(tailStart + i) != tail.charAt(i))
            std::abort();
    }
    return 0;
}
