#include "ArchiveFixture.h"

#include "Wine.h"
#include "keld/SettingsWriter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace e2e {

InstallSettings archiveTestSettings() {
    InstallSettings s;
    s.productName = "Archive Test";
    s.taskbarText = "Archive Test Setup";
    s.volumeBaseName = "DISK";
    s.volumeTag = 0x5000;
    s.languages = {"English"};
    s.messageTable.resize(72, 1);
    for (int id = 0; id < 72; ++id)
        s.messageTable.set(id, 0, String::formatted("Message %d", id));
    s.messageTable.set(13, 0, "Damaged installer, error %d");
    s.messageTable.set(20, 0, "Question");
    s.messageTable.set(26, 0, "Please insert disk %d in drive %c:");
    s.messageTable.set(27, 0, "Next disk");
    s.messageTable.set(28, 0, "Do you really want to cancel?");
    s.messageTable.set(30, 0, "This is the wrong disk.");
    return s;
}

std::string installedDir(const BuiltSetup& setup) {
    return setup.dir + "/installed";
}

std::vector<std::string> silentInstall(const BuiltSetup& setup) {
    return {setup.exe, "/a", "/d:" + toWinePath(installedDir(setup))};
}

keld::Bytes readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << path;
    return keld::Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const std::string& path, const keld::Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    EXPECT_TRUE(out.good()) << path;
}

std::vector<keld::FileRecord> standardFiles() {
    std::vector<keld::FileRecord> files(2);
    files[0].name = "readme.txt";
    files[0].data.assign(5000, 'r');
    files[0].time = TimeStamp{2024, 5, 6, 7, 8, 9};
    files[1].name = "tool.exe";
    files[1].options = 0x3;
    files[1].icon = "tool.ico";
    for (int i = 0; i < 20000; ++i)
        files[1].data.push_back(static_cast<uint8_t>(i * 2654435761u >> 24));
    return files;
}

namespace {

BuiltSetup build(const InstallSettings& settings, const keld::ArchiveOptions& options,
                 const std::vector<keld::FileRecord>& files,
                 const std::function<void(keld::BuiltInstaller&)>& corrupt,
                 const std::function<void(const SettingsWriter&, keld::Bytes&)>& patchSettings) {
    BuiltSetup built;
    char folder[] = "/tmp/varnoke-archive-XXXXXX";
    if (!mkdtemp(folder)) {
        ADD_FAILURE() << "no temporary folder";
        return built;
    }
    built.dir = folder;
    built.exe = built.dir + "/setup.exe";

    SettingsWriter writer;
    if (!writer.write(settings)) {
        ADD_FAILURE() << writer.failure().c_str();
        return built;
    }
    const String& text = writer.bytes();
    keld::Bytes settingsBytes(text.c_str(), text.c_str() + text.length());
    if (patchSettings)
        patchSettings(writer, settingsBytes);

    // The layout the settings announce.
    keld::ArchiveOptions layout = options;
    layout.compressData = settings.has(CompressedData);
    layout.dataBeyondImage = settings.dataBeyondImage != 0;
    layout.volumeBaseName = settings.volumeBaseName.c_str();
    layout.volumeTag = static_cast<uint32_t>(settings.volumeTag);
    layout.level = keld::CompressionLevel::Fast;
    std::string error;
    if (!keld::buildInstaller(readBytes(varnokeExe()), settingsBytes, files, layout,
                              built.installer, error)) {
        ADD_FAILURE() << error;
        return built;
    }
    if (corrupt)
        corrupt(built.installer);
    writeBytes(built.exe, built.installer.setup);
    if (!keld::writeVolumeFiles(built.installer.volumes, built.dir, error))
        ADD_FAILURE() << error;
    return built;
}

} // namespace

BuiltSetup
buildSetup(const InstallSettings& settings, const keld::ArchiveOptions& options,
           const std::function<void(keld::BuiltInstaller&)>& corrupt,
           const std::function<void(const SettingsWriter&, keld::Bytes&)>& patchSettings) {
    return build(settings, options, standardFiles(), corrupt, patchSettings);
}

BuiltSetup buildSetupWithFiles(const InstallSettings& settings,
                               const std::vector<keld::FileRecord>& files) {
    return build(settings, keld::ArchiveOptions(), files, nullptr, nullptr);
}

} // namespace e2e
