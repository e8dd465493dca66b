// The one maths function the installer calls, from the double's bits, so
// that no FPU control word needs changing.
#include <cstdint>
#include <cstring>

extern "C" double trunc(double x) {
    uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    const int exponent = static_cast<int>((bits >> 52) & 0x7FF) - 1023;
    if (exponent >= 52)
        return x; // already whole, or not a number
    if (exponent < 0)
        bits &= uint64_t(1) << 63; // a signed zero
    else
        bits &= ~((uint64_t(1) << (52 - exponent)) - 1);
    std::memcpy(&x, &bits, sizeof x);
    return x;
}
