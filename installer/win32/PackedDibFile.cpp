#include "installer/win32/PackedDibFile.h"

#include "core/Path.h"
#include "platform/File.h"
#include "platform/FileHelpers.h"

#include <utility>

bool loadPackedDibFile(const String& path, PackedDib& dib) {
    dib.clear();
    String name = path;
    addExtension(name, "bmp");
    File file;
    if (file.open(name.c_str(), OpenExisting | NoWrite | ShareRead) != FileOpened)
        return false;
    char header[kBitmapFileHeaderSize];
    if (!file.readBlock(header, kBitmapFileHeaderSize))
        return false;
    // The size comes from the file: it is believed only as far as the file goes.
    const int64_t length = bitmapFileDataLength(header);
    if (length <= 0 || length > int64_t(file.size()) - kBitmapFileHeaderSize)
        return false;
    String bytes;
    if (!bytes.setLengthNoFail(int(length)) ||
        !file.readBlock(bytes.writablePointer(0), int(length)))
        return false;
    return dib.loadFromMemory(std::move(bytes));
}

bool savePackedDibFile(const PackedDib& dib, const String& path) {
    if (dib.isEmpty())
        return false;
    return writeFile(path, bitmapFileHeader(dib) + dib.data());
}

void drawPackedDib(HDC dc, const PackedDib& dib, int left, int top, int width, int height) {
    if (dib.isEmpty())
        return;
    StretchDIBits(dc, left, top, width, height, 0, 0, dib.width(), dib.rowCount(), dib.pixelBits(),
                  reinterpret_cast<const BITMAPINFO*>(dib.data().c_str()), DIB_RGB_COLORS, SRCCOPY);
}
