#include "FileScratch.h"

#include "core/Path.h"
#include "platform/File.h"
#include "platform/FileHelpers.h"

namespace {

using TempFiles = FileScratch;

// A temporary name: "QXT" and hex digits with ".tmp", in `directory`.
void expectTempName(const String& name, const std::string& directory) {
    EXPECT_TRUE(samePath(directoryPart(name), String(directory.c_str()))) << str(name);
    std::string file = str(fileNamePart(name));
    EXPECT_EQ(file.substr(0, 3), "QXT") << file;
    EXPECT_TRUE(GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES) << file;
}

TEST_F(TempFiles, ModesPlaceTheFileWhereTheyShould) {
    makeDir("beside");
    makeDir("into");
    makeFile("beside\\target.dll", "old");
    struct Case {
        std::string name;
        uint32_t flags; // the temporary modes override the disposition
        std::string directory;
    } cases[] = {
        {"", TempInTempDir, path("temp")},
        {"ignored.txt", TempInTempDir | OpenExisting, path("temp")},
        {path("into"), TempInDir | OpenExisting, path("into")},
        {path("beside\\target.dll"), TempBeside | CreateNew, path("beside")},
    };
    for (const Case& c : cases) {
        File file;
        ASSERT_EQ(file.open(c.name.c_str(), c.flags), FileOpened) << c.flags;
        expectTempName(file.name(), c.directory);
        EXPECT_EQ(file.size(), 0);
        EXPECT_TRUE(file.writeBlock("x", 1));
    }
    EXPECT_EQ(contentOf("beside\\target.dll"), "old");
}

TEST_F(TempFiles, TempNamesAreNew) {
    File first, second;
    ASSERT_EQ(first.open(nullptr, TempInTempDir), FileOpened);
    ASSERT_EQ(second.open(nullptr, TempInTempDir), FileOpened);
    EXPECT_NE(str(first.name()), str(second.name()));
}

TEST_F(TempFiles, TempInAMissingDirectoryFails) {
    File file;
    std::string missing = path("missing");
    EXPECT_NE(file.open(missing.c_str(), TempInDir), FileOpened);
    EXPECT_FALSE(file.isOpen());
    EXPECT_FALSE(exists("missing"));
}

TEST_F(TempFiles, InTempDirJoinsTheName) {
    File file;
    ASSERT_EQ(file.open("joined.txt", InTempDir | CreateAlways), FileOpened);
    EXPECT_EQ(str(file.name()), path("temp\\joined.txt"));
    file.close();
    EXPECT_TRUE(exists("temp\\joined.txt"));
    EXPECT_EQ(file.open("", InTempDir), FileInvalidName);
}

TEST_F(TempFiles, TempFileNameOfABlankDirectoryUsesTheTemporaryDirectory) {
    expectTempName(tempFileName(String(" ")), path("temp"));
    expectTempName(tempFileName(at("")), root());
}

TEST_F(TempFiles, WriteTempFileHandsBackTheName) {
    String name;
    ASSERT_TRUE(writeTempFile("payload", 7, name));
    expectTempName(name, path("temp"));
    EXPECT_EQ(contentOf(str(fileNamePart(name)).insert(0, "temp\\")), "payload");
}

} // namespace
