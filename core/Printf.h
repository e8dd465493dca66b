#pragma once
// The printf subset the installer formats with, done without any C runtime:
// flags "-+ 0#", width and precision (also "*"), the sizes h, l, ll and I64,
// and the conversions d i u x X c s f %. Doubles print exactly, to any
// precision, rounded half to even, as the C library does.

#include <cstdarg>

// Formats into `buffer` of `size` bytes (size > 0), always zero-terminated.
// Returns the length of the whole text, which is `size` or more when it was
// cut at size - 1.
int printfInto(char* buffer, int size, const char* format, va_list args);
