#include "installer/Archive.h"

ArchiveState& archiveState() {
    static ArchiveState state;
    return state;
}

int64_t loadedSectionLength(const ArchiveSection& section, uint32_t sizeOfImage) {
    const int64_t length = section.virtualSize != 0 ? section.virtualSize : section.sizeOfRawData;
    const int64_t mapped = int64_t(sizeOfImage) - section.virtualAddress;
    if (mapped <= 0)
        return 0;
    return length < mapped ? length : mapped;
}
