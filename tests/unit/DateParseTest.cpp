#include "core/Date.h"
#include "core/DateTime.h"
#include "core/String.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct DateCase {
    const char* text;
    bool dayFirst;
    int32_t month, day, year;
    const char* rest; // null: the parse fails
};

TEST(DateParse, Forms) {
    const int32_t year05 = expandTwoDigitYear(5, Date::today().year());
    const DateCase cases[] = {
        {"Tue, July 3rd, 2005", false, 7, 3, 2005, ""},
        {"  sunday July 3 2005 10:30", false, 7, 3, 2005, " 10:30"},
        {"SUN,july 2nd,2005", false, 7, 2, 2005, ""},
        {"Jul 1st 2005", false, 7, 1, 2005, ""},
        {"Jul 3, 05", false, 7, 3, year05, ""},
        {"July 2005", false, 7, 1, 2005, ""},
        {"March 2005 10:30", false, 3, 1, 2005, " 10:30"},
        {"5-Dec-2026 3:04:05p", false, 12, 5, 2026, " 3:04:05p"},
        {"5 December 2026", false, 12, 5, 2026, ""},
        {"5. Dec. 2026", false, 12, 5, 2026, ""},
        {"7/3/2005", false, 7, 3, 2005, ""},
        {"7/3/2005", true, 3, 7, 2005, ""},
        {"3.7.2005", true, 7, 3, 2005, ""},
        {"12 / 25 / 1999 x", false, 12, 25, 1999, " x"},
        {"2005-07-03", false, 7, 3, 2005, ""},
        {"2005-07-03", true, 7, 3, 2005, ""},
        {"7/2005", false, 7, 1, 2005, ""},
        {"7/2005 10:30", true, 7, 1, 2005, " 10:30"},
        {"Sat 1-1-2000", false, 1, 1, 2000, ""},
        {"", false, 0, 0, 0, nullptr},
        {"hello", false, 0, 0, 0, nullptr},
        {"Mon", false, 0, 0, 0, nullptr},
        {"July", false, 0, 0, 0, nullptr},
        {"12", false, 0, 0, 0, nullptr},
        {"12:30", false, 0, 0, 0, nullptr},
        {"12/", false, 0, 0, 0, nullptr},
        {"12/5/", false, 0, 0, 0, nullptr},
        {"5-Foo-2026", false, 0, 0, 0, nullptr},
        {"5 Dec", false, 0, 0, 0, nullptr},
    };
    for (const auto& c : cases) {
        Date date(1, 1, 1999);
        const char* rest = date.parse(c.text, c.dayFirst);
        if (!c.rest) {
            EXPECT_EQ(rest, nullptr) << c.text;
            EXPECT_EQ(date.dayNumber(), 0) << c.text;
            EXPECT_EQ(date.month(), 0) << c.text;
            continue;
        }
        ASSERT_NE(rest, nullptr) << c.text;
        EXPECT_STREQ(rest, c.rest) << c.text;
        EXPECT_EQ(date.month(), c.month) << c.text;
        EXPECT_EQ(date.day(), c.day) << c.text;
        EXPECT_EQ(date.year(), c.year) << c.text;
        EXPECT_EQ(date.dayNumber(), Date(c.month, c.day, c.year).dayNumber()) << c.text;
    }
    Date none;
    EXPECT_EQ(none.parse(nullptr, false), nullptr);
}

TEST(DateParse, HugeNumbersDoNotOverflow) {
    Date date;
    EXPECT_NE(date.parse("99999999999999999999/99999999999999/9999999999999999", false), nullptr);
    EXPECT_FALSE(date.isValid());
}

struct TimeCase {
    const char* text;
    int32_t hour, minute, second;
    const char* rest; // null: the parse fails
};

