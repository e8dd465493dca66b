#include "core/Printf.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

namespace {

std::string ours(int size, const char* format, ...) {
    std::string buffer(static_cast<size_t>(size), '\x7f');
    va_list args;
    va_start(args, format);
    const int n = printfInto(&buffer[0], size, format, args);
    va_end(args);
    const size_t end = buffer.find('\0');
    EXPECT_NE(end, std::string::npos) << format << ": not terminated";
    EXPECT_EQ(n < size ? static_cast<size_t>(n) : static_cast<size_t>(size - 1), end) << format;
    return buffer.substr(0, end);
}

__attribute__((format(printf, 1, 2))) std::string theirs(const char* format, ...) {
    char buffer[4096];
    va_list args;
    va_start(args, format);
    vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

} // namespace

TEST(Printf, IntegersStringsAndCharacters) {
    const struct {
        const char* expected;
        std::string actual;
    } cases[] = {
        {"42", ours(64, "%d", 42)},
        {"-2147483648", ours(64, "%d", INT32_MIN)},
        {"4294967295", ours(64, "%u", 0xFFFFFFFFu)},
        {"00ff|00FF", ours(64, "%04x|%04X", 255u, 255u)},
        {"DEADBEEF", ours(64, "%08X", 0xDEADBEEFu)},
        {"0x1f", ours(64, "%#x", 31u)},
        {"+7| 7|7  |  7|-07", ours(64, "%+d|% d|%-3d|%3d|%03d", 7, 7, 7, 7, -7)},
        {"  -42|-42  ", ours(64, "%*d|%*d", 5, -42, -5, -42)},
        {"007|", ours(64, "%.3d|%.0d", 7, 0)},
        {"-9223372036854775808", ours(64, "%lld", static_cast<long long>(INT64_MIN))},
        {"18446744073709551615", ours(64, "%I64u", static_cast<unsigned long long>(UINT64_MAX))},
        {"FFFFFFFFFF", ours(64, "%llX", 0xFFFFFFFFFFull)},
        {"-5", ours(64, "%ld", -5L)},
        {"x|  y|z  ", ours(64, "%c|%3c|%-3c", 'x', 'y', 'z')},
        {"abc|  abc|ab|abc  |(null)", ours(64, "%s|%5s|%.2s|%-5s|%s", "abc", "abc", "abc", "abc",
                                           static_cast<const char*>(nullptr))},
        {"100%", ours(64, "%d%%", 100)},
        {"%q", ours(64, "%q")},
        {"ends %", ours(64, "ends %")},
        {"02:05", ours(64, "%02d:%02d", 2, 5)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.actual, c.expected);
}

TEST(Printf, CutsAtTheBufferAndReportsTheFullLength) {
    EXPECT_EQ(ours(6, "%s", "abcdefgh"), "abcde");
    EXPECT_EQ(ours(1, "%d", 12345), "");
    EXPECT_EQ(ours(4, "%.3f", 3.14159), "3.1");
    EXPECT_EQ(ours(8, "%20s|", "x"), "       ");
}

TEST(Printf, FixedPointAsTheCLibraryPrintsIt) {
    const struct {
        const char* format;
        double value;
        const char* expected;
    } cases[] = {
        {"%.2f", 2.675, "2.67"}, // the double lies just below 2.675
        {"%.1f", 0.25, "0.2"},   // an exact half goes to the even digit
        {"%.1f", 0.35, "0.3"},
        {"%.0f", 2.5, "2"},
        {"%.0f", 3.5, "4"},
        {"%.0f", 0.5, "0"},
        {"%.2f", 9.999, "10.00"},
        {"%.0f", 999.5, "1000"},
        {"%f", 1.0 / 3, "0.333333"},
        {"%.3f", -0.0, "-0.000"},
        {"%.1f", -0.04, "-0.0"},
        {"%8.2f|", 3.14159, "    3.14|"},
        {"%-8.2f|", 3.14159, "3.14    |"},
        {"%08.2f", -3.14159, "-0003.14"},
        {"%+.1f", 4.5, "+4.5"},
        {"%#.0f", 3.0, "3."},
        {"%.0f", 1e22, "10000000000000000000000"},
        {"%.0f", 9007199254740993.0, "9007199254740992"},
        {"%.20f", 0.1, "0.10000000000000000555"},
        {"%f", INFINITY, "inf"},
        {"%f", -INFINITY, "-inf"},
        {"%5f", NAN, "  nan"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ours(512, c.format, c.value), c.expected) << c.format << " " << c.value;
    }
}

TEST(Printf, FixedPointMatchesTheCLibraryOverTheWholeRange) {
    const double extremes[] = {DBL_MAX,
                               DBL_MIN,
                               DBL_TRUE_MIN,
                               1e300,
                               1e-300,
                               123456789.987654321,
                               4.9406564584124654e-324,
                               0.5,
                               1.0 - DBL_EPSILON / 2};
    for (double x : extremes)
        for (int precision : {0, 1, 6, 17, 40, 330, 1100})
            EXPECT_EQ(ours(2048, "%.*f", precision, x), theirs("%.*f", precision, x))
                << x << " " << precision;

    std::mt19937_64 random(20261210);
    for (int i = 0; i < 3000; ++i) {
        uint64_t bits = random();
        double x;
        std::memcpy(&x, &bits, sizeof x);
        if (std::isnan(x) || std::isinf(x))
            continue;
        const int precision = static_cast<int>(random() % 25);
        ASSERT_EQ(ours(2048, "%.*f", precision, x), theirs("%.*f", precision, x)) << precision;
    }
    // Values with few digits, where the rounding decides most.
    for (int i = 0; i < 3000; ++i) {
        const double x = static_cast<double>(static_cast<int64_t>(random() % 2000001) - 1000000) /
                         static_cast<double>(1u << (random() % 12));
        const int precision = static_cast<int>(random() % 6);
        ASSERT_EQ(ours(256, "%.*f", precision, x), theirs("%.*f", precision, x))
            << x << " " << precision;
    }
}
