#pragma once
// The background picture: a device-independent bitmap held in memory without
// its file header (info header, colour table and pixel bits in one byte
// string), as the archive carries it and as "Installer Background.BMP" holds
// it behind a 14-byte file header. installer/win32/PackedDibFile.h loads and
// saves the file and draws the bitmap.
//
// The bytes come from the archive or from a file on the target machine, so
// they are treated as hostile: a bitmap is loaded only when everything the
// drawing hands to the system (the info header, the colour table and every
// row of pixels) lies within them. Anything else leaves the bitmap empty,
// and an empty bitmap is simply not drawn.

#include "core/String.h"

#include <cstdint>

// The file the installation leaves in the uninstall directory for the uninstaller.
inline constexpr char kBackgroundBitmapFileName[] = "Installer Background.BMP";

inline constexpr int kBitmapFileHeaderSize = 14;

class PackedDib {
public:
    // Takes the bytes when they hold a bitmap that can be drawn: an info header
    // of 12 (core) or 40 bytes with a known depth and compression, its colour
    // table, and all its pixel bits. False, with the bitmap empty, otherwise.
    bool loadFromMemory(String bytes);
    void clear() { *this = PackedDib(); }
    bool isEmpty() const { return data_.isEmpty(); }

    const String& data() const { return data_; }
    int32_t width() const { return width_; }
    // As stored: negative for rows stored top-down.
    int32_t height() const { return height_; }
    // The number of pixel rows, whichever way they are stored.
    int32_t rowCount() const { return height_ < 0 ? -height_ : height_; }
    int bitsPerPixel() const { return bitsPerPixel_; }
    int32_t colorEntries() const { return colorEntries_; }
    int entrySize() const { return entrySize_; }
    // Where the pixel bits start within data(): the header (52 bytes for a
    // 40-byte header with bit-field masks) and the colour table before them.
    int32_t bitsOffset() const { return bitsOffset_; }
    const char* pixelBits() const { return data_.c_str() + bitsOffset_; }

private:
    String data_;
    int32_t width_ = 0;
    int32_t height_ = 0;
    int bitsPerPixel_ = 0;
    int32_t colorEntries_ = 0;
    int entrySize_ = 0;
    int32_t bitsOffset_ = 0;
};

// The number of bitmap bytes a file header announces (its file size less the
// header itself); -1 unless `header` (kBitmapFileHeaderSize bytes) starts with "BM".
int64_t bitmapFileDataLength(const char* header);

// The file header that goes in front of the bitmap's data in a .bmp file.
String bitmapFileHeader(const PackedDib& dib);
