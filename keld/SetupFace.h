#pragma once
// What setup.exe shows of itself before it runs: the product's icon and the
// version information Explorer's Properties and the download prompts read
// (product name, publisher, version, description, copyright). Both go into the
// stub's resources, beside the dialogs and the manifest it already carries.

#include "keld/ArchiveWriterBytes.h"
#include "keld/ResourceTree.h"

#include <string>
#include <vector>

namespace keld {

// The version information, as the publisher wrote it (UTF-8).
struct SetupIdentity {
    std::string productName;
    std::string publisher;
    std::string version; // "2.1", "1.0.3 beta"
    std::string description;
    std::string copyright; // optional
    Bytes icon;            // an .ico file; empty: the stub's own icon stays
};

// The four numbers of a version text: its first four runs of digits, the
// rest 0 ("2.1" -> 2.1.0.0, "1.0.3 beta" -> 1.0.3.0), each at most 65535.
void versionNumbers(const std::string& version, uint16_t numbers[4]);

// The VS_VERSIONINFO resource, English (United States), Unicode texts.
Bytes versionInfoBytes(const SetupIdentity& identity);

// Why `ico` is not an icon file keld can take; empty when it is.
std::string iconProblem(const Bytes& ico);

// The stub's resources with the icon (its group replaces the stub's first one,
// keeping that one's name, so that the windows that load it get it too) and
// the version information in place.
std::vector<Resource> withIdentity(std::vector<Resource> resources, const SetupIdentity& identity);

// Reads the stub's resources, puts the identity in and writes them back;
// false with a reason, `stub` unchanged.
bool giveSetupItsFace(Bytes& stub, const SetupIdentity& identity, std::string& error);

} // namespace keld
