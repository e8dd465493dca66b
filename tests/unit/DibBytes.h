#pragma once
// Bitmap bytes for the tests, field by field: an info header of 12 or 40
// bytes, then the colour table (or a bit-field header's three masks) and the
// pixel bytes as given.

#include "core/String.h"

#include <cstdint>
#include <string>

struct DibShape {
    uint32_t headerSize = 40;
    int32_t width = 2;
    int32_t height = 2;
    uint16_t bitsPerPixel = 24;
    uint32_t compression = 0;
    uint32_t imageSize = 0;
    uint32_t colorsUsed = 0;
};

inline void putLittleEndian(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += char(value >> (8 * i) & 0xFF);
}

// The bytes of one row of pixels, padded to 32 bits.
inline int dibRowBytes(int width, int bitsPerPixel) {
    return (width * bitsPerPixel + 31) / 32 * 4;
}

inline std::string dibHeader(const DibShape& shape) {
    std::string out;
    putLittleEndian(out, shape.headerSize, 4);
    if (shape.headerSize == 12) {
        putLittleEndian(out, uint32_t(shape.width), 2);
        putLittleEndian(out, uint32_t(shape.height), 2);
        putLittleEndian(out, 1, 2);
        putLittleEndian(out, shape.bitsPerPixel, 2);
        return out;
    }
    putLittleEndian(out, uint32_t(shape.width), 4);
    putLittleEndian(out, uint32_t(shape.height), 4);
    putLittleEndian(out, 1, 2);
    putLittleEndian(out, shape.bitsPerPixel, 2);
    putLittleEndian(out, shape.compression, 4);
    putLittleEndian(out, shape.imageSize, 4);
    putLittleEndian(out, 2835, 4); // 72 dpi
    putLittleEndian(out, 2835, 4);
    putLittleEndian(out, shape.colorsUsed, 4);
    putLittleEndian(out, 0, 4);
    return out;
}

inline String dibBytes(const DibShape& shape, const std::string& table, const std::string& pixels) {
    const std::string bytes = dibHeader(shape) + table + pixels;
    return String(bytes.data(), int(bytes.size()));
}

// A table or pixel area of `count` bytes, 0x00, 0x01, ... 0xFF, 0x00, ...
inline std::string patternBytes(int count) {
    std::string out;
    for (int i = 0; i < count; ++i)
        out += char(i & 0xFF);
    return out;
}
