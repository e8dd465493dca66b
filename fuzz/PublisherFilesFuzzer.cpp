// What keld reads from a publisher's files before it builds: a background
// bitmap of any layout, an icon file, and a stub's resource tree. None may
// crash keld, and what they give the installer must hold together: a
// converted bitmap is one the installer's own parser takes whole, and
// resources written out read back as they went in.

#include "core/String.h"
#include "installer/PackedDib.h"
#include "keld/BitmapFile.h"
#include "keld/ResourceTree.h"
#include "keld/SetupFace.h"
#include "tests/unit/PeImageFixture.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    std::string packed, error;
    if (keld::installerBitmap(bytes, packed, error)) {
        PackedDib dib;
        require(dib.loadFromMemory(String(packed.data(), int(packed.size()))));
        require(!dib.isEmpty());
    }

    const keld::Bytes input(data, data + size);
    keld::Bytes stub = pe_fixture::makeImage(4);
    keld::SetupIdentity identity;
    identity.productName = "P";
    identity.icon = input;
    if (keld::iconProblem(input).empty()) {
        require(keld::giveSetupItsFace(stub, identity, error));
        std::vector<keld::Resource> resources;
        require(keld::readResources(stub, resources, error));
    }

    // The bytes as a whole program: its resources, if they read, write back
    // and read again alike.
    std::vector<keld::Resource> resources;
    if (keld::readResources(input, resources, error) && !resources.empty() &&
        resources.size() < 1000) {
        keld::Bytes image = pe_fixture::makeImage(4);
        require(keld::replaceResources(image, resources, error));
        std::vector<keld::Resource> again;
        require(keld::readResources(image, again, error));
        require(again.size() == resources.size());
    }
    return 0;
}
