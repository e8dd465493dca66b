#include "keld/BitmapFile.h"
#include "installer/PackedDib.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

namespace {

void put16(std::string& b, uint32_t v) {
    b += char(v & 0xFF);
    b += char((v >> 8) & 0xFF);
}

void put32(std::string& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

struct Layout {
    const char* what;
    uint32_t header;      // 40, 108 or 124
    uint32_t bits;        // 8, 16, 24 or 32
    uint32_t compression; // 0 or 3
    bool topDown;
};

// A 3 x 2 picture: the top row red, green, blue; the bottom row white, black,
// grey; as an image tool writes it in `layout`.
std::string bmpFile(const Layout& layout) {
    const uint32_t red = 0xFF0000, green = 0x00FF00, blue = 0x0000FF;
    const uint32_t picture[2][3] = {{red, green, blue}, {0xFFFFFF, 0x000000, 0x808080}};
    std::string palette;
    if (layout.bits == 8)
        for (uint32_t colour : {red, green, blue, 0xFFFFFFu, 0x000000u, 0x808080u})
            put32(palette, colour);
    const uint32_t masks[3] = {layout.bits == 16 ? 0xF800u : 0xFF0000u,
                               layout.bits == 16 ? 0x07E0u : 0x00FF00u,
                               layout.bits == 16 ? 0x001Fu : 0x0000FFu};
    std::string header;
    put32(header, layout.header);
    put32(header, 3);
    put32(header, layout.topDown ? uint32_t(-2) : 2u);
    put16(header, 1);
    put16(header, layout.bits);
    put32(header, layout.compression);
    put32(header, 0);
    put32(header, 2835);
    put32(header, 2835);
    put32(header, layout.bits == 8 ? 6 : 0);
    put32(header, 0);
    std::string extraMasks;
    if (layout.header > 40) {
        for (uint32_t mask : masks)
            put32(header, mask);
        put32(header, 0);          // alpha
        put32(header, 0x73524742); // "sRGB"
        header.resize(layout.header, '\0');
    } else if (layout.compression == 3) {
        for (uint32_t mask : masks)
            put32(extraMasks, mask);
    }
    std::string pixels;
    for (int i = 0; i < 2; ++i) {
        const int y = layout.topDown ? i : 1 - i;
        std::string row;
        for (int x = 0; x < 3; ++x) {
            const uint32_t c = picture[y][x];
            const uint32_t r = c >> 16, g = (c >> 8) & 0xFF, b = c & 0xFF;
            if (layout.bits == 8)
                row += char(y * 3 + x);
            else if (layout.bits == 16)
                put16(row, (r >> 3) << 11 | (g >> 2) << 5 | b >> 3);
            else if (layout.bits == 24)
                row += std::string{char(b), char(g), char(r)};
            else
                put32(row, c);
        }
        row.resize((row.size() + 3) / 4 * 4, '\0');
        pixels += row;
    }
    const std::string dib = header + extraMasks + palette;
    std::string file = "BM";
    put32(file, uint32_t(14 + dib.size() + pixels.size()));
    put32(file, 0);
    put32(file, uint32_t(14 + dib.size()));
    return file + dib + pixels;
}

// The colour (0xRRGGBB) at x, y from the top of a bottom-up packed bitmap.
uint32_t colourAt(const std::string& packed, const PackedDib& dib, int x, int y) {
    const int bits = dib.bitsPerPixel();
    const size_t stride = (size_t(dib.width()) * size_t(bits) + 31) / 32 * 4;
    const size_t row = size_t(dib.bitsOffset()) + stride * size_t(dib.height() - 1 - y);
    const auto byte = [&packed](size_t at) {
        return uint32_t(static_cast<unsigned char>(packed[at]));
    };
    if (bits == 8) {
        const size_t entry = 40 + 4 * byte(row + size_t(x));
        return byte(entry + 2) << 16 | byte(entry + 1) << 8 | byte(entry);
    }
    const size_t at = row + 3 * size_t(x);
    return byte(at + 2) << 16 | byte(at + 1) << 8 | byte(at);
}

TEST(BitmapFileTest, EveryCommonLayoutBecomesABitmapTheInstallerDraws) {
    const Layout layouts[] = {
        {"40-byte header, 24 bits", 40, 24, 0, false},
        {"40-byte header, top-down", 40, 24, 0, true},
        {"40-byte header, 32-bit masks", 40, 32, 3, false},
        {"108-byte header, 24 bits", 108, 24, 0, false},
        {"124-byte header, 32-bit masks, top-down", 124, 32, 3, true},
        {"124-byte header, 16-bit 565", 124, 16, 3, false},
        {"124-byte header, 8-bit palette", 124, 8, 0, false},
        {"108-byte header, 32 bits", 108, 32, 0, true},
    };
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(layout.what);
        std::string packed, error;
        ASSERT_TRUE(keld::installerBitmap(bmpFile(layout), packed, error)) << error;
        PackedDib dib;
        ASSERT_TRUE(dib.loadFromMemory(String(packed.data(), int(packed.size()))));
        ASSERT_FALSE(dib.isEmpty());
        EXPECT_EQ(dib.width(), 3);
        EXPECT_EQ(dib.height(), 2); // bottom-up
        ASSERT_GE(packed.size(), size_t(dib.bitsOffset()) + 8);
        const uint32_t expected[2][3] = {{0xFF0000, 0x00FF00, 0x0000FF},
                                         {0xFFFFFF, 0x000000, 0x808080}};
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x) {
                const uint32_t got = colourAt(packed, dib, x, y);
                // 565 keeps 5 or 6 bits of each channel.
                const uint32_t tolerance = layout.bits == 16 ? 8 : 0;
                for (int shift : {0, 8, 16}) {
                    const int a = int((got >> shift) & 0xFF),
                              e = int((expected[y][x] >> shift) & 0xFF);
                    EXPECT_LE(uint32_t(std::abs(a - e)), tolerance)
                        << "pixel " << x << "," << y << std::hex << " 0x" << got;
                }
            }
    }
}

