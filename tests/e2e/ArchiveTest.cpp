// Installers made by keld's writers, started under Wine: each installs its
// files from its own archive, or ends with the box its damage calls for;
// volumes are asked for the way a person would see it.
#include "ArchiveFixture.h"
#include "Wine.h"
#include "core/ByteBuffer.h"
#include "format/ArchiveLayout.h"
#include "format/PeImage.h"
#include "format/UninstallerImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace e2e {
namespace {

const std::string kCorruptStart = "This installation program is corrupt.";
const std::string kNoArchive = "This program performs installations and uninstallations.\r\n"
                               "There is no installation archive present.\r\n"
                               "No Uninstallation parameters were specified.\r\n\r\n"
                               "You should not delete this program or execute it directly.";

// The progress dialog stays while the data area loads; the robot only watches
// it, and a quick installation may be over before it is seen.
const char kWatchProgress[] = "watch:Message 54";

bool isProgressDialog(const Window& w) {
    return w.caption == "Message 54" && w.pressed.empty();
}

void dropProgressDialogs(RunResult& run) {
    run.windows.erase(std::remove_if(run.windows.begin(), run.windows.end(), isProgressDialog),
                      run.windows.end());
}

std::string fileText(const std::string& path) {
    const keld::Bytes bytes = readBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

// The silent installation showed only its progress and put both files in
// place with their bytes: the data area was read whole and right.
void expectInstalled(RunResult run, const BuiltSetup& setup) {
    ASSERT_EQ(run.error, "") << run.output;
    dropProgressDialogs(run);
    for (const Window& w : run.windows)
        ADD_FAILURE() << "unexpected window: " << w.caption << ": " << w.text;
    EXPECT_EQ(run.exitCode, 1);
    const std::string dir = installedDir(setup);
    EXPECT_EQ(fileText(dir + "/readme.txt"), std::string(5000, 'r'));
    std::string tool;
    for (int i = 0; i < 20000; ++i)
        tool.push_back(static_cast<char>(static_cast<uint8_t>(i * 2654435761u >> 24)));
    EXPECT_EQ(fileText(dir + "/tool.exe"), tool);
}

void expectFatalBox(const RunResult& run, const std::string& text) {
    ASSERT_EQ(run.error, "") << run.output;
    ASSERT_EQ(run.windows.size(), 1u);
    EXPECT_EQ(run.windows[0].caption, "FATAL ERROR");
    EXPECT_EQ(run.windows[0].text, text);
    EXPECT_EQ(run.exitCode, 1);
}

// --- Sound installers ------------------------------------------------------

struct Layout {
    const char* name;
    bool compressed;
    bool beyondImage;
    bool verify;
};

void PrintTo(const Layout& l, std::ostream* out) {
    *out << l.name;
}

class ArchiveReadTest : public ::testing::TestWithParam<Layout> {};

TEST_P(ArchiveReadTest, InstallsItsFiles) {
    InstallSettings settings = archiveTestSettings();
    if (GetParam().compressed)
        settings.productFlags |= CompressedData;
    if (GetParam().verify)
        settings.productFlags |= VerifyInstaller;
    settings.dataBeyondImage = GetParam().beyondImage ? 1 : 0;
    BuiltSetup setup = buildSetup(settings, keld::ArchiveOptions());
    expectInstalled(runUnderRobot(silentInstall(setup), {kWatchProgress}, 30), setup);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, ArchiveReadTest,
    ::testing::Values(Layout{"DataInTheSection", false, false, false},
                      Layout{"CompressedData", true, false, false},
                      Layout{"DataBeyondTheImage", false, true, false},
                      Layout{"CompressedDataBeyondTheImage", true, true, false},
                      Layout{"VerifiedInstaller", false, false, true}),
    [](const ::testing::TestParamInfo<Layout>& p) { return std::string(p.param.name); });

TEST(ArchiveTest, PlainVarnokeShowsTheMissingArchiveText) {
    expectFatalBox(runUnderRobot({varnokeExe()}, {}, 30), kNoArchive);
}

// --- Damaged installers ----------------------------------------------------

void setU32(keld::Bytes& b, size_t at, uint32_t v) {
    keld::storeU32(b, at, v);
}

struct Damage {
    const char* name;
    uint64_t flags; // settings flags the damage needs
    std::function<void(keld::BuiltInstaller&)> corrupt;
    int code;
    bool fromArchive; // after the settings are read, the archive's own text says it
};

void PrintTo(const Damage& d, std::ostream* out) {
    *out << d.name;
}

std::function<void(keld::BuiltInstaller&)> headerField(int32_t offset, uint32_t value) {
    return [=](keld::BuiltInstaller& b) { setU32(b.setup, b.sectionOffset + offset, value); };
}

// The header's SettingsChecksum changed, the block scrambled again to suit
// it: the block decodes, but to bytes whose checksum differs.
void rescrambleSettings(keld::BuiltInstaller& b) {
    const size_t header = b.sectionOffset;
    const uint32_t key = keld::loadU32(b.setup, header + kHeaderSettingsChecksum);
    const uint32_t other = key ^ 0x01010101u;
    setU32(b.setup, header + kHeaderSettingsChecksum, other);
    xorWithKey(&b.setup[header + b.settingsOffset],
               static_cast<int32_t>(b.settingsEnd - b.settingsOffset), key ^ other);
}

// A compressed data area made undecodable, with its checksum fixed up.
void breakDataBlock(keld::BuiltInstaller& b) {
    const size_t header = b.sectionOffset;
    const size_t area = header + b.settingsEnd;
    const uint32_t length = keld::loadU32(b.setup, header + kHeaderDataLength);
    b.setup[area] ^= 0xFF;
    setU32(b.setup, header + kHeaderDataChecksum,
           checksum(&b.setup[area], static_cast<int32_t>(length)));
}

ArchiveSection sectionOf(const keld::Bytes& setup) {
    ArchiveSection section;
    findArchiveSection(setup.data(), static_cast<int32_t>(setup.size()),
                       static_cast<int64_t>(setup.size()), section);
    return section;
}

class ArchiveDamageTest : public ::testing::TestWithParam<Damage> {};

TEST_P(ArchiveDamageTest, ShowsItsCorruptionCode) {
    const Damage& d = GetParam();
    InstallSettings settings = archiveTestSettings();
    settings.productFlags |= d.flags;
    BuiltSetup setup = buildSetup(settings, keld::ArchiveOptions(), d.corrupt);
    RunResult run = runUnderRobot(silentInstall(setup), {kWatchProgress}, 30);
    const std::string text =
        d.fromArchive ? "Damaged installer, error " + std::to_string(d.code) : "";
    ASSERT_EQ(run.error, "") << run.output;
    // Damage in the file data shows once the progress dialog is up.
    dropProgressDialogs(run);
    ASSERT_EQ(run.windows.size(), 1u);
    EXPECT_EQ(run.windows[0].caption, "FATAL ERROR");
    if (d.fromArchive) {
        EXPECT_EQ(run.windows[0].text, text);
    } else {
        EXPECT_EQ(run.windows[0].text.rfind(kCorruptStart, 0), 0u) << run.windows[0].text;
        const std::string tail = "Error code: " + std::to_string(d.code);
        EXPECT_EQ(run.windows[0].text.substr(run.windows[0].text.size() - tail.size()), tail);
    }
    EXPECT_EQ(run.exitCode, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ArchiveDamageTest,
    ::testing::Values(
        // The loader takes a section without file data as zeros.
        Damage{"SectionNotInFile", 0,
               [](keld::BuiltInstaller& b) {
                   const ArchiveSection s = sectionOf(b.setup);
                   setU32(b.setup, static_cast<size_t>(s.entryOffset) + kSectionPointerToRawData,
                          0);
               },
               9, false},
        Damage{"BadMagic", 0, headerField(kHeaderMagic, 0xA4F23DE4), 20, false},
        Damage{"SettingsSizeZero", 0, headerField(kHeaderSettingsSize, 0), 22, false},
        Damage{"SettingsSizeTooLarge", 0, headerField(kHeaderSettingsSize, 0xA00000), 22, false},
        Damage{"ArchiveLengthNegative", 0, headerField(kHeaderArchiveLength, 0xFFFFFFFF), 45,
               false},
        Damage{"FileCountNegative", 0, headerField(kHeaderFileCount, 0xFFFFFFFF), 27, false},
        Damage{"DataLengthNegative", 0, headerField(kHeaderDataLength, 0x80000000), 29, false},
        Damage{"FileSizeTooLarge", 0, headerField(kHeaderFileSizes + 4, 0x40000001), 28, false},
        Damage{"SettingsBlockNotABlock", 0,
               [](keld::BuiltInstaller& b) { b.setup[b.sectionOffset + b.settingsOffset] ^= 1; },
               47, false},
        Damage{"SettingsChecksumMismatch", 0, rescrambleSettings, 25, false},
        Damage{"InstallerChanged", VerifyInstaller,
               [](keld::BuiltInstaller& b) { b.setup[0x50] ^= 0x20; }, 40, true},
        Damage{"DataChecksumMismatch", 0,
               [](keld::BuiltInstaller& b) { b.setup[b.sectionOffset + b.settingsEnd + 3] ^= 1; },
               55, true},
        Damage{"DataBlockBroken", CompressedData, breakDataBlock, 60, true},
        // The second file's size beyond the data area: its record cannot be read whole.
        Damage{"FileRunsPastTheDataArea", 0, headerField(kHeaderFileSizes + 4, 0x100000), 100,
               true}),
    [](const ::testing::TestParamInfo<Damage>& p) { return std::string(p.param.name); });

struct Version {
    int32_t formatVersion;
    bool refused;
};

void PrintTo(const Version& v, std::ostream* out) {
    *out << v.formatVersion;
}

class ArchiveVersionTest : public ::testing::TestWithParam<Version> {};

TEST_P(ArchiveVersionTest, NewerKeldGetsTheVersionMessage) {
    keld::ArchiveOptions options;
    options.formatVersion = GetParam().formatVersion;
    BuiltSetup setup = buildSetup(archiveTestSettings(), options);
    if (GetParam().refused)
        expectFatalBox(runUnderRobot({setup.exe}, {}, 30),
                       "The installer version (13.3) does not match the version of KELD "
                       "(13.3).  Close all applications and reinstall KELD.");
    else
        expectInstalled(runUnderRobot(silentInstall(setup), {kWatchProgress}, 30), setup);
}

INSTANTIATE_TEST_SUITE_P(Versions, ArchiveVersionTest,
                         ::testing::Values(Version{1332, true}, Version{1331, false},
                                           Version{1000, false}),
                         [](const ::testing::TestParamInfo<Version>& p) {
                             return std::to_string(p.param.formatVersion);
                         });

// --- Volumes ----------------------------------------------------------------

keld::ArchiveOptions threeVolumes() {
    keld::ArchiveOptions options;
    options.firstPartLimit = 4000;
    options.volumeSize = 8000;
    return options;
}

std::string request(bool wrongDisk, int number) {
    return std::string(wrongDisk ? "This is the wrong disk.\r\n\r\n" : "") + "Please insert disk " +
           std::to_string(number) + " in drive Z:";
}

TEST(ArchiveVolumeTest, LoadsEveryVolume) {
    for (bool beyondImage : {false, true}) {
        InstallSettings settings = archiveTestSettings();
        settings.dataBeyondImage = beyondImage ? 1 : 0;
        BuiltSetup setup = buildSetup(settings, threeVolumes());
        ASSERT_EQ(setup.installer.volumes.size(), 3u);
        expectInstalled(runUnderRobot(silentInstall(setup), {kWatchProgress}, 30), setup);
    }
}

TEST(ArchiveVolumeTest, AsksForAMissingVolumeUntilCancelIsConfirmed) {
    BuiltSetup setup = buildSetup(archiveTestSettings(), threeVolumes());
    std::filesystem::remove(setup.dir + "/DISK3.ZEP");
    RunResult run =
        runUnderRobot(silentInstall(setup), {kWatchProgress, "Cancel", "No", "Cancel", "Yes"}, 30);
    ASSERT_EQ(run.error, "") << run.output;
    dropProgressDialogs(run);
    ASSERT_EQ(run.windows.size(), 4u);
    EXPECT_EQ(run.windows[0].caption, "Next disk");
    EXPECT_EQ(run.windows[0].text, request(false, 3));
    ASSERT_EQ(run.windows[0].buttons.size(), 2u);
    EXPECT_EQ(run.windows[0].buttons[0].label, "OK");
    EXPECT_EQ(run.windows[0].buttons[1].label, "Cancel");
    EXPECT_EQ(run.windows[1].caption, "Question");
    EXPECT_EQ(run.windows[1].text, "Do you really want to cancel?");
    // The second failed attempt counts as a wrong disk.
    EXPECT_EQ(run.windows[2].text, request(true, 3));
    EXPECT_EQ(run.windows[3].text, "Do you really want to cancel?");
    EXPECT_EQ(run.exitCode, 1);
}

TEST(ArchiveVolumeTest, RefusesAVolumeWhoseTagIsOneTooLow) {
    BuiltSetup setup = buildSetup(archiveTestSettings(), threeVolumes());
    keld::Bytes volume = readBytes(setup.dir + "/DISK2.ZEP");
    keld::storeU32(volume, 0, 0x5000 - 1);
    writeBytes(setup.dir + "/DISK2.ZEP", volume);
    RunResult run = runUnderRobot(silentInstall(setup), {kWatchProgress, "Cancel", "Yes"}, 30);
    ASSERT_EQ(run.error, "") << run.output;
    dropProgressDialogs(run);
    ASSERT_EQ(run.windows.size(), 2u);
    EXPECT_EQ(run.windows[0].text, request(true, 2));
    EXPECT_EQ(run.exitCode, 1);
}

// --- The uninstaller --------------------------------------------------------

TEST(ArchiveUninstallerTest, ImageIsTheStubAgainAndStartsWithoutAnArchive) {
    BuiltSetup setup = buildSetup(archiveTestSettings(), keld::ArchiveOptions());
    const keld::Bytes& installer = setup.installer.setup;
    const ArchiveSection section = sectionOf(installer);
    UninstallerParts parts;
    parts.head = String(reinterpret_cast<const char*>(installer.data()),
                        static_cast<int>(section.pointerToRawData));
    const size_t tail = section.pointerToRawData + section.sizeOfRawData;
    parts.tail = String(reinterpret_cast<const char*>(installer.data()) + tail,
                        static_cast<int>(installer.size() - tail));
    String image;
    ASSERT_EQ(buildUninstallerImage(parts, section, image), NotCorrupt);
    keld::Bytes uninstaller(image.c_str(), image.c_str() + image.length());

    // Byte for byte the stub, but for the PE checksum keld clears, and the
    // zeros that pad it out to the page the archive starts on.
    keld::Bytes stub = readBytes(varnokeExe());
    const uint32_t pe = keld::loadU32(stub, kPeOffsetField);
    keld::storeU32(stub, pe + kCheckSumField, 0);
    ASSERT_GE(section.pointerToRawData, stub.size());
    EXPECT_LT(section.pointerToRawData - stub.size(), 4096u);
    stub.resize(section.pointerToRawData, 0);
    EXPECT_TRUE(uninstaller == stub);

    const std::string path = setup.dir + "/uninst.exe";
    writeBytes(path, uninstaller);
    expectFatalBox(runUnderRobot({path}, {}, 30), kNoArchive);
}

} // namespace
} // namespace e2e
