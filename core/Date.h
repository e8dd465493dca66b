#pragma once
// Calendar dates held as a day number on the astronomical Julian day scale
// (day number = Julian day number - 1), Julian calendar before 15 October 1582,
// Gregorian from then on. Month, day and year are kept with the number.

#include <cstdint>

class String;

// English names; an index out of range gives "".
const char* weekdayName(int32_t weekday); // 1 = Sunday ... 7 = Saturday
const char* monthName(int32_t month);     // 1 = January ... 12 = December

bool isLeapYear(int32_t year);
int32_t daysInMonth(int32_t month, int32_t year); // 0 for a month out of range

// A year from 0 to 100 moves into the century that brings it nearest to
// currentYear (in 2026: 30 -> 2030, 80 -> 1980, 76 -> 2076, 100 -> 2000).
int32_t expandTwoDigitYear(int32_t year, int32_t currentYear);

class Date {
public:
    Date() = default;
    Date(int32_t month, int32_t day, int32_t year) { set(month, day, year); }

    // Stores the fields as given (so that isValid can reject 31 February),
    // expands a two-digit year and computes the day number and weekday.
    void set(int32_t month, int32_t day, int32_t year);
    void setFromDayNumber(int32_t dayNumber);
    void addDays(int32_t days); // a date without a day number stays unset
    void clear() { *this = Date(); }
    static Date today();

    bool isValid() const;
    int32_t quarter() const; // 1-4; INT32_MIN for an invalid date

    // Reads a date from the front of text (forms: "Tue, July 3rd, 2005",
    // "July 2005", "3-Jul-05", "7/3/2005", "3.7.2005" with dayFirst,
    // "2005-07-03", "7/2005"). Returns the position after it, or null with
    // the date cleared.
    const char* parse(const char* text, bool dayFirst);

    // Through the date format codes; null or "" means the default format.
    String format(const char* fmt) const;

    int32_t dayNumber() const { return dayNumber_; }
    int32_t month() const { return month_; }
    int32_t day() const { return day_; }
    int32_t year() const { return year_; }
    int32_t weekday() const { return weekday_; }

private:
    int32_t dayNumber_ = 0; // 0: no date
    int32_t month_ = 0;
    int32_t day_ = 0;
    int32_t year_ = 0;
    int32_t weekday_ = 0; // 1 = Sunday ... 7 = Saturday; 0 without a date
};

// An invalid date sorts before every valid one; two invalid dates are equal.
int compare(const Date& a, const Date& b);
inline bool operator==(const Date& a, const Date& b) {
    return compare(a, b) == 0;
}
inline bool operator!=(const Date& a, const Date& b) {
    return compare(a, b) != 0;
}
inline bool operator<(const Date& a, const Date& b) {
    return compare(a, b) < 0;
}
inline bool operator>(const Date& a, const Date& b) {
    return compare(a, b) > 0;
}
inline bool operator<=(const Date& a, const Date& b) {
    return compare(a, b) <= 0;
}
inline bool operator>=(const Date& a, const Date& b) {
    return compare(a, b) >= 0;
}
