// keld's archive writer read back with the installer's own parsers: the
// section, the header and its checksums, the settings block, the data area
// with its records, the file tail and the volumes.
#include "keld/ArchiveWriter.h"
#include "core/ByteBuffer.h"
#include "core/String.h"
#include "format/ArchiveHeader.h"
#include "format/ArchiveLayout.h"
#include "format/CompressedBlock.h"
#include "format/FileEntry.h"
#include "format/PeImage.h"
#include "tests/unit/PeImageFixture.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using keld::Bytes;
using keld::FileRecord;

std::vector<FileRecord> sampleFiles() {
    FileRecord program;
    program.name = "bin\\notes.exe";
    program.kind = InstallDirFile;
    program.options = DesktopShortcut | Permanent;
    program.attributes = 0x21;
    program.data.assign(3000, 'n');
    program.time = TimeStamp{2005, 7, 3, 14, 5, 59};
    program.detail = "Notes";
    program.icon = "notes.ico";
    program.arguments = "/fast";
    program.target = "%InstallDir%\\";
    program.workingDirectory = "%InstallDir%";
    FileRecord library;
    library.name = "acme.dll";
    library.kind = ComServerFile;
    library.icon = "dropped: no shortcut";
    library.detail = "1.2.3";
    library.data = {0xFF, 0x00, 0x7F};
    FileRecord empty;
    empty.name = "empty.txt";
    empty.kind = VersionedFile;
    return {program, library, empty};
}

const Bytes kSettings = [] {
    Bytes s;
    for (int i = 0; i < 500; ++i)
        s.push_back(static_cast<uint8_t>(i % 7 == 0 ? i : 'a'));
    return s;
}();

// The archive as the installer sees it.
struct ReadBack {
    ArchiveSection section;
    std::vector<uint8_t> loaded; // the section as the loader maps it
    ArchiveHeader header;
    String settings;
};

void readBack(const keld::BuiltInstaller& built, ReadBack& r) {
    const Bytes& setup = built.setup;
    ASSERT_EQ(findArchiveSection(setup.data(), static_cast<int32_t>(setup.size()),
                                 static_cast<int64_t>(setup.size()), r.section)
                  .result,
              SectionSearch::Found);
    const size_t start = r.section.pointerToRawData;
    const size_t mapped = std::min(r.section.virtualSize, r.section.sizeOfRawData);
    ASSERT_LE(start + r.section.sizeOfRawData, setup.size());
    r.loaded.assign(setup.begin() + static_cast<long>(start),
                    setup.begin() + static_cast<long>(start + mapped));
    HeaderCheck check =
        readArchiveHeader(r.loaded.data(), static_cast<int64_t>(r.loaded.size()), r.header);
    ASSERT_EQ(check.code, NotCorrupt);
    ASSERT_FALSE(check.newerFormat);
    EXPECT_EQ(r.header.installerChecksum, checksum(setup.data(), static_cast<int32_t>(start)));
    r.settings.assignBytes(r.loaded.data() + r.header.settingsOffset, r.header.settingsSize);
    xorWithKey(r.settings, r.header.settingsChecksum);
    ASSERT_TRUE(decompress(r.settings));
    EXPECT_EQ(checksum(r.settings), r.header.settingsChecksum);
}

