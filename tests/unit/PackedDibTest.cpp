#include "installer/PackedDib.h"

#include "tests/unit/DibBytes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

DibShape shape(uint32_t headerSize, int32_t width, int32_t height, uint16_t bitsPerPixel,
               uint32_t compression = 0, uint32_t colorsUsed = 0, uint32_t imageSize = 0) {
    DibShape s;
    s.headerSize = headerSize;
    s.width = width;
    s.height = height;
    s.bitsPerPixel = bitsPerPixel;
    s.compression = compression;
    s.colorsUsed = colorsUsed;
    s.imageSize = imageSize;
    return s;
}

TEST(PackedDib, ReadsTheHeaderKindsItCanDraw) {
    struct Case {
        const char* name;
        DibShape shape;
        int tableBytes;
        int pixelBytes;
        int32_t entries;
        int entrySize;
        int32_t bitsOffset;
    } cases[] = {
        {"core, 1 bit", shape(12, 3, 2, 1), 6, 8, 2, 3, 18},
        {"core, 24 bits", shape(12, 2, 2, 24), 0, 16, 0, 3, 12},
        {"8 bits, full table", shape(40, 2, 2, 8), 1024, 8, 256, 4, 1064},
        {"8 bits, three colours used", shape(40, 2, 2, 8, 0, 3), 12, 8, 3, 4, 52},
        {"4 bits", shape(40, 3, 2, 4), 64, 8, 16, 4, 104},
        {"24 bits with a table", shape(40, 2, 2, 24, 0, 2), 8, 16, 2, 4, 48},
        {"16 bits, bit fields", shape(40, 2, 2, 16, 3), 12, 8, 0, 4, 52},
        {"32 bits, top-down", shape(40, 2, -2, 32), 0, 16, 0, 4, 40},
        {"run-length, 8 bits", shape(40, 4, 2, 8, 1, 0, 6), 1024, 6, 256, 4, 1064},
        {"run-length, 4 bits", shape(40, 4, 2, 4, 2, 0, 6), 64, 6, 16, 4, 104},
        {"more bytes than the pixels need", shape(40, 2, 2, 24), 0, 100, 0, 4, 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const String bytes =
            dibBytes(c.shape, patternBytes(c.tableBytes), patternBytes(c.pixelBytes));
        PackedDib dib;
        ASSERT_TRUE(dib.loadFromMemory(bytes));
        EXPECT_FALSE(dib.isEmpty());
        EXPECT_EQ(dib.width(), c.shape.width);
        EXPECT_EQ(dib.height(), c.shape.height);
        EXPECT_EQ(dib.rowCount(), c.shape.height < 0 ? -c.shape.height : c.shape.height);
        EXPECT_EQ(dib.bitsPerPixel(), c.shape.bitsPerPixel);
        EXPECT_EQ(dib.colorEntries(), c.entries);
        EXPECT_EQ(dib.entrySize(), c.entrySize);
        EXPECT_EQ(dib.bitsOffset(), c.bitsOffset);
        EXPECT_EQ(dib.data(), bytes);
        EXPECT_EQ(dib.pixelBits(), dib.data().c_str() + c.bitsOffset);
    }
}

// Each of these would have the system read colours or pixels beyond the bytes
// (or the header is of a kind the system may not draw): the bitmap stays empty.
TEST(PackedDib, RefusesHeadersThatDoNotFitTheirBytes) {
    struct Case {
        const char* name;
        DibShape shape;
        int tableBytes;
        int pixelBytes;
    } cases[] = {
        {"only a core header", shape(12, 1, 1, 24), 0, 0},
        {"V4 header", shape(108, 2, 2, 24), 68, 16},
        {"header size with a high bit", shape(0x80000028, 2, 2, 24), 0, 16},
        {"pixels one byte short", shape(40, 2, 2, 24), 0, 15},
        {"core pixels one byte short", shape(12, 2, 2, 24), 0, 15},
        {"colour table one byte short", shape(40, 2, 2, 8), 1023, 8},
        {"core table one byte short", shape(12, 2, 2, 8), 767, 8},
        {"all colours used", shape(40, 2, 2, 8, 0, 0xFFFFFFFF), 1024, 8},
        {"colour count that wraps to no bytes", shape(40, 2, 2, 8, 0, 0x40000000), 0, 8},
        {"row size that wraps to nothing", shape(40, 0x08000000, 1, 32), 0, 4},
        {"row size past 32 bits", shape(40, 0x7FFFFFFF, 1, 32), 0, 64},
        {"row count past 32 bits", shape(40, 1, 0x7FFFFFFF, 32), 0, 64},
        {"lowest height", shape(40, 1, INT32_MIN, 32), 0, 64},
        {"no width", shape(40, 0, 2, 24), 0, 16},
        {"negative width", shape(40, -2, 2, 24), 0, 16},
        {"no height", shape(40, 2, 0, 24), 0, 16},
        {"core, no width", shape(12, 0, 2, 24), 0, 16},
        {"core, no height", shape(12, 2, 0, 24), 0, 16},
        {"no depth", shape(40, 2, 2, 0), 0, 16},
        {"2 bits", shape(40, 2, 2, 2), 16, 16},
        {"15 bits", shape(40, 2, 2, 15), 0, 16},
        {"64 bits", shape(40, 2, 2, 64), 0, 64},
        {"core, 16 bits", shape(12, 2, 2, 16), 0, 16},
        {"core, 32 bits", shape(12, 2, 2, 32), 0, 16},
        {"JPEG inside", shape(40, 2, 2, 24, 4, 0, 16), 0, 16},
        {"PNG inside", shape(40, 2, 2, 24, 5, 0, 16), 0, 16},
        {"run-length 8 at 4 bits", shape(40, 4, 2, 4, 1, 0, 6), 64, 6},
        {"run-length without its size", shape(40, 4, 2, 8, 1, 0, 0), 1024, 6},
        {"run-length past the bytes", shape(40, 4, 2, 8, 1, 0, 7), 1024, 6},
        {"run-length top-down", shape(40, 4, -2, 8, 1, 0, 6), 1024, 6},
        {"bit fields at 24 bits", shape(40, 2, 2, 24, 3), 12, 16},
        {"bit fields without the masks", shape(40, 1, 1, 16, 3), 0, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PackedDib dib;
        EXPECT_FALSE(dib.loadFromMemory(
            dibBytes(c.shape, patternBytes(c.tableBytes), patternBytes(c.pixelBytes))));
        EXPECT_TRUE(dib.isEmpty());
        EXPECT_EQ(dib.width(), 0);
        EXPECT_EQ(dib.bitsOffset(), 0);
    }
    PackedDib dib;
    EXPECT_FALSE(dib.loadFromMemory(String()));
    EXPECT_FALSE(dib.loadFromMemory(String("BM\0\x01\x02\xFF", 6)));
}

TEST(PackedDib, FailedLoadLeavesNoEarlierPicture) {
    PackedDib dib;
    ASSERT_TRUE(dib.loadFromMemory(dibBytes(shape(40, 2, 2, 24), "", patternBytes(16))));
    EXPECT_FALSE(dib.loadFromMemory(dibBytes(shape(40, 2, 2, 24), "", patternBytes(15))));
    EXPECT_TRUE(dib.isEmpty());
    EXPECT_EQ(dib.rowCount(), 0);
}

String fileHeader(const char* magic, uint32_t fileSize) {
    std::string header(magic, 2);
    putLittleEndian(header, fileSize, 4);
    putLittleEndian(header, 0, 4);
    putLittleEndian(header, 54, 4);
    return String(header.data(), int(header.size()));
}

TEST(PackedDib, FileHeaderAnnouncesTheBitmapBytes) {
    EXPECT_EQ(bitmapFileDataLength(fileHeader("BM", 70).c_str()), 56);
    EXPECT_EQ(bitmapFileDataLength(fileHeader("BM", 0xFFFFFFFF).c_str()), 0xFFFFFFFFll - 14);
    // A size below the header's own announces nothing a caller may read.
    EXPECT_LE(bitmapFileDataLength(fileHeader("BM", 0).c_str()), 0);
    EXPECT_EQ(bitmapFileDataLength(fileHeader("bm", 70).c_str()), -1);
    EXPECT_EQ(bitmapFileDataLength(fileHeader("MB", 70).c_str()), -1);

    PackedDib dib;
    ASSERT_TRUE(dib.loadFromMemory(
        dibBytes(shape(40, 2, 2, 8, 0, 3), patternBytes(12), patternBytes(8) + "tail")));
    const String header = bitmapFileHeader(dib);
    std::string expected = "BM";
    putLittleEndian(expected, uint32_t(dib.data().length() + 14), 4);
    putLittleEndian(expected, 0, 4);
    putLittleEndian(expected, 52 + 14, 4);
    EXPECT_EQ(header, String(expected.data(), int(expected.size())));
    EXPECT_EQ(bitmapFileDataLength(header.c_str()), dib.data().length());
}

} // namespace
