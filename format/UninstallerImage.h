#pragma once
// The uninstaller program: the installer file without its archive section,
// made in memory from the bytes before and after that section.

#include "core/String.h"
#include "format/CorruptionCode.h"
#include "format/PeImage.h"

#include <cstdint>

struct UninstallerParts {
    String head;                  // the file's first PointerToRawData bytes
    String tail;                  // the bytes after the section's raw data
    bool verifyInstaller = false; // compare the head with installerChecksum
    uint32_t installerChecksum = 0;
    int32_t patchOffset = 0; // copy `patch` over the image there when positive
    String patch;
};

// Joins head and tail into `image` and takes the section out of the headers:
// NumberOfSections one lower, SizeOfInitializedData and SizeOfImage lowered
// by SizeOfRawData, the section's entry removed from the table. Returns 40
// (with `image` empty) when the head does not match installerChecksum.
// Header fields outside the image are skipped, and a patch is cut at the
// image's end.
CorruptionCode buildUninstallerImage(UninstallerParts parts, const ArchiveSection& section,
                                     String& image);
