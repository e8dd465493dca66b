#include "core/TimeStamp.h"
#include "core/DateTime.h"

#include <gtest/gtest.h>

namespace {

TimeStamp stamp(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute,
                int32_t second) {
    TimeStamp s;
    s.year = year;
    s.month = month;
    s.day = day;
    s.hour = hour;
    s.minute = minute;
    s.second = second;
    return s;
}

struct StampCase {
    TimeStamp a, b;
    int expected; // sign of a.compare(b), or the exact seconds' difference
    bool exact;
    const char* what;
};

// The "date is not newer" rule replaces a file only when the target's stamp
// compares below the entry's.
TEST(TimeStampCompare, Table) {
    const TimeStamp noDate = stamp(2026, 0, 0, 10, 0, 0);
    const TimeStamp noTime = stamp(2026, 12, 5, -1, 0, 0);
    TimeStamp cleared;
    cleared.clear();
    const StampCase cases[] = {
        {stamp(2026, 12, 5, 10, 0, 0), noDate, -1, true, "a date sorts before no date"},
        {noDate, stamp(2026, 12, 5, 10, 0, 0), 1, true, "no date sorts after a date"},
        {stamp(2025, 12, 5, 10, 0, 0), stamp(2026, 1, 1, 0, 0, 0), -1, false, "year first"},
        {stamp(2026, 2, 1, 0, 0, 0), stamp(2026, 1, 31, 23, 0, 0), 1, false, "then month"},
        {stamp(2026, 1, 2, 0, 0, 0), stamp(2026, 1, 3, 0, 0, 0), -1, false, "then day"},
        {noTime, noTime, 0, true, "no time equals no time"},
        {noTime, stamp(2026, 12, 5, 0, 0, 0), 1, true, "no time sorts after a time"},
        {stamp(2026, 12, 5, 0, 0, 0), noTime, -1, true, "a time sorts before no time"},
        {cleared, cleared, 0, true, "two cleared stamps are equal"},
        {stamp(2026, 12, 5, 9, 59, 59), stamp(2026, 12, 5, 10, 0, 0), -1, false, "hour"},
        {stamp(2026, 12, 5, 10, 1, 0), stamp(2026, 12, 5, 10, 0, 59), 1, false, "minute"},
        {stamp(2026, 12, 5, 10, 0, 50), stamp(2026, 12, 5, 10, 0, 8), 42, true,
         "seconds give their difference"},
        {stamp(2026, 12, 5, 10, 0, 8), stamp(2026, 12, 5, 10, 0, 8), 0, true, "equal"},
        {stamp(2026, 12, 5, 10, 0, INT32_MIN), stamp(2026, 12, 5, 10, 0, 1), INT32_MIN, true,
         "a damaged record's seconds do not overflow"},
    };
    for (const auto& c : cases) {
        const int result = c.a.compare(c.b);
        if (c.exact)
            EXPECT_EQ(result, c.expected) << c.what;
        else
            EXPECT_EQ((result > 0) - (result < 0), c.expected) << c.what;
    }
}

TEST(TimeStampCompare, ClearedStampHasNeitherPart) {
    TimeStamp s = stamp(2026, 12, 5, 10, 0, 0);
    s.clear();
    EXPECT_EQ(s.month, 0);
    EXPECT_EQ(s.hour, -1);
    EXPECT_FALSE(s.hasDate());
    EXPECT_FALSE(s.hasTime());
}

TEST(TimeStampConvert, ToDateTimeKeepsTheUnsetParts) {
    const DateTime both = stamp(2026, 12, 5, 15, 4, 5).toDateTime();
    EXPECT_EQ(both.date().dayNumber(), Date(12, 5, 2026).dayNumber());
    EXPECT_EQ(both.date().weekday(), 7);
    EXPECT_EQ(both.time().hour(), 15);
    EXPECT_EQ(both.time().second(), 5);

    const DateTime dateOnly = stamp(2026, 12, 5, -1, 0, 0).toDateTime();
    EXPECT_TRUE(dateOnly.date().isValid());
    EXPECT_FALSE(dateOnly.time().isValid());

    const DateTime timeOnly = stamp(0, 0, 0, 15, 4, 5).toDateTime();
    EXPECT_EQ(timeOnly.date().dayNumber(), 0);
    EXPECT_TRUE(timeOnly.time().isValid());
}

TEST(TimeCompare, InvalidTimesSortFirstButEqualMidnight) {
    const Time none;
    const struct {
        Time a, b;
        int expected;
    } cases[] = {
        {Time(10, 0, 0), Time(10, 0, 1), -1},
        {Time(10, 1, 0), Time(10, 0, 59), 1},
        {Time(11, 0, 0), Time(10, 59, 59), 1},
        {Time(10, 0, 0), Time(10, 0, 0), 0},
        {none, Time(0, 0, 1), -1},
        {Time(0, 0, 1), none, 1},
        {none, none, 0},
        {none, Time(0, 0, 0), 0},
        {Time(0, 0, 0), none, 0},
        {Time(24, 0, 0), Time(0, 0, 5), -1},
    };
    for (const auto& c : cases) {
        const int result = compare(c.a, c.b);
        EXPECT_EQ((result > 0) - (result < 0), c.expected)
            << c.a.hour() << ":" << c.a.minute() << ":" << c.a.second() << " vs " << c.b.hour()
            << ":" << c.b.minute() << ":" << c.b.second();
    }
}

TEST(DateTimeCompare, DatesFirstThenTimes) {
    const DateTime morning(Date(12, 5, 2026), Time(9, 0, 0));
    const DateTime evening(Date(12, 5, 2026), Time(21, 0, 0));
    const DateTime nextMorning(Date(12, 6, 2026), Time(1, 0, 0));
    EXPECT_LT(morning, evening);
    EXPECT_LT(evening, nextMorning);
    EXPECT_GT(nextMorning, morning);
    EXPECT_EQ(morning, DateTime(Date(12, 5, 2026), Time(9, 0, 0)));
    EXPECT_LT(DateTime(Date(), Time(23, 0, 0)), morning);
}

struct AddCase {
    int32_t hour, minute;
    bool hours; // addHours instead of addMinutes
    int32_t amount;
    int32_t day, newHour, newMinute; // day of December 2026 (or 0 for 30 November)
};

TEST(DateTimeAdd, CarryAndBorrow) {
    const AddCase cases[] = {
        {23, 59, false, 1, 6, 0, 0},
        {0, 0, false, -1, 4, 23, 59},
        {10, 30, false, 90, 5, 12, 0},
        {10, 30, false, -90, 5, 9, 0},
        {10, 30, false, 30, 5, 11, 0},
        {10, 30, false, -30, 5, 10, 0},
        {10, 30, false, -31, 5, 9, 59},
        {10, 30, false, 2 * 1440 + 1, 7, 10, 31},
        {10, 30, false, -5 * 1440, 0, 10, 30},
        {23, 0, true, 25, 7, 0, 0},
        {1, 0, true, -2, 4, 23, 0},
        {12, 0, true, 0, 5, 12, 0},
        {12, 0, false, 0, 5, 12, 0},
    };
    for (const auto& c : cases) {
        DateTime moment(Date(12, 5, 2026), Time(c.hour, c.minute, 33));
        if (c.hours)
            moment.addHours(c.amount);
        else
            moment.addMinutes(c.amount);
        const Date expected = c.day ? Date(12, c.day, 2026) : Date(11, 30, 2026);
        EXPECT_EQ(moment.date().dayNumber(), expected.dayNumber())
            << c.hour << ":" << c.minute << (c.hours ? " hours " : " minutes ") << c.amount;
        EXPECT_EQ(moment.time().hour(), c.newHour) << c.amount;
        EXPECT_EQ(moment.time().minute(), c.newMinute) << c.amount;
        EXPECT_EQ(moment.time().second(), 33) << c.amount;
    }
}

TEST(DateTimeAdd, AcrossTheYearEnd) {
    DateTime moment(Date(12, 31, 2026), Time(23, 30, 0));
    moment.addMinutes(45);
    EXPECT_EQ(moment.date().year(), 2027);
    EXPECT_EQ(moment.date().month(), 1);
    EXPECT_EQ(moment.date().day(), 1);
    EXPECT_EQ(moment.time().minute(), 15);
}

} // namespace
