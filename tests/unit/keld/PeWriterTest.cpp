// keld's PE writer: the archive section goes onto the stub so that the
// installer finds it and the uninstaller image takes it off again exactly.
#include "keld/PeWriter.h"
#include "format/ArchiveLayout.h"
#include "format/PeImage.h"
#include "format/UninstallerImage.h"
#include "tests/unit/PeImageFixture.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace pe_fixture;

TEST(PeWriterTest, AddsTheSectionAfterTheLastAndGrowsTheImage) {
    std::vector<uint8_t> exe = makeImage(5);
    put32(exe, kPeOffset + 88, 0x1234); // a checksum the linker left
    const std::vector<uint8_t> stub = exe;
    keld::SectionPlacement placement;
    std::string error;
    ASSERT_TRUE(keld::addArchiveSection(exe, 0x1801, placement, error)) << error;
    // On the next page boundary of the file, so that the loader can map the
    // archive's pages from the file rather than copy them in.
    EXPECT_EQ(placement.pointerToRawData, (stub.size() + 0xFFF) & ~size_t(0xFFF));
    EXPECT_EQ(placement.virtualAddress, 0x6000u);
    EXPECT_EQ(placement.sizeOfRawData, 0x2000u); // whole section alignments
    EXPECT_EQ(exe.size(), placement.pointerToRawData);
    EXPECT_EQ(get16(exe, kPeOffset + 6), 6u);
    EXPECT_EQ(get32(exe, kPeOffset + 80), 0x8000u);
    EXPECT_EQ(get32(exe, kPeOffset + 32), get32(stub, kPeOffset + 32) + 0x2000);
    EXPECT_EQ(get32(exe, kPeOffset + 88), 0u);
    const size_t entry = entryAt(5);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&exe[entry]), 8),
              std::string(".keld\0\0\0", 8));
    EXPECT_EQ(get32(exe, entry + 8), 0x1801u);
    EXPECT_EQ(get32(exe, entry + 36), kArchiveSectionCharacteristics);
}

TEST(PeWriterTest, TheInstallerFindsTheSectionAndTheUninstallerIsTheStubAgain) {
    for (int sections : {3, 9, 14}) {
        std::vector<uint8_t> stub = makeImage(sections);
        stub.resize(stub.size() + 7, 0x77); // a stub of an odd length gets padded
        std::vector<uint8_t> exe = stub;
        keld::SectionPlacement placement;
        std::string error;
        ASSERT_TRUE(keld::addArchiveSection(exe, 100, placement, error)) << error;
        EXPECT_EQ(placement.pointerToRawData % kFileAlignment, 0u);
        exe.resize(exe.size() + placement.sizeOfRawData, 0xAA);

        ArchiveSection section;
        ASSERT_EQ(findArchiveSection(exe.data(), static_cast<int32_t>(exe.size()),
                                     static_cast<int64_t>(exe.size()), section)
                      .result,
                  SectionSearch::Found);
        EXPECT_EQ(section.index, sections);
        EXPECT_EQ(section.pointerToRawData, placement.pointerToRawData);

        UninstallerParts parts;
        parts.head = String(reinterpret_cast<const char*>(exe.data()),
                            static_cast<int>(section.pointerToRawData));
        String image;
        ASSERT_EQ(buildUninstallerImage(parts, section, image), NotCorrupt);
        std::vector<uint8_t> expected = stub;
        expected.resize(placement.pointerToRawData, 0);
        put32(expected, kPeOffset + 88, 0);
        EXPECT_EQ(std::vector<uint8_t>(image.c_str(), image.c_str() + image.length()), expected)
            << sections << " sections";
    }
}

struct Refusal {
    const char* name;
    std::function<void(std::vector<uint8_t>&)> change;
    const char* reason;
};

void PrintTo(const Refusal& r, std::ostream* out) {
    *out << r.name;
}

class PeWriterRefusalTest : public ::testing::TestWithParam<Refusal> {};

TEST_P(PeWriterRefusalTest, LeavesTheStubAloneAndSaysWhy) {
    std::vector<uint8_t> exe = makeImage(5);
    GetParam().change(exe);
    const std::vector<uint8_t> before = exe;
    keld::SectionPlacement placement;
    std::string error;
    EXPECT_FALSE(keld::addArchiveSection(exe, 100, placement, error));
    EXPECT_NE(error.find(GetParam().reason), std::string::npos) << error;
    EXPECT_EQ(exe, before);
}

INSTANTIATE_TEST_SUITE_P(
    Stubs, PeWriterRefusalTest,
    ::testing::Values(
        Refusal{"NoMz", [](std::vector<uint8_t>& e) { e[0] = 'X'; }, "not a Windows program"},
        Refusal{"TooShort", [](std::vector<uint8_t>& e) { e.resize(0x30); },
                "not a Windows program"},
        Refusal{"NoPeSignature", [](std::vector<uint8_t>& e) { e[kPeOffset] = 'X'; },
                "no PE header"},
        Refusal{"PeOffsetTheInstallerRefuses",
                [](std::vector<uint8_t>& e) { put32(e, 0x3C, 0x10080); }, "no PE header"},
        Refusal{"Pe32Plus", [](std::vector<uint8_t>& e) { put16(e, kPeOffset + 24, 0x20B); },
                "not a 32-bit program"},
        Refusal{"TwoSections", [](std::vector<uint8_t>& e) { e = makeImage(2); }, "section count"},
        Refusal{"NinetyNineSections", [](std::vector<uint8_t>& e) { e = makeImage(99); },
                "section count"},
        // Fifteen entries leave room for one, but not for the empty slot after it.
        Refusal{"TableFillsTheHeaders", [](std::vector<uint8_t>& e) { e = makeImage(15); },
                "no header room"},
        Refusal{"FirstSectionStartsEarly",
                [](std::vector<uint8_t>& e) { put32(e, entryAt(0) + 20, entryAt(6) + 20); },
                "no header room"},
        Refusal{"SomethingWhereTheEntryGoes",
                [](std::vector<uint8_t>& e) { e[entryAt(6) + 39] = 1; }, "something in the header"},
        Refusal{"AlreadyHasTheArchive",
                [](std::vector<uint8_t>& e) { std::memcpy(&e[entryAt(2)], ".keld\0\0\0", 8); },
                "already holds"},
        Refusal{"Signed",
                [](std::vector<uint8_t>& e) { put32(e, kPeOffset + 24 + 96 + 8 * 4 + 4, 0x100); },
                "signed"}),
    [](const ::testing::TestParamInfo<Refusal>& p) { return std::string(p.param.name); });

} // namespace
