#include "FileScratch.h"

#include "core/Stream.h"
#include "platform/File.h"
#include "platform/FileHelpers.h"

#include <vector>

namespace {

using FileBlocks = FileScratch;

TEST_F(FileBlocks, ReadFailuresAndTheirTexts) {
    makeFile("abc.txt", "abc");
    File file;
    ASSERT_EQ(file.open(path("abc.txt").c_str(), OpenExisting), FileOpened);
    char buffer[8] = {};
    EXPECT_TRUE(file.readBlock(buffer, 0));
    EXPECT_TRUE(file.readBlock(nullptr, 0));
    EXPECT_EQ(file.tell(), 0);

    EXPECT_FALSE(file.readBlock(buffer, -4));
    EXPECT_EQ(str(file.lastError()), "Illegal block size -4");
    EXPECT_FALSE(file.readBlock(nullptr, 1));
    EXPECT_EQ(str(file.lastError()), "NULL block pointer");
    EXPECT_FALSE(file.readBlock(buffer, 4));
    EXPECT_EQ(str(file.lastError()), "Read past end of file");

    File writeOnly;
    ASSERT_EQ(writeOnly.open(path("w.txt").c_str(), CreateAlways | NoRead), FileOpened);
    EXPECT_FALSE(writeOnly.readBlock(buffer, 1));
    EXPECT_EQ(str(writeOnly.lastError()), "Read access denied");
}

TEST_F(FileBlocks, WriteFailuresAndTheirTexts) {
    makeFile("abc.txt", "abc");
    File file;
    ASSERT_EQ(file.open(path("abc.txt").c_str(), OpenExisting | NoWrite), FileOpened);
    EXPECT_TRUE(file.writeBlock("x", 0));
    EXPECT_FALSE(file.writeBlock("x", 1));
    EXPECT_EQ(str(file.lastError()), "Write access denied");
    EXPECT_FALSE(file.writeBlock("x", -1));
    EXPECT_EQ(str(file.lastError()), "Illegal block size");
    EXPECT_FALSE(file.writeBlock(nullptr, 1));
    EXPECT_EQ(str(file.lastError()), "NULL block pointer");
    EXPECT_FALSE(file.truncate());
    file.close();
    EXPECT_EQ(contentOf("abc.txt"), "abc");
}

// Writes larger than one piece arrive whole and in order.
TEST_F(FileBlocks, LargeWritesGoOutInPieces) {
    std::vector<char> data(3 * 0x100000 + 12345);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>(i * 7 + i / 0x100000);
    File file;
    ASSERT_EQ(file.open(path("big.bin").c_str(), CreateAlways), FileOpened);
    ASSERT_TRUE(file.writeBlock(data.data(), static_cast<int>(data.size())));
    EXPECT_EQ(file.size(), static_cast<int32_t>(data.size()));
    file.close();
    EXPECT_TRUE(fileEquals(at("big.bin"), data.data(), static_cast<int>(data.size())));
}

TEST_F(FileBlocks, PositionsAndSize) {
    makeFile("ten.txt", "0123456789");
    File file;
    ASSERT_EQ(file.open(path("ten.txt").c_str(), OpenExisting), FileOpened);
    EXPECT_EQ(file.size(), 10);
    EXPECT_TRUE(file.hasMore());
    EXPECT_FALSE(file.atEnd());
    EXPECT_TRUE(file.seek(4));
    EXPECT_EQ(file.tell(), 4);
    EXPECT_TRUE(file.seekFromEnd(-3));
    EXPECT_EQ(file.tell(), 7);
    EXPECT_FALSE(file.seek(-1));
    EXPECT_EQ(file.tell(), 7);
    EXPECT_TRUE(file.seekFromEnd(0));
    EXPECT_TRUE(file.atEnd());
    EXPECT_FALSE(file.hasMore());
    EXPECT_EQ(file.size(), 10);
}

TEST_F(FileBlocks, PositionStack) {
    makeFile("ten.txt", "0123456789");
    File file;
    ASSERT_EQ(file.open(path("ten.txt").c_str(), OpenExisting), FileOpened);
    file.seek(2);
    EXPECT_EQ(file.pushPosition(), 2);
    EXPECT_TRUE(file.pushPositionAndSeek(5));
    EXPECT_TRUE(file.pushPositionAndSeekEnd());
    EXPECT_EQ(file.tell(), 10);
    EXPECT_EQ(file.popPosition(), 5);
    EXPECT_EQ(file.tell(), 5);
    EXPECT_EQ(file.popPosition(), 2);
    EXPECT_EQ(file.popPosition(), 2);
    EXPECT_EQ(file.tell(), 2);
    file.seek(6);
    EXPECT_EQ(file.popPosition(), File::kNoSavedPosition);
    EXPECT_EQ(file.popPosition(), static_cast<int32_t>(0x80000000u));
    EXPECT_EQ(file.tell(), 6);
}

TEST_F(FileBlocks, ReadAtOnlyWithinTheFile) {
    makeFile("ten.txt", "0123456789");
    File file;
    ASSERT_EQ(file.open(path("ten.txt").c_str(), OpenExisting | NoWrite), FileOpened);
    file.seek(3);
    struct Case {
        int32_t offset, length;
        bool read;
        const char* text;
    } cases[] = {
        {2, 3, true, "234"},        {0, 10, true, "0123456789"}, {10, 0, true, ""},
        {8, 3, false, ""},          {-1, 2, false, ""},          {0, -1, false, ""},
        {0x7FFFFFFF, 1, false, ""}, {1, 0x7FFFFFFF, false, ""},
    };
    for (const Case& c : cases) {
        String out("stale");
        EXPECT_EQ(file.readAt(c.offset, c.length, out), c.read) << c.offset << "+" << c.length;
        EXPECT_EQ(str(out), c.text) << c.offset << "+" << c.length;
        EXPECT_EQ(file.tell(), 3);
    }
}

TEST_F(FileBlocks, WholeTailAndZeroTerminatedReads) {
    makeFile("empty.txt");
    makeFile("data.bin", std::string("ab\0cd", 5));
    File empty, data;
    ASSERT_EQ(empty.open(path("empty.txt").c_str(), OpenExisting), FileOpened);
    ASSERT_EQ(data.open(path("data.bin").c_str(), OpenExisting), FileOpened);

    String out("stale");
    EXPECT_TRUE(empty.readAll(out));
    EXPECT_EQ(out.length(), 0);
    EXPECT_TRUE(data.readAll(out));
    EXPECT_EQ(str(out), std::string("ab\0cd", 5));

    char tail[3] = {};
    EXPECT_TRUE(data.readTail(tail, 2));
    EXPECT_EQ(std::string(tail, 2), "cd");
    EXPECT_FALSE(data.readTail(tail, 6));
    EXPECT_FALSE(data.readTail(tail, 0));
    EXPECT_FALSE(empty.readTail(tail, 1));

    EXPECT_EQ(str(data.readZeroTerminated()), "ab");
    EXPECT_EQ(str(data.readZeroTerminated()), "cd");
    EXPECT_EQ(str(data.readZeroTerminated()), "");
}

TEST_F(FileBlocks, AppendComesBackToWhereItWas) {
    makeFile("log.txt", "one");
    File file;
    ASSERT_EQ(file.open(path("log.txt").c_str(), OpenExisting), FileOpened);
    file.seek(1);
    EXPECT_TRUE(file.append(String("two")));
    EXPECT_EQ(file.tell(), 1);
    file.seekFromEnd(0);
    EXPECT_TRUE(file.append(String("!")));
    EXPECT_EQ(file.tell(), 7);
    file.close();
    EXPECT_EQ(contentOf("log.txt"), "onetwo!");
    EXPECT_FALSE(file.append(String("x")));
}

TEST_F(FileBlocks, FinalLineBreak) {
    struct Case {
        const char* before;
        bool endsWithBreak;
        const char* after;
    } cases[] = {
        {"", true, ""},
        {"line", false, "line\r\n"},
        {"line\r\n", true, "line\r\n"},
        {"line\n", true, "line\n"},
        {"line\r", true, "line\r"},
    };
    for (const Case& c : cases) {
        makeFile("t.txt", c.before);
        File file;
        ASSERT_EQ(file.open(path("t.txt").c_str(), OpenExisting), FileOpened);
        EXPECT_EQ(file.endsWithLineBreak(), c.endsWithBreak) << c.before;
        file.ensureFinalLineBreak();
        file.close();
        EXPECT_EQ(contentOf("t.txt"), c.after) << c.before;
    }
}

TEST_F(FileBlocks, ReplaceContentsCutsTheRest) {
    makeFile("t.txt", "a long old content");
    File file;
    ASSERT_EQ(file.open(path("t.txt").c_str(), OpenExisting), FileOpened);
    file.seek(5);
    EXPECT_TRUE(file.replaceContents(String("new")));
    EXPECT_EQ(file.size(), 3);
    file.close();
    EXPECT_EQ(contentOf("t.txt"), "new");
}

// Typed values and strings written through the stream interfaces read back
// from the file in little-endian order.
TEST_F(FileBlocks, ServesTheStreamInterfaces) {
    File file;
    ASSERT_EQ(file.open(path("s.bin").c_str(), CreateAlways), FileOpened);
    BlockWriter& writer = file;
    ASSERT_TRUE(writeUInt32(writer, 0x11223344u));
    ASSERT_TRUE(writeString(writer, String("name"), StringForm::Length8));
    String bytes;
    ASSERT_TRUE(file.readAt(0, 5, bytes));
    EXPECT_EQ(str(bytes), std::string("\x44\x33\x22\x11\x04", 5));

    BlockReader& reader = file;
    ASSERT_TRUE(file.seek(0));
    uint32_t value = 0;
    String name;
    EXPECT_TRUE(reader.hasMore());
    EXPECT_TRUE(readUInt32(reader, value));
    EXPECT_EQ(reader.tell(), 4);
    EXPECT_TRUE(readString(reader, name, StringForm::Length8));
    EXPECT_EQ(value, 0x11223344u);
    EXPECT_EQ(str(name), "name");
    EXPECT_FALSE(reader.hasMore());
    EXPECT_FALSE(readUInt32(reader, value));
}

TEST_F(FileBlocks, LastWriteTimeIsLocalTime) {
    File file;
    ASSERT_EQ(file.open(path("t.txt").c_str(), CreateAlways), FileOpened);
    ASSERT_TRUE(file.writeBlock("data", 4));
    TimeStamp stamp;
    stamp.year = 2003;
    stamp.month = 7;
    stamp.day = 14;
    stamp.hour = 13;
    stamp.minute = 45;
    stamp.second = 30;
    ASSERT_TRUE(file.setLastWriteTime(stamp));
    file.close();

    TimeStamp read;
    ASSERT_TRUE(lastWriteTime(at("t.txt"), read));
    EXPECT_EQ(read.compare(stamp), 0);
    EXPECT_EQ(read.year, 2003);
    EXPECT_EQ(read.hour, 13);
    EXPECT_EQ(read.second, 30);

    // The system keeps UTC: the stored time is the local one moved by the bias.
    HANDLE h = CreateFileA(path("t.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    FILETIME utc, local;
    GetFileTime(h, nullptr, nullptr, &utc);
    CloseHandle(h);
    FileTimeToLocalFileTime(&utc, &local);
    SYSTEMTIME time;
    FileTimeToSystemTime(&local, &time);
    EXPECT_EQ(time.wHour, 13);
    EXPECT_EQ(time.wMinute, 45);

    TimeStamp noDate;
    ASSERT_EQ(file.open(path("t.txt").c_str(), OpenExisting), FileOpened);
    EXPECT_FALSE(file.setLastWriteTime(noDate));
}

} // namespace
