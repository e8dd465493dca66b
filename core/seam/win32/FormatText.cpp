#include "core/FormatText.h"

#include <stdio.h>

// msvcrt's _vsnprintf exists on every Windows the installer runs on; it leaves
// a text that fills the buffer unterminated and answers -1 when it is cut.
int formatTextv(char* buffer, int size, const char* format, va_list args) {
    if (size <= 0)
        return 0;
    int n = _vsnprintf(buffer, static_cast<size_t>(size), format, args);
    if (n < 0 || n >= size) {
        buffer[size - 1] = '\0';
        return -1;
    }
    return n;
}
