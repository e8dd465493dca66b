#include "core/Number.h"

#include "core/String.h"

#include <cmath>

namespace {

// Beyond this a double has no more digits to show; it also keeps the text
// (at most 309 integer digits, a sign, a point and the decimals) well inside
// what String::formatted can hold.
constexpr int32_t kMaxPrecision = 1100;

String printDouble(int32_t precision, double x) {
    return String::formatted("%.*f", precision, x);
}

} // namespace

String fromInt64(int64_t value) {
    char digits[24];
    int pos = sizeof digits;
    uint64_t magnitude = value < 0 ? 0u - static_cast<uint64_t>(value) : uint64_t(value);
    do {
        digits[--pos] = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (value < 0)
        digits[--pos] = '-';
    return String(digits + pos, int(sizeof digits) - pos);
}

String formatByteSize(int64_t size) {
    struct Unit {
        int64_t limit;
        double divisor;
        const char* name;
    };
    static const Unit kUnits[] = {
        {int64_t(1) << 20, 1024.0, "KB"},
        {int64_t(1) << 30, double(int64_t(1) << 20), "MB"},
        {int64_t(1) << 40, double(int64_t(1) << 30), "GB"},
    };
    if (size < 1024)
        return fromInt64(size) + " bytes";
    for (const Unit& unit : kUnits)
        if (size < unit.limit)
            return String::formatted("%.2f %s", double(size) / unit.divisor, unit.name);
    return String::formatted("%.2f TB", double(size) / double(int64_t(1) << 40));
}

String fromDouble(double x, int32_t precision) {
    if (precision >= 0)
        return printDouble(precision > kMaxPrecision ? kMaxPrecision : precision, x);
    String text = printDouble(6, x);
    if (text.findChar('.') >= 0) {
        text.removeTrailingRun('0');
        text.removeTrailingChar('.');
    }
    return text;
}

int64_t roundHalfAway(double x) {
    const double rounded = std::trunc(x >= 0 ? x + 0.5 : x - 0.5);
    // Out of range (or not a number): the nearest representable end.
    if (!(rounded > -9223372036854775808.0))
        return x != x ? 0 : INT64_MIN;
    if (rounded >= 9223372036854775808.0)
        return INT64_MAX;
    return static_cast<int64_t>(rounded);
}

int64_t roundUpToMultiple(int64_t a, int64_t b) {
    if (b < 2 || a % b == 0)
        return a;
    return a + b - a % b;
}

String ordinalSuffix(int32_t n) {
    const int32_t lastDigit = n % 10 < 0 ? -(n % 10) : n % 10;
    const char* ending = "th";
    if (n < 4 || n > 20) {
        if (lastDigit == 1)
            ending = "st";
        else if (lastDigit == 2)
            ending = "nd";
        else if (lastDigit == 3)
            ending = "rd";
    }
    return fromInt64(n) + ending;
}
