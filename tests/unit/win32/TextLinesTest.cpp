#include "Canvas.h"

#include "installer/win32/TextLines.h"

#include <gtest/gtest.h>

namespace {

SIZE extent(HDC dc, const char* text) {
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, text, int(strlen(text)), &size);
    return size;
}

class TextLines : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(canvas_.valid());
        font_ =
            CreateFontA(24, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS,
                        CLIP_DEFAULT_PRECIS, PROOF_QUALITY, DEFAULT_PITCH, "Arial");
        previous_ = SelectObject(canvas_.dc(), font_);
        canvas_.fill(RGB(255, 255, 255));
        SetBkMode(canvas_.dc(), TRANSPARENT);
        SetTextColor(canvas_.dc(), RGB(0, 0, 0));
    }
    void TearDown() override {
        SelectObject(canvas_.dc(), previous_);
        DeleteObject(font_);
    }

    RECT inkIn(int firstRow, int endRow) const {
        return canvas_.boxOf([](COLORREF c) { return c != RGB(255, 255, 255); }, firstRow, endRow);
    }

    Canvas canvas_{400, 120};
    HFONT font_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

TEST_F(TextLines, MeasureTakesTheWidestLineAndEveryLineHeight) {
    HDC dc = canvas_.dc();
    const SIZE wide = extent(dc, "Acme Notes");
    const SIZE narrow = extent(dc, "Setup");
    const SIZE both = measureTextLines(dc, "Setup\r\nAcme Notes\n", 18);
    EXPECT_EQ(both.cx, wide.cx);
    EXPECT_EQ(both.cy, wide.cy + narrow.cy);
    // Only `length` bytes count.
    const SIZE cut = measureTextLines(dc, "Setup\r\nAcme Notes", 5);
    EXPECT_EQ(cut.cx, narrow.cx);
    EXPECT_EQ(cut.cy, narrow.cy);
    for (SIZE none : {measureTextLines(nullptr, "Setup", 5), measureTextLines(dc, nullptr, 5),
                      measureTextLines(dc, "Setup", 0)}) {
        EXPECT_EQ(none.cx, 0);
        EXPECT_EQ(none.cy, 0);
    }
}

TEST_F(TextLines, LinesAreDrawnOneLineHeightApartEachAligned) {
    HDC dc = canvas_.dc();
    const char text[] = "Notes\r\nAcme Notes Setup";
    drawTextLines(dc, 10, 5, 380, 40, text, int(sizeof text - 1), TextAlignment::Right);
    const RECT first = inkIn(0, 45);
    const RECT second = inkIn(45, 120);
    ASSERT_FALSE(isEmptyBox(first));
    ASSERT_FALSE(isEmptyBox(second));
    // Both end at the right edge of the space, x + width = 390.
    EXPECT_NEAR(first.right, 390, 3);
    EXPECT_NEAR(second.right, 390, 3);
    EXPECT_GT(first.left, second.left + 40);
    EXPECT_GE(second.top, 45);
    EXPECT_LT(second.top, 60);
    // Line breaks are not drawn: nothing between the lines' ink and the edge.
    EXPECT_LE(first.bottom, 45);
}

TEST_F(TextLines, NothingIsDrawnWithoutText) {
    drawTextLines(canvas_.dc(), 10, 5, 380, 40, nullptr, 10, TextAlignment::Left);
    drawTextLines(nullptr, 10, 5, 380, 40, "Acme", 4, TextAlignment::Left);
    drawTextLines(canvas_.dc(), 10, 5, 380, 40, "Acme", 0, TextAlignment::Left);
    EXPECT_TRUE(isEmptyBox(inkIn(0, 120)));
}

} // namespace
