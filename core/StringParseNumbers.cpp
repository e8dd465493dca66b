#include "core/String.h"
#include "core/StringChars.h"
#include "core/StringParse.h"

#include <initializer_list>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Sign and digits at p, commas among the digits ignored when asked. Digits
// beyond 64 bits wrap, as they would in the C runtime's unchecked loops.
uint64_t readMagnitude(const char*& p, bool& negative, bool& anyDigit, bool allowSign,
                       bool skipCommas) {
    negative = false;
    anyDigit = false;
    if (allowSign && (*p == '+' || *p == '-'))
        negative = *p++ == '-';
    uint64_t value = 0;
    for (;; ++p) {
        if (isDigit(*p)) {
            value = value * 10 + uint64_t(*p - '0');
            anyDigit = true;
        } else if (!(skipCommas && *p == ',')) {
            break;
        }
    }
    return value;
}

uint64_t numberFromNumberStart(const String& s, bool& negative) {
    const int start = s.findNumberStart();
    negative = false;
    if (start < 0)
        return 0;
    const char* p = s.c_str() + start;
    bool anyDigit = false;
    return readMagnitude(p, negative, anyDigit, true, true);
}

uint64_t applySign(uint64_t magnitude, bool negative) {
    return negative ? 0 - magnitude : magnitude;
}

void skipWhiteSpace(const char*& p) {
    while (isWhiteSpace(*p))
        ++p;
}

} // namespace

int32_t toInt(const String& s) {
    bool negative = false;
    const uint64_t magnitude = numberFromNumberStart(s, negative);
    return static_cast<int32_t>(static_cast<uint32_t>(applySign(magnitude, negative)));
}

int64_t toInt64(const String& s) {
    bool negative = false;
    const uint64_t magnitude = numberFromNumberStart(s, negative);
    return static_cast<int64_t>(applySign(magnitude, negative));
}

int32_t parseIntAt(const String& s, int& pos) {
    if (pos < 0 || pos >= s.length())
        return INT32_MIN;
    const char* start = s.c_str() + pos;
    const char* p = start;
    bool negative = false;
    bool anyDigit = false;
    const uint64_t magnitude = readMagnitude(p, negative, anyDigit, true, false);
    if (!anyDigit)
        return 0;
    pos += int(p - start);
    return static_cast<int32_t>(static_cast<uint32_t>(applySign(magnitude, negative)));
}

int32_t parseInt(const char*& cursor, int flags) {
    if (!cursor)
        return flags & kParseRequired ? INT32_MIN : 0;
    const char* p = cursor;
    if (flags & kParseSkipBefore)
        skipWhiteSpace(p);
    bool negative = false;
    bool anyDigit = false;
    const uint64_t magnitude = readMagnitude(p, negative, anyDigit, !(flags & kParseNoSign), false);
    if (!anyDigit)
        return flags & kParseRequired ? INT32_MIN : 0;
    if (flags & kParseSkipAfter)
        skipWhiteSpace(p);
    if ((flags & kParseEatComma) && *p == ',') {
        ++p;
        if (flags & kParseSkipAfter)
            skipWhiteSpace(p);
    }
    cursor = p;
    return static_cast<int32_t>(static_cast<uint32_t>(applySign(magnitude, negative)));
}

int32_t parseInt(const String& s, int flags) {
    const char* cursor = s.c_str();
    return parseInt(cursor, flags);
}

bool toBool(const String& s) {
    String word = s;
    word.trim();
    if (word.isEmpty())
        return false;
    static const char* const kNo[] = {"0", "n", "no", "f", "false"};
    for (const char* no : kNo)
        if (word.compare(no, false) == 0)
            return false;
    return true;
}
