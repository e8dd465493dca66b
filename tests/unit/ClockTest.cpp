// Runs against the POSIX seam natively and the Win32 seam under Wine; the
// C runtime's own clock is the independent witness.
#include "core/Clock.h"
#include "core/Date.h"
#include "core/DateTime.h"

#include <gtest/gtest.h>

#include <ctime>

namespace {

int64_t secondsOfDay(const std::tm& t) {
    return t.tm_hour * 3600 + t.tm_min * 60 + t.tm_sec;
}

TEST(Clock, LocalTimeAgreesWithTheCRuntime) {
    const std::time_t now = std::time(nullptr);
    const std::tm runtime = *std::localtime(&now);
    const TimeStamp seam = localTimeNow();
    const Date runtimeDate(runtime.tm_mon + 1, runtime.tm_mday, runtime.tm_year + 1900);
    const Date seamDate(seam.month, seam.day, seam.year);
    const int64_t difference = (int64_t(seamDate.dayNumber()) - runtimeDate.dayNumber()) * 86400 +
                               (seam.hour * 3600 + seam.minute * 60 + seam.second) -
                               secondsOfDay(runtime);
    EXPECT_GE(difference, 0);
    EXPECT_LE(difference, 5);
    EXPECT_TRUE(seam.hasDate());
    EXPECT_TRUE(seam.hasTime());
    EXPECT_EQ(Date::today().year(), seam.year);
    EXPECT_TRUE(DateTime::now().time().isValid());
}

TEST(Clock, ZoneOffsetIsLocalMinusUniversalTime) {
    const std::time_t now = std::time(nullptr);
    const std::tm local = *std::localtime(&now);
    const std::tm universal = *std::gmtime(&now);
    const Date localDate(local.tm_mon + 1, local.tm_mday, local.tm_year + 1900);
    const Date universalDate(universal.tm_mon + 1, universal.tm_mday, universal.tm_year + 1900);
    const int64_t minutes = ((int64_t(localDate.dayNumber()) - universalDate.dayNumber()) * 86400 +
                             secondsOfDay(local) - secondsOfDay(universal)) /
                            60;
    EXPECT_EQ(timeZoneOffsetMinutes(), minutes);
}

TEST(Clock, SleepLetsTheTickCountAdvance) {
    const uint32_t start = tickCount();
    sleep(120);
    // Windows ticks move in steps of 10 to 16 ms.
    EXPECT_GE(elapsedMilliseconds(start), 100u);
    sleep(0);
    sleep(-5);
}

TEST(Clock, ElapsedIsTheDistanceEvenFromAStartAhead) {
    const uint32_t ahead = tickCount() + 5000;
    const uint32_t elapsed = elapsedMilliseconds(ahead);
    EXPECT_LE(elapsed, 5000u);
    EXPECT_GE(elapsed, 4000u);
}

} // namespace