TEST(BitmapFileTest, ABitmapTheInstallerAlreadyDrawsKeepsItsBytes) {
    const std::string file = bmpFile({"", 40, 24, 0, false});
    std::string packed, error;
    ASSERT_TRUE(keld::installerBitmap(file, packed, error));
    EXPECT_EQ(packed, file.substr(14));
}

TEST(BitmapFileTest, WhatCannotBeConvertedIsRefusedWithTheReason) {
    std::string rle = bmpFile({"", 124, 8, 0, false});
    rle[14 + 16] = 1; // run-length compression behind a long header
    std::string jpeg = bmpFile({"", 40, 24, 0, false});
    jpeg[14 + 16] = 4;
    std::string truncated = bmpFile({"", 124, 24, 0, false});
    truncated.resize(truncated.size() - 5);
    std::string twoBits = bmpFile({"", 108, 24, 0, false});
    twoBits[14 + 14] = 2;
    std::string v3 = bmpFile({"", 108, 24, 0, false});
    v3[14] = 30; // a 30-byte header, which no Windows version reads
    std::string wide = bmpFile({"", 108, 24, 0, false});
    wide[14 + 7] = 0x7F; // 2 billion pixels across
    const struct {
        const char* what;
        std::string file;
        const char* reason;
    } cases[] = {
        {"PNG", std::string("\x89PNG\r\n\x1A\n", 8) + std::string(40, 'x'), "is a PNG picture"},
        {"text", "not a picture at all", "is not a .bmp file"},
        {"run-length behind a long header", rle, "is compressed (compression 1)"},
        {"JPEG inside", jpeg, "is compressed (compression 4)"},
        {"pixels cut short", truncated, "ends before its pixels do"},
        {"two bits a pixel", twoBits, "has 2 bits a pixel"},
        {"unknown header", v3, "has a bitmap header of"},
        {"too wide", wide, "which the installer cannot draw"},
        {"core header without a size",
         "BM" + std::string(12, '\0') + std::string("\x0C\0\0\0", 4) + std::string(12, '\0'),
         "is a bitmap the installer cannot draw"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string packed = "left", error;
        EXPECT_FALSE(keld::installerBitmap(c.file, packed, error));
        EXPECT_EQ(packed, "");
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
}

} // namespace
