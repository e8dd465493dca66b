#include "installer/TextLines.h"
#include "installer/TitleLayout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<std::string> linesOf(const char* text) {
    std::vector<std::string> lines;
    const int length = int(std::strlen(text));
    TextLine line;
    for (int start = 0; textLineAt(text, length, start, line); start = line.next)
        lines.emplace_back(text + line.start, size_t(line.length));
    return lines;
}

TEST(TextLines, LinesEndAfterEachBreak) {
    using Lines = std::vector<std::string>;
    struct Case {
        const char* text;
        Lines lines;
    } cases[] = {
        {"", {}},
        {"Acme", {"Acme"}},
        {"Acme\r\nNotes", {"Acme", "Notes"}},
        {"Acme\n\rNotes", {"Acme", "Notes"}},
        {"Acme\rNotes", {"Acme", "Notes"}},
        {"Acme\nNotes", {"Acme", "Notes"}},
        // Two breaks of the same kind are two lines, the second empty.
        {"Acme\r\rNotes", {"Acme", "", "Notes"}},
        {"Acme\n\nNotes", {"Acme", "", "Notes"}},
        {"Acme\r\n\r\nNotes", {"Acme", "", "Notes"}},
        {"Acme\r\n\nNotes", {"Acme", "", "Notes"}},
        // A final break ends its line and starts none.
        {"Acme\r\n", {"Acme"}},
        {"\r\nAcme", {"", "Acme"}},
        {"\n", {""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.text)));
        EXPECT_EQ(linesOf(c.text), c.lines);
    }
    // The length counts, not a zero byte; a null text has no lines.
    TextLine line;
    EXPECT_TRUE(textLineAt("AB\0C", 4, 0, line));
    EXPECT_EQ(line.length, 4);
    EXPECT_FALSE(textLineAt("Acme", 2, 2, line));
    EXPECT_FALSE(textLineAt(nullptr, 4, 0, line));
}

TEST(TextLines, LinesAlignWithinTheirWidth) {
    struct Case {
        TextAlignment alignment;
        int width;
        int lineWidth;
        int offset;
    } cases[] = {
        {TextAlignment::Left, 100, 40, 0},    {TextAlignment::Left, 10, 40, 0},
        {TextAlignment::Centre, 100, 40, 30}, {TextAlignment::Centre, 100, 41, 29},
        {TextAlignment::Centre, 10, 15, -3},  {TextAlignment::Right, 100, 40, 60},
        {TextAlignment::Right, 10, 15, -5},
    };
    for (const Case& c : cases)
        EXPECT_EQ(alignedOffset(c.alignment, c.width, c.lineWidth), c.offset)
            << int(c.alignment) << " " << c.width << " " << c.lineWidth;
}

TEST(TextLines, TitlePositionSetsAlignmentAndEdge) {
    struct Case {
        int position;
        TextAlignment alignment;
        bool bottom;
    } cases[] = {
        {TitleTopLeft, TextAlignment::Left, false},
        {TitleTopCentre, TextAlignment::Centre, false},
        {TitleTopRight, TextAlignment::Right, false},
        {TitleBottomLeft, TextAlignment::Left, true},
        {TitleBottomCentre, TextAlignment::Centre, true},
        {TitleBottomRight, TextAlignment::Right, true},
        {7, TextAlignment::Left, false},
        {255, TextAlignment::Left, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(titleAlignment(c.position), c.alignment) << c.position;
        EXPECT_EQ(titleAtBottom(c.position), c.bottom) << c.position;
    }
    EXPECT_EQ(fontHeightForPoints(96, 26), 34);
    EXPECT_EQ(fontHeightForPoints(120, 26), 43);
    EXPECT_EQ(fontHeightForPoints(96, 6), 8);
}

} // namespace
