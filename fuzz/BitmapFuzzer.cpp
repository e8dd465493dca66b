// The background picture's parser against any bytes, as the archive or a
// .bmp file may hold them. It must never crash, and whatever it accepts must
// be safe to hand to the system's drawing: the bytes the system reads for the
// header, the colour table and the pixels, worked out here from the header's
// own fields, all lie within the data. Beyond that:
// - bytes that start with a bitmap file header load the way the file loader
//   reads them, and the header written for saving announces the same bytes;
// - the picture's place in a window derived from the input stays within the
//   area it is given when it is fitted or zoomed.

#include "core/String.h"
#include "installer/BitmapPlacement.h"
#include "installer/PackedDib.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

uint32_t u32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t u16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}

void require(bool condition) {
    if (!condition)
        std::abort();
}

// What the system reads of an accepted bitmap, worked out from the raw bytes:
// the header with the colour table (or masks) it takes, and the pixel bytes
// it takes from where the pixels start.
struct SystemReads {
    int64_t headerAndTable = 0;
    int64_t pixels = 0;
};

SystemReads systemReads(const uint8_t* data, int64_t size) {
    SystemReads reads;
    const uint32_t headerSize = u32(data);
    int64_t width, height, bits;
    uint32_t compression = 0, imageSize = 0;
    if (headerSize == 12) {
        width = u16(data + 4);
        height = u16(data + 6);
        bits = u16(data + 10);
        reads.headerAndTable = 12 + (bits <= 8 ? (int64_t(1) << bits) * 3 : 0);
    } else {
        require(headerSize == 40 && size >= 40);
        width = int32_t(u32(data + 4));
        height = int32_t(u32(data + 8));
        bits = u16(data + 14);
        compression = u32(data + 16);
        imageSize = u32(data + 20);
        const int64_t used = u32(data + 32);
        const int64_t full = bits <= 8 ? int64_t(1) << bits : 0;
        const int64_t entries = used != 0 && used < full ? used : full;
        reads.headerAndTable = 40 + (compression == 3 ? 12 : 0) + entries * 4;
    }
    if (compression == 1 || compression == 2) {
        reads.pixels = imageSize;
        return reads;
    }
    require(width > 0 && height != 0 && bits > 0);
    const int64_t rows = height < 0 ? -height : height;
    const int64_t stride = (width * bits + 31) / 32 * 4;
    require(rows <= (int64_t(1) << 31) / stride);
    reads.pixels = rows * stride;
    return reads;
}

void checkAccepted(const PackedDib& dib, const uint8_t* data, int64_t size) {
    require(dib.data().length() == size);
    require(dib.width() > 0 && dib.rowCount() > 0);
    const SystemReads reads = systemReads(data, size);
    require(reads.headerAndTable <= dib.bitsOffset());
    require(dib.bitsOffset() <= size && reads.pixels <= size - dib.bitsOffset());
}

void checkPlacement(const PackedDib& dib, const uint8_t* data, size_t size) {
    // The last bytes choose the window and the settings.
    const uint8_t* tail = data + size - 6;
    const int right = u16(tail) % 4096;
    const int bottom = u16(tail + 2) % 4096;
    const int32_t percent = tail[4];
    const int mode = tail[5] % 4;
    const PixelArea scaled =
        backgroundBitmapArea(0, 0, right, bottom, percent, StretchToArea, 1, 1);
    const PixelArea placed =
        backgroundBitmapArea(0, 0, right, bottom, percent, mode, dib.width(), dib.rowCount());
    if (mode != FitToArea && mode != ZoomInArea)
        return;
    require(placed.width >= 0 && placed.height >= 0);
    if (scaled.width > 0 && scaled.height > 0) {
        require(placed.left >= scaled.left && placed.top >= scaled.top);
        require(int64_t(placed.left) + placed.width <= int64_t(scaled.left) + scaled.width);
        require(int64_t(placed.top) + placed.height <= int64_t(scaled.top) + scaled.height);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20))
        return 0;
    const String bytes(reinterpret_cast<const char*>(data), int(size));

    PackedDib dib;
    if (dib.loadFromMemory(bytes)) {
        checkAccepted(dib, data, int64_t(size));
        if (size >= 6)
            checkPlacement(dib, data, size);
    } else {
        require(dib.isEmpty() && dib.bitsOffset() == 0);
    }

    if (size >= size_t(kBitmapFileHeaderSize) && bitmapFileDataLength(bytes.c_str()) >= 0) {
        const int64_t length = bitmapFileDataLength(bytes.c_str());
        if (length > 0 && length <= int64_t(size) - kBitmapFileHeaderSize) {
            PackedDib fromFile;
            const uint8_t* fileData = data + kBitmapFileHeaderSize;
            if (fromFile.loadFromMemory(
                    String(reinterpret_cast<const char*>(fileData), int(length)))) {
                checkAccepted(fromFile, fileData, length);
                const String header = bitmapFileHeader(fromFile);
                require(header.length() == kBitmapFileHeaderSize);
                require(bitmapFileDataLength(header.c_str()) == length);
            }
        }
    }
    return 0;
}
