#include "installer/TextLines.h"

bool textLineAt(const char* text, int length, int start, TextLine& line) {
    if (!text || start < 0 || start >= length)
        return false;
    int end = start;
    while (end < length && text[end] != '\r' && text[end] != '\n')
        ++end;
    line.start = start;
    line.length = end - start;
    int next = end;
    if (next < length) {
        const char breakChar = text[next++];
        const char partner = breakChar == '\r' ? '\n' : '\r';
        if (next < length && text[next] == partner)
            ++next;
    }
    line.next = next;
    return true;
}

int alignedOffset(TextAlignment alignment, int width, int lineWidth) {
    switch (alignment) {
    case TextAlignment::Centre: {
        // Halved rounding down, as a right shift would.
        const int spare = width - lineWidth;
        return spare >= 0 ? spare / 2 : -((1 - spare) / 2);
    }
    case TextAlignment::Right:
        return width - lineWidth;
    case TextAlignment::Left:
        break;
    }
    return 0;
}
