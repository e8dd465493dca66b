// Finding the archive section in the installer's PE headers, and every way
// the headers can make that fail.
#include "format/PeImage.h"
#include "format/ArchiveLayout.h"
#include "tests/unit/PeImageFixture.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace pe_fixture;

SectionLookup lookUp(const std::vector<uint8_t>& file, ArchiveSection& section) {
    return findArchiveSection(file.data(), static_cast<int32_t>(file.size()),
                              static_cast<int64_t>(file.size()), section);
}

std::vector<uint8_t> withArchiveAt(int index, int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back(i == index ? ".keld" : ".s" + std::to_string(i));
    return makeImage(names);
}

TEST(PeImageTest, FindsTheArchiveEntryAndItsFields) {
    std::vector<uint8_t> file = withArchiveAt(3, 5);
    put32(file, entryAt(3) + 8, 0x123);
    ArchiveSection section;
    SectionLookup found = lookUp(file, section);
    ASSERT_EQ(found.result, SectionSearch::Found);
    EXPECT_EQ(found.code, NotCorrupt);
    EXPECT_EQ(section.peOffset, 0x80);
    EXPECT_EQ(section.sectionCount, 5);
    EXPECT_EQ(section.index, 3);
    EXPECT_EQ(section.entryOffset, static_cast<int32_t>(entryAt(3)));
    EXPECT_EQ(section.virtualSize, 0x123u);
    EXPECT_EQ(section.virtualAddress, 0x4000u);
    EXPECT_EQ(section.sizeOfRawData, 0x200u);
    EXPECT_EQ(section.pointerToRawData, 0xA00u);
}

TEST(PeImageTest, TakesTheFirstOfTwoArchiveEntries) {
    std::vector<uint8_t> file = withArchiveAt(1, 6);
    std::memcpy(&file[entryAt(4)], ".keld", 5);
    ArchiveSection section;
    ASSERT_EQ(lookUp(file, section).result, SectionSearch::Found);
    EXPECT_EQ(section.index, 1);
}

struct Case {
    const char* name;
    std::function<void(std::vector<uint8_t>&)> change;
    SectionSearch result;
    CorruptionCode code;
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

class PeImageCaseTest : public ::testing::TestWithParam<Case> {};

TEST_P(PeImageCaseTest, GivesTheResultOfItsCase) {
    std::vector<uint8_t> file = withArchiveAt(4, 5);
    GetParam().change(file);
    ArchiveSection section;
    SectionLookup found = lookUp(file, section);
    EXPECT_EQ(found.result, GetParam().result);
    EXPECT_EQ(found.code, GetParam().code);
}

void setNumberOfSections(std::vector<uint8_t>& f, uint32_t n) {
    put16(f, kPeOffset + 6, n);
}

// Moves the headers to a new e_lfanew (the image keeps its section table).
std::function<void(std::vector<uint8_t>&)> peOffset(uint32_t offset) {
    return [offset](std::vector<uint8_t>& f) { put32(f, 0x3C, offset); };
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PeImageCaseTest,
    ::testing::Values(
        Case{"Sound", [](std::vector<uint8_t>&) {}, SectionSearch::Found, NotCorrupt},
        Case{"PeOffsetBelow64", peOffset(63), SectionSearch::Corrupt, BadPeOffset},
        Case{"PeOffsetAbove4096", peOffset(4097), SectionSearch::Corrupt, BadPeOffset},
        // Only the low 16 bits of e_lfanew count.
        Case{"PeOffsetHighHalfIgnored", peOffset(0x10080), SectionSearch::Found, NotCorrupt},
        Case{"FileShorterThanPeOffsetField", [](std::vector<uint8_t>& f) { f.resize(0x3D); },
             SectionSearch::Corrupt, BadPeOffset},
        Case{"PeOffsetPastTheFile",
             [](std::vector<uint8_t>& f) {
                 put32(f, 0x3C, 4096);
                 f.resize(4096);
             },
             SectionSearch::Corrupt, BadSectionCount},
        Case{"ThreeSections", [](std::vector<uint8_t>& f) { setNumberOfSections(f, 3); },
             SectionSearch::Corrupt, BadSectionCount},
        Case{"HundredSections", [](std::vector<uint8_t>& f) { setNumberOfSections(f, 100); },
             SectionSearch::Corrupt, BadSectionCount},
        Case{"TableRunsPastTheFile",
             [](std::vector<uint8_t>& f) {
                 setNumberOfSections(f, 99);
                 f.resize(entryAt(3));
             },
             SectionSearch::Corrupt, BadSectionCount},
        Case{"CountStopsBeforeTheArchive",
             [](std::vector<uint8_t>& f) { setNumberOfSections(f, 4); }, SectionSearch::NotFound,
             NotCorrupt},
        Case{"NameInOtherCase",
             [](std::vector<uint8_t>& f) { std::memcpy(&f[entryAt(4)], ".KELD", 5); },
             SectionSearch::NotFound, NotCorrupt},
        Case{"NameWithMoreCharacters",
             [](std::vector<uint8_t>& f) { std::memcpy(&f[entryAt(4)], ".keldx", 6); },
             SectionSearch::NotFound, NotCorrupt},
        Case{"NameFillsAllEightBytes",
             [](std::vector<uint8_t>& f) { std::memcpy(&f[entryAt(4)], ".keld\0zz", 8); },
             SectionSearch::Found, NotCorrupt},
        Case{"SizeOfOptionalHeaderMovesTheTable",
             [](std::vector<uint8_t>& f) { put16(f, kPeOffset + 20, 0xE0 + 5 * 40); },
             SectionSearch::NotFound, NotCorrupt},
        Case{"PointerToRawDataZero", [](std::vector<uint8_t>& f) { put32(f, entryAt(4) + 20, 0); },
             SectionSearch::Corrupt, SectionNotInFile},
        Case{"PointerToRawDataPastTheFile",
             [](std::vector<uint8_t>&
                    f) { put32(f, entryAt(4) + 20, static_cast<uint32_t>(f.size() + 1)); },
             SectionSearch::Corrupt, SectionSeekFailed},
        Case{"PointerToRawDataAtTheEnd",
             [](std::vector<uint8_t>&
                    f) { put32(f, entryAt(4) + 20, static_cast<uint32_t>(f.size())); },
             SectionSearch::Found, NotCorrupt}),
    [](const ::testing::TestParamInfo<Case>& param) { return std::string(param.param.name); });

TEST(PeImageTest, NeverReadsPastAShortHead) {
    // A head cut anywhere, as a read of the file's first bytes may give.
    const std::vector<uint8_t> file = withArchiveAt(4, 5);
    for (size_t length = 0; length <= entryAt(5); ++length) {
        std::vector<uint8_t> head(file.begin(), file.begin() + static_cast<long>(length));
        ArchiveSection section;
        SectionLookup found = findArchiveSection(head.data(), static_cast<int32_t>(head.size()),
                                                 static_cast<int64_t>(file.size()), section);
        EXPECT_EQ(found.result == SectionSearch::Found, length >= entryAt(5)) << length;
    }
}

} // namespace
