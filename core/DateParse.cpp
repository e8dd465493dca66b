#include "core/Date.h"
#include "core/DateScan.h"

using namespace datescan;

namespace {

bool isSeparator(char c) {
    return c == '/' || c == '.' || c == '-';
}

// The ordinal endings a day may carry: "1st", "2nd", "3rd", "4th".
void skipOrdinalEnding(const char*& p) {
    static const char* const kEndings[] = {"th", "st", "nd", "rd"};
    for (const char* ending : kEndings) {
        if (startsWithWord(p, ending, 2)) {
            p += 2;
            return;
        }
    }
}

struct Parsed {
    int32_t month = 0;
    int32_t day = 0;
    int32_t year = 0;
};

// "July 3rd, 2005", "July 3 2005", "July 2005"; a number followed by ":"
// is a time, not a year.
bool readMonthFirst(const char*& p, Parsed& out) {
    out.month = readName(p, monthName, 12);
    if (!out.month)
        return false;
    skipWhiteSpace(p);
    if (!readNumber(p, out.day))
        return false;
    skipOrdinalEnding(p);
    const char* afterDay = p;
    skipWhiteSpace(p);
    if (*p == ',') {
        ++p;
        afterDay = p;
        skipWhiteSpace(p);
    }
    const char* q = p;
    if (readNumber(q, out.year) && *q != ':') {
        p = q;
        return true;
    }
    out.year = out.day;
    out.day = 1;
    p = afterDay;
    return true;
}

// "3-Jul-2005", "3 July 2005", "7/3/2005", "3.7.2005", "2005-07-03", "7/2005".
bool readNumberFirst(const char*& p, bool dayFirst, Parsed& out) {
    int32_t first = 0;
    if (!readNumber(p, first))
        return false;
    skipWhiteSpace(p);
    const bool separated = isSeparator(*p);
    if (separated) {
        ++p;
        skipWhiteSpace(p);
    }
    if (isLetter(*p)) {
        out.day = first;
        out.month = readName(p, monthName, 12);
        if (!out.month)
            return false;
        skipWhiteSpace(p);
        if (isSeparator(*p))
            ++p;
        skipWhiteSpace(p);
        return readNumber(p, out.year);
    }
    int32_t second = 0;
    if (!separated || !readNumber(p, second))
        return false;
    const char* afterSecond = p;
    skipWhiteSpace(p);
    if (!isSeparator(*p)) {
        out.month = first;
        out.year = second;
        out.day = 1;
        p = afterSecond;
        return true;
    }
    ++p;
    skipWhiteSpace(p);
    int32_t third = 0;
    if (!readNumber(p, third))
        return false;
    if (first > 1000 && third < 32) {
        out.year = first;
        out.month = second;
        out.day = third;
    } else {
        out.day = dayFirst ? first : second;
        out.month = dayFirst ? second : first;
        out.year = third;
    }
    return true;
}

} // namespace

const char* Date::parse(const char* text, bool dayFirst) {
    clear();
    if (!text)
        return nullptr;
    const char* p = text;
    skipWhiteSpace(p);
    if (readName(p, weekdayName, 7)) {
        skipWhiteSpace(p);
        if (*p == ',')
            ++p;
        skipWhiteSpace(p);
    }
    Parsed parsed;
    const bool ok = isLetter(*p) ? readMonthFirst(p, parsed) : readNumberFirst(p, dayFirst, parsed);
    if (!ok)
        return nullptr;
    set(parsed.month, parsed.day, parsed.year);
    return p;
}
