#pragma once
// printf-style formatting into a fixed buffer. On Windows through the
// installer's own formatter (core/Printf.h), elsewhere through the C library:
// formats stay within what both know; 64-bit values through PRId64 from
// <inttypes.h>.

#include <cstdarg>

// Formats into `buffer` of `size` bytes (size > 0), always zero-terminated.
// Returns the length written, or -1 when the text did not fit (the buffer then
// holds it cut at size - 1).
int formatTextv(char* buffer, int size, const char* format, va_list args)
    __attribute__((format(printf, 3, 0)));
int formatText(char* buffer, int size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
