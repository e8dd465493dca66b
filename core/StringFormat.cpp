// printf-style formatting into a String.
#include "core/String.h"

#include <cstdio>

namespace {
// Texts are formatted here first: one pass for everything of ordinary size.
constexpr int kFormatBufferSize = 65536;
char gFormatBuffer[kFormatBufferSize];
} // namespace

void String::appendFormatList(const char* fmt, va_list args) {
    va_list again;
    va_copy(again, args);
    const int n = std::vsnprintf(gFormatBuffer, kFormatBufferSize, fmt, args);
    if (n >= 0 && n < kFormatBufferSize) {
        appendBytes(gFormatBuffer, n);
    } else if (n > 0) {
        // Too long for the buffer: format again at full size rather than cut
        // the text. Built aside, since the arguments may point into this string.
        String whole;
        whole.setLength(n);
        std::vsnprintf(whole.data_, static_cast<size_t>(n) + 1, fmt, again);
        append(whole);
    }
    va_end(again);
}

void String::appendFormat(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    appendFormatList(fmt, args);
    va_end(args);
}

void String::format(const char* fmt, ...) {
    // Built aside: the arguments may point into this string.
    String result;
    va_list args;
    va_start(args, fmt);
    result.appendFormatList(fmt, args);
    va_end(args);
    *this = static_cast<String&&>(result);
}

String String::formatted(const char* fmt, ...) {
    String result;
    va_list args;
    va_start(args, fmt);
    result.appendFormatList(fmt, args);
    va_end(args);
    return result;
}
