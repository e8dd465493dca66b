#pragma once
// A memory device context over a 32-bit top-down DIB section of a known size,
// so that what a painter draws can be read back pixel by pixel.

#include <windows.h>

#include <cstdint>

class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height) {
        dc_ = CreateCompatibleDC(nullptr);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        pixels_ = static_cast<const uint32_t*>(bits);
        previous_ = SelectObject(dc_, bitmap_);
    }
    ~Canvas() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    bool valid() const { return dc_ && pixels_; }
    HDC dc() const { return dc_; }
    RECT rect() const { return RECT{0, 0, width_, height_}; }
    int width() const { return width_; }
    int height() const { return height_; }

    void fill(COLORREF color) {
        HBRUSH brush = CreateSolidBrush(color);
        const RECT all = rect();
        FillRect(dc_, &all, brush);
        DeleteObject(brush);
    }

    // As a COLORREF: 0x00BBGGRR.
    COLORREF pixel(int x, int y) const {
        GdiFlush();
        return at(x, y);
    }

    // The smallest rectangle (right and bottom exclusive) holding every pixel
    // within `rows` for which `match` holds; empty when there is none.
    template <class Match> RECT boxOf(Match match, int firstRow = 0, int endRow = -1) const {
        GdiFlush();
        if (endRow < 0 || endRow > height_)
            endRow = height_;
        RECT box = {width_, height_, 0, 0};
        for (int y = firstRow; y < endRow; ++y)
            for (int x = 0; x < width_; ++x)
                if (match(at(x, y))) {
                    box.left = x < box.left ? x : box.left;
                    box.top = y < box.top ? y : box.top;
                    box.right = x + 1 > box.right ? x + 1 : box.right;
                    box.bottom = y + 1 > box.bottom ? y + 1 : box.bottom;
                }
        if (box.right == 0)
            box = RECT{0, 0, 0, 0};
        return box;
    }

    int count(COLORREF color) const {
        GdiFlush();
        int n = 0;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                n += at(x, y) == color;
        return n;
    }

private:
    COLORREF at(int x, int y) const {
        const uint32_t v = pixels_[y * width_ + x];
        return RGB(v >> 16 & 0xFF, v >> 8 & 0xFF, v & 0xFF);
    }

    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    const uint32_t* pixels_ = nullptr;
};

inline bool isEmptyBox(const RECT& box) {
    return box.right <= box.left || box.bottom <= box.top;
}
