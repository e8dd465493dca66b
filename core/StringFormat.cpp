// printf-style formatting into a String.
#include "core/String.h"

#include "core/FormatText.h"

namespace {
// Texts are formatted here first: one pass for everything of ordinary size.
constexpr int kFormatBufferSize = 65536;
char gFormatBuffer[kFormatBufferSize];
} // namespace

void String::appendFormatList(const char* fmt, va_list args) {
    va_list again;
    va_copy(again, args);
    int n = formatTextv(gFormatBuffer, kFormatBufferSize, fmt, args);
    if (n >= 0) {
        appendBytes(gFormatBuffer, n);
    } else {
        // Too long for the buffer: format again into ever larger room rather
        // than cut the text. Built aside, since the arguments may point into
        // this string.
        String whole;
        for (int room = kFormatBufferSize * 2; n < 0 && room > 0 && room <= 0x40000000; room *= 2) {
            whole.setLength(room - 1);
            va_list attempt;
            va_copy(attempt, again);
            n = formatTextv(whole.data_, room, fmt, attempt);
            va_end(attempt);
        }
        if (n > 0)
            appendBytes(whole.data_, n);
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
