#pragma once
// Small scanners shared by the date and time parsers. The cursor moves only
// past what was recognised.

#include <cstdint>

namespace datescan {

inline bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
inline bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
inline char lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

inline void skipWhiteSpace(const char*& p) {
    while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n')
        ++p;
}

// Decimal digits without a sign; saturates far above any date or time field.
inline bool readNumber(const char*& p, int32_t& value) {
    if (!isDigit(*p))
        return false;
    int32_t result = 0;
    while (isDigit(*p)) {
        if (result < 100000000)
            result = result * 10 + (*p - '0');
        ++p;
    }
    value = result;
    return true;
}

// Whether the text at p starts with word (ASCII case folded), for at most
// count characters of word.
inline bool startsWithWord(const char* p, const char* word, int32_t count) {
    for (int32_t i = 0; i < count && word[i]; ++i)
        if (lower(p[i]) != lower(word[i]))
            return false;
    return true;
}

int32_t length(const char* word);

// Matches one of the names, full or by its first three letters, and returns
// its 1-based index (0 when none matches).
int32_t readName(const char*& p, const char* (*name)(int32_t), int32_t count);

} // namespace datescan
