#include "core/FormatText.h"

#include <stdio.h>

int formatTextv(char* buffer, int size, const char* format, va_list args) {
    if (size <= 0)
        return 0;
    int n = vsnprintf(buffer, static_cast<size_t>(size), format, args);
    if (n < 0) {
        buffer[0] = '\0';
        return -1;
    }
    return n < size ? n : -1;
}
