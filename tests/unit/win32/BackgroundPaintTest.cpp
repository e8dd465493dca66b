#include "Canvas.h"

#include "installer/DisplaySettings.h"
#include "installer/win32/BackgroundPaint.h"
#include "installer/win32/TextLines.h"
#include "tests/unit/DibBytes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kYellow = RGB(255, 255, 0);
const COLORREF kGrey = RGB(128, 128, 128);

std::string bgr(COLORREF color) {
    return std::string{char(GetBValue(color)), char(GetGValue(color)), char(GetRValue(color))};
}

// A 24-bit bitmap from its rows, top row first, stored bottom-up or top-down.
String bitmapOf(const std::vector<std::vector<COLORREF>>& rows, bool topDown = false) {
    DibShape shape;
    shape.width = int32_t(rows[0].size());
    shape.height = topDown ? -int32_t(rows.size()) : int32_t(rows.size());
    std::string pixels;
    for (size_t i = 0; i < rows.size(); ++i) {
        const auto& row = rows[topDown ? i : rows.size() - 1 - i];
        std::string line;
        for (COLORREF color : row)
            line += bgr(color);
        line.resize(size_t(dibRowBytes(shape.width, 24)), '\0');
        pixels += line;
    }
    return dibBytes(shape, "", pixels);
}

DisplaySettings plain(COLORREF color) {
    DisplaySettings s;
    s.monoColor = true;
    s.topColor = color;
    return s;
}

class BackgroundPaint : public ::testing::Test {};

TEST_F(BackgroundPaint, PlainColourFillsTheClientArea) {
    Canvas canvas(64, 48);
    ASSERT_TRUE(canvas.valid());
    canvas.fill(kWhite);
    DisplaySettings s = plain(RGB(0x20, 0x40, 0xC0));
    s.bottomColor = kRed; // ignored: plain is plain
    paintBackground(canvas.dc(), canvas.rect(), s, systemGradientFill());
    EXPECT_EQ(canvas.count(RGB(0x20, 0x40, 0xC0)), 64 * 48);
}

TEST_F(BackgroundPaint, GradientRunsFromTopColourToBottomColour) {
    ASSERT_NE(systemGradientFill(), nullptr) << "msimg32.dll has GradientFill here";
    Canvas canvas(16, 256);
    DisplaySettings s;
    s.topColor = kRed;
    s.bottomColor = kBlue;
    paintBackground(canvas.dc(), canvas.rect(), s, systemGradientFill());
    EXPECT_GE(GetRValue(canvas.pixel(8, 0)), 250);
    EXPECT_LE(GetBValue(canvas.pixel(8, 0)), 5);
    EXPECT_LE(GetRValue(canvas.pixel(8, 255)), 5);
    EXPECT_GE(GetBValue(canvas.pixel(8, 255)), 250);
    for (int y = 1; y < 256; ++y) {
        ASSERT_LE(GetRValue(canvas.pixel(8, y)), GetRValue(canvas.pixel(8, y - 1))) << y;
        ASSERT_EQ(canvas.pixel(0, y), canvas.pixel(15, y)) << y;
    }
}

// Without GradientFill: 1025 rows for a 1024-pixel client make bands of 3
// (1025 / 224 = 4, held to 3) and 341 steps; the 342nd band reaches the edge.
TEST_F(BackgroundPaint, WithoutGradientFillTallClientIsPaintedInBandsOfThree) {
    Canvas canvas(8, 1024);
    canvas.fill(kRed);
    DisplaySettings s;
    s.topColor = RGB(0, 0, 0);
    s.bottomColor = kWhite;
    paintBackground(canvas.dc(), canvas.rect(), s, nullptr);
    int changes = 0;
    for (int y = 1; y < 1024; ++y) {
        ASSERT_EQ(canvas.pixel(0, y), canvas.pixel(7, y)) << y;
        if (canvas.pixel(0, y) != canvas.pixel(0, y - 1)) {
            ASSERT_EQ(y % 3, 0) << "a colour change inside a band at row " << y;
            ++changes;
        }
    }
    // 255 units over 341 steps: every unit shows as one change.
    EXPECT_EQ(changes, 255);
    EXPECT_EQ(canvas.pixel(0, 1023), kWhite);
    EXPECT_EQ(canvas.pixel(0, 1020), kWhite);
    EXPECT_EQ(canvas.count(kRed), 0);
}

TEST_F(BackgroundPaint, BandsStepEveryBandWhenTheColoursDifferEnough) {
    // 672 rows: bands of 3 and 224 steps, each a whole unit or more.
    Canvas canvas(4, 671);
    DisplaySettings s;
    s.topColor = RGB(255, 0, 0);
    s.bottomColor = RGB(0, 0, 255);
    paintBackground(canvas.dc(), canvas.rect(), s, nullptr);
    EXPECT_EQ(canvas.pixel(0, 0), RGB(254, 0, 1));
    for (int y = 3; y < 671; y += 3)
        ASSERT_LT(GetRValue(canvas.pixel(0, y)), GetRValue(canvas.pixel(0, y - 3))) << y;
    EXPECT_EQ(canvas.pixel(0, 670), kBlue);
}

