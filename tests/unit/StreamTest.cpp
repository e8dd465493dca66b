#include "core/Stream.h"
#include "core/MemoryStream.h"
#include "core/String.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string text(const String& s) {
    return std::string(s.c_str(), size_t(s.length()));
}

TEST(StreamMemory, ReadPastTheEndCopiesWhatThereIsAndZeroFills) {
    MemoryStream stream(String("abcdef"));
    char buffer[4];
    ASSERT_TRUE(stream.readBlock(buffer, 4));
    EXPECT_EQ(std::string(buffer, 4), "abcd");
    EXPECT_EQ(stream.tell(), 4);
    EXPECT_TRUE(stream.hasMore());
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_FALSE(stream.readBlock(buffer, 4));
    EXPECT_EQ(std::string(buffer, 4), std::string("ef\0\0", 4));
    EXPECT_EQ(stream.tell(), 6);
    EXPECT_FALSE(stream.hasMore());
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_FALSE(stream.readBlock(buffer, 2));
    EXPECT_EQ(std::string(buffer, 2), std::string("\0\0", 2));
    EXPECT_TRUE(stream.readBlock(buffer, 0));
    EXPECT_FALSE(stream.readBlock(buffer, -1));
}

TEST(StreamMemory, SeekStaysInsideTheBuffer) {
    MemoryStream stream(String("abcdef"));
    const struct {
        bool fromEnd;
        int32_t where;
        bool ok;
        int32_t position;
    } steps[] = {{false, 3, true, 3},         {false, 6, true, 6},        {false, 7, false, 6},
                 {false, -1, false, 6},       {true, -2, true, 4},        {true, 0, true, 6},
                 {true, 1, false, 6},         {true, -6, true, 0},        {true, -7, false, 0},
                 {true, INT32_MIN, false, 0}, {true, INT32_MAX, false, 0}};
    for (const auto& s : steps) {
        EXPECT_EQ(s.fromEnd ? stream.seekFromEnd(s.where) : stream.seek(s.where), s.ok)
            << s.fromEnd << " " << s.where;
        EXPECT_EQ(stream.tell(), s.position) << s.fromEnd << " " << s.where;
    }
}

TEST(StreamMemory, WritesOverwriteThenExtend) {
    MemoryStream stream(String("abcdef"));
    ASSERT_TRUE(stream.seek(4));
    ASSERT_TRUE(stream.writeBlock("XYZ", 3));
    EXPECT_EQ(text(stream.buffer()), "abcdXYZ");
    EXPECT_EQ(stream.tell(), 7);
    ASSERT_TRUE(stream.seek(1));
    ASSERT_TRUE(stream.writeBlock("12", 2));
    EXPECT_EQ(text(stream.buffer()), "a12dXYZ");
    stream.truncate();
    EXPECT_EQ(text(stream.buffer()), "a12");
    // Copying the stream's own bytes while it grows.
    ASSERT_TRUE(stream.seekFromEnd(0));
    ASSERT_TRUE(stream.writeBlock(stream.buffer().c_str(), stream.size()));
    EXPECT_EQ(text(stream.buffer()), "a12a12");
    EXPECT_FALSE(stream.writeBlock("x", -1));
    stream.release();
    EXPECT_EQ(stream.size(), 0);
    EXPECT_EQ(stream.tell(), 0);
    ASSERT_TRUE(stream.writeBlock("new", 3));
    EXPECT_EQ(text(stream.buffer()), "new");
}

