#pragma once
// A date and a time of day, each of which may be unset.

#include "core/Date.h"
#include "core/Time.h"

#include <cstdint>

class String;

class DateTime {
public:
    // Member by member: a defaulted constructor is compiled into a copy of an
    // unnamed whole-object initializer, which the toolchain keeps in writable
    // data, a section of its own in varnoke.exe.
    DateTime() {}
    DateTime(const Date& date, const Time& time) : date_(date), time_(time) {}

    static DateTime now();

    // Whole hours (days) go to the next unit; the rest is added with one
    // carry or borrow.
    void addMinutes(int32_t minutes);
    void addHours(int32_t hours);

    // An optional date, an optional comma, a required time, then optionally
    // a zone offset written "+hhmm" or "-hhmm", which moves the time into the
    // local zone given. False, with both parts cleared, on failure.
    bool parse(const char* text);
    bool parse(const char* text, int32_t localOffsetMinutes);

    // Through the date and time format codes; null or "" means the default.
    String format(const char* fmt) const;

    void clear() { *this = DateTime(); }

    Date& date() { return date_; }
    const Date& date() const { return date_; }
    Time& time() { return time_; }
    const Time& time() const { return time_; }

private:
    Date date_;
    Time time_;
};

// Dates first, then times.
int compare(const DateTime& a, const DateTime& b);
inline bool operator==(const DateTime& a, const DateTime& b) {
    return compare(a, b) == 0;
}
inline bool operator!=(const DateTime& a, const DateTime& b) {
    return compare(a, b) != 0;
}
inline bool operator<(const DateTime& a, const DateTime& b) {
    return compare(a, b) < 0;
}
inline bool operator>(const DateTime& a, const DateTime& b) {
    return compare(a, b) > 0;
}

// The current local date and time in fmt; the install date is written so.
String formatNow(const char* fmt);
