#include "installer/win32/TextLines.h"

void drawTextLines(HDC dc, int x, int y, int width, int lineHeight, const char* text, int length,
                   TextAlignment alignment) {
    if (!dc || !text)
        return;
    TextLine line;
    for (int start = 0; textLineAt(text, length, start, line); start = line.next) {
        // Justification left over from another drawing would widen the line.
        SetTextJustification(dc, 0, 0);
        SIZE size;
        if (!GetTextExtentPoint32A(dc, text + line.start, line.length, &size))
            continue;
        TextOutA(dc, x + alignedOffset(alignment, width, size.cx), y, text + line.start,
                 line.length);
        y += lineHeight;
    }
}

SIZE measureTextLines(HDC dc, const char* text, int length) {
    SIZE total = {0, 0};
    if (!dc || !text)
        return total;
    TextLine line;
    for (int start = 0; textLineAt(text, length, start, line); start = line.next) {
        SIZE size;
        if (!GetTextExtentPoint32A(dc, text + line.start, line.length, &size))
            continue;
        if (size.cx > total.cx)
            total.cx = size.cx;
        total.cy += size.cy;
    }
    return total;
}
