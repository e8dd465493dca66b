#include "core/Date.h"

#include "core/Clock.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

const char* const kWeekdays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                 "Thursday", "Friday", "Saturday"};
const char* const kMonths[] = {"January",   "February", "March",    "April",
                               "May",       "June",     "July",     "August",
                               "September", "October",  "November", "December"};
const int32_t kMonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// First day number of the Gregorian calendar (15 October 1582).
constexpr int32_t kGregorianStart = 2299160;

int64_t truncated(double x) {
    return static_cast<int64_t>(std::trunc(x));
}

int32_t weekdayOf(int32_t dayNumber) {
    if (dayNumber == 0)
        return 0;
    const int64_t shifted = (int64_t(dayNumber) + 2) % 7;
    return int32_t(shifted < 0 ? shifted + 7 : shifted) + 1;
}

} // namespace

const char* weekdayName(int32_t weekday) {
    return weekday >= 1 && weekday <= 7 ? kWeekdays[weekday - 1] : "";
}

const char* monthName(int32_t month) {
    return month >= 1 && month <= 12 ? kMonths[month - 1] : "";
}

bool isLeapYear(int32_t year) {
    if (year % 4 != 0)
        return false;
    return year < 1582 || year % 100 != 0 || year % 400 == 0;
}

int32_t daysInMonth(int32_t month, int32_t year) {
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && isLeapYear(year) ? 29 : kMonthDays[month - 1];
}

int32_t expandTwoDigitYear(int32_t year, int32_t currentYear) {
    if (year < 0 || year > 100)
        return year;
    const int32_t r = currentYear % 100;
    const int32_t previous = std::abs(year - r - 100);
    const int32_t current = std::abs(year - r);
    const int32_t next = std::abs(year - r + 100);
    int32_t offset = 100;
    if (previous < current && previous < next)
        offset = -100;
    else if (current < next)
        offset = 0;
    return year + (currentYear - r) + offset;
}

void Date::set(int32_t month, int32_t day, int32_t year) {
    if (year >= 0 && year <= 100)
        year = expandTwoDigitYear(year, localTimeNow().year);
    month_ = month;
    day_ = day;
    year_ = year;
    dayNumber_ = 0;
    weekday_ = 0;
    if (month <= 0)
        return;
    int64_t y = year;
    const int64_t m = month > 2 ? month : month + 12;
    if (y < 0)
        y += 1;
    if (month < 3)
        y -= 1;
    int64_t n = truncated(double(y) * 365.25) + day + truncated(double(m + 1) * 30.6001) + 1720994;
    if ((y * 100 + m) * 100 + day >= 15821015) {
        const int64_t a = y / 100;
        n += 2 - a + a / 4;
    }
    // A year far outside any calendar in use leaves the date unset rather
    // than wrapping the day number.
    if (n < INT32_MIN || n > INT32_MAX)
        return;
    dayNumber_ = int32_t(n);
    weekday_ = weekdayOf(dayNumber_);
}

void Date::setFromDayNumber(int32_t dayNumber) {
    if (dayNumber == 0) {
        clear();
        return;
    }
    int64_t b = int64_t(dayNumber) + 1;
    if (dayNumber >= kGregorianStart) {
        // Divided, not multiplied by the reciprocal: on 1 March 6700 the
        // quotient is exactly 63 and the reciprocal would land a day off.
        const int64_t alpha = truncated((double(b) - 1867216.25) / 36524.25);
        b = b + alpha - alpha / 4 + 1;
    }
    b += b > 1721423 ? 1524 : 1158;
    const int64_t c = truncated((double(b) - 122.1) / 365.25);
    const int64_t d = truncated(double(c) * 365.25);
    const int64_t e = truncated(double(b - d) / 30.6001);
    dayNumber_ = dayNumber;
    day_ = int32_t(b - truncated(double(e) * 30.6001) - d);
    month_ = int32_t(e < 14 ? e - 1 : e - 13);
    year_ = int32_t(c - 4716 + (month_ < 3 ? 1 : 0));
    weekday_ = weekdayOf(dayNumber);
}

void Date::addDays(int32_t days) {
    // Moving a time across midnight must not invent a date where none was.
    if (dayNumber_ == 0)
        return;
    const int64_t dayNumber = int64_t(dayNumber_) + days;
    if (dayNumber < INT32_MIN || dayNumber > INT32_MAX)
        clear();
    else
        setFromDayNumber(int32_t(dayNumber));
}

Date Date::today() {
    const TimeStamp now = localTimeNow();
    return Date(now.month, now.day, now.year);
}

bool Date::isValid() const {
    return month_ >= 1 && month_ <= 12 && weekday_ >= 1 && weekday_ <= 7 && day_ >= 1 &&
           day_ <= daysInMonth(month_, year_);
}

int32_t Date::quarter() const {
    return isValid() ? (month_ - 1) / 3 + 1 : INT32_MIN;
}

int compare(const Date& a, const Date& b) {
    const bool aValid = a.isValid();
    const bool bValid = b.isValid();
    if (!aValid || !bValid)
        return int(aValid) - int(bValid);
    return a.dayNumber() < b.dayNumber() ? -1 : a.dayNumber() > b.dayNumber() ? 1 : 0;
}
