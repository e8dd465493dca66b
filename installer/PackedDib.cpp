#include "installer/PackedDib.h"

#include "core/ByteBuffer.h"

#include <utility>

namespace {

constexpr int32_t kCoreHeaderSize = 12;
constexpr int32_t kInfoHeaderSize = 40;
// Three 32-bit colour masks follow an info header that asks for bit fields.
constexpr int32_t kInfoHeaderWithMasksSize = 52;

enum Compression : uint32_t {
    CompressionNone = 0,
    CompressionRle8 = 1,
    CompressionRle4 = 2,
    CompressionBitFields = 3,
};

// What the header says, before anything is checked against the bytes.
struct DibHeader {
    int64_t width = 0;
    int64_t height = 0;
    int bitsPerPixel = 0;
    uint32_t compression = CompressionNone;
    uint32_t imageSize = 0;
    int64_t colorEntries = 0;
    int entrySize = 0;
    int64_t headerBytes = 0;
};

uint32_t u32At(const String& bytes, int32_t offset) {
    return static_cast<uint32_t>(getInt32At(bytes, offset));
}

bool readCoreHeader(const String& bytes, DibHeader& h) {
    h.width = getInt16At(bytes, 4);
    h.height = getInt16At(bytes, 6);
    h.bitsPerPixel = getInt16At(bytes, 10);
    h.colorEntries = h.bitsPerPixel < 16 ? int64_t(1) << h.bitsPerPixel : 0;
    h.entrySize = 3;
    h.headerBytes = kCoreHeaderSize;
    return h.bitsPerPixel == 1 || h.bitsPerPixel == 4 || h.bitsPerPixel == 8 ||
           h.bitsPerPixel == 24;
}

bool readInfoHeader(const String& bytes, DibHeader& h) {
    if (bytes.length() < kInfoHeaderSize)
        return false;
    h.width = getInt32At(bytes, 4);
    h.height = getInt32At(bytes, 8);
    h.bitsPerPixel = getInt16At(bytes, 14);
    h.compression = u32At(bytes, 16);
    h.imageSize = u32At(bytes, 20);
    const uint32_t used = u32At(bytes, 32);
    if (used != 0)
        h.colorEntries = used;
    else
        h.colorEntries = h.bitsPerPixel < 16 ? int64_t(1) << h.bitsPerPixel : 0;
    h.entrySize = 4;
    h.headerBytes =
        h.compression == CompressionBitFields ? kInfoHeaderWithMasksSize : kInfoHeaderSize;
    switch (h.compression) {
    case CompressionNone:
        return h.bitsPerPixel == 1 || h.bitsPerPixel == 4 || h.bitsPerPixel == 8 ||
               h.bitsPerPixel == 16 || h.bitsPerPixel == 24 || h.bitsPerPixel == 32;
    // Run-length bitmaps are stored bottom-up only.
    case CompressionRle8:
        return h.bitsPerPixel == 8 && h.height > 0;
    case CompressionRle4:
        return h.bitsPerPixel == 4 && h.height > 0;
    case CompressionBitFields:
        return h.bitsPerPixel == 16 || h.bitsPerPixel == 32;
    default:
        return false;
    }
}

// The bytes the system reads for the pixels: whole rows padded to 32 bits,
// or for run-length data the image size the header declares (the system's
// decoder stops there).
bool pixelsFit(const DibHeader& h, int64_t available) {
    if (h.compression == CompressionRle8 || h.compression == CompressionRle4)
        return h.imageSize > 0 && h.imageSize <= available;
    const int64_t stride = (h.width * h.bitsPerPixel + 31) / 32 * 4;
    const int64_t rows = h.height < 0 ? -h.height : h.height;
    return rows <= available / stride;
}

} // namespace

bool PackedDib::loadFromMemory(String bytes) {
    clear();
    if (bytes.length() <= kCoreHeaderSize)
        return false;
    DibHeader h;
    const uint32_t headerSize = u32At(bytes, 0);
    if (headerSize == kCoreHeaderSize) {
        if (!readCoreHeader(bytes, h))
            return false;
    } else if (headerSize == kInfoHeaderSize) {
        if (!readInfoHeader(bytes, h))
            return false;
    } else {
        return false;
    }
    if (h.width <= 0 || h.height == 0)
        return false;
    const int64_t bitsOffset = h.headerBytes + h.colorEntries * h.entrySize;
    if (bitsOffset > bytes.length() || !pixelsFit(h, bytes.length() - bitsOffset))
        return false;

    data_ = std::move(bytes);
    width_ = int32_t(h.width);
    height_ = int32_t(h.height);
    bitsPerPixel_ = h.bitsPerPixel;
    colorEntries_ = int32_t(h.colorEntries);
    entrySize_ = h.entrySize;
    bitsOffset_ = int32_t(bitsOffset);
    return true;
}

int64_t bitmapFileDataLength(const char* header) {
    if (header[0] != 'B' || header[1] != 'M')
        return -1;
    const auto byte = [header](int i) { return uint32_t(static_cast<unsigned char>(header[i])); };
    const uint32_t fileSize = byte(2) | byte(3) << 8 | byte(4) << 16 | byte(5) << 24;
    return int64_t(fileSize) - kBitmapFileHeaderSize;
}

String bitmapFileHeader(const PackedDib& dib) {
    String header;
    header.setLength(kBitmapFileHeaderSize);
    char* out = header.writablePointer(0);
    for (int i = 0; i < kBitmapFileHeaderSize; ++i)
        out[i] = '\0';
    out[0] = 'B';
    out[1] = 'M';
    setInt32At(header, 2, uint32_t(dib.data().length()) + kBitmapFileHeaderSize);
    setInt32At(header, 10, uint32_t(dib.bitsOffset()) + kBitmapFileHeaderSize);
    return header;
}
