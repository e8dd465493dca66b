#include "core/ByteBuffer.h"

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

} // namespace
