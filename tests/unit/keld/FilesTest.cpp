#include "keld/Files.h"
#include "keld/Build.h"
#include "tests/unit/keld/ProjectTestFolder.h"

#include <gtest/gtest.h>

namespace {

TEST(Files, BytesGoInAndOutUnchanged) {
    ProjectTestFolder folder;
    const std::string bytes("line\r\nnext\nlast\r\x1A\0end", 21);
    const std::string path = folder.path("sub/bytes.bin");
    folder.write("sub/bytes.bin", bytes);
    std::string read;
    ASSERT_TRUE(keld::readFile(path, read));
    EXPECT_EQ(read, bytes);
    std::vector<uint8_t> raw;
    ASSERT_TRUE(keld::readFile(path, raw));
    EXPECT_EQ(std::string(raw.begin(), raw.end()), bytes);
    const std::optional<keld::FileInfo> info = keld::fileInfo(path);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->size, 21);
}

TEST(Files, MissingFilesAreReportedNotRead) {
    ProjectTestFolder folder;
    std::string read = "left over";
    EXPECT_FALSE(keld::readFile(folder.path("none.txt"), read));
    EXPECT_EQ(read, "");
    EXPECT_FALSE(keld::fileInfo(folder.path("none.txt")));
    EXPECT_FALSE(keld::writeFile(folder.path("no/such/folder/x.bin"), {1, 2, 3}));
}

// Times are the file system's, in UTC, whatever the machine's time zone.
TEST(Files, ModificationTimesAreSecondsSince1970) {
    ProjectTestFolder folder;
    for (const int64_t seconds :
         {int64_t(0), int64_t(86399), int64_t(1700000000), int64_t(4102444800)}) {
        const std::string path = folder.write("t.txt", "t", seconds);
        const std::optional<keld::FileInfo> info = keld::fileInfo(path);
        ASSERT_TRUE(info);
        EXPECT_EQ(info->modified, seconds);
    }
}

// A name outside any ANSI code page: on Windows the path goes through UTF-16.
TEST(Files, NamesAreUtf8Everywhere) {
    ProjectTestFolder folder;
    const std::string name = "\xE6\x97\xA5\xE6\x9C\xAC-caf\xC3\xA9.txt";
    const std::string path = folder.write(name, "unicode");
    std::string read;
    ASSERT_TRUE(keld::readFile(path, read));
    EXPECT_EQ(read, "unicode");
    EXPECT_EQ(keld::fromFsPath(keld::toFsPath(path)), path);
    EXPECT_TRUE(keld::fileInfo(path));
}

TEST(Files, TimeStampsAreBrokenDownInUtc) {
    struct Case {
        int64_t seconds;
        TimeStamp stamp;
    };
    const Case cases[] = {
        {0, {1970, 1, 1, 0, 0, 0}},
        {86399, {1970, 1, 1, 23, 59, 59}},
        {951782400, {2000, 2, 29, 0, 0, 0}},
        {1714564800, {2024, 5, 1, 12, 0, 0}},
        {4102444799, {2099, 12, 31, 23, 59, 59}},
        {-1, {1969, 12, 31, 23, 59, 59}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seconds);
        const TimeStamp t = keld::timeStampOf(c.seconds);
        EXPECT_EQ(t.year, c.stamp.year);
        EXPECT_EQ(t.month, c.stamp.month);
        EXPECT_EQ(t.day, c.stamp.day);
        EXPECT_EQ(t.hour, c.stamp.hour);
        EXPECT_EQ(t.minute, c.stamp.minute);
        EXPECT_EQ(t.second, c.stamp.second);
    }
}

} // namespace
