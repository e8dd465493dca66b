#pragma once
// The installer's archive, process-wide: where the section lies, its header,
// the uninstaller made from the installer, and the assembled data area.

#include "core/String.h"
#include "format/ArchiveHeader.h"
#include "format/PeImage.h"
#include "installer/ArchiveData.h"

#include <cstdint>

struct ArchiveState {
    ArchiveSection section;
    int32_t installerSize = 0;
    const uint8_t* image = nullptr; // the loaded section
    int64_t imageLength = 0;
    ArchiveHeader header;
    String uninstallerImage;
    DataArea dataArea;
};

ArchiveState& archiveState();

// The length of the loaded section that may be read: its virtual size (the
// raw size when that is 0), no further than the image the loader mapped.
int64_t loadedSectionLength(const ArchiveSection& section, uint32_t sizeOfImage);
