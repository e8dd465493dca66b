#include "core/Number.h"
#include "core/NumberWords.h"
#include "core/String.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

std::string text(const String& s) {
    return std::string(s.c_str(), size_t(s.length()));
}

TEST(NumberFormat, ByteSizes) {
    const struct {
        int64_t size;
        const char* expected;
    } cases[] = {
        {0, "0 bytes"},
        {1023, "1023 bytes"},
        {-5, "-5 bytes"},
        {INT64_MIN, "-9223372036854775808 bytes"},
        {1024, "1.00 KB"},
        {1536, "1.50 KB"},
        {1048575, "1024.00 KB"},
        {1048576, "1.00 MB"},
        {int64_t(5) << 19, "2.50 MB"},
        {int64_t(1) << 30, "1.00 GB"},
        {(int64_t(1) << 40) - 1, "1024.00 GB"},
        {int64_t(1) << 40, "1.00 TB"},
        {int64_t(3) << 41, "6.00 TB"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(text(formatByteSize(c.size)), c.expected) << c.size;
}

TEST(NumberFormat, OrdinalSuffix) {
    const struct {
        int32_t n;
        const char* expected;
    } cases[] = {{1, "1st"},   {2, "2nd"},   {3, "3rd"},     {4, "4th"},     {11, "11th"},
                 {12, "12th"}, {13, "13th"}, {20, "20th"},   {21, "21st"},   {22, "22nd"},
                 {23, "23rd"}, {0, "0th"},   {100, "100th"}, {111, "111st"}, {-1, "-1st"}};
    for (const auto& c : cases)
        EXPECT_EQ(text(ordinalSuffix(c.n)), c.expected) << c.n;
}

TEST(NumberFormat, RoundUpToMultiple) {
    const int64_t cases[][3] = {
        {5000, 4096, 8192}, {8192, 4096, 8192}, {1, 4096, 4096},
        {0, 4096, 0},       {5000, 1, 5000},    {5000, 0, 5000},
        {5000, -4, 5000},   {7, 2, 8},          {int64_t(5) << 32, 512, int64_t(5) << 32},
    };
    for (const auto& c : cases)
        EXPECT_EQ(roundUpToMultiple(c[0], c[1]), c[2]) << c[0] << " to " << c[1];
}

TEST(NumberFormat, RoundHalfAwayFromZero) {
    const struct {
        double x;
        int64_t expected;
    } cases[] = {{0.0, 0},
                 {0.49, 0},
                 {0.5, 1},
                 {1.5, 2},
                 {2.5, 3},
                 {-0.5, -1},
                 {-1.5, -2},
                 {-0.49, 0},
                 {1e10 + 0.5, 10000000001LL},
                 {1e300, INT64_MAX},
                 {-1e300, INT64_MIN},
                 {std::nan(""), 0}};
    for (const auto& c : cases)
        EXPECT_EQ(roundHalfAway(c.x), c.expected) << c.x;
}

TEST(NumberFormat, FromDouble) {
    const struct {
        double x;
        int32_t precision;
        const char* expected;
    } cases[] = {
        {2.75, -1, "2.75"}, {3.0, -1, "3"},       {0.0, -1, "0"},
        {100.0, -1, "100"}, {-2.5, -1, "-2.5"},   {1.0 / 3, -1, "0.333333"},
        {1e-7, -1, "0"},    {2.75, 0, "3"},       {2.75, 1, "2.8"},
        {2.75, 3, "2.750"}, {100.0, 2, "100.00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(text(fromDouble(c.x, c.precision)), c.expected) << c.x << " " << c.precision;
    EXPECT_EQ(fromDouble(1e300, 2).length(), 304);
}

TEST(NumberFormat, FromInt64) {
    EXPECT_EQ(text(fromInt64(0)), "0");
    EXPECT_EQ(text(fromInt64(-42)), "-42");
    EXPECT_EQ(text(fromInt64(INT64_MAX)), "9223372036854775807");
    EXPECT_EQ(text(fromInt64(INT64_MIN)), "-9223372036854775808");
}

TEST(NumberWords, CardinalsAndOrdinals) {
    const struct {
        int64_t n;
        const char* cardinal;
        const char* ordinal;
    } cases[] = {
        {0, "zero", "zeroth"},
        {7, "seven", "seventh"},
        {15, "fifteen", "fifteenth"},
        {40, "forty", "fortieth"},
        {99, "ninety-nine", "ninety-ninth"},
        {100, "one hundred", "one hundredth"},
        {2005, "two thousand five", "two thousand fifth"},
        {1984, "one thousand nine hundred eighty-four", "one thousand nine hundred eighty-fourth"},
        {1000001, "one million one", "one million first"},
        {-3, "minus three", "minus third"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(text(numberWords(c.n)), c.cardinal) << c.n;
        EXPECT_EQ(text(ordinalWords(c.n)), c.ordinal) << c.n;
    }
    EXPECT_EQ(text(numberWords(INT64_MIN)).rfind("minus nine quintillion", 0), 0u);
}

} // namespace