TEST(TimeParse, Forms) {
    const TimeCase cases[] = {
        {"3:04", 3, 4, 0, ""},
        {" 15:04:05", 15, 4, 5, ""},
        {"3:04:05p", 15, 4, 5, ""},
        {"3:04:05 PM", 15, 4, 5, ""},
        {"3:04:05 p.m. +0100", 15, 4, 5, " +0100"},
        {"3:04:05a.m.", 3, 4, 5, ""},
        {"3:04p", 15, 4, 0, ""},
        {"3:04 pm", 15, 4, 0, ""},
        {"12:30 pm", 12, 30, 0, ""},
        {"12:30:00a", 0, 30, 0, ""},
        {"11:59:59 am", 11, 59, 59, ""},
        {"13:00 p", 13, 0, 0, ""},
        {"3:04 and more", 3, 4, 0, " and more"},
        {"3:04:05, x", 3, 4, 5, ", x"},
        {"24:00", 0, 0, 0, nullptr},
        {"3:60", 0, 0, 0, nullptr},
        {"3:04:60", 0, 0, 0, nullptr},
        {"3", 0, 0, 0, nullptr},
        {"3:", 0, 0, 0, nullptr},
        {"3:04:", 0, 0, 0, nullptr},
        {":04", 0, 0, 0, nullptr},
        {"noon", 0, 0, 0, nullptr},
        {"", 0, 0, 0, nullptr},
    };
    for (const auto& c : cases) {
        Time time(1, 2, 3);
        const char* cursor = c.text;
        const bool ok = time.parse(cursor);
        if (!c.rest) {
            EXPECT_FALSE(ok) << c.text;
            EXPECT_EQ(cursor, c.text) << c.text;
            EXPECT_EQ(time.hour(), -1) << c.text;
            EXPECT_EQ(time.minute(), -1) << c.text;
            EXPECT_EQ(time.second(), -1) << c.text;
            continue;
        }
        ASSERT_TRUE(ok) << c.text;
        EXPECT_STREQ(cursor, c.rest) << c.text;
        EXPECT_EQ(time.hour(), c.hour) << c.text;
        EXPECT_EQ(time.minute(), c.minute) << c.text;
        EXPECT_EQ(time.second(), c.second) << c.text;
    }
}

struct DateTimeCase {
    const char* text;
    int32_t localOffset;
    int32_t month, day, year; // month 0: no date
    int32_t hour, minute, second;
};

TEST(DateTimeParse, FormsAndZoneOffsets) {
    const DateTimeCase cases[] = {
        {"12/5/2026 15:04:05", 0, 12, 5, 2026, 15, 4, 5},
        {"Dec 5, 2026, 3:04 pm", 0, 12, 5, 2026, 15, 4, 0},
        {"5-Dec-2026 3:04:05p", 0, 12, 5, 2026, 15, 4, 5},
        {"March 2005 10:30", 0, 3, 1, 2005, 10, 30, 0},
        {"15:04", 0, 0, 0, 0, 15, 4, 0},
        {"2026-12-05 15:04:05 +0100", 60, 12, 5, 2026, 15, 4, 5},
        {"2026-12-05 15:04:05 +0100", 0, 12, 5, 2026, 14, 4, 5},
        {"2026-12-05 15:04:05 +0100", 120, 12, 5, 2026, 16, 4, 5},
        {"2026-12-05 23:30:00 -0130", 60, 12, 6, 2026, 2, 0, 0},
        {"2027-01-01 00:10:00 +0000", -60, 12, 31, 2026, 23, 10, 0},
        {"2026-12-05 15:04:05 + 12", 60, 12, 5, 2026, 15, 4, 5},
        {"23:30 +0000", 60, 0, 0, 0, 0, 30, 0},
    };
    for (const auto& c : cases) {
        DateTime moment;
        ASSERT_TRUE(moment.parse(c.text, c.localOffset)) << c.text;
        if (c.month) {
            EXPECT_EQ(moment.date().month(), c.month) << c.text;
            EXPECT_EQ(moment.date().day(), c.day) << c.text;
            EXPECT_EQ(moment.date().year(), c.year) << c.text;
        } else {
            EXPECT_EQ(moment.date().dayNumber(), 0) << c.text;
        }
        EXPECT_EQ(moment.time().hour(), c.hour) << c.text;
        EXPECT_EQ(moment.time().minute(), c.minute) << c.text;
        EXPECT_EQ(moment.time().second(), c.second) << c.text;
    }
}

TEST(DateTimeParse, ATimeIsRequired) {
    for (const char* text : {"12/5/2026", "", "garbage", "12/5/2026 noon"}) {
        DateTime moment(Date(1, 1, 2000), Time(1, 1, 1));
        EXPECT_FALSE(moment.parse(text, 0)) << text;
        EXPECT_EQ(moment.date().dayNumber(), 0) << text;
        EXPECT_FALSE(moment.time().isValid()) << text;
    }
    DateTime moment;
    EXPECT_FALSE(moment.parse(nullptr));
}

TEST(DateTimeParse, WithoutAnOffsetTheLocalZoneIsNotConsulted) {
    DateTime moment;
    ASSERT_TRUE(moment.parse("1/2/2026 10:00"));
    EXPECT_EQ(moment.time().hour(), 10);
    EXPECT_EQ(moment.date().day(), 2);
}

TEST(DateTimeParse, ReadsBackWhatTheDefaultFormatPrints) {
    const int32_t thisYear = Date::today().year();
    for (int32_t hour = 0; hour < 24; ++hour) {
        const DateTime original(Date(2, 28, thisYear), Time(hour, 59, 7));
        const String printed = original.format(nullptr);
        DateTime again;
        ASSERT_TRUE(again.parse(printed.c_str(), 0)) << printed.c_str();
        EXPECT_EQ(compare(again, original), 0) << printed.c_str();
    }
}

} // namespace
