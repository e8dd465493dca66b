#include "core/Time.h"

#include "core/DateScan.h"

using namespace datescan;

namespace {

// "a", "A", "p", "P", each optionally followed by ".", "m" and "."; returns
// 'a', 'p' or 0. A letter right after it means a word, not a marker.
char readMeridiem(const char*& p) {
    const char* q = p;
    const char c = lower(*q);
    if (c != 'a' && c != 'p')
        return 0;
    ++q;
    if (*q == '.')
        ++q;
    if (lower(*q) == 'm') {
        ++q;
        if (*q == '.')
            ++q;
    }
    if (isLetter(*q))
        return 0;
    p = q;
    return c;
}

// A marker may follow after blanks ("3:04 pm"); the blanks stay unread when
// none does.
char readMeridiemAfterBlanks(const char*& p) {
    const char* q = p;
    skipWhiteSpace(q);
    const char marker = readMeridiem(q);
    if (marker)
        p = q;
    return marker;
}

} // namespace

bool Time::parse(const char*& cursor) {
    const char* p = cursor;
    int32_t hour = 0;
    int32_t minute = 0;
    int32_t second = 0;
    skipWhiteSpace(p);
    bool ok = readNumber(p, hour) && *p == ':';
    if (ok) {
        ++p;
        ok = readNumber(p, minute);
    }
    char marker = 0;
    if (ok && *p == ':') {
        ++p;
        ok = readNumber(p, second);
        if (ok)
            marker = readMeridiemAfterBlanks(p);
    } else if (ok) {
        marker = readMeridiemAfterBlanks(p);
    }
    if (marker == 'p' && hour < 12)
        hour += 12;
    // 12 a.m. is midnight, so that every time printed on the 12-hour clock
    // reads back as itself.
    if (marker == 'a' && hour == 12)
        hour = 0;
    set(hour, minute, second);
    if (!ok || !isValid()) {
        clear();
        return false;
    }
    cursor = p;
    return true;
}

int compare(const Time& a, const Time& b) {
    const bool aValid = a.isValid();
    const bool bValid = b.isValid();
    if (!aValid || !bValid) {
        if (!aValid && !bValid)
            return 0;
        const Time& valid = aValid ? a : b;
        if (valid.hour() == 0 && valid.minute() == 0 && valid.second() == 0)
            return 0;
        return aValid ? 1 : -1;
    }
    if (a.hour() != b.hour())
        return a.hour() < b.hour() ? -1 : 1;
    if (a.minute() != b.minute())
        return a.minute() < b.minute() ? -1 : 1;
    if (a.second() != b.second())
        return a.second() < b.second() ? -1 : 1;
    return 0;
}
