#include "installer/Archive.h"

// Made on first use: a static object would be written into varnoke.exe's
// writable data (the section's slot starts at -1), a section of its own.
ArchiveState& archiveState() {
    static ArchiveState* state;
    if (!state)
        state = new ArchiveState;
    return *state;
}

int64_t loadedSectionLength(const ArchiveSection& section, uint32_t sizeOfImage) {
    const int64_t length = section.virtualSize != 0 ? section.virtualSize : section.sizeOfRawData;
    const int64_t mapped = int64_t(sizeOfImage) - section.virtualAddress;
    if (mapped <= 0)
        return 0;
    return length < mapped ? length : mapped;
}
