#include "core/ByteBuffer.h"
#include "core/String.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct ChecksumCase {
    const char* name;
    std::string bytes;
    uint32_t expected;
};

TEST(ByteBufferChecksum, Table) {
    const ChecksumCase cases[] = {
        {"empty", "", 0x79E2BC9Du},
        {"one byte 0xFF counts -1, length +1", "\xFF", 0x79E2BC9Du},
        {"abc", "abc", 0x79E2BDC6u},
        {"one word little-endian", std::string("\x01\x02\x03\x04", 4),
         0x79E2BC9Du + 0x04030201u + 4},
        {"word then tail", std::string("\x00\x00\x00\x80\x7F\x80", 6),
         0x79E2BC9Du + 0x80000000u + 0x7Fu - 0x80u + 6},
        {"wraps modulo 2^32", std::string("\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 8),
         0x79E2BC9Du - 2u + 8u},
    };
    for (const auto& c : cases)
        EXPECT_EQ(checksum(c.bytes.data(), int32_t(c.bytes.size())), c.expected) << c.name;
}

// Long buffers are summed several words at a time: every length and an
// unaligned start still give the sum the definition gives, word by word.
TEST(ByteBufferChecksum, LongAndUnalignedBuffersFollowTheDefinition) {
    unsigned char buffer[80];
    uint32_t seed = 12345;
    for (unsigned char& byte : buffer) {
        seed = seed * 1103515245u + 12345u;
        byte = static_cast<unsigned char>(seed >> 16);
    }
    for (int start : {0, 1, 3}) {
        for (int length = 1; length + start <= 80; ++length) {
            const unsigned char* p = buffer + start;
            uint32_t expected = 0x79E2BC9Du;
            int i = 0;
            for (; i + 4 <= length; i += 4)
                expected += uint32_t(p[i]) + (uint32_t(p[i + 1]) << 8) +
                            (uint32_t(p[i + 2]) << 16) + (uint32_t(p[i + 3]) << 24);
            for (; i < length; ++i)
                expected += uint32_t(int32_t(int8_t(p[i])));
            expected += uint32_t(length);
            EXPECT_EQ(checksum(p, length), expected) << "start " << start << " length " << length;
        }
    }
}

TEST(ByteBufferChecksum, NoDataIsTheSeedWithoutTheLength) {
    EXPECT_EQ(checksum(nullptr, 5), 0x79E2BC9Du);
    EXPECT_EQ(checksum("abc", -3), 0x79E2BC9Du);
}

TEST(ByteBufferXor, WordsAndTailBytesLowestKeyByteFirst) {
    const uint32_t key = 0xA1B2C3D4u;
    unsigned char data[7] = {0, 0, 0, 0, 0, 0, 0};
    xorWithKey(data, 7, key);
    const unsigned char expected[7] = {0xD4, 0xC3, 0xB2, 0xA1, 0xD4, 0xC3, 0xB2};
    EXPECT_EQ(std::memcmp(data, expected, 7), 0);
}

TEST(ByteBufferXor, AppliedTwiceRestoresEveryLength) {
    const char original[] = "The settings block, scrambled and back.";
    for (int32_t length = 0; length <= 12; ++length) {
        char data[sizeof original];
        std::memcpy(data, original, sizeof original);
        xorWithKey(data, length, 0x5A17C3E9u);
        if (length > 0) {
            EXPECT_NE(std::memcmp(data, original, size_t(length)), 0) << length;
        }
        EXPECT_EQ(data[length], original[length]) << "byte past the end touched at " << length;
        xorWithKey(data, length, 0x5A17C3E9u);
        EXPECT_EQ(std::memcmp(data, original, sizeof original), 0) << length;
    }
}

String bytes(const char* text, int count) {
    return String(text, count);
}

TEST(ByteBufferString, ChecksumAndXorSeeTheWholeBufferIncludingZeroBytes) {
    const String data = bytes("a\0b\0c", 5);
    EXPECT_EQ(checksum(data), checksum(data.c_str(), 5));
    EXPECT_EQ(checksum(String()), 0x79E2BC9Du);
    String scrambled = data;
    xorWithKey(scrambled, 0x01010101u);
    EXPECT_TRUE(scrambled == bytes("`\1c\1b", 5));
    xorWithKey(scrambled, 0x01010101u);
    EXPECT_TRUE(scrambled == data);
    String empty;
    xorWithKey(empty, 0xFFFFFFFFu);
    EXPECT_TRUE(empty.isEmpty());
}

TEST(ByteBufferString, IntegerReadsAreLittleEndianAndBounded) {
    const String data = bytes("\x01\x02\x03\x04\xFE\xFF", 6);
    struct Case {
        int32_t offset;
        int32_t int32;
        uint16_t int16;
    };
    const Case cases[] = {
        {0, 0x04030201, 0x0201}, {2, int32_t(0xFFFE0403u), 0x0403},
        {3, -1, 0xFE04},         {4, -1, 0xFFFE},
        {5, -1, 0xFFFF},         {-1, -1, 0xFFFF},
        {6, -1, 0xFFFF},         {INT32_MAX, -1, 0xFFFF},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(getInt32At(data, c.offset), c.int32) << c.offset;
        EXPECT_EQ(getInt16At(data, c.offset), c.int16) << c.offset;
    }
    EXPECT_EQ(getInt32At(String(), 0), -1);
    EXPECT_EQ(getInt16At(bytes("x", 1), 0), 0xFFFF);
}

TEST(ByteBufferString, IntegerWritesAreLittleEndianAndRefuseToGrow) {
    String data = bytes("\0\0\0\0\0", 5);
    EXPECT_TRUE(setInt32At(data, 1, 0xA1B2C3D4u));
    EXPECT_TRUE(data == bytes("\0\xD4\xC3\xB2\xA1", 5));
    EXPECT_TRUE(setInt16At(data, 3, 0x1234));
    EXPECT_TRUE(data == bytes("\0\xD4\xC3\x34\x12", 5));
    const String before = data;
    EXPECT_FALSE(setInt32At(data, 2, 0));
    EXPECT_FALSE(setInt16At(data, 4, 0));
    EXPECT_FALSE(setInt16At(data, -1, 0));
    EXPECT_FALSE(setInt32At(data, INT32_MAX - 1, 0));
    EXPECT_TRUE(data == before);
    EXPECT_EQ(data.length(), 5);
}

TEST(ByteBufferString, ContainsLooksAtEveryByte) {
    const String data = bytes("ab\0\xFF", 4);
    EXPECT_TRUE(contains(data, 0));
    EXPECT_TRUE(contains(data, 0xFF));
    EXPECT_TRUE(contains(data, 'b'));
    EXPECT_FALSE(contains(data, 'c'));
    EXPECT_FALSE(contains(String(), 0));
}

} // namespace
