#pragma once
// Reads the decoded settings block into InstallSettings, field by field in
// the order of format/SettingsLayout.h, with every check and every default.
// Portable: it shows nothing and ends nothing; a damaged stream comes back as
// its corruption code.
//
// The reading has two steps, because the installer opens its background
// window and checks the settings checksum between them:
//
//   SettingsReader reader(decodedBytes, inputs, installSettings());
//   code = reader.readHead();  // ProductFlags and TaskbarText
//   ... unless NoBackgroundWindow, create the background window;
//   ... compare the checksum of reader.bytes() (SettingsChecksumMismatch);
//   code = reader.readRest();  // the other fields, defaults applied
//
// The reader applies no effect outside the settings: the caller switches
// automatic mode on for AutomaticInstall and, once readRest has succeeded
// with Uninstallable, creates sharedPath with its parents.

#include "core/MemoryStream.h"
#include "core/String.h"
#include "format/CorruptionCode.h"
#include "installer/InstallSettings.h"

#include <cstdint>

// What the defaults need from outside the stream.
struct SettingsInputs {
    String productName;            // from /n; empty when the command line gave none
    String windowsDir;             // replaces "<os>" in DefaultInstallDir
    String programFilesDir;        // completes a relative DefaultInstallDir
    String commonFilesDir;         // completes a relative SharedPath
    int64_t installerFileSize = 0; // the largest UninstallerPatch offset
    // Expands the path variables of DefaultInstallDir; null leaves them.
    String (*expandPathVariables)(const String& text) = nullptr;
};

class SettingsReader {
public:
    // `out` is cleared by readHead and filled as the fields are read.
    SettingsReader(String decodedBytes, const SettingsInputs& inputs, InstallSettings& out);

    CorruptionCode readHead();
    // Only after readHead succeeded.
    CorruptionCode readRest();

    // The decoded block, for the settings checksum.
    const String& bytes() const { return stream_.buffer(); }

private:
    MemoryStream stream_;
    SettingsInputs inputs_;
    InstallSettings& out_;
};

// Both steps with nothing between them.
CorruptionCode readSettings(String decodedBytes, const SettingsInputs& inputs,
                            InstallSettings& out);
