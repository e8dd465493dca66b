#include "FileScratch.h"

#include "platform/FileHelpers.h"

#include <cstdlib>
#include <vector>

namespace {

using WholeFiles = FileScratch;

TEST_F(WholeFiles, WriteFileCreatesOrReplaces) {
    makeFile("old.txt", "a longer old content");
    EXPECT_TRUE(writeFile(at("old.txt"), "new", 3));
    EXPECT_EQ(contentOf("old.txt"), "new");
    EXPECT_TRUE(writeFile(at("z.txt"), "up to\0 the zero", kWholeText));
    EXPECT_EQ(contentOf("z.txt"), "up to");
    EXPECT_TRUE(writeFile(at("null.txt"), nullptr, 5));
    EXPECT_EQ(contentOf("null.txt"), "");
    EXPECT_TRUE(writeFile(at("s.bin"), String("a\0b", 3)));
    EXPECT_EQ(contentOf("s.bin"), std::string("a\0b", 3));
    EXPECT_FALSE(writeFile(at("nodir\\x.txt"), "x", 1));
}

TEST_F(WholeFiles, FileEqualsComparesSizeAndEveryBlock) {
    std::vector<char> data(3 * 4096 + 17, 'a');
    writeFile(at("data.bin"), data.data(), static_cast<int>(data.size()));
    const int size = static_cast<int>(data.size());
    EXPECT_TRUE(fileEquals(at("data.bin"), data.data(), size));
    EXPECT_FALSE(fileEquals(at("data.bin"), data.data(), size - 1));
    data[2 * 4096 + 5] = 'b';
    EXPECT_FALSE(fileEquals(at("data.bin"), data.data(), size));
    data[2 * 4096 + 5] = 'a';
    data.back() = 'b';
    EXPECT_FALSE(fileEquals(at("data.bin"), data.data(), size));
    EXPECT_FALSE(fileEquals(at("missing.bin"), data.data(), 0));
    EXPECT_FALSE(fileEquals(at("data.bin"), nullptr, size));

    makeFile("empty.bin");
    EXPECT_TRUE(fileEquals(at("empty.bin"), "", 0));
    EXPECT_TRUE(fileEquals(at("empty.bin"), nullptr, 0));
}

TEST_F(WholeFiles, AppendToFileModes) {
    struct Case {
        const char* before; // null: no file
        const char* text;
        int mode;
        bool appended;
        const char* after; // "<missing>" when no file is left
    } cases[] = {
        {"a", "b", 0, true, "ab"},
        {nullptr, "b", 0, true, "b"},
        {nullptr, "b", kAppendMustExist, false, "<missing>"},
        {"a", "b", kAppendMustExist | kAppendNoRetry, true, "ab"},
        {"a", "b", kAppendOnNewLine, true, "a\r\nb"},
        {"a\n", "b", kAppendOnNewLine, true, "a\nb"},
        {"", "b", kAppendOnNewLine, true, "b"},
        {"a", nullptr, 0, true, "a"},
        {"a", nullptr, kAppendOnNewLine, true, "a\r\n"},
    };
    for (const Case& c : cases) {
        DeleteFileA(path("log.txt").c_str());
        if (c.before)
            makeFile("log.txt", c.before);
        EXPECT_EQ(appendToFile(at("log.txt"), c.text, c.mode), c.appended)
            << (c.before ? c.before : "(none)") << " mode " << c.mode;
        EXPECT_EQ(contentOf("log.txt"), c.after)
            << (c.before ? c.before : "(none)") << " mode " << c.mode;
    }
    EXPECT_FALSE(appendToFile(String(" "), "x", 0));
    EXPECT_FALSE(appendToFile(at("nodir\\log.txt"), "x", 0));
}

TEST_F(WholeFiles, AppendToALockedFileFails) {
    makeFile("log.txt", "a");
    HANDLE lock =
        CreateFileA(path("log.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(appendToFile(at("log.txt"), "b", kAppendNoRetry));
    CloseHandle(lock);
    EXPECT_EQ(contentOf("log.txt"), "a");
}

TEST_F(WholeFiles, LastWriteTimeOfAMissingFile) {
    TimeStamp stamp;
    stamp.year = 1999;
    EXPECT_FALSE(lastWriteTime(at("missing.txt"), stamp));
    EXPECT_EQ(stamp.year, 1999);
}

TEST_F(WholeFiles, LastWriteTimeOfANewFileIsNow) {
    makeFile("new.txt", "x");
    TimeStamp stamp;
    ASSERT_TRUE(lastWriteTime(at("new.txt"), stamp));
    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_EQ(stamp.year, now.wYear);
    EXPECT_EQ(stamp.month, now.wMonth);
    // Within a few minutes of the local clock, whatever the zone.
    int minutes = (stamp.day * 24 + stamp.hour) * 60 + stamp.minute;
    int nowMinutes = (now.wDay * 24 + now.wHour) * 60 + now.wMinute;
    EXPECT_LE(std::abs(minutes - nowMinutes), 3);
}

} // namespace
