#pragma once
// Where the title goes and at what size it starts: the TitlePosition values
// and what each means for the lines' alignment and the title's vertical place.

#include "installer/TextLines.h"

#include <cstdint>

enum TitlePosition : uint8_t {
    NoTitle = 0,
    TitleTopLeft = 1,
    TitleTopCentre = 2,
    TitleTopRight = 3,
    TitleBottomLeft = 4,
    TitleBottomCentre = 5,
    TitleBottomRight = 6,
    // Any other value is drawn as TitleTopLeft.
};

// The title font shrinks one point at a time from the largest size until the
// title fits the window; the smallest is taken whether it fits or not.
inline constexpr int kTitleLargestPoints = 26;
inline constexpr int kTitleSmallestPoints = 6;

inline TextAlignment titleAlignment(int position) {
    if (position == TitleTopCentre || position == TitleBottomCentre)
        return TextAlignment::Centre;
    if (position == TitleTopRight || position == TitleBottomRight)
        return TextAlignment::Right;
    return TextAlignment::Left;
}

inline bool titleAtBottom(int position) {
    return position >= TitleBottomLeft && position <= TitleBottomRight;
}

// The font height for a point size at the device's vertical resolution.
inline int fontHeightForPoints(int pixelsPerInch, int points) {
    return int(int64_t(pixelsPerInch) * points / 72);
}
