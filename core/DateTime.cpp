#include "core/DateTime.h"

#include "core/Clock.h"
#include "core/DateScan.h"

using namespace datescan;

DateTime DateTime::now() {
    return localTimeNow().toDateTime();
}

void DateTime::addMinutes(int32_t minutes) {
    int32_t hours = minutes / 60;
    int32_t minute = time_.minute_ + minutes % 60;
    if (minute >= 60) {
        minute -= 60;
        ++hours;
    } else if (minute < 0) {
        minute += 60;
        --hours;
    }
    time_.minute_ = minute;
    addHours(hours);
}

void DateTime::addHours(int32_t hours) {
    int32_t days = hours / 24;
    int32_t hour = time_.hour_ + hours % 24;
    if (hour >= 24) {
        hour -= 24;
        ++days;
    } else if (hour < 0) {
        hour += 24;
        --days;
    }
    time_.hour_ = hour;
    date_.addDays(days);
}

bool DateTime::parse(const char* text) {
    return parse(text, timeZoneOffsetMinutes());
}

bool DateTime::parse(const char* text, int32_t localOffsetMinutes) {
    clear();
    if (!text)
        return false;
    const char* p = date_.parse(text, false);
    if (!p)
        p = text;
    skipWhiteSpace(p);
    if (*p == ',')
        ++p;
    if (!time_.parse(p)) {
        clear();
        return false;
    }
    skipWhiteSpace(p);
    if (*p != '+' && *p != '-')
        return true;
    const bool negative = *p++ == '-';
    int32_t written = 0;
    if (!readNumber(p, written))
        return true;
    const int32_t offset = negative ? -written : written;
    // A written offset, "+0000" included, states the zone the time is in.
    addMinutes(localOffsetMinutes - (offset / 100 * 60 + offset % 100));
    return true;
}

int compare(const DateTime& a, const DateTime& b) {
    if (int result = compare(a.date(), b.date()))
        return result;
    return compare(a.time(), b.time());
}
