#include "core/DateFormat.h"
#include "core/Clock.h"
#include "core/DateTime.h"
#include "core/String.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string text(const String& s) {
    return std::string(s.c_str(), size_t(s.length()));
}

const DateTime kLogMoment(Date(12, 5, 2026), Time(15, 4, 5));

TEST(DateFormat, InstallLogLine) {
    EXPECT_EQ(text(kLogMoment.format("d-M-yy h:ii:ssap")), "5-Dec-2026 3:04:05p");
}

TEST(DateFormat, MonthNameOrdinalDayAndYear) {
    EXPECT_EQ(text(Date(7, 3, 2005).format("MM D, yy")), "July 3rd, 2005");
}

struct CodeCase {
    const char* fmt;
    const char* expected;
};

TEST(DateFormat, EveryCodeOfADateAndTime) {
    // Sunday 3 July 2005, 09:07:02.
    const DateTime moment(Date(7, 3, 2005), Time(9, 7, 2));
    const CodeCase cases[] = {
        {"d", "3"},   {"dd", "03"},   {"D", "3rd"},   {"DD", "third"},
        {"m", "7"},   {"mm", "07"},   {"M", "Jul"},   {"MM", "July"},
        {"w", "1"},   {"ww", "01"},   {"W", "Sun"},   {"WW", "Sunday"},
        {"y", "05"},  {"yy", "2005"}, {"Y", "five"},  {"YY", "two thousand five"},
        {"Q", "Q"},   {"h", "9"},     {"hh", "09"},   {"H", "9"},
        {"HH", "09"}, {"i", "7"},     {"ii", "07"},   {"s", "2"},
        {"ss", "02"}, {"ap", "a"},    {"AP", "a.m."}, {"aP", "a"},
        {"a", "a"},   {"A-", "A-"},   {"ddd", "033"}, {"[x] 100%", "[x] 100%"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(text(moment.format(c.fmt)), c.expected) << c.fmt;
}

TEST(DateFormat, DatesKnowTheQuarterButNoTimeCodes) {
    const CodeCase cases[] = {
        {"Q", "Q3"},
        {"QQ", "Q3Q3"},
        {"h:ii:ss ap b", "h:ii:ss ap b"},
        {"WW, MM D", "Sunday, July 3rd"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(text(Date(7, 3, 2005).format(c.fmt)), c.expected) << c.fmt;
}

TEST(DateFormat, TwelveHourClock) {
    const struct {
        int32_t hour;
        const char* expected;
    } cases[] = {
        {0, "12a 12 a.m."},  {1, "1a 01 a.m."},  {11, "11a 11 a.m."},
        {12, "12p 12 p.m."}, {13, "1p 01 p.m."}, {23, "11p 11 p.m."},
    };
    for (const auto& c : cases) {
        const DateTime moment(Date(1, 1, 2001), Time(c.hour, 0, 0));
        EXPECT_EQ(text(moment.format("hap hh AP")), c.expected) << c.hour;
    }
}

TEST(DateFormat, ZoneOffsetCodeFollowsTheClock) {
    const int32_t offset = timeZoneOffsetMinutes();
    const int32_t magnitude = offset < 0 ? -offset : offset;
    const String expected =
        String::formatted("%c%02d%02d", offset < 0 ? '-' : '+', magnitude / 60, magnitude % 60);
    EXPECT_EQ(text(kLogMoment.format("b")), text(expected));
}

TEST(DateFormat, SpelledOutDays) {
    const struct {
        int32_t day;
        const char* words;
    } cases[] = {{1, "first"},          {2, "second"},     {5, "fifth"},
                 {8, "eighth"},         {9, "ninth"},      {11, "eleventh"},
                 {12, "twelfth"},       {20, "twentieth"}, {21, "twenty-first"},
                 {22, "twenty-second"}, {30, "thirtieth"}, {31, "thirty-first"}};
    for (const auto& c : cases)
        EXPECT_EQ(text(Date(1, c.day, 2001).format("DD")), c.words) << c.day;
    EXPECT_EQ(text(Date(1, 1, 1984).format("YY / Y")),
              "one thousand nine hundred eighty-four / eighty-four");
}

TEST(DateFormat, DefaultsForNullAndEmptyFormats) {
    EXPECT_EQ(text(defaultDateFormat()), "m/d/y");
    EXPECT_EQ(text(defaultDateTimeFormat()), "m/d/y h:ii:ssap");
    EXPECT_EQ(text(defaultTimeFormat()), "h:ii:ssap");
    EXPECT_EQ(text(kLogMoment.date().format(nullptr)), "12/5/26");
    EXPECT_EQ(text(kLogMoment.date().format("")), "12/5/26");
    EXPECT_EQ(text(kLogMoment.format(nullptr)), "12/5/26 3:04:05p");
    EXPECT_EQ(text(kLogMoment.time().format("")), "3:04:05p");
}

TEST(DateFormat, AChangedDefaultIsUsed) {
    String& format = defaultDateFormat();
    const String saved = format;
    format = "yy-mm-dd";
    EXPECT_EQ(text(kLogMoment.date().format(nullptr)), "2026-12-05");
    format = saved;
}

TEST(DateFormat, UnsetFieldsPrintAsTheyAre) {
    EXPECT_EQ(text(Date().format("m/d/yy")), "0/0/0000");
    EXPECT_EQ(text(Date().format("MM|WW")), "|");
}

TEST(DateFormat, FormatNowPrintsTheClock) {
    const String before = DateTime::now().format("yy-mm-dd HH:ii");
    const String now = formatNow("yy-mm-dd HH:ii");
    const String after = DateTime::now().format("yy-mm-dd HH:ii");
    EXPECT_TRUE(now == before || now == after) << now.c_str();
}

} // namespace
