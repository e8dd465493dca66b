#pragma once
// Numbers as the installer prints them: byte sizes, floating-point text,
// rounding and ordinal endings.

#include <cstdint>

class String;

// "%d bytes" below 1024 (and for negative sizes), else "%.2f KB", "MB",
// "GB" or "TB" with the size divided by the unit in floating point.
String formatByteSize(int64_t size);

// precision >= 0: "%.*f". A negative precision gives "%.6f" without its
// trailing zeros and trailing decimal point.
String fromDouble(double x, int32_t precision);

// The value in decimal, whatever the C runtime makes of "%lld".
String fromInt64(int64_t value);

// Halves go away from zero; the result is truncated toward zero.
int64_t roundHalfAway(double x);

// a when b < 2 or a is already a multiple of b; otherwise the next multiple.
int64_t roundUpToMultiple(int64_t a, int64_t b);

// "1st", "2nd", "3rd", "4th"; 4-20 always take "th" (but 111 is "111st").
String ordinalSuffix(int32_t n);
