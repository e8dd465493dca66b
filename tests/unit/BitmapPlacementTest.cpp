#include "installer/BitmapPlacement.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>

// Found by argument lookup, so beside PixelArea.
static std::ostream& operator<<(std::ostream& out, const PixelArea& a) {
    return out << "(" << a.left << ", " << a.top << ", " << a.width << " x " << a.height << ")";
}

static bool operator==(const PixelArea& a, const PixelArea& b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

namespace {

// The client rectangle of a 1280 x 1024 screen, as GetClientRect gives it.
PixelArea screen(int32_t size, int mode, int32_t width, int32_t height) {
    return backgroundBitmapArea(0, 0, 1280, 1024, size, mode, width, height);
}

TEST(BitmapPlacement, AreaIsAShareOfTheClientCentred) {
    struct Case {
        const char* name;
        int left, top, right, bottom;
        int32_t size;
        PixelArea expected;
    } cases[] = {
        // Corners taken inclusive: the full area reaches one pixel past the client.
        {"whole window", 0, 0, 1280, 1024, 100, {0, 0, 1281, 1025}},
        {"half", 0, 0, 1280, 1024, 50, {319, 255, 641, 513}},
        {"a tenth", 0, 0, 1280, 1024, 10, {576, 460, 128, 103}},
        {"halves round away from zero", 0, 0, 2, 2, 50, {0, 0, 2, 2}},
        {"offset client", 100, 50, 299, 149, 50, {149, 74, 100, 50}},
        // Kept within the percentage the settings allow, whatever the registry holds.
        {"more than all", 0, 0, 1280, 1024, 5000, {0, 0, 1281, 1025}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(
            backgroundBitmapArea(c.left, c.top, c.right, c.bottom, c.size, StretchToArea, 64, 32),
            c.expected);
    }
}

TEST(BitmapPlacement, ModesPlaceTheBitmapInTheArea) {
    struct Case {
        const char* name;
        int32_t size;
        int mode;
        int32_t width, height;
        PixelArea expected;
    } cases[] = {
        {"stretch", 100, StretchToArea, 64, 32, {0, 0, 1281, 1025}},
        {"unknown mode stretches", 100, 7, 64, 32, {0, 0, 1281, 1025}},
        {"fit a wide bitmap", 100, FitToArea, 200, 100, {0, 192, 1281, 640}},
        {"fit a tall bitmap", 100, FitToArea, 100, 200, {384, 0, 512, 1025}},
        {"zoom by twelve", 100, ZoomInArea, 100, 50, {40, 212, 1200, 600}},
        {"zoom by one", 100, ZoomInArea, 1000, 1000, {140, 12, 1000, 1000}},
        // Larger than the window: fitted, proportions kept.
        {"zoom falls back to fit", 100, ZoomInArea, 1600, 1200, {0, 32, 1281, 960}},
        {"zoom in half the window", 50, ZoomInArea, 100, 50, {339, 361, 600, 300}},
        {"fit without a bitmap size", 100, FitToArea, 0, 50, {0, 0, 1281, 1025}},
        {"zoom without a bitmap size", 100, ZoomInArea, 50, 0, {0, 0, 1281, 1025}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(screen(c.size, c.mode, c.width, c.height), c.expected);
    }
}

// When both sides hold the same whole number of bitmaps, comparing whole
// numbers alone would size the bitmap by the wrong side and spill it out of
// the area: fitting must keep it inside, proportions kept, for any sizes.
// Inside an area of the given size, one side filling it unless zoomed, and
// proportions kept to within the pixel lost in whole-number division.
bool fitsInside(const PixelArea& a, int areaWidth, int areaHeight, int width, int height,
                bool zoomed) {
    if (a.left < 0 || a.top < 0 || a.left + a.width > areaWidth || a.top + a.height > areaHeight)
        return false;
    if (!zoomed && a.width != areaWidth && a.height != areaHeight)
        return false;
    const int64_t cross = int64_t(a.width) * height - int64_t(a.height) * width;
    return (cross < 0 ? -cross : cross) < int64_t(width) + height;
}

TEST(BitmapPlacement, FittedBitmapStaysInsideItsArea) {
    const int sides[] = {1, 2, 3, 7, 50, 99, 100, 101, 150, 190, 640, 1000, 1281, 1600, 4000};
    for (int areaWidth : sides)
        for (int areaHeight : sides)
            for (int width : sides)
                for (int height : sides)
                    for (int mode : {int(FitToArea), int(ZoomInArea)}) {
                        const PixelArea a = backgroundBitmapArea(
                            0, 0, areaWidth - 1, areaHeight - 1, 100, mode, width, height);
                        if (!fitsInside(a, areaWidth, areaHeight, width, height,
                                        mode == ZoomInArea)) {
                            ADD_FAILURE()
                                << "area " << areaWidth << " x " << areaHeight << ", bitmap "
                                << width << " x " << height << ", mode " << mode << ": " << a;
                            return;
                        }
                    }
}

TEST(BitmapPlacement, TiedWholeNumbersStillFit) {
    // 150 / 100 and 190 / 100 are both 1: the width is the side that limits.
    EXPECT_EQ(backgroundBitmapArea(0, 0, 149, 189, 100, FitToArea, 100, 100),
              (PixelArea{0, 20, 150, 150}));
    // Larger than the area both ways, and wider than it is in proportion.
    EXPECT_EQ(backgroundBitmapArea(0, 0, 99, 99, 100, FitToArea, 400, 200),
              (PixelArea{0, 25, 100, 50}));
}

} // namespace
