#include "keld/SetupFace.h"
#include "keld/ResourceTree.h"
#include "keld/VersionResource.h"
#include "tests/unit/keld/ProjectTestFolder.h"

#include <gtest/gtest.h>

namespace {

using keld::Bytes;
using keld::Resource;

Resource resource(uint32_t type, uint32_t name, const std::u16string& text, uint32_t language,
                  const std::string& data) {
    Resource r;
    r.type.number = type;
    r.name.number = name;
    r.name.text = text;
    r.language = language;
    r.data.assign(data.begin(), data.end());
    return r;
}

// A stub that carries what varnoke.exe carries: dialogs by name, a manifest, an icon.
Bytes stubWithResources() {
    Bytes stub = testStub();
    const std::vector<Resource> resources = {
        resource(5, 0, u"LICENSEDLG", 0x409, "licence dialog template"),
        resource(5, 0, u"CHOOSEDIRDLG", 0x409, "folder dialog template"),
        resource(24, 1, u"", 0x409, "<assembly manifestVersion=\"1.0\"/>"),
        resource(keld::IconResource, 1, u"", 0x409, "the stub's picture"),
        resource(keld::GroupIconResource, 101, u"", 0x409, "the stub's group"),
    };
    std::string error;
    EXPECT_TRUE(keld::replaceResources(stub, resources, error)) << error;
    return stub;
}

// An icon file with two pictures of the given bytes.
Bytes iconFile(const std::string& first, const std::string& second) {
    Bytes ico;
    keld::appendU16(ico, 0);
    keld::appendU16(ico, 1);
    keld::appendU16(ico, 2);
    uint32_t offset = 6 + 2 * 16;
    for (const std::string* picture : {&first, &second}) {
        const uint8_t size = picture == &first ? 16 : 32;
        const uint8_t head[8] = {size, size, 0, 0, 1, 0, 32, 0};
        keld::appendBytes(ico, head, 8);
        keld::appendU32(ico, uint32_t(picture->size()));
        keld::appendU32(ico, offset);
        offset += uint32_t(picture->size());
    }
    keld::appendBytes(ico, first.data(), first.size());
    keld::appendBytes(ico, second.data(), second.size());
    return ico;
}

const Resource* find(const std::vector<Resource>& list, uint32_t type) {
    for (const Resource& r : list)
        if (r.type.text.empty() && r.type.number == type)
            return &r;
    return nullptr;
}

std::string text(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// A UTF-16 text as it stands in a version resource.
std::string wide(const std::u16string& text) {
    std::string out;
    for (char16_t c : text) {
        out += char(c & 0xFF);
        out += char(c >> 8);
    }
    return out;
}

TEST(SetupFaceTest, IconAndVersionJoinTheStubsOwnResources) {
    Bytes stub = stubWithResources();
    keld::SetupIdentity identity;
    identity.productName = "Acme Notes";
    identity.publisher = "Acme \xC3\x9C"
                         "ber"; // "Acme Über", kept in Unicode
    identity.version = "2.1 beta";
    identity.description = "Acme Notes Setup";
    identity.copyright = "(c) 2024 Acme";
    identity.icon = iconFile("small picture", "large picture bytes");
    std::string error;
    ASSERT_TRUE(keld::giveSetupItsFace(stub, identity, error)) << error;

    std::vector<Resource> after;
    ASSERT_TRUE(keld::readResources(stub, after, error)) << error;
    // The dialogs and the manifest stay as they were.
    int dialogs = 0;
    for (const Resource& r : after)
        if (r.type.number == 5) {
            ++dialogs;
            EXPECT_TRUE(text(r.data) == "licence dialog template" ||
                        text(r.data) == "folder dialog template");
        }
    EXPECT_EQ(dialogs, 2);
    ASSERT_NE(find(after, 24), nullptr);
    EXPECT_EQ(text(find(after, 24)->data), "<assembly manifestVersion=\"1.0\"/>");

    // The icon: the pictures of the file, in a group under the stub's own number.
    std::vector<std::string> pictures;
    for (const Resource& r : after)
        if (r.type.number == keld::IconResource)
            pictures.push_back(text(r.data));
    EXPECT_EQ(pictures, (std::vector<std::string>{"small picture", "large picture bytes"}));
    const Resource* group = find(after, keld::GroupIconResource);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->name.number, 101u);
    ASSERT_EQ(group->data.size(), 6u + 2 * 14);
    EXPECT_EQ(keld::loadU16(group->data, 4), 2);
    EXPECT_EQ(group->data[6], 16);                     // width of the first
    EXPECT_EQ(keld::loadU32(group->data, 6 + 8), 13u); // its size
    EXPECT_EQ(keld::loadU16(group->data, 6 + 12), 1);  // its picture's number

    // The version information, as Windows and the installer read it.
    EXPECT_EQ(keld::fileVersionText(stub), "2.1beta");
    const Resource* version = find(after, keld::VersionResource);
    ASSERT_NE(version, nullptr);
    const std::string v = text(version->data);
    for (const std::u16string& expected :
         {std::u16string(u"ProductName"), std::u16string(u"Acme Notes"),
          std::u16string(u"CompanyName"), std::u16string(u"Acme \u00DCber"),
          std::u16string(u"FileDescription"), std::u16string(u"Acme Notes Setup"),
          std::u16string(u"LegalCopyright"), std::u16string(u"(c) 2024 Acme"),
          std::u16string(u"ProductVersion"), std::u16string(u"040904B0")})
        EXPECT_NE(v.find(wide(expected)), std::string::npos);
    // The fixed part: 2.1.0.0.
    const size_t fixed = v.find("\xBD\x04\xEF\xFE");
    ASSERT_NE(fixed, std::string::npos);
    EXPECT_EQ(keld::loadU32(version->data, fixed + 8), 0x00020001u);
    EXPECT_EQ(keld::loadU32(version->data, fixed + 12), 0u);
}

TEST(SetupFaceTest, WithoutAnIconTheStubKeepsItsOwnAndAnEmptyCopyrightIsLeftOut) {
    Bytes stub = stubWithResources();
    keld::SetupIdentity identity;
    identity.productName = "P";
    identity.version = "3";
    std::string error;
    ASSERT_TRUE(keld::giveSetupItsFace(stub, identity, error)) << error;
    std::vector<Resource> after;
    ASSERT_TRUE(keld::readResources(stub, after, error));
    ASSERT_NE(find(after, keld::IconResource), nullptr);
    EXPECT_EQ(text(find(after, keld::IconResource)->data), "the stub's picture");
    const std::string v = text(find(after, keld::VersionResource)->data);
    EXPECT_EQ(v.find(wide(u"LegalCopyright")), std::string::npos);
    EXPECT_EQ(keld::fileVersionText(stub), "3");
}

TEST(SetupFaceTest, BrokenIconsAreNamed) {
    const Bytes good = iconFile("a", "b");
    Bytes cursor = good;
    cursor[2] = 2;
    Bytes empty = good;
    empty[4] = 0;
    Bytes beyond = good;
    keld::storeU32(beyond, 6 + 16 + 12, 5000);
    const struct {
        const char* what;
        Bytes ico;
        const char* problem;
    } cases[] = {
        {"a cursor", cursor, "is not an icon (.ico) file"},
        {"a PNG", Bytes{0x89, 'P', 'N', 'G', 0, 0, 0, 0}, "is not an icon (.ico) file"},
        {"no picture", empty, "holds no picture"},
        {"cut list", Bytes(good.begin(), good.begin() + 20), "ends inside its list of pictures"},
        {"picture beyond the end", beyond, "has picture 2 beyond its end"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(keld::iconProblem(c.ico), c.problem);
        Bytes stub = testStub();
        const Bytes before = stub;
        keld::SetupIdentity identity;
        identity.icon = c.ico;
        std::string error;
        EXPECT_FALSE(keld::giveSetupItsFace(stub, identity, error));
        EXPECT_EQ(stub, before);
    }
    EXPECT_EQ(keld::iconProblem(good), "");
}

TEST(SetupFaceTest, VersionNumbersComeFromTheFirstFourRunsOfDigits) {
    const struct {
        const char* text;
        uint16_t numbers[4];
    } cases[] = {
        {"2.1", {2, 1, 0, 0}},
        {"1.0.3 beta 2", {1, 0, 3, 2}},
        {"v10.20.30.40.50", {10, 20, 30, 40}},
        {"99999.1", {65535, 1, 0, 0}},
        {"", {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        uint16_t numbers[4];
        keld::versionNumbers(c.text, numbers);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(numbers[i], c.numbers[i]) << c.text << " #" << i;
    }
}

TEST(SetupFaceTest, ResourcesReadBackAsWrittenAndDamagedTreesAreRefused) {
    Bytes stub = stubWithResources();
    std::vector<Resource> read;
    std::string error;
    ASSERT_TRUE(keld::readResources(stub, read, error)) << error;
    ASSERT_EQ(read.size(), 5u);
    // Names before numbers, each in order: how Windows searches them.
    EXPECT_EQ(read[0].type.number, uint32_t(keld::IconResource));
    EXPECT_EQ(read[1].name.text, u"CHOOSEDIRDLG");
    EXPECT_EQ(read[2].name.text, u"LICENSEDLG");
    // A directory entry pointing back at the root would loop for ever.
    const uint32_t pe = keld::loadU32(stub, 0x3C);
    const uint32_t rva = keld::loadU32(stub, pe + 120 + 16);
    size_t root = 0;
    for (size_t entry = pe + 248; entry < pe + 248 + 40 * 6; entry += 40)
        if (keld::loadU32(stub, entry + 12) == rva)
            root = keld::loadU32(stub, entry + 20);
    ASSERT_NE(root, 0u);
    keld::storeU32(stub, root + 16 + 4, 0x80000000u);
    EXPECT_FALSE(keld::readResources(stub, read, error));
    EXPECT_TRUE(read.empty());
}

} // namespace
