#include "core/FormatText.h"

int formatText(char* buffer, int size, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int n = formatTextv(buffer, size, format, args);
    va_end(args);
    return n;
}