TEST_F(BackgroundPaint, BitmapStretchedOverTheWholeWindowKeepsItsOrientation) {
    const std::vector<std::vector<COLORREF>> rows = {{kRed, kGreen}, {kBlue, kYellow}};
    DibShape core;
    core.headerSize = 12;
    std::string corePixels = bgr(kBlue) + bgr(kYellow) + std::string(2, '\0') + bgr(kRed) +
                             bgr(kGreen) + std::string(2, '\0');
    // An 8-bit bitmap with a colour table: index 0 red, 1 green, 2 blue, 3 yellow.
    DibShape indexed;
    indexed.bitsPerPixel = 8;
    indexed.colorsUsed = 4;
    std::string table;
    for (COLORREF color : {kRed, kGreen, kBlue, kYellow})
        table += bgr(color) + '\0';
    const std::string indices = std::string("\2\3\0\0", 4) + std::string("\0\1\0\0", 4);
    struct Case {
        const char* name;
        String bytes;
    } cases[] = {
        {"bottom-up", bitmapOf(rows)},
        {"top-down", bitmapOf(rows, true)},
        {"core header", dibBytes(core, "", corePixels)},
        {"colour table", dibBytes(indexed, table, indices)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas(64, 64);
        DisplaySettings s = plain(kWhite);
        s.bitmapSize = 100;
        s.stretchMode = StretchToArea;
        ASSERT_TRUE(s.backgroundBitmap.loadFromMemory(c.bytes));
        paintBackground(canvas.dc(), canvas.rect(), s, nullptr);
        EXPECT_EQ(canvas.pixel(4, 4), kRed);
        EXPECT_EQ(canvas.pixel(59, 4), kGreen);
        EXPECT_EQ(canvas.pixel(4, 59), kBlue);
        EXPECT_EQ(canvas.pixel(59, 59), kYellow);
        EXPECT_EQ(canvas.count(kWhite), 0);
    }
}

TEST_F(BackgroundPaint, ZoomedBitmapSitsWholeTimesInTheMiddleOfItsArea) {
    Canvas canvas(100, 100);
    DisplaySettings s = plain(kWhite);
    s.bitmapSize = 50; // 51 x 51 from (24, 24)
    s.stretchMode = ZoomInArea;
    ASSERT_TRUE(s.backgroundBitmap.loadFromMemory(bitmapOf({{kRed, kBlue}})));
    paintBackground(canvas.dc(), canvas.rect(), s, nullptr);
    // 25 times: 50 x 25 at (24, 37).
    const RECT drawn = canvas.boxOf([](COLORREF c) { return c != kWhite; });
    EXPECT_EQ(drawn.left, 24);
    EXPECT_EQ(drawn.top, 37);
    EXPECT_EQ(drawn.right, 74);
    EXPECT_EQ(drawn.bottom, 62);
    EXPECT_EQ(canvas.pixel(30, 45), kRed);
    EXPECT_EQ(canvas.pixel(60, 45), kBlue);
}

TEST_F(BackgroundPaint, BitmapLargerThanTheWindowIsFittedWhole) {
    Canvas canvas(100, 100);
    DisplaySettings s = plain(kWhite);
    s.bitmapSize = 100;
    s.stretchMode = ZoomInArea;
    // 400 x 100: red left half, blue right half.
    std::vector<COLORREF> row(400, kRed);
    for (int x = 200; x < 400; ++x)
        row[size_t(x)] = kBlue;
    ASSERT_TRUE(
        s.backgroundBitmap.loadFromMemory(bitmapOf(std::vector<std::vector<COLORREF>>(100, row))));
    paintBackground(canvas.dc(), canvas.rect(), s, nullptr);
    // Both ends of the picture are in the window, a quarter of its height high.
    EXPECT_EQ(canvas.pixel(0, 50), kRed);
    EXPECT_EQ(canvas.pixel(99, 50), kBlue);
    const RECT drawn = canvas.boxOf([](COLORREF c) { return c != kWhite; });
    EXPECT_EQ(drawn.top, 38);
    EXPECT_EQ(drawn.bottom, 63);
}

TEST_F(BackgroundPaint, NoBitmapWithoutPictureOrSize) {
    Canvas canvas(32, 32);
    DisplaySettings s = plain(kGrey);
    s.bitmapSize = 100;
    paintBackground(canvas.dc(), canvas.rect(), s, nullptr);
    EXPECT_EQ(canvas.count(kGrey), 32 * 32);
    ASSERT_TRUE(s.backgroundBitmap.loadFromMemory(bitmapOf({{kRed}})));
    s.bitmapSize = 0;
    paintBackground(canvas.dc(), canvas.rect(), s, nullptr);
    EXPECT_EQ(canvas.count(kGrey), 32 * 32);
}

} // namespace
