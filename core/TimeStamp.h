#pragma once
// A file's local date and time, broken down as the file system reports it.
// The archive stores it as six little-endian int32 in this order (24 bytes).

#include <cstdint>

class DateTime;

struct TimeStamp {
    int32_t year = 0;
    int32_t month = 0; // 0: no date
    int32_t day = 0;
    int32_t hour = -1; // below 0: no time of day
    int32_t minute = 0;
    int32_t second = 0;

    bool hasDate() const { return month != 0; }
    bool hasTime() const { return hour >= 0; }
    void clear() { *this = TimeStamp(); }

    // The order the replacement rules use: a stamp with a date sorts before
    // one without; a stamp without a time equals another without one and sorts
    // after one with a time. With both parts, the seconds' difference decides
    // last.
    int compare(const TimeStamp& other) const;

    DateTime toDateTime() const;
};

static_assert(sizeof(TimeStamp) == 24, "TimeStamp is the archive's 24-byte record");
