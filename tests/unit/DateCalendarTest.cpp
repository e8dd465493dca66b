#include "core/Date.h"

#include <gtest/gtest.h>

namespace {

enum : int32_t { Sunday = 1, Monday, Tuesday, Wednesday, Thursday, Friday, Saturday };

struct KnownDay {
    int32_t month, day, year;
    int32_t weekday;
    const char* fact;
};

// Facts from outside this calendar: history books and the Unix epoch.
TEST(DateCalendar, KnownWeekdays) {
    const KnownDay days[] = {
        {10, 4, 1582, Thursday, "last day of the Julian calendar"},
        {10, 15, 1582, Friday, "first day of the Gregorian calendar"},
        {7, 14, 1789, Tuesday, "storming of the Bastille"},
        {1, 1, 1970, Thursday, "Unix epoch"},
        {1, 1, 2000, Saturday, "Y2K"},
        {2, 29, 2000, Tuesday, "leap day of a 400-year"},
        {7, 20, 1969, Sunday, "Moon landing"},
        {12, 25, 800, Friday, "Charlemagne crowned (Julian)"},
        {3, 1, 1600, Wednesday, "after a Gregorian century leap day"},
        {12, 5, 2026, Saturday, "a later day"},
    };
    for (const auto& d : days) {
        const Date date(d.month, d.day, d.year);
        EXPECT_EQ(date.weekday(), d.weekday) << d.fact;
        EXPECT_TRUE(date.isValid()) << d.fact;
        EXPECT_EQ(date.month(), d.month) << d.fact;
        EXPECT_EQ(date.day(), d.day) << d.fact;
        EXPECT_EQ(date.year(), d.year) << d.fact;
    }
}

TEST(DateCalendar, CalendarReformSkipsTenDays) {
    const Date lastJulian(10, 4, 1582);
    const Date firstGregorian(10, 15, 1582);
    EXPECT_EQ(firstGregorian.dayNumber() - lastJulian.dayNumber(), 1);
    Date next = lastJulian;
    next.addDays(1);
    EXPECT_EQ(next.month(), 10);
    EXPECT_EQ(next.day(), 15);
    EXPECT_EQ(next.year(), 1582);
}

TEST(DateCalendar, DayNumbersAreJulianDayNumbersLessOne) {
    EXPECT_EQ(Date(1, 1, 2000).dayNumber(), 2451545 - 1);
    EXPECT_EQ(Date(1, 1, 1970).dayNumber(), 2440588 - 1);
}

struct ValidityCase {
    int32_t month, day, year;
    bool valid;
};

TEST(DateCalendar, Validity) {
    const ValidityCase cases[] = {
        {2, 29, 2000, true},  {2, 29, 1900, false}, {2, 29, 2024, true},  {2, 29, 2023, false},
        {2, 29, 1500, true},  {2, 29, 1700, false}, {4, 31, 2026, false}, {12, 31, 2026, true},
        {13, 1, 2026, false}, {0, 1, 2026, false},  {1, 0, 2026, false},  {1, 32, 2026, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Date(c.month, c.day, c.year).isValid(), c.valid)
            << c.month << "/" << c.day << "/" << c.year;
}

TEST(DateCalendar, RoundTripOverBothCalendars) {
    const int32_t first = Date(1, 1, 101).dayNumber();
    const int32_t last = Date(12, 31, 9999).dayNumber();
    ASSERT_GT(last - first, 3000000);
    int32_t expectedWeekday = Date(1, 1, 101).weekday();
    for (int32_t n = first; n <= last; ++n) {
        Date date;
        date.setFromDayNumber(n);
        ASSERT_TRUE(date.isValid()) << n;
        ASSERT_EQ(date.weekday(), expectedWeekday) << n;
        expectedWeekday = expectedWeekday % 7 + 1;
        const Date again(date.month(), date.day(), date.year());
        ASSERT_EQ(again.dayNumber(), n) << date.month() << "/" << date.day() << "/" << date.year();
    }
}

TEST(DateCalendar, ConsecutiveDayNumbersAreConsecutiveDates) {
    Date date(2, 27, 1500);
    const int32_t expected[][3] = {{2, 28, 1500}, {2, 29, 1500}, {3, 1, 1500}};
    for (const auto& e : expected) {
        date.addDays(1);
        EXPECT_EQ(date.month(), e[0]);
        EXPECT_EQ(date.day(), e[1]);
        EXPECT_EQ(date.year(), e[2]);
    }
    date.set(12, 31, 2026);
    date.addDays(1);
    EXPECT_EQ(date.year(), 2027);
    date.addDays(-1);
    EXPECT_EQ(date.day(), 31);
}

TEST(DateCalendar, AddDaysKeepsAnUnsetDateUnset) {
    Date none;
    none.addDays(5);
    EXPECT_EQ(none.dayNumber(), 0);
    EXPECT_FALSE(none.isValid());
}

TEST(DateCalendar, TwoDigitYearsMoveToTheNearestCentury) {
    const int32_t cases[][3] = {
        // year, current year, expected
        {30, 2026, 2030}, {80, 2026, 1980}, {76, 2026, 2076}, {100, 2026, 2000}, {77, 2026, 1977},
        {0, 2026, 2000},  {5, 2099, 2105},  {99, 2000, 1999}, {101, 2026, 101},  {-5, 2026, -5},
    };
    for (const auto& c : cases)
        EXPECT_EQ(expandTwoDigitYear(c[0], c[1]), c[2]) << c[0] << " in " << c[1];
}

TEST(DateCalendar, SetExpandsATwoDigitYearAgainstToday) {
    const int32_t thisYear = Date::today().year();
    EXPECT_EQ(Date(7, 3, 5).year(), expandTwoDigitYear(5, thisYear));
    EXPECT_EQ(Date(7, 3, 5).dayNumber(), Date(7, 3, expandTwoDigitYear(5, thisYear)).dayNumber());
}

TEST(DateCalendar, NamesAndMonthLengths) {
    EXPECT_STREQ(weekdayName(1), "Sunday");
    EXPECT_STREQ(weekdayName(7), "Saturday");
    EXPECT_STREQ(weekdayName(0), "");
    EXPECT_STREQ(weekdayName(8), "");
    EXPECT_STREQ(monthName(1), "January");
    EXPECT_STREQ(monthName(12), "December");
    EXPECT_STREQ(monthName(13), "");
    EXPECT_EQ(daysInMonth(2, 1900), 28);
    EXPECT_EQ(daysInMonth(2, 1600), 29);
    EXPECT_EQ(daysInMonth(13, 2000), 0);
}

TEST(DateCalendar, Quarter) {
    const int32_t quarters[] = {1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4};
    for (int32_t month = 1; month <= 12; ++month)
        EXPECT_EQ(Date(month, 1, 2026).quarter(), quarters[month - 1]) << month;
    EXPECT_EQ(Date(2, 30, 2026).quarter(), INT32_MIN);
    EXPECT_EQ(Date().quarter(), INT32_MIN);
}

TEST(DateCalendar, ComparisonPutsInvalidDatesFirst) {
    const Date earlier(1, 1, 1999);
    const Date later(1, 2, 1999);
    const Date invalid(2, 30, 1999);
    EXPECT_LT(earlier, later);
    EXPECT_GT(later, earlier);
    EXPECT_EQ(earlier, Date(1, 1, 1999));
    EXPECT_LT(invalid, earlier);
    EXPECT_EQ(invalid, Date());
    EXPECT_LT(Date(), Date(10, 4, 1582));
}

TEST(DateCalendar, FarYearsDoNotWrapTheDayNumber) {
    Date far(1, 1, 2000000000);
    EXPECT_EQ(far.dayNumber(), 0);
    EXPECT_FALSE(far.isValid());
    Date last;
    last.setFromDayNumber(INT32_MAX);
    last.addDays(1);
    EXPECT_EQ(last.dayNumber(), 0);
}

} // namespace
