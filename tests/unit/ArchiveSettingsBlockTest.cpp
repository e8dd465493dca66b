// The settings block's unscrambling, decoding and checksum, and the cursor
// that walks the archive's bytes.
#include "installer/ArchiveSettingsBlock.h"
#include "core/ByteBuffer.h"
#include "installer/ArchiveCursor.h"

#include <gtest/gtest.h>

namespace {

// A compressed block of the single literal byte `b`.
String oneByteBlock(uint8_t b) {
    const char block[] = {'\xA1',
                          '\x2B',
                          '\xC7',
                          '\x9E',
                          1,
                          0,
                          0,
                          0,
                          static_cast<char>((b << 4) & 0xF0),
                          static_cast<char>(b >> 4)};
    return String(block, sizeof block);
}

TEST(ArchiveSettingsBlockTest, UnscramblesWithTheKeyThenDecodes) {
    String block = oneByteBlock('Z');
    const uint32_t key = 0xA1B2C3D4;
    xorWithKey(block, key);
    String decoded;
    ASSERT_EQ(loadSettingsBlock(reinterpret_cast<const uint8_t*>(block.c_str()), block.length(),
                                key, decoded),
              NotCorrupt);
    EXPECT_EQ(decoded, String("Z"));
    EXPECT_EQ(loadSettingsBlock(reinterpret_cast<const uint8_t*>(block.c_str()), block.length(),
                                key ^ 1, decoded),
              BadSettingsBlock);
    EXPECT_TRUE(decoded.isEmpty());
    EXPECT_EQ(loadSettingsBlock(nullptr, 0, key, decoded), BadSettingsBlock);
}

TEST(ArchiveSettingsBlockTest, ChecksumMismatchIs25) {
    const String settings("abc");
    EXPECT_EQ(checkSettingsChecksum(settings, 0x79E2BDC6), NotCorrupt);
    EXPECT_EQ(checkSettingsChecksum(settings, 0x79E2BDC7), SettingsChecksumMismatch);
}

TEST(ArchiveCursorTest, ReadsIntegersTextsAndBlocksAndStopsAtTheEnd) {
    const uint8_t bytes[] = {0x78, 0x56, 0x34, 0x12, 'h', 'i', 0, 'x', 'y', 'z', 'w'};
    ArchiveCursor cursor;
    cursor.set(bytes, sizeof bytes);
    int32_t value = 0;
    ASSERT_TRUE(cursor.readInt32(value));
    EXPECT_EQ(value, 0x12345678);
    String text;
    ASSERT_TRUE(cursor.readString(text));
    EXPECT_EQ(text, String("hi"));
    char block[3];
    ASSERT_TRUE(cursor.readBlock(block, 3));
    EXPECT_EQ(std::string(block, 3), "xyz");
    EXPECT_FALSE(cursor.readInt32(value));
    EXPECT_EQ(value, 0);
    EXPECT_EQ(cursor.remaining(), 0);

    cursor.set(bytes, sizeof bytes);
    ASSERT_TRUE(cursor.skip(7));
    EXPECT_FALSE(cursor.readString(text)); // no terminator before the end
    EXPECT_EQ(text, String("xyzw"));
    cursor.set(bytes, sizeof bytes);
    EXPECT_FALSE(cursor.readBlock(block, -1));
    EXPECT_FALSE(cursor.skip(12));
    EXPECT_EQ(cursor.remaining(), 0);
}

} // namespace
