#include "keld/BitmapFile.h"

#include "core/String.h"
#include "installer/PackedDib.h"

#include <cstdint>

namespace keld {

namespace {

constexpr size_t kFileHeader = 14;
constexpr uint32_t kCoreHeader = 12;
constexpr uint32_t kInfoHeader = 40;
constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;

uint32_t u16(const std::string& b, size_t at) {
    return uint32_t(static_cast<unsigned char>(b[at])) |
           uint32_t(static_cast<unsigned char>(b[at + 1])) << 8;
}

uint32_t u32(const std::string& b, size_t at) {
    return u16(b, at) | u16(b, at + 2) << 16;
}

void put16(std::string& b, uint32_t v) {
    b += char(v & 0xFF);
    b += char((v >> 8) & 0xFF);
}

void put32(std::string& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

// The 0..255 value a mask selects from a pixel.
uint32_t channel(uint32_t pixel, uint32_t mask) {
    if (mask == 0)
        return 0;
    int shift = 0;
    while (!((mask >> shift) & 1))
        ++shift;
    const uint32_t max = mask >> shift;
    return uint32_t((uint64_t((pixel & mask) >> shift) * 255 + max / 2) / max);
}

std::string infoHeader(int32_t width, int32_t height, uint32_t bits, uint32_t colours,
                       uint32_t imageSize) {
    std::string h;
    put32(h, kInfoHeader);
    put32(h, uint32_t(width));
    put32(h, uint32_t(height));
    put16(h, 1);
    put16(h, bits);
    put32(h, kRgb);
    put32(h, imageSize);
    put32(h, 2835); // 72 dots per inch
    put32(h, 2835);
    put32(h, colours);
    put32(h, 0);
    return h;
}

} // namespace

namespace {

bool convert(const std::string& bmp, std::string& packed, std::string& error) {
    if (bmp.size() >= 8 && bmp.compare(0, 8, "\x89PNG\r\n\x1A\n") == 0) {
        error = "is a PNG picture; the installer draws bitmaps: save it as a .bmp file";
        return false;
    }
    if (bmp.size() <= kFileHeader + 4 || bmp[0] != 'B' || bmp[1] != 'M') {
        error = "is not a .bmp file";
        return false;
    }
    const std::string dib = bmp.substr(kFileHeader);
    const uint32_t header = u32(dib, 0);
    if (header == kCoreHeader) {
        packed = dib;
        return true;
    }
    if (header < kInfoHeader || header > dib.size()) {
        error =
            "has a bitmap header of " + std::to_string(header) + " bytes, which keld does not know";
        return false;
    }
    const auto width = int32_t(u32(dib, 4));
    const auto height = int32_t(u32(dib, 8));
    const uint32_t bits = u16(dib, 14);
    const uint32_t compression = u32(dib, 16);
    const uint32_t used = u32(dib, 32);
    const bool topDown = height < 0;
    const uint32_t rows = topDown ? uint32_t(-int64_t(height)) : uint32_t(height);
    if (width <= 0 || rows == 0 || width > 0x8000 || rows > 0x8000) {
        error = "has a size of " + std::to_string(width) + " x " + std::to_string(height) +
                " pixels, which the installer cannot draw";
        return false;
    }
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
        error = "has " + std::to_string(bits) + " bits a pixel, which keld cannot convert";
        return false;
    }
    const bool masks = compression == kBitFields || compression == kAlphaBitFields;
    if (compression != kRgb && !(masks && (bits == 16 || bits == 32))) {
        if (header == kInfoHeader && !topDown &&
            ((compression == kRle8 && bits == 8) || (compression == kRle4 && bits == 4))) {
            packed = dib; // run-length bitmaps the installer draws as they are
            return true;
        }
        error =
            "is compressed (compression " + std::to_string(compression) + "); save it uncompressed";
        return false;
    }
    if (header == kInfoHeader && !topDown && compression == kRgb) {
        packed = dib;
        return true;
    }

    // The masks: after a 40-byte header, or inside a longer one.
    uint32_t red = bits == 16 ? 0x7C00 : 0xFF0000, green = bits == 16 ? 0x03E0 : 0xFF00,
             blue = bits == 16 ? 0x001F : 0xFF;
    size_t tableAt = header;
    if (masks) {
        if (header == kInfoHeader)
            tableAt += compression == kAlphaBitFields ? 16 : 12;
        if (kInfoHeader + 12 > dib.size()) {
            error = "ends inside its colour masks";
            return false;
        }
        red = u32(dib, kInfoHeader), green = u32(dib, kInfoHeader + 4),
        blue = u32(dib, kInfoHeader + 8);
    }
    const uint32_t colours = bits <= 8 ? (used ? used : 1u << bits) : 0;
    const uint64_t stride = (uint64_t(width) * bits + 31) / 32 * 4;
    // Where the file header says, or right after the colours when it says nothing.
    const uint64_t pixelsAt =
        u32(bmp, 10) >= kFileHeader ? u32(bmp, 10) - kFileHeader : tableAt + uint64_t(colours) * 4;
    if ((bits <= 8 && colours > (1u << bits)) || tableAt + uint64_t(colours) * 4 > dib.size() ||
        pixelsAt < tableAt + uint64_t(colours) * 4 || pixelsAt + stride * rows > dib.size()) {
        error = "ends before its pixels do (a damaged file)";
        return false;
    }

    const uint32_t outBits = bits <= 8 ? bits : 24;
    const uint64_t outStride = (uint64_t(width) * outBits + 31) / 32 * 4;
    packed = infoHeader(width, int32_t(rows), outBits, colours, uint32_t(outStride * rows));
    packed += dib.substr(tableAt, size_t(colours) * 4);
    for (uint32_t row = 0; row < rows; ++row) {
        // Bottom-up: the last row of the picture first.
        const uint32_t from = topDown ? rows - 1 - row : row;
        const size_t at = size_t(pixelsAt + stride * from);
        if (bits <= 8) {
            packed += dib.substr(at, size_t(stride));
            continue;
        }
        std::string line;
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t pixel =
                bits == 16 ? u16(dib, at + 2 * size_t(x))
                : bits == 24
                    ? u16(dib, at + 3 * size_t(x)) |
                          uint32_t(static_cast<unsigned char>(dib[at + 3 * size_t(x) + 2])) << 16
                    : u32(dib, at + 4 * size_t(x));
            line += char(channel(pixel, blue));
            line += char(channel(pixel, green));
            line += char(channel(pixel, red));
        }
        line.resize(size_t(outStride), '\0');
        packed += line;
    }
    return true;
}

} // namespace

bool installerBitmap(const std::string& bmp, std::string& packed, std::string& error) {
    packed.clear();
    if (!convert(bmp, packed, error)) {
        packed.clear();
        return false;
    }
    // The installer's own reader has the last word: what it would take for no
    // picture, or read beyond, is refused here.
    PackedDib dib;
    if (!dib.loadFromMemory(String(packed.data(), int(packed.size()))) || dib.isEmpty()) {
        packed.clear();
        error = "is a bitmap the installer cannot draw (its header and its pixels disagree)";
        return false;
    }
    return true;
}

} // namespace keld
