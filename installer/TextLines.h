#pragma once
// How the title's lines are cut and aligned. A line ends after a line break:
// CR, LF, or the pair CR LF or LF CR. The break belongs to its line but is
// not drawn. installer/win32/TextLines.h draws and measures the lines.

enum class TextAlignment { Left, Centre, Right };

struct TextLine {
    int start = 0;  // index of the first character
    int length = 0; // characters to draw, without the line break
    int next = 0;   // where the following line starts
};

// The line that starts at `start` of the `length` bytes of `text`; false
// when nothing is left there.
bool textLineAt(const char* text, int length, int start, TextLine& line);

// Where a line of `lineWidth` pixels starts within `width` pixels. A line
// wider than the space starts before it (right) or overhangs both sides (centred).
int alignedOffset(TextAlignment alignment, int width, int lineWidth);
