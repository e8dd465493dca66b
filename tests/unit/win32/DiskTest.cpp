#include "FileScratch.h"

#include "platform/Disk.h"

namespace {

using Disks = FileScratch;

// A letter no drive uses.
char unusedLetter() {
    DWORD drives = GetLogicalDrives();
    for (int i = 25; i >= 3; --i)
        if (!(drives & (1u << i)))
            return static_cast<char>('A' + i);
    return 0;
}

TEST_F(Disks, SpaceOfTheScratchDrive) {
    uint64_t free = 0, total = 0;
    ASSERT_TRUE(diskSpace(at(""), &free, &total));
    EXPECT_GT(total, 0u);
    EXPECT_LE(free, total);
    EXPECT_TRUE(diskSpace(at(""), nullptr, nullptr));
    uint64_t onlyTotal = 0;
    EXPECT_TRUE(diskSpace(at(""), nullptr, &onlyTotal));
    EXPECT_EQ(onlyTotal, total);
    EXPECT_NE(freeBytes(at("")), ~uint64_t(0));
    EXPECT_GT(clusterSize(at("")), 0);
    EXPECT_TRUE(driveExists(at("")));
}

TEST_F(Disks, PathsWithoutADrive) {
    char letter = unusedLetter();
    ASSERT_NE(letter, 0);
    const String missing(std::string(1, letter).append(":\\x").c_str());
    for (const String& path : {String("\\\\server\\share"), String("1:\\"), String(""), missing}) {
        uint64_t free = 7;
        EXPECT_FALSE(diskSpace(path, &free, nullptr)) << str(path);
        EXPECT_EQ(freeBytes(path), ~uint64_t(0)) << str(path);
        EXPECT_EQ(clusterSize(path), -1) << str(path);
        EXPECT_FALSE(driveExists(path)) << str(path);
    }
}

} // namespace
