// The uninstaller image: the installer without its archive section, with the
// headers put back as if the section had never been added.
#include "format/UninstallerImage.h"
#include "core/ByteBuffer.h"
#include "tests/unit/PeImageFixture.h"

#include <gtest/gtest.h>

namespace {

using namespace pe_fixture;

String bytes(const std::vector<uint8_t>& v, size_t from, size_t to) {
    return String(reinterpret_cast<const char*>(v.data()) + from, static_cast<int>(to - from));
}

std::vector<uint8_t> toVector(const String& s) {
    return std::vector<uint8_t>(s.c_str(), s.c_str() + s.length());
}

struct Built {
    std::vector<uint8_t> installer;
    ArchiveSection section;
    std::vector<uint8_t> image;
    CorruptionCode code = NotCorrupt;
};

// An installer of `count` sections with the archive at `index`, made into
// an uninstaller.
Built build(int index, int count, UninstallerParts extra = UninstallerParts()) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back(i == index ? ".keld" : ".s" + std::to_string(i));
    Built b;
    b.installer = makeImage(names);
    EXPECT_EQ(findArchiveSection(b.installer.data(), static_cast<int32_t>(b.installer.size()),
                                 static_cast<int64_t>(b.installer.size()), b.section)
                  .result,
              SectionSearch::Found);
    const size_t start = b.section.pointerToRawData;
    const size_t end = start + b.section.sizeOfRawData;
    extra.head = bytes(b.installer, 0, start);
    extra.tail = bytes(b.installer, end, b.installer.size());
    String image;
    b.code = buildUninstallerImage(extra, b.section, image);
    b.image = toVector(image);
    return b;
}

TEST(UninstallerImageTest, ArchiveAsTheLastSectionLosesItsEntryAndItsBytes) {
    Built b = build(4, 5);
    ASSERT_EQ(b.code, NotCorrupt);
    ASSERT_EQ(b.image.size(), b.installer.size() - 0x200);
    EXPECT_EQ(get16(b.image, kPeOffset + 6), 4u);
    EXPECT_EQ(get32(b.image, kPeOffset + 32), get32(b.installer, kPeOffset + 32) - 0x200);
    EXPECT_EQ(get32(b.image, kPeOffset + 80), get32(b.installer, kPeOffset + 80) - 0x200);
    // The slot the archive held now holds what followed the table: zeros.
    for (size_t i = entryAt(4); i < entryAt(5); ++i)
        ASSERT_EQ(b.image[i], 0) << i;
    // The sections before it are untouched, headers and bytes.
    EXPECT_TRUE(std::equal(b.image.begin() + static_cast<long>(entryAt(0)),
                           b.image.begin() + static_cast<long>(entryAt(4)),
                           b.installer.begin() + static_cast<long>(entryAt(0))));
    EXPECT_TRUE(std::equal(b.image.begin() + kHeaderSize, b.image.end(),
                           b.installer.begin() + kHeaderSize));
}

TEST(UninstallerImageTest, SectionsAfterTheArchiveMoveUpInTableAndFile) {
    Built b = build(2, 6);
    ASSERT_EQ(b.code, NotCorrupt);
    ASSERT_EQ(b.image.size(), b.installer.size() - 0x200);
    EXPECT_EQ(get16(b.image, kPeOffset + 6), 5u);
    for (int slot = 2; slot < 5; ++slot) {
        const size_t was = entryAt(slot + 1);
        const size_t now = entryAt(slot);
        EXPECT_EQ(b.image[now + 1], 's') << slot;
        EXPECT_EQ(b.image[now + 2], '0' + slot + 1) << slot;
        EXPECT_EQ(get32(b.image, now + 12), get32(b.installer, was + 12)) << slot;
        EXPECT_EQ(get32(b.image, now + 20), get32(b.installer, was + 20) - 0x200) << slot;
        // The entry's pointer leads to the bytes that were its section's.
        const uint32_t pointer = get32(b.image, now + 20);
        EXPECT_EQ(b.image[pointer], slot + 2) << slot;
    }
    for (size_t i = entryAt(5); i < entryAt(6); ++i)
        ASSERT_EQ(b.image[i], 0) << i;
}

TEST(UninstallerImageTest, ASectionWithoutFileDataKeepsItsZeroPointer) {
    std::vector<uint8_t> installer = makeImage({".text", ".data", ".rdata", ".keld", ".bss"});
    put32(installer, entryAt(4) + 16, 0);
    put32(installer, entryAt(4) + 20, 0);
    installer.resize(installer.size() - 0x200);
    ArchiveSection section;
    ASSERT_EQ(findArchiveSection(installer.data(), static_cast<int32_t>(installer.size()),
                                 static_cast<int64_t>(installer.size()), section)
                  .result,
              SectionSearch::Found);
    UninstallerParts parts;
    parts.head = bytes(installer, 0, section.pointerToRawData);
    String image;
    ASSERT_EQ(buildUninstallerImage(parts, section, image), NotCorrupt);
    EXPECT_EQ(getInt32At(image, static_cast<int32_t>(entryAt(3) + 20)), 0);
    EXPECT_EQ(String(image.c_str() + entryAt(3), 4), String(".bss"));
}

TEST(UninstallerImageTest, VerifiesTheHeadAgainstTheInstallerChecksum) {
    const std::vector<uint8_t> installer = build(3, 4).installer;
    UninstallerParts parts;
    parts.verifyInstaller = true;
    parts.installerChecksum = checksum(installer.data(), 0x400 + 3 * 0x200);
    EXPECT_EQ(build(3, 4, parts).code, NotCorrupt);
    parts.installerChecksum += 1;
    Built wrong = build(3, 4, parts);
    EXPECT_EQ(wrong.code, InstallerChecksumMismatch);
    EXPECT_TRUE(wrong.image.empty());
    parts.verifyInstaller = false;
    EXPECT_EQ(build(3, 4, parts).code, NotCorrupt);
}

TEST(UninstallerImageTest, PatchIsCopiedAtItsOffsetAndCutAtTheEnd) {
    UninstallerParts parts;
    parts.patchOffset = 0x500;
    parts.patch = "PATCH";
    Built b = build(4, 5, parts);
    EXPECT_EQ(std::string(b.image.begin() + 0x500, b.image.begin() + 0x505), "PATCH");
    EXPECT_EQ(b.image[0x505], 1);

    parts.patchOffset = static_cast<int32_t>(b.image.size() - 2);
    Built cut = build(4, 5, parts);
    ASSERT_EQ(cut.image.size(), b.image.size());
    EXPECT_EQ(std::string(cut.image.end() - 2, cut.image.end()), "PA");

    parts.patchOffset = 0;
    Built none = build(4, 5, parts);
    EXPECT_EQ(none.image[0], 'M');
}

TEST(UninstallerImageTest, HeadersOutsideAShortHeadAreSkipped) {
    // A head that ends inside the headers: nothing is written past it.
    std::vector<uint8_t> installer = makeImage({".a", ".b", ".c", ".keld"});
    ArchiveSection section;
    findArchiveSection(installer.data(), static_cast<int32_t>(installer.size()),
                       static_cast<int64_t>(installer.size()), section);
    for (size_t length : {size_t(0), size_t(0x40), size_t(kPeOffset + 7), size_t(kPeOffset + 82),
                          entryAt(3) + 10, entryAt(4) + 20}) {
        UninstallerParts parts;
        parts.head = bytes(installer, 0, length);
        String image;
        EXPECT_EQ(buildUninstallerImage(parts, section, image), NotCorrupt);
        EXPECT_EQ(image.length(), static_cast<int>(length));
    }
}

// A signed setup.exe: its certificate table follows the archive. The
// uninstaller is a different file; it keeps no certificate entry and no table.
TEST(UninstallerImageTest, ASignatureOfTheInstallerIsNotCarriedOver) {
    std::vector<uint8_t> installer = makeImage({".a", ".b", ".c", ".keld"});
    const size_t tableAt = installer.size();
    installer.resize(tableAt + 0x48, 0x5A); // WIN_CERTIFICATE and its bytes
    const size_t certificate = kPeOffset + 24 + 96 + 8 * 4;
    put32(installer, certificate, uint32_t(tableAt));
    put32(installer, certificate + 4, 0x48);
    ArchiveSection section;
    ASSERT_EQ(findArchiveSection(installer.data(), int32_t(installer.size()),
                                 int64_t(installer.size()), section)
                  .result,
              SectionSearch::Found);
    UninstallerParts parts;
    parts.head = bytes(installer, 0, section.pointerToRawData);
    parts.tail =
        bytes(installer, section.pointerToRawData + section.sizeOfRawData, installer.size());
    String image;
    ASSERT_EQ(buildUninstallerImage(parts, section, image), NotCorrupt);
    const std::vector<uint8_t> built = toVector(image);
    EXPECT_EQ(built.size(), size_t(section.pointerToRawData));
    EXPECT_EQ(get32(built, certificate), 0u);
    EXPECT_EQ(get32(built, certificate + 4), 0u);
}

} // namespace
