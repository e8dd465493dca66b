#pragma once
// Multi-line text in a device context, one line at a time, each line aligned
// on its own (installer/TextLines.h cuts the lines).

#include "installer/TextLines.h"

#include <windows.h>

// Draws the `length` bytes of `text` from (x, y), each line aligned within
// `width` pixels, `lineHeight` pixels apart. Nothing without a device context
// or text; a line the device cannot measure is skipped and takes no room.
void drawTextLines(HDC dc, int x, int y, int width, int lineHeight, const char* text, int length,
                   TextAlignment alignment);

// The widest line's width and the sum of the lines' heights; (0, 0) without
// a device context or text.
SIZE measureTextLines(HDC dc, const char* text, int length);