// Reads the records back field by field, as the file placement will.
void expectRecords(const Bytes& area, const ArchiveHeader& header,
                   const std::vector<FileRecord>& files) {
    ASSERT_EQ(header.fileCount, static_cast<int32_t>(files.size()));
    size_t at = 0;
    auto text = [&](std::string& out) {
        const auto* start = reinterpret_cast<const char*>(area.data() + at);
        out.assign(start, strnlen(start, area.size() - at));
        at += out.size() + 1;
    };
    auto i32 = [&]() {
        uint32_t v = keld::loadU32(area, at);
        at += 4;
        return static_cast<int32_t>(v);
    };
    for (size_t i = 0; i < files.size(); ++i) {
        const FileRecord& f = files[i];
        std::string name, detail, icon, arguments, target, working;
        text(name);
        EXPECT_EQ(name, f.name);
        EXPECT_EQ(i32(), f.kind);
        EXPECT_EQ(i32(), f.options);
        EXPECT_EQ(i32(), f.attributes);
        const int32_t size = header.fileSize(static_cast<int32_t>(i));
        ASSERT_EQ(size, static_cast<int32_t>(f.data.size()));
        EXPECT_TRUE(std::equal(f.data.begin(), f.data.end(), area.begin() + static_cast<long>(at)));
        at += static_cast<size_t>(size);
        EXPECT_EQ(static_cast<uint32_t>(i32()), checksum(f.data.data(), size));
        const int32_t time[] = {i32(), i32(), i32(), i32(), i32(), i32()};
        EXPECT_EQ(time[0], f.time.year);
        EXPECT_EQ(time[3], f.time.hour);
        EXPECT_EQ(time[5], f.time.second);
        text(detail);
        EXPECT_EQ(detail, f.detail);
        if (hasIconField(f.options)) {
            text(icon);
            EXPECT_EQ(icon, f.icon);
        }
        text(arguments);
        text(target);
        text(working);
        EXPECT_EQ(arguments, f.arguments);
        EXPECT_EQ(target, f.target);
        EXPECT_EQ(working, f.workingDirectory);
    }
    EXPECT_EQ(at, area.size());
}

keld::BuiltInstaller build(const keld::ArchiveOptions& options,
                           const std::vector<FileRecord>& files = sampleFiles()) {
    keld::BuiltInstaller built;
    std::string error;
    EXPECT_TRUE(
        keld::buildInstaller(pe_fixture::makeImage(5), kSettings, files, options, built, error))
        << error;
    return built;
}

TEST(ArchiveWriterTest, EverythingInTheSection) {
    keld::BuiltInstaller built = build(keld::ArchiveOptions());
    ReadBack r;
    readBack(built, r);
    EXPECT_EQ(r.header.formatVersion, kFormatVersion);
    EXPECT_EQ(r.settings, String(reinterpret_cast<const char*>(kSettings.data()),
                                 static_cast<int>(kSettings.size())));
    EXPECT_EQ(r.header.settingsEnd, static_cast<int32_t>(built.settingsEnd));
    EXPECT_EQ(r.header.archiveLength, r.header.settingsEnd + r.header.dataLength);
    EXPECT_EQ(r.section.virtualSize, static_cast<uint32_t>(r.header.archiveLength));
    EXPECT_TRUE(built.volumes.empty());
    Bytes area(r.loaded.begin() + r.header.settingsEnd, r.loaded.begin() + r.header.archiveLength);
    EXPECT_EQ(checksum(area.data(), static_cast<int32_t>(area.size())), r.header.dataChecksum);
    expectRecords(area, r.header, sampleFiles());
}

TEST(ArchiveWriterTest, CompressedDataAreaDecodesToTheRecords) {
    keld::ArchiveOptions options;
    options.compressData = true;
    options.level = keld::CompressionLevel::Fast;
    keld::BuiltInstaller built = build(options);
    ReadBack r;
    readBack(built, r);
    String area(reinterpret_cast<const char*>(r.loaded.data()) + r.header.settingsEnd,
                r.header.dataLength);
    EXPECT_EQ(checksum(area), r.header.dataChecksum);
    ASSERT_TRUE(decompress(area));
    EXPECT_LT(r.header.dataLength, area.length());
    expectRecords(Bytes(area.c_str(), area.c_str() + area.length()), r.header, sampleFiles());
}

TEST(ArchiveWriterTest, DataBeyondTheImageFollowsTheSettingsInTheFile) {
    keld::ArchiveOptions options;
    options.dataBeyondImage = true;
    std::vector<FileRecord> files = sampleFiles();
    files[0].data.assign(20000, 'x');
    keld::BuiltInstaller built = build(options, files);
    ReadBack r;
    readBack(built, r);
    EXPECT_EQ(r.header.archiveLength, r.header.settingsEnd);
    const size_t dataStart = r.section.pointerToRawData + r.header.settingsEnd;
    // The section's raw data ends inside the data, which runs on in the tail.
    EXPECT_LT(r.section.pointerToRawData + r.section.sizeOfRawData,
              dataStart + r.header.dataLength);
    ASSERT_EQ(built.setup.size(), dataStart + r.header.dataLength);
    expectRecords(Bytes(built.setup.begin() + static_cast<long>(dataStart), built.setup.end()),
                  r.header, files);
}

