#include "Canvas.h"

#include "installer/DisplaySettings.h"
#include "installer/win32/BackgroundPaint.h"
#include "installer/win32/TextLines.h"

#include <gtest/gtest.h>

namespace {

const COLORREF kWhite = RGB(255, 255, 255);

bool reddish(COLORREF c) {
    return GetRValue(c) > 160 && GetGValue(c) < 110 && GetBValue(c) < 110;
}
bool blackish(COLORREF c) {
    return GetRValue(c) < 70 && GetGValue(c) < 70 && GetBValue(c) < 70;
}

DisplaySettings title(const char* text, int position, int shadow = 0) {
    DisplaySettings s;
    s.displayTitle = text;
    s.titlePosition = uint8_t(position);
    s.titleShadow = uint8_t(shadow);
    s.titleColor = RGB(255, 0, 0);
    s.titleFont = "Arial";
    return s;
}

// The title's extent at `points` in the title's font, measured here.
SIZE measuredAt(HDC dc, const DisplaySettings& s, int points) {
    HFONT font =
        CreateFontA(fontHeightForPoints(GetDeviceCaps(dc, LOGPIXELSY), points), 0, 0, 0, FW_NORMAL,
                    FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                    PROOF_QUALITY, DEFAULT_PITCH, s.titleFont.c_str());
    HGDIOBJ previous = SelectObject(dc, font);
    const SIZE size = measureTextLines(dc, s.displayTitle.c_str(), s.displayTitle.length());
    SelectObject(dc, previous);
    DeleteObject(font);
    return size;
}

TEST(BackgroundTitle, FontIsTheLargestSizeThatFits) {
    Canvas canvas(1000, 100);
    const DisplaySettings s = title("Acme Notes Setup", TitleTopLeft, 2);
    TitleFont font = chooseTitleFont(canvas.dc(), s, 1000);
    EXPECT_EQ(font.points, 26);
    EXPECT_EQ(font.height, fontHeightForPoints(GetDeviceCaps(canvas.dc(), LOGPIXELSY), 26));
    DeleteObject(font.font);

    // A window narrower than the title at 26 points but wide enough at 6.
    const int width = measuredAt(canvas.dc(), s, 26).cx * 6 / 10;
    font = chooseTitleFont(canvas.dc(), s, width);
    DeleteObject(font.font);
    ASSERT_GT(font.points, 6);
    ASSERT_LT(font.points, 26);
    EXPECT_LT(2 + measuredAt(canvas.dc(), s, font.points).cx + 2, width);
    EXPECT_GE(2 + measuredAt(canvas.dc(), s, font.points + 1).cx + 2, width);
    EXPECT_EQ(font.measured.cx, measuredAt(canvas.dc(), s, font.points).cx);
}

TEST(BackgroundTitle, TitleTooWideAtEverySizeIsDrawnAtSixPoints) {
    Canvas canvas(40, 60);
    canvas.fill(kWhite);
    const DisplaySettings s = title("Acme Notes Setup for Everyone", TitleTopLeft);
    const TitleFont font = chooseTitleFont(canvas.dc(), s, 40);
    DeleteObject(font.font);
    EXPECT_EQ(font.points, 6);
    // The last size measured was 7 points.
    EXPECT_EQ(font.measured.cy, measuredAt(canvas.dc(), s, 7).cy);
    paintTitle(canvas.dc(), canvas.rect(), s);
    EXPECT_FALSE(isEmptyBox(canvas.boxOf(reddish)));
}

TEST(BackgroundTitle, PositionPlacesTheTitle) {
    struct Case {
        int position;
        bool bottom;
        TextAlignment alignment;
    } cases[] = {
        {TitleTopLeft, false, TextAlignment::Left},
        {TitleTopCentre, false, TextAlignment::Centre},
        {TitleTopRight, false, TextAlignment::Right},
        {TitleBottomLeft, true, TextAlignment::Left},
        {TitleBottomCentre, true, TextAlignment::Centre},
        {TitleBottomRight, true, TextAlignment::Right},
        {9, false, TextAlignment::Left},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        Canvas canvas(600, 200);
        canvas.fill(kWhite);
        const DisplaySettings s = title("Acme", c.position);
        paintTitle(canvas.dc(), canvas.rect(), s);
        const RECT ink = canvas.boxOf(reddish);
        ASSERT_FALSE(isEmptyBox(ink));
        if (c.bottom) {
            EXPECT_GT(ink.top, 100);
            EXPECT_LE(ink.bottom, 199);
        } else {
            EXPECT_GE(ink.top, 1);
            EXPECT_LT(ink.bottom, 100);
        }
        // Lines are aligned within 2 .. 598.
        const int middle = (ink.left + ink.right) / 2;
        switch (c.alignment) {
        case TextAlignment::Left:
            EXPECT_GE(ink.left, 2);
            EXPECT_LT(ink.left, 12);
            break;
        case TextAlignment::Centre:
            EXPECT_NEAR(middle, 300, 4);
            break;
        case TextAlignment::Right:
            EXPECT_LE(ink.right, 599);
            EXPECT_GT(ink.right, 586);
            break;
        }
    }
}

TEST(BackgroundTitle, ShadowFallsRightAndDown) {
    Canvas canvas(600, 200);
    canvas.fill(kWhite);
    const DisplaySettings s = title("Acme", TitleTopLeft, 4);
    paintTitle(canvas.dc(), canvas.rect(), s);
    const RECT text = canvas.boxOf(reddish);
    const RECT shadow = canvas.boxOf(blackish);
    ASSERT_FALSE(isEmptyBox(text));
    ASSERT_FALSE(isEmptyBox(shadow));
    EXPECT_NEAR(shadow.right - text.right, 4, 1);
    EXPECT_NEAR(shadow.bottom - text.bottom, 4, 1);
    EXPECT_GE(text.left, 2);

    // Without a shadow there is nothing black.
    canvas.fill(kWhite);
    paintTitle(canvas.dc(), canvas.rect(), title("Acme", TitleTopLeft, 0));
    EXPECT_TRUE(isEmptyBox(canvas.boxOf(blackish)));
}

TEST(BackgroundTitle, EachLineIsAlignedOnItsOwn) {
    Canvas canvas(600, 200);
    canvas.fill(kWhite);
    const DisplaySettings s = title("I\r\nWWWWWWWW", TitleTopCentre);
    const TitleFont font = chooseTitleFont(canvas.dc(), s, 600);
    DeleteObject(font.font);
    paintTitle(canvas.dc(), canvas.rect(), s);
    const RECT first = canvas.boxOf(reddish, 0, 1 + font.height);
    const RECT second = canvas.boxOf(reddish, 1 + font.height, 200);
    ASSERT_FALSE(isEmptyBox(first));
    ASSERT_FALSE(isEmptyBox(second));
    EXPECT_LT(first.right - first.left, (second.right - second.left) / 4);
    EXPECT_NEAR((first.left + first.right) / 2, (second.left + second.right) / 2, 3);
}

TEST(BackgroundTitle, NothingWithoutATitleOrAPlace) {
    const DisplaySettings cases[] = {title("Acme", NoTitle, 2), title("", TitleTopLeft, 2),
                                     title(" \r\n\t", TitleBottomRight, 2)};
    for (const DisplaySettings& s : cases) {
        Canvas canvas(200, 100);
        canvas.fill(kWhite);
        paintTitle(canvas.dc(), canvas.rect(), s);
        EXPECT_EQ(canvas.count(kWhite), 200 * 100) << int(s.titlePosition);
    }
}

} // namespace
