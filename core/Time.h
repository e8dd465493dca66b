#pragma once
// A time of day: hour, minute, second; all three -1 when no time is set.

#include <cstdint>

class String;

class Time {
public:
    Time() = default;
    Time(int32_t hour, int32_t minute, int32_t second)
        : hour_(hour), minute_(minute), second_(second) {}

    void set(int32_t hour, int32_t minute, int32_t second) { *this = Time(hour, minute, second); }
    void clear() { *this = Time(); }

    bool isValid() const {
        return hour_ >= 0 && hour_ <= 23 && minute_ >= 0 && minute_ < 60 && second_ >= 0 &&
               second_ < 60;
    }

    // Reads "h:mm", "h:mm:ss" with an optional "a"/"p" (also "am", "p.m.")
    // at the cursor and moves the cursor past it. False, with the time
    // cleared and the cursor unmoved, unless a valid time was read.
    bool parse(const char*& cursor);

    // Through the time format codes; null or "" means the default format.
    String format(const char* fmt) const;

    int32_t hour() const { return hour_; }
    int32_t minute() const { return minute_; }
    int32_t second() const { return second_; }

private:
    friend class DateTime;
    int32_t hour_ = -1;
    int32_t minute_ = -1;
    int32_t second_ = -1;
};

// An invalid time sorts before a valid one, except that it equals 00:00:00;
// two invalid times are equal.
int compare(const Time& a, const Time& b);
inline bool operator==(const Time& a, const Time& b) {
    return compare(a, b) == 0;
}
inline bool operator!=(const Time& a, const Time& b) {
    return compare(a, b) != 0;
}
inline bool operator<(const Time& a, const Time& b) {
    return compare(a, b) < 0;
}
inline bool operator>(const Time& a, const Time& b) {
    return compare(a, b) > 0;
}
inline bool operator<=(const Time& a, const Time& b) {
    return compare(a, b) <= 0;
}
inline bool operator>=(const Time& a, const Time& b) {
    return compare(a, b) >= 0;
}
