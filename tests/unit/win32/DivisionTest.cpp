// varnoke.exe's own 64-bit division and bit-count helpers (runtime/), linked
// into this program too, so every 64-bit division here goes through them.
#include <gtest/gtest.h>

#include <cstdint>

namespace {

// Kept from the compiler's sight, so that each division is done at run time.
template <class T> T opaque(T value) {
    volatile T held = value;
    return held;
}

TEST(RuntimeDivision, UnsignedQuotientsAndRemainders) {
    const struct {
        uint64_t n, d, quotient, remainder;
    } cases[] = {
        {18446744073709551615u, 10u, 1844674407370955161u, 5u},
        {18446744073709551615u, 1u, 18446744073709551615u, 0u},
        {18446744073709551615u, 18446744073709551615u, 1u, 0u},
        {9223372036854775808u, 3u, 3074457345618258602u, 2u},
        {12345678901234567890u, 4294967295u, 2874452365u, 2524165215u},
        {12345678901234567890u, 4294967296u, 2874452364u, 3944680146u},
        {12345678901234567890u, 9223372036854775813u, 1u, 3122306864379792077u},
        {18446744073709551615u, 4294967297u, 4294967295u, 0u},
        {987654321987654321u, 123456789123u, 8000000u, 9003654321u},
        {5u, 7u, 0u, 5u},
        {0u, 9u, 0u, 0u},
    };
    for (const auto& c : cases) {
        const uint64_t n = opaque(c.n), d = opaque(c.d);
        EXPECT_EQ(n / d, c.quotient) << c.n << " / " << c.d;
        EXPECT_EQ(n % d, c.remainder) << c.n << " % " << c.d;
    }
}

TEST(RuntimeDivision, SignedRoundTowardZero) {
    const struct {
        int64_t n, d, quotient, remainder;
    } cases[] = {
        {-7, 2, -3, -1},
        {7, -2, -3, 1},
        {-7, -2, 3, -1},
        {INT64_MIN, 7, -1317624576693539401, -1},
        {INT64_MIN, 4611686018427387905, -1, -4611686018427387903},
        {INT64_MAX, -1099511627776, -8388607, 1099511627775},
        {-1, INT64_MAX, 0, -1},
        {-123456789012345, -1000, 123456789012, -345},
    };
    for (const auto& c : cases) {
        const int64_t n = opaque(c.n), d = opaque(c.d);
        EXPECT_EQ(n / d, c.quotient) << c.n << " / " << c.d;
        EXPECT_EQ(n % d, c.remainder) << c.n << " % " << c.d;
    }
}

// Divisors on both sides of 2^32, each result checked against its own dividend.
TEST(RuntimeDivision, QuotientTimesDivisorPlusRemainderGivesTheDividend) {
    uint64_t state = 0x9E3779B97F4A7C15u;
    for (int i = 0; i < 20000; ++i) {
        state = state * 6364136223846793005u + 1442695040888963407u;
        const uint64_t n = opaque(state);
        uint64_t d = opaque(state * 2862933555777941757u + 3037000493u);
        d >>= static_cast<unsigned>(i % 64);
        if (d == 0)
            continue;
        const uint64_t q = n / d, r = n % d;
        // n = q * d + r exactly, with r < d: nothing else is the quotient.
        uint64_t product, sum;
        ASSERT_LT(r, d) << n << " / " << d;
        ASSERT_FALSE(__builtin_mul_overflow(q, d, &product)) << n << " / " << d;
        ASSERT_FALSE(__builtin_add_overflow(product, r, &sum)) << n << " / " << d;
        ASSERT_EQ(sum, n) << n << " / " << d;
    }
}

TEST(RuntimeDivision, TrailingZeroBitsInEitherHalf) {
    const struct {
        uint64_t value;
        int zeros;
    } cases[] = {{1u, 0},
                 {0x80000000u, 31},
                 {0x100000000u, 32},
                 {0x8000000000000000u, 63},
                 {0xFFFFFFFF00000000u, 32},
                 {0x0000001000000000u, 36},
                 {0x0000000600000000u, 33}};
    for (const auto& c : cases)
        EXPECT_EQ(__builtin_ctzll(opaque(c.value)), c.zeros) << std::hex << c.value;
}

} // namespace
