#include "installer/BitmapPlacement.h"

namespace {

// x / 2 rounded down, also for negative x.
int64_t halfDown(int64_t x) {
    return x >= 0 ? x / 2 : -((1 - x) / 2);
}

// value × percent / 100, halves away from zero.
int64_t percentOf(int64_t value, int64_t percent) {
    const int64_t product = value * percent;
    return product >= 0 ? (product + 50) / 100 : (product - 50) / 100;
}

// The bitmap as large as the area allows with its proportions kept, centred
// across the side that has room to spare. Comparing the exact ratios keeps it
// inside the area also when both sides would take the same whole number of
// bitmaps (a bitmap larger than the area in both directions, for one).
void fit(PixelArea& area, int64_t width, int64_t height) {
    const int64_t a = area.width;
    const int64_t b = area.height;
    if (a <= 0 || b <= 0 || width <= 0 || height <= 0)
        return;
    if (a * height < b * width) {
        const int64_t fitted = a * height / width;
        const int64_t bottom = int64_t(area.top) + b - 1;
        area.top = int(halfDown(bottom + area.top - fitted + 1));
        area.height = int(fitted);
    } else {
        const int64_t fitted = b * width / height;
        const int64_t right = int64_t(area.left) + a - 1;
        area.left = int(halfDown(right + area.left - fitted + 1));
        area.width = int(fitted);
    }
}

void zoom(PixelArea& area, int64_t width, int64_t height) {
    if (area.width <= 0 || area.height <= 0 || width <= 0 || height <= 0)
        return;
    const int64_t across = area.width / width;
    const int64_t down = area.height / height;
    const int64_t times = across < down ? across : down;
    if (times == 0) {
        fit(area, width, height);
        return;
    }
    const int64_t zoomedWidth = width * times;
    const int64_t zoomedHeight = height * times;
    const int64_t right = int64_t(area.left) + area.width - 1;
    const int64_t bottom = int64_t(area.top) + area.height - 1;
    area.left = int(halfDown(right + area.left - zoomedWidth + 1));
    area.top = int(halfDown(bottom + area.top - zoomedHeight + 1));
    area.width = int(zoomedWidth);
    area.height = int(zoomedHeight);
}

} // namespace

PixelArea backgroundBitmapArea(int left, int top, int right, int bottom, int32_t bitmapSize,
                               int stretchMode, int32_t bitmapWidth, int32_t bitmapHeight) {
    const int64_t percent = bitmapSize > 100 ? 100 : bitmapSize;
    const int64_t width = percentOf(int64_t(right) - left + 1, percent);
    const int64_t height = percentOf(int64_t(bottom) - top + 1, percent);
    PixelArea area;
    area.left = int((int64_t(right) + left - width) / 2);
    area.top = int((int64_t(bottom) + top - height) / 2);
    area.width = int(width);
    area.height = int(height);
    if (stretchMode == FitToArea)
        fit(area, bitmapWidth, bitmapHeight);
    else if (stretchMode == ZoomInArea)
        zoom(area, bitmapWidth, bitmapHeight);
    return area;
}
