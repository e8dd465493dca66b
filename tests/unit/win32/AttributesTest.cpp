#include "FileScratch.h"

#include "platform/Attributes.h"

namespace {

using Attributes = FileScratch;

TEST_F(Attributes, ReadOnlyOnAndOff) {
    makeFile("x.txt");
    EXPECT_FALSE(isReadOnly(at("x.txt")));
    EXPECT_TRUE(setReadOnly(at("x.txt"), true));
    EXPECT_TRUE(isReadOnly(at("x.txt")));
    EXPECT_TRUE(setReadOnly(at("x.txt"), true));
    EXPECT_TRUE(setReadOnly(at("x.txt"), false));
    EXPECT_FALSE(isReadOnly(at("x.txt")));
    EXPECT_FALSE(isReadOnly(at("missing.txt")));
    EXPECT_FALSE(setReadOnly(at("missing.txt"), false));
}

TEST_F(Attributes, BitsUnderAMask) {
    makeFile("x.txt");
    SetFileAttributesA(path("x.txt").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_TRUE(setAttributeBits(at("x.txt"), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM,
                                 FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(attributes(at("x.txt")),
              FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_TRUE(clearAttributes(at("x.txt"), 0x7));
    EXPECT_EQ(attributes(at("x.txt")), FILE_ATTRIBUTE_ARCHIVE);
    // Clearing every bit leaves a normal file. (Wine may keep the archive bit
    // of a file system that cannot store it.)
    const int32_t kept = ~(FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_ARCHIVE);
    SetFileAttributesA(path("x.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(clearAttributes(at("x.txt"), 0xFFFFFFFFu));
    EXPECT_EQ(attributes(at("x.txt")) & kept, 0);
    EXPECT_TRUE(setAttributes(at("x.txt"), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    EXPECT_EQ(attributes(at("x.txt")) & kept, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    EXPECT_FALSE(setAttributes(String(" "), FILE_ATTRIBUTE_HIDDEN));
    EXPECT_FALSE(clearAttributes(at("missing.txt"), 0x7));
    EXPECT_EQ(attributes(at("missing.txt")), -1);
    EXPECT_EQ(attributes(String()), -1);
    SetFileAttributesA(path("x.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(Attributes, DirectoriesCarryTheDirectoryBit) {
    makeDir("d");
    EXPECT_TRUE(attributes(at("d")) & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace
