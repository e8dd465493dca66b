// Installers built with keld's writers from the Windows build's varnoke.exe,
// written into a fresh folder so that their volume files lie beside them.
#pragma once

#include "installer/InstallSettings.h"
#include "keld/ArchiveWriter.h"
#include "keld/SettingsWriter.h"

#include <functional>
#include <string>
#include <vector>

namespace e2e {

// Settings every archive test starts from: one English column with the
// texts of the volume requests, and the corruption text from the archive.
InstallSettings archiveTestSettings();

struct BuiltSetup {
    std::string dir;
    std::string exe;
    keld::BuiltInstaller installer;
};

// Builds setup.exe (and its volumes) into a new folder, laid out as the
// settings say (compression, tail, volume names and tags). `corrupt` may change
// the finished installer before it is written.
// `patchSettings` may change the settings stream (given the writer, which knows
// where each field starts) before it is compressed and scrambled.
BuiltSetup
buildSetup(const InstallSettings& settings, const keld::ArchiveOptions& options,
           const std::function<void(keld::BuiltInstaller&)>& corrupt = nullptr,
           const std::function<void(const SettingsWriter&, keld::Bytes&)>& patchSettings = nullptr);

// The same for a product of the given files instead of the two every archive test
// uses (readme.txt and tool.exe, which has desktop and Start Menu shortcuts).
BuiltSetup buildSetupWithFiles(const InstallSettings& settings,
                               const std::vector<keld::FileRecord>& files);
std::vector<keld::FileRecord> standardFiles();

// The arguments of a silent installation into the folder "installed" beside
// setup.exe.
std::vector<std::string> silentInstall(const BuiltSetup& setup);
std::string installedDir(const BuiltSetup& setup);

keld::Bytes readBytes(const std::string& path);
void writeBytes(const std::string& path, const keld::Bytes& bytes);

} // namespace e2e
