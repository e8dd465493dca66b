#include "core/ByteBuffer.h"
#include "format/ArchiveLayout.h"
#include "keld/Build.h"
#include "keld/Files.h"
#include "keld/SettingsWriter.h"
#include "keld/VerifyArchive.h"
#include "tests/unit/keld/ProjectTestFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace {

using keld::Bytes;
using keld::SetupReading;
using keld::SetupVerdict;

const char kProject[] = "[product]\nname = \"V\"\nflags = [\"Uninstallable\"]\n"
                        "[[files]]\nsource = \"a.txt\"\n[[files]]\nsource = \"b.txt\"\n"
                        "[output]\ncompression = \"none\"\nverify-installer = true\n";

// One installer built from kProject, and ways to damage a copy of it.
class VerifyTest : public ::testing::Test {
protected:
    VerifyTest() {
        folder_.write("a.txt", "first file");
        folder_.write("b.txt", "second");
        build(kProject);
    }

    void build(const std::string& text) {
        keld::Project project;
        keld::ProjectErrors errors;
        ASSERT_TRUE(keld::readProject(folder_.write("project.toml", text), project, errors));
        keld::BuildOptions options;
        options.stub = testStub();
        options.outputPath = folder_.path("setup.exe");
        std::vector<std::string> problems;
        ASSERT_TRUE(keld::buildProject(project, options, built_, problems));
        SettingsWriter writer;
        ASSERT_TRUE(writer.write(built_.settings));
        settings_ = writer.bytes();
    }

public:
    size_t section() const { return built_.installer.sectionOffset; }
    size_t dataStart() const { return section() + built_.installer.settingsEnd; }

    static void put32(Bytes& b, size_t at, uint32_t value) { keld::storeU32(b, at, value); }

    // The data area's checksum made right again after a change inside it.
    void fixDataChecksum(Bytes& b) const {
        const uint32_t length = keld::loadU32(b, section() + kHeaderDataLength);
        put32(b, section() + kHeaderDataChecksum,
              checksum(b.data() + dataStart(), int32_t(length)));
    }

    // An installer whose settings are `change`d after keld checked them.
    Bytes withSettings(const std::function<void(String&)>& change) const {
        String bytes = settings_;
        change(bytes);
        keld::ArchiveOptions options;
        keld::BuiltInstaller out;
        std::string error;
        std::vector<keld::FileRecord> none;
        EXPECT_TRUE(keld::buildInstaller(testStub(),
                                         Bytes(bytes.c_str(), bytes.c_str() + bytes.length()), none,
                                         options, out, error))
            << error;
        return out.setup;
    }

protected:
    SetupReading verify(const Bytes& setup) {
        const std::string path = folder_.path("damaged.exe");
        folder_.write("damaged.exe", std::string(setup.begin(), setup.end()));
        return keld::readSetup(path);
    }

    int32_t fieldAt(SettingsField field) const {
        SettingsWriter writer;
        writer.write(built_.settings);
        return writer.fieldOffset(field);
    }

    ProjectTestFolder folder_;
    keld::BuildResult built_;
    String settings_;
};

struct Damage {
    const char* what;
    std::function<void(const VerifyTest&, Bytes&)> apply;
    SetupVerdict verdict;
    CorruptionCode code;
};

TEST_F(VerifyTest, DamagedInstallersGiveTheInstallersCodes) {
    using V = VerifyTest;
    const Damage cases[] = {
        {"intact", [](const V&, Bytes&) {}, SetupVerdict::Accepted, NotCorrupt},
        {"e_lfanew beyond 4096", [](const V&, Bytes& b) { keld::storeU16(b, 0x3C, 4097); },
         SetupVerdict::Corrupt, BadPeOffset},
        {"three sections",
         [](const V&, Bytes& b) { keld::storeU16(b, pe_fixture::kPeOffset + 6, 3); },
         SetupVerdict::Corrupt, BadSectionCount},
        {"magic", [](const V& t, Bytes& b) { b[t.section()] ^= 1; }, SetupVerdict::Corrupt,
         BadMagic},
        {"format 13.31 is still read",
         [](const V& t, Bytes& b) { V::put32(b, t.section() + kHeaderFormatVersion, 1331); },
         SetupVerdict::Accepted, NotCorrupt},
        {"format 13.32 is newer",
         [](const V& t, Bytes& b) { V::put32(b, t.section() + kHeaderFormatVersion, 1332); },
         SetupVerdict::NewerFormat, NotCorrupt},
        {"settings size 0",
         [](const V& t, Bytes& b) { V::put32(b, t.section() + kHeaderSettingsSize, 0); },
         SetupVerdict::Corrupt, BadSettingsSize},
        {"settings block",
         [](const V& t, Bytes& b) { b[t.section() + archiveHeaderSize(2)] ^= 0xFF; },
         SetupVerdict::Corrupt, BadSettingsBlock},
        {"settings checksum",
         [](const V& t, Bytes& b) {
             // The block still decodes, scrambled with the changed checksum.
             const size_t at = t.section() + kHeaderSettingsChecksum;
             const uint32_t old = keld::loadU32(b, at), changed = old ^ 0x01000000u;
             const size_t block = t.section() + archiveHeaderSize(2);
             const auto size = int32_t(keld::loadU32(b, t.section() + kHeaderSettingsSize));
             xorWithKey(b.data() + block, size, old);
             xorWithKey(b.data() + block, size, changed);
             V::put32(b, at, changed);
         },
         SetupVerdict::Corrupt, SettingsChecksumMismatch},
        {"stub changed after building", [](const V&, Bytes& b) { b[0x50] ^= 1; },
         SetupVerdict::Corrupt, InstallerChecksumMismatch},
        {"file count -1",
         [](const V& t, Bytes& b) { V::put32(b, t.section() + kHeaderFileCount, 0xFFFFFFFF); },
         SetupVerdict::Corrupt, NegativeFileCount},
        {"file size above 1 GB",
         [](const V& t, Bytes& b) { V::put32(b, t.section() + kHeaderFileSizes, 0x40000001); },
         SetupVerdict::Corrupt, BadFileSize},
        {"data length -1",
         [](const V& t, Bytes& b) { V::put32(b, t.section() + kHeaderDataLength, 0xFFFFFFFF); },
         SetupVerdict::Corrupt, NegativeDataLength},
        {"archive length -1",
         [](const V& t, Bytes& b) { V::put32(b, t.section() + kHeaderArchiveLength, 0xFFFFFFFF); },
         SetupVerdict::Corrupt, NegativeArchiveLength},
        {"data checksum", [](const V& t, Bytes& b) { b[t.section() + kHeaderDataChecksum] ^= 1; },
         SetupVerdict::Corrupt, DataChecksumMismatch},
        {"a file's data",
         [](const V& t, Bytes& b) {
             b[t.dataStart() + 6 + 12] ^= 1; // "a.txt", kind, options, attributes, data
             t.fixDataChecksum(b);
         },
         SetupVerdict::Corrupt, FileChecksumMismatch},
        {"an empty file name",
         [](const V& t, Bytes& b) {
             b[t.dataStart()] = 0;
             t.fixDataChecksum(b);
         },
         SetupVerdict::Corrupt, EmptyFileName},
        {"the last file's size beyond the data area",
         [](const V& t, Bytes& b) { V::put32(b, t.section() + kHeaderFileSizes + 4, 0x100000); },
         SetupVerdict::Corrupt, FileChecksumMismatch},
        {"kind 3",
         [](const V& t, Bytes& b) {
             V::put32(b, t.dataStart() + 6, 3);
             t.fixDataChecksum(b);
         },
         SetupVerdict::Corrupt, UnknownFileKind},
    };
    for (const Damage& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes setup = built_.installer.setup;
        c.apply(*this, setup);
        const SetupReading r = verify(setup);
        EXPECT_EQ(r.verdict, c.verdict) << r.problem;
        EXPECT_EQ(r.code, c.code) << r.problem;
    }
}

