// The 64-bit helpers the compiler calls on the i386, in place of libgcc's:
// these are a third of the size and need no unwinding tables. The
// installer divides sizes, dates and numbers to print, nearly always by a
// divisor below 2^32, which two 32-bit divisions settle; a larger divisor
// goes bit by bit. A zero divisor traps in the first division, as with
// libgcc's.
#include <cstdint>

namespace {

// high:low / divisor with high < divisor, so that the quotient fits 32 bits.
uint32_t divideWide(uint32_t high, uint32_t low, uint32_t divisor, uint32_t& remainder) {
    uint32_t quotient;
    asm("divl %4" : "=a"(quotient), "=d"(remainder) : "a"(low), "d"(high), "rm"(divisor));
    return quotient;
}

uint64_t divideUnsigned(uint64_t n, uint64_t d, uint64_t* remainder) {
    uint64_t quotient = 0, rest = 0;
    if (d >> 32 == 0) {
        const uint32_t divisor = static_cast<uint32_t>(d);
        const uint32_t high = static_cast<uint32_t>(n >> 32);
        uint32_t low;
        quotient = uint64_t(high / divisor) << 32;
        quotient |= divideWide(high % divisor, static_cast<uint32_t>(n), divisor, low);
        rest = low;
    } else {
        for (int bit = 63; bit >= 0; --bit) {
            const bool carry = rest >> 63 != 0;
            rest = rest << 1 | (n >> bit & 1);
            quotient <<= 1;
            if (carry || rest >= d) {
                rest -= d;
                quotient |= 1;
            }
        }
    }
    if (remainder)
        *remainder = rest;
    return quotient;
}

uint64_t magnitude(int64_t value) {
    return value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
}

int64_t withSign(uint64_t value, bool negative) {
    return static_cast<int64_t>(negative ? 0 - value : value);
}

} // namespace

extern "C" {

uint64_t __udivmoddi4(uint64_t n, uint64_t d, uint64_t* remainder) {
    return divideUnsigned(n, d, remainder);
}

uint64_t __udivdi3(uint64_t n, uint64_t d) {
    return divideUnsigned(n, d, nullptr);
}

uint64_t __umoddi3(uint64_t n, uint64_t d) {
    uint64_t remainder;
    divideUnsigned(n, d, &remainder);
    return remainder;
}

// Quotients round toward zero; a remainder takes the sign of the dividend.
int64_t __divmoddi4(int64_t n, int64_t d, int64_t* remainder) {
    uint64_t rest;
    const uint64_t quotient = divideUnsigned(magnitude(n), magnitude(d), &rest);
    *remainder = withSign(rest, n < 0);
    return withSign(quotient, (n < 0) != (d < 0));
}

int64_t __divdi3(int64_t n, int64_t d) {
    return withSign(divideUnsigned(magnitude(n), magnitude(d), nullptr), (n < 0) != (d < 0));
}

int64_t __moddi3(int64_t n, int64_t d) {
    uint64_t rest;
    divideUnsigned(magnitude(n), magnitude(d), &rest);
    return withSign(rest, n < 0);
}

// The decoder's count of trailing zero bits; undefined for 0, as the builtin.
int __ctzdi2(uint64_t value) {
    const uint32_t low = static_cast<uint32_t>(value);
    return low ? __builtin_ctz(low) : 32 + __builtin_ctz(static_cast<uint32_t>(value >> 32));
}
}
