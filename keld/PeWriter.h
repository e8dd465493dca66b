#pragma once
// Appends the archive section to the built installer stub.

#include "keld/ArchiveWriterBytes.h"

#include <cstdint>
#include <string>

namespace keld {

struct SectionPlacement {
    uint32_t pointerToRawData = 0;
    uint32_t virtualAddress = 0;
    uint32_t sizeOfRawData = 0;
};

// Adds a ".keld" section entry for `virtualSize` bytes of content to the PE
// image in `exe` and pads the file to where the section's raw data begins;
// the caller appends sizeOfRawData bytes there. The raw size is a whole
// number of section alignments, so that the uninstaller, which lowers
// SizeOfImage by it, gets an exact image size back. SizeOfImage and
// SizeOfInitializedData grow, NumberOfSections grows by one, and the PE
// checksum is cleared (nothing checks it for a program, and it would differ
// in the uninstaller). Returns false with `exe` unchanged and a reason in
// `error` when the image is not a 32-bit PE the installer can read, already
// has the section, is signed, or has no header room for one more entry followed by an empty one
// (which the uninstaller moves into the archive's slot).
bool addArchiveSection(Bytes& exe, uint32_t virtualSize, SectionPlacement& placement,
                       std::string& error);

} // namespace keld
