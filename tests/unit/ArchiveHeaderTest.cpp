// The archive header's checks, one case per field rule, in the order the
// installer meets them.
#include "format/ArchiveHeader.h"
#include "format/ArchiveLayout.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

void put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// A section with two files, a 16-byte settings block and 8 data bytes.
std::vector<uint8_t> soundSection() {
    std::vector<uint8_t> s(36 + 8 + 16 + 8, 0xAB);
    put32(s, 0, kArchiveMagic);
    put32(s, 4, 1330);
    put32(s, 8, 16);
    put32(s, 12, 0x11111111);
    put32(s, 16, 0x22222222);
    put32(s, 20, static_cast<uint32_t>(s.size()));
    put32(s, 24, 2);
    put32(s, 28, 8);
    put32(s, 32, 0x33333333);
    put32(s, 36, 5);
    put32(s, 40, 0x40000000);
    return s;
}

HeaderCheck read(const std::vector<uint8_t>& section, ArchiveHeader& header) {
    return readArchiveHeader(section.data(), static_cast<int64_t>(section.size()), header);
}

TEST(ArchiveHeaderTest, ReadsEveryFieldAndFindsTheSettingsBlock) {
    const std::vector<uint8_t> section = soundSection();
    ArchiveHeader h;
    HeaderCheck check = read(section, h);
    ASSERT_EQ(check.code, NotCorrupt);
    EXPECT_FALSE(check.newerFormat);
    EXPECT_EQ(h.magic, kArchiveMagic);
    EXPECT_EQ(h.formatVersion, 1330);
    EXPECT_EQ(h.settingsSize, 16);
    EXPECT_EQ(h.settingsChecksum, 0x11111111u);
    EXPECT_EQ(h.installerChecksum, 0x22222222u);
    EXPECT_EQ(h.archiveLength, 68);
    EXPECT_EQ(h.fileCount, 2);
    EXPECT_EQ(h.dataLength, 8);
    EXPECT_EQ(h.dataChecksum, 0x33333333u);
    EXPECT_EQ(h.fileSize(0), 5);
    EXPECT_EQ(h.fileSize(1), 0x40000000);
    EXPECT_EQ(h.fileSize(2), -1);
    EXPECT_EQ(h.settingsOffset, 44);
    EXPECT_EQ(h.settingsEnd, 60);
}

struct Case {
    const char* name;
    std::function<void(std::vector<uint8_t>&)> change;
    CorruptionCode code;
    bool newerFormat;
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

class ArchiveHeaderCaseTest : public ::testing::TestWithParam<Case> {};

TEST_P(ArchiveHeaderCaseTest, StopsAtTheFirstFailedCheck) {
    std::vector<uint8_t> section = soundSection();
    GetParam().change(section);
    ArchiveHeader h;
    HeaderCheck check = read(section, h);
    EXPECT_EQ(check.code, GetParam().code);
    EXPECT_EQ(check.newerFormat, GetParam().newerFormat);
}

std::function<void(std::vector<uint8_t>&)> field(size_t offset, uint32_t value) {
    return [=](std::vector<uint8_t>& s) { put32(s, offset, value); };
}

INSTANTIATE_TEST_SUITE_P(
    Fields, ArchiveHeaderCaseTest,
    ::testing::Values(
        Case{"WrongMagic", field(0, 0xA4F23DE4), BadMagic, false},
        Case{"MagicBigEndian", field(0, 0xE53DF2A4), BadMagic, false},
        Case{"SectionShorterThanTheFixedFields", [](std::vector<uint8_t>& s) { s.resize(35); },
             BadMagic, false},
        Case{"Version1000", field(4, 1000), NotCorrupt, false},
        Case{"Version1331", field(4, 1331), NotCorrupt, false},
        Case{"Version1332", field(4, 1332), NotCorrupt, true},
        Case{"NewerVersionBeforeABadSettingsSize",
             [](std::vector<uint8_t>& s) {
                 put32(s, 4, 1400);
                 put32(s, 8, 0);
             },
             NotCorrupt, true},
        Case{"SettingsSizeZero", field(8, 0), BadSettingsSize, false},
        Case{"SettingsSizeNegative", field(8, 0xFFFFFFFF), BadSettingsSize, false},
        Case{"SettingsSize0xA00000", field(8, 0xA00000), BadSettingsSize, false},
        Case{"SettingsBlockPastTheSection", field(8, 17 + 8), BadSettingsSize, false},
        Case{"ArchiveLengthNegative", field(20, 0x80000000), NegativeArchiveLength, false},
        Case{"ArchiveLengthPastTheSection", field(20, 69), NegativeArchiveLength, false},
        Case{"ArchiveLengthZero", field(20, 0), NotCorrupt, false},
        Case{"FileCountNegative", field(24, 0xFFFFFFFF), NegativeFileCount, false},
        Case{"FileSizesPastTheSection", field(24, 9), NegativeFileCount, false},
        Case{"FileCountZero", field(24, 0), NotCorrupt, false},
        Case{"DataLengthNegative", field(28, 0xFFFFFFFE), NegativeDataLength, false},
        Case{"DataLengthZero", field(28, 0), NotCorrupt, false},
        Case{"FileSizeNegative", field(36, 0xFFFFFFFF), BadFileSize, false},
        Case{"SecondFileSizeAbove1GB", field(40, 0x40000001), BadFileSize, false},
        // FileCount is checked before DataLength, DataLength before the sizes.
        Case{"FileCountBeforeDataLength",
             [](std::vector<uint8_t>& s) {
                 put32(s, 24, 0xFFFFFFFF);
                 put32(s, 28, 0xFFFFFFFF);
             },
             NegativeFileCount, false},
        Case{"DataLengthBeforeFileSizes",
             [](std::vector<uint8_t>& s) {
                 put32(s, 28, 0xFFFFFFFF);
                 put32(s, 36, 0xFFFFFFFF);
             },
             NegativeDataLength, false}),
    [](const ::testing::TestParamInfo<Case>& param) { return std::string(param.param.name); });

TEST(ArchiveHeaderTest, TakesTheLargestSettingsSize) {
    std::vector<uint8_t> section(36 + kMaxSettingsSize, 0);
    put32(section, 0, kArchiveMagic);
    put32(section, 4, 1330);
    put32(section, 8, kMaxSettingsSize);
    ArchiveHeader h;
    EXPECT_EQ(read(section, h).code, NotCorrupt);
    EXPECT_EQ(h.settingsEnd, 36 + kMaxSettingsSize);
}

TEST(ArchiveHeaderTest, NewerFormatIsMoreThanAHundredthAboveTheInstaller) {
    EXPECT_FALSE(isNewerFormat(1330));
    EXPECT_FALSE(isNewerFormat(1331));
    EXPECT_TRUE(isNewerFormat(1332));
    EXPECT_FALSE(isNewerFormat(-5));
    EXPECT_TRUE(isNewerFormat(0x7FFFFFFF));
}

} // namespace
