#pragma once
// Where the background bitmap goes in the window: a share of the client area,
// centred, and within it the bitmap stretched, fitted or zoomed.

#include <cstdint>

// How the bitmap fills its area (the StretchMode setting).
enum StretchMode : uint8_t {
    StretchToArea = 0, // fills the area, whatever its proportions
    FitToArea = 1,     // as large as fits, proportions kept, centred
    ZoomInArea = 2,    // the largest whole-number multiple that fits, centred
};

struct PixelArea {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The rectangle the bitmap is stretched into. The client rectangle is taken
// as inclusive corners; `bitmapSize` is the area's share of it in percent
// (more than 100 counts as 100). Any other stretch mode stretches to the area.
PixelArea backgroundBitmapArea(int left, int top, int right, int bottom, int32_t bitmapSize,
                               int stretchMode, int32_t bitmapWidth, int32_t bitmapHeight);