TEST_F(VerifyTest, SettingsTheInstallerRefusesGiveItsCodes) {
    struct SettingsDamage {
        const char* what;
        SettingsField field;
        std::function<void(String&, int32_t)> apply;
        CorruptionCode code;
    };
    const auto put = [](String& s, int32_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i)
            *s.writablePointer(at + i) = char(value >> (8 * i));
    };
    const SettingsDamage cases[] = {
        {"step pause 10000", SettingsField::StepPause,
         [](String& s, int32_t at) {
             *s.writablePointer(at) = char(10000 & 0xFF);
             *s.writablePointer(at + 1) = char(10000 >> 8);
         },
         StepPauseTooLong},
        {"bitmap size 101", SettingsField::BitmapSize,
         [&put](String& s, int32_t at) { put(s, at, 101); }, BadBitmapSize},
        {"21 licence texts", SettingsField::LicenseCount,
         [&put](String& s, int32_t at) { put(s, at, 21); }, BadLicenseCount},
        {"no languages", SettingsField::LanguageCount,
         [](String& s, int32_t at) { *s.writablePointer(at) = 0; }, BadLanguageCount},
        {"end marker", SettingsField::EndMarker, [&put](String& s, int32_t at) { put(s, at, 0); },
         MissingSettingsEnd},
    };
    for (const SettingsDamage& c : cases) {
        SCOPED_TRACE(c.what);
        const int32_t at = fieldAt(c.field);
        ASSERT_GE(at, 0);
        const SetupReading r = verify(withSettings([&](String& s) { c.apply(s, at); }));
        EXPECT_EQ(r.verdict, SetupVerdict::Corrupt) << r.problem;
        EXPECT_EQ(r.code, c.code) << r.problem;
    }
}

TEST_F(VerifyTest, VolumesMustBeThereAndTaggedInOrder) {
    std::string big(10000, 'x');
    folder_.write("a.txt", big);
    build(std::string(kProject) + "volume-size = 4096\n");
    ASSERT_EQ(built_.installer.volumes.size(), 2u);
    std::string error;
    ASSERT_TRUE(keld::writeBuild(built_, folder_.path("setup.exe"), error)) << error;
    EXPECT_EQ(keld::readSetup(folder_.path("setup.exe")).verdict, SetupVerdict::Accepted);

    const std::string second = folder_.path(built_.installer.volumes[1].name);
    std::string bytes = folder_.read(built_.installer.volumes[1].name);
    bytes[0] ^= 1; // the tag of the previous volume
    folder_.write(built_.installer.volumes[1].name, bytes);
    SetupReading r = keld::readSetup(folder_.path("setup.exe"));
    EXPECT_EQ(r.verdict, SetupVerdict::VolumeMissing);
    EXPECT_NE(r.problem.find(second), std::string::npos) << r.problem;

    std::error_code ec;
    EXPECT_TRUE(std::filesystem::remove(keld::toFsPath(second), ec)) << second;
    r = keld::readSetup(folder_.path("setup.exe"));
    EXPECT_EQ(r.verdict, SetupVerdict::VolumeMissing);
}

TEST_F(VerifyTest, ProgramsWithoutAnArchiveOrCutShortAreNamed) {
    EXPECT_EQ(verify(testStub()).verdict, SetupVerdict::NoArchive);
    Bytes cut = built_.installer.setup;
    cut.resize(cut.size() - 1);
    EXPECT_EQ(verify(cut).verdict, SetupVerdict::Unreadable);
}

} // namespace
