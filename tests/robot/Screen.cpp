#include "Dialog.h"

#include <cstdint>
#include <vector>

namespace robot {

bool saveScreen(const std::wstring& file) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    if (width <= 0 || height <= 0)
        return false;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool saved = false;
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
        GdiFlush();
        SelectObject(memory, old);
        const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
        const DWORD imageSize = stride * static_cast<DWORD>(height);
        BITMAPFILEHEADER header = {};
        header.bfType = 0x4D42; // "BM"
        header.bfOffBits = sizeof header + sizeof info.bmiHeader;
        header.bfSize = header.bfOffBits + imageSize;
        info.bmiHeader.biSizeImage = imageSize;
        HANDLE out = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        if (out != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            saved = WriteFile(out, &header, sizeof header, &written, nullptr) &&
                    WriteFile(out, &info.bmiHeader, sizeof info.bmiHeader, &written, nullptr) &&
                    WriteFile(out, bits, imageSize, &written, nullptr) && written == imageSize;
            CloseHandle(out);
        }
    }
    if (bitmap)
        DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return saved;
}

} // namespace robot
