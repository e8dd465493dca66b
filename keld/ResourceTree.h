#pragma once
// The resources of a Windows program (icons, version information, dialogs,
// manifest) read out of its resource section and written back as a new one.
// keld gives setup.exe the product's icon and version information this way,
// keeping every resource the stub carries; Uninstall.exe, a copy of setup.exe
// without the archive, shows the same.

#include "keld/ArchiveWriterBytes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace keld {

enum ResourceType : uint32_t {
    IconResource = 3,
    GroupIconResource = 14,
    VersionResource = 16,
};

// A type or name: a number, or a text when `text` is not empty.
struct ResourceId {
    uint32_t number = 0;
    std::u16string text;

    bool operator==(const ResourceId& other) const {
        return number == other.number && text == other.text;
    }
};

struct Resource {
    ResourceId type;
    ResourceId name;
    uint32_t language = 0;
    uint32_t codePage = 0;
    Bytes data;
};

// Every resource of the image, in its tree's order; empty for an image without
// a resource directory. False with a reason for a tree that does not hold
// together (entries outside the image, loops).
bool readResources(const Bytes& exe, std::vector<Resource>& resources, std::string& error);

// The section bytes of a resource tree placed at `sectionAddress`: entries in
// the order Windows looks them up in (texts before numbers, each ascending).
Bytes resourceSectionBytes(const std::vector<Resource>& resources, uint32_t sectionAddress);

// Replaces the image's resources by `resources` in a new ".rsrc" section at
// its end, which the resource directory then names (an earlier resource
// section stays as unused bytes: code may follow it). False, with `exe`
// unchanged, when the image has no header room for the entry.
bool replaceResources(Bytes& exe, const std::vector<Resource>& resources, std::string& error);

} // namespace keld