TEST(ArchiveWriterTest, ShortDataBeyondTheImageIsPaddedToTheSectionsEnd) {
    keld::ArchiveOptions options;
    options.dataBeyondImage = true;
    keld::BuiltInstaller built = build(options);
    ReadBack r;
    readBack(built, r);
    EXPECT_EQ(built.setup.size(), r.section.pointerToRawData + r.section.sizeOfRawData);
    EXPECT_TRUE(built.volumes.empty());
}

TEST(ArchiveWriterTest, VolumesCarryTheRestWithGrowingTags) {
    keld::ArchiveOptions options;
    options.firstPartLimit = 1000;
    options.volumeSize = 1000;
    options.volumeBaseName = "NOTES";
    options.volumeTag = 0xFFFFFFFF; // the tag wraps like the installer's counter
    keld::BuiltInstaller built = build(options);
    ReadBack r;
    readBack(built, r);
    EXPECT_EQ(r.header.archiveLength, r.header.settingsEnd + 1000);
    Bytes area(r.loaded.begin() + r.header.settingsEnd, r.loaded.begin() + r.header.archiveLength);
    ASSERT_EQ(built.volumes.size(), 3u); // 1000 + 1000 + 1000 + the rest
    const char* names[] = {"NOTES2.ZEP", "NOTES3.ZEP", "NOTES4.ZEP"};
    const uint32_t tags[] = {0xFFFFFFFF, 0, 1};
    for (size_t i = 0; i < built.volumes.size(); ++i) {
        const keld::VolumeFile& v = built.volumes[i];
        EXPECT_EQ(v.name, names[i]);
        EXPECT_EQ(keld::loadU32(v.bytes, 0), tags[i]);
        EXPECT_LE(v.bytes.size(), 4u + 1000);
        area.insert(area.end(), v.bytes.begin() + 4, v.bytes.end());
    }
    EXPECT_EQ(area.size(), static_cast<size_t>(r.header.dataLength));
    expectRecords(area, r.header, sampleFiles());
}

TEST(ArchiveWriterTest, NoFilesIsAnEmptyDataArea) {
    keld::BuiltInstaller built = build(keld::ArchiveOptions(), {});
    ReadBack r;
    readBack(built, r);
    EXPECT_EQ(r.header.fileCount, 0);
    EXPECT_EQ(r.header.dataLength, 0);
    EXPECT_EQ(r.header.dataChecksum, kChecksumSeed);
}

TEST(ArchiveWriterTest, RefusesRecordsTheInstallerWouldMisread) {
    struct Bad {
        const char* reason;
        void (*change)(FileRecord&);
    };
    const Bad cases[] = {
        {"empty name", [](FileRecord& f) { f.name.clear(); }},
        {"name holds a zero byte", [](FileRecord& f) { f.name.push_back('\0'); }},
        {"target holds a zero byte", [](FileRecord& f) { f.target = std::string("a\0b", 3); }},
    };
    for (const Bad& c : cases) {
        std::vector<FileRecord> files = sampleFiles();
        c.change(files[1]);
        keld::BuiltInstaller built;
        std::string error;
        EXPECT_FALSE(keld::buildInstaller(pe_fixture::makeImage(5), kSettings, files,
                                          keld::ArchiveOptions(), built, error))
            << c.reason;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
}

TEST(ArchiveWriterTest, AStubWithoutRoomIsRefusedWithThePeWritersReason) {
    keld::BuiltInstaller built;
    std::string error;
    EXPECT_FALSE(keld::buildInstaller(pe_fixture::makeImage(16), kSettings, sampleFiles(),
                                      keld::ArchiveOptions(), built, error));
    EXPECT_NE(error.find("header room"), std::string::npos) << error;
}

} // namespace