TEST(StreamTyped, LittleEndianValues) {
    MemoryStream stream;
    ASSERT_TRUE(writeUInt8(stream, 0x81));
    ASSERT_TRUE(writeUInt16(stream, 0x8382));
    ASSERT_TRUE(writeUInt32(stream, 0x87868584u));
    ASSERT_TRUE(writeUInt64(stream, 0x8F8E8D8C8B8A8988ull));
    ASSERT_EQ(stream.size(), 15);
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(uint8_t(stream.buffer().charAt(i)), 0x81 + i) << i;

    ASSERT_TRUE(stream.seek(0));
    uint8_t u8 = 0;
    int16_t i16 = 0;
    int32_t i32 = 0;
    int64_t i64 = 0;
    EXPECT_TRUE(readUInt8(stream, u8));
    EXPECT_TRUE(readInt16(stream, i16));
    EXPECT_TRUE(readInt32(stream, i32));
    EXPECT_TRUE(readInt64(stream, i64));
    EXPECT_EQ(u8, 0x81);
    EXPECT_EQ(i16, int16_t(0x8382));
    EXPECT_EQ(i32, int32_t(0x87868584u));
    EXPECT_EQ(i64, int64_t(0x8F8E8D8C8B8A8988ull));

    ASSERT_TRUE(stream.seek(13));
    uint32_t u32 = 0;
    EXPECT_FALSE(readUInt32(stream, u32));
    EXPECT_EQ(u32, 0x8F8Eu);
}

String roundTrip(const String& original, StringForm form, bool* ok) {
    MemoryStream stream;
    EXPECT_TRUE(writeString(stream, original, form));
    EXPECT_TRUE(writeUInt8(stream, 0x5A)); // what follows must stay in step
    stream.seek(0);
    String back = "stale";
    *ok = readString(stream, back, form);
    uint8_t marker = 0;
    if (*ok) {
        EXPECT_TRUE(readUInt8(stream, marker));
        EXPECT_EQ(marker, 0x5A);
    }
    return back;
}

TEST(StreamString, FourFormsRoundTrip) {
    const String binary("a\0b", 3);
    const String long300(std::string(300, 'q').c_str());
    const String long70000(std::string(70000, 'w').c_str());
    const struct {
        StringForm form;
        String original;
        bool ok;
        std::string back;
    } cases[] = {
        {StringForm::ZeroTerminated, "hello", true, "hello"},
        {StringForm::ZeroTerminated, "", true, ""},
        {StringForm::ZeroTerminated, binary, true, "a"},
        {StringForm::Length8, "hello", true, "hello"},
        {StringForm::Length8, "", true, ""},
        {StringForm::Length8, binary, true, std::string("a\0b", 3)},
        {StringForm::Length8, long300, true, std::string(255, 'q')},
        {StringForm::Length16, long300, true, std::string(300, 'q')},
        {StringForm::Length16, "", true, ""},
        {StringForm::Length16, long70000, true, std::string(65535, 'w')},
        {StringForm::Length32, long70000, true, std::string(70000, 'w')},
        {StringForm::Length32, binary, true, std::string("a\0b", 3)},
        {StringForm::Length32, "", false, ""},
    };
    for (const auto& c : cases) {
        bool ok = false;
        const String back = roundTrip(c.original, c.form, &ok);
        EXPECT_EQ(ok, c.ok) << int(c.form) << " " << c.original.length();
        EXPECT_EQ(text(back), c.back) << int(c.form) << " " << c.original.length();
    }
}

TEST(StreamString, ReadFailuresLeaveTheStringEmpty) {
    const struct {
        std::string bytes;
        StringForm form;
        bool ok;
        std::string result;
    } cases[] = {
        {"", StringForm::ZeroTerminated, false, ""},
        {"ab", StringForm::ZeroTerminated, true, "ab"},
        {"", StringForm::Length8, false, ""},
        {"\x05"
         "abc",
         StringForm::Length8, false, ""},
        {"\x01", StringForm::Length16, false, ""},
        {std::string("\x05\x00", 2) + "abc", StringForm::Length16, false, ""},
        {std::string("\xFF\xFF\xFF\xFF", 4) + "abc", StringForm::Length32, false, ""},
        {std::string("\x00\x00\x00\x80", 4) + "abc", StringForm::Length32, false, ""},
        {std::string("\xF0\xFF\xFF\x7F", 4) + "abc", StringForm::Length32, false, ""},
        {std::string("\x03\x00\x00\x00", 4) + "abc", StringForm::Length32, true, "abc"},
    };
    for (const auto& c : cases) {
        MemoryStream stream(String(c.bytes.data(), int(c.bytes.size())));
        String out = "stale";
        EXPECT_EQ(readString(stream, out, c.form), c.ok) << c.bytes << " " << int(c.form);
        EXPECT_EQ(text(out), c.result) << c.bytes << " " << int(c.form);
    }
}

} // namespace
