#include "FileScratch.h"

#include "installer/win32/PackedDibFile.h"
#include "tests/unit/DibBytes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using PackedDibFiles = FileScratch;

std::string bytesOf(const String& s) {
    return std::string(s.c_str(), size_t(s.length()));
}

std::string fileHeader(uint32_t fileSize, uint32_t bitsOffset, const char* magic = "BM") {
    std::string header(magic, 2);
    putLittleEndian(header, fileSize, 4);
    putLittleEndian(header, 0, 4);
    putLittleEndian(header, bitsOffset, 4);
    return header;
}

// 2 x 2, 8 bits, three colours: the pixels start 52 bytes in.
String sampleBitmap() {
    DibShape shape;
    shape.bitsPerPixel = 8;
    shape.colorsUsed = 3;
    return dibBytes(shape, patternBytes(12), patternBytes(8));
}

TEST_F(PackedDibFiles, SavedFileLoadsBackTheSameBitmap) {
    PackedDib dib;
    ASSERT_TRUE(dib.loadFromMemory(sampleBitmap()));
    ASSERT_TRUE(savePackedDibFile(dib, at("Installer Background.BMP")));
    const std::string data = bytesOf(dib.data());
    EXPECT_EQ(contentOf("Installer Background.BMP"),
              fileHeader(uint32_t(data.size() + 14), 52 + 14) + data);

    PackedDib loaded;
    ASSERT_TRUE(loadPackedDibFile(at("Installer Background.BMP"), loaded));
    EXPECT_EQ(loaded.data(), dib.data());
    EXPECT_EQ(loaded.bitsOffset(), 52);
    // "bmp" is added to a name without one.
    ASSERT_TRUE(loadPackedDibFile(at("Installer Background"), loaded));
    EXPECT_EQ(loaded.data(), dib.data());
}

TEST_F(PackedDibFiles, FileHeaderDecidesWhatIsRead) {
    const std::string data = bytesOf(sampleBitmap());
    const uint32_t whole = uint32_t(data.size() + 14);
    struct Case {
        const char* name;
        std::string content;
        bool loads;
    } cases[] = {
        {"bytes beyond the announced size are not part of it",
         fileHeader(whole, 66) + data + "trailing", true},
        {"not BM", fileHeader(whole, 66, "BA") + data, false},
        {"no header", data, false},
        {"a header alone", fileHeader(14, 66), false},
        {"announces one byte more than the file holds", fileHeader(whole + 1, 66) + data, false},
        {"announces 4 GB", fileHeader(0xFFFFFFFF, 66) + data, false},
        {"announces less than its own header", fileHeader(10, 66) + data, false},
        {"announced bytes are no bitmap", fileHeader(whole - 1, 66) + data, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        makeFile("picture.bmp", c.content);
        PackedDib dib;
        ASSERT_TRUE(dib.loadFromMemory(sampleBitmap()));
        EXPECT_EQ(loadPackedDibFile(at("picture.bmp"), dib), c.loads);
        EXPECT_EQ(dib.isEmpty(), !c.loads);
        if (c.loads) {
            EXPECT_EQ(bytesOf(dib.data()), data);
        }
    }
}

TEST_F(PackedDibFiles, NothingToLoadOrSave) {
    PackedDib dib;
    EXPECT_FALSE(loadPackedDibFile(at("missing.bmp"), dib));
    EXPECT_TRUE(dib.isEmpty());
    EXPECT_FALSE(savePackedDibFile(dib, at("empty.bmp")));
    EXPECT_FALSE(exists("empty.bmp"));
    ASSERT_TRUE(dib.loadFromMemory(sampleBitmap()));
    EXPECT_FALSE(savePackedDibFile(dib, at("no such folder\\picture.bmp")));
}

} // namespace
