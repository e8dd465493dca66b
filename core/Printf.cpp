#include "core/Printf.h"

#include <cstdint>
#include <cstring>

namespace {

// Appends to the caller's buffer, counting what does not fit.
struct Sink {
    char* buffer;
    int size;
    int length;

    void put(char c) {
        if (length < size - 1)
            buffer[length] = c;
        ++length;
    }
    void repeat(char c, int count) {
        for (; count > 0; --count)
            put(c);
    }
    void write(const char* text, int count) {
        for (int i = 0; i < count; ++i)
            put(text[i]);
    }
};

struct Spec {
    bool left = false;
    bool plus = false;
    bool space = false;
    bool zero = false;
    bool alternate = false;
    int width = 0;
    int precision = -1;
};

// Pads `body` (after its sign or prefix) out to the field width.
void emitField(Sink& out, const Spec& spec, const char* prefix, const char* body, int bodyLength,
               int leadingZeros, int trailingZeros = 0) {
    const int prefixLength = static_cast<int>(std::strlen(prefix));
    const int total = prefixLength + leadingZeros + bodyLength + trailingZeros;
    const int pad = spec.width > total ? spec.width - total : 0;
    if (!spec.left && !spec.zero)
        out.repeat(' ', pad);
    out.write(prefix, prefixLength);
    if (!spec.left && spec.zero)
        out.repeat('0', pad);
    out.repeat('0', leadingZeros);
    out.write(body, bodyLength);
    out.repeat('0', trailingZeros);
    if (spec.left)
        out.repeat(' ', pad);
}

const char* signPrefix(bool negative, const Spec& spec) {
    return negative ? "-" : spec.plus ? "+" : spec.space ? " " : "";
}

void emitInteger(Sink& out, Spec spec, uint64_t magnitude, bool negative, unsigned base,
                 bool upper) {
    // One table for both cases: the case bit leaves the decimal digits as they are.
    const char caseBit = upper ? 0 : 0x20;
    char text[24];
    int pos = sizeof text;
    // An explicit precision of zero prints nothing for zero, as printf does.
    if (magnitude != 0 || spec.precision != 0) {
        do {
            text[--pos] = char("0123456789ABCDEF"[magnitude % base] | caseBit);
            magnitude /= base;
        } while (magnitude);
    }
    const int count = static_cast<int>(sizeof text) - pos;
    int zeros = 0;
    if (spec.precision >= 0) {
        spec.zero = false;
        zeros = spec.precision > count ? spec.precision - count : 0;
    }
    const char* prefix = signPrefix(negative, spec);
    if (base == 16 && spec.alternate && count > 0 && !(count == 1 && text[pos] == '0'))
        prefix = upper ? "0X" : "0x";
    emitField(out, spec, prefix, text + pos, count, zeros);
}

// A non-negative binary number of 32-bit words, least significant first, big
// enough for the integer part of any double (1024 bits) or its fraction
// (1074 bits) times ten.
struct BigNumber {
    static constexpr int kWords = 36;
    uint32_t word[kWords];
    int used;

    bool isZero() const { return used == 0; }
    void trim() {
        while (used > 0 && word[used - 1] == 0)
            --used;
    }
    void setShifted(uint64_t value, int shift) {
        std::memset(word, 0, sizeof word);
        const int wordShift = shift / 32;
        const int bitShift = shift % 32;
        // Spread the 64-bit value over words, then shift whole words.
        uint32_t low = static_cast<uint32_t>(value);
        uint32_t high = static_cast<uint32_t>(value >> 32);
        uint32_t parts[3] = {low, high, 0};
        if (bitShift) {
            parts[2] = high >> (32 - bitShift);
            parts[1] = (high << bitShift) | (low >> (32 - bitShift));
            parts[0] = low << bitShift;
        }
        for (int i = 0; i < 3 && wordShift + i < kWords; ++i)
            word[wordShift + i] = parts[i];
        used = wordShift + 3 < kWords ? wordShift + 3 : kWords;
        trim();
    }
    // Divides in place, returns the remainder.
    uint32_t divide(uint32_t divisor) {
        uint64_t rest = 0;
        for (int i = used - 1; i >= 0; --i) {
            const uint64_t current = (rest << 32) | word[i];
            word[i] = static_cast<uint32_t>(current / divisor);
            rest = current % divisor;
        }
        trim();
        return static_cast<uint32_t>(rest);
    }
    void multiply(uint32_t factor) {
        uint64_t carry = 0;
        for (int i = 0; i < used; ++i) {
            const uint64_t product = uint64_t(word[i]) * factor + carry;
            word[i] = static_cast<uint32_t>(product);
            carry = product >> 32;
        }
        if (carry && used < kWords)
            word[used++] = static_cast<uint32_t>(carry);
    }
    // Takes the bits from `bits` up as an integer, leaving the ones below.
    uint32_t takeAbove(int bits) {
        const int wordIndex = bits / 32;
        const int bitIndex = bits % 32;
        uint64_t above = 0;
        for (int i = used - 1; i >= wordIndex; --i)
            above = (above << 32) | word[i];
        above >>= bitIndex;
        for (int i = wordIndex + 1; i < used; ++i)
            word[i] = 0;
        if (wordIndex < used)
            word[wordIndex] &= (uint32_t(1) << bitIndex) - 1;
        trim();
        return static_cast<uint32_t>(above);
    }
    // Compares with 2^bit.
    int compareWithPower(int bit) const {
        const int wordIndex = bit / 32;
        const uint32_t mask = uint32_t(1) << (bit % 32);
        if (used - 1 > wordIndex)
            return 1;
        if (used - 1 < wordIndex)
            return -1;
        if (word[wordIndex] != mask)
            return word[wordIndex] > mask ? 1 : -1;
        for (int i = wordIndex - 1; i >= 0; --i)
            if (word[i])
                return 1;
        return 0;
    }
};

// Beyond this many decimals a double's exact expansion has ended (it has at
// most 1074 binary, hence 1074 decimal, fraction digits): the rest are zeros.
constexpr int kMaxFractionDigits = 1080;
// DBL_MAX has 309 integer digits; they come out nine at a time.
constexpr int kMaxIntegerDigits = 315;

void emitFixed(Sink& out, const Spec& spec, double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const bool negative = bits >> 63;
    const int exponentField = static_cast<int>((bits >> 52) & 0x7FF);
    uint64_t mantissa = bits & ((uint64_t(1) << 52) - 1);
    const int precision = spec.precision < 0 ? 6 : spec.precision;
    if (exponentField == 0x7FF) {
        Spec plain = spec;
        plain.zero = false;
        const char* text = mantissa ? "nan" : "inf";
        emitField(out, plain, signPrefix(negative, spec), text, 3, 0);
        return;
    }
    int exponent;
    if (exponentField == 0) {
        exponent = -1074;
    } else {
        mantissa |= uint64_t(1) << 52;
        exponent = exponentField - 1075;
    }

    // digits[0] stays free for a carry out of the rounding; the point follows
    // the integer digits, so that the number is one body for emitField.
    static_assert(kMaxIntegerDigits + kMaxFractionDigits < 1500, "digit buffer");
    char digits[2 + kMaxIntegerDigits + kMaxFractionDigits];
    int integerDigits = 0;
    BigNumber number;
    int fractionBits = 0;
    char reversed[kMaxIntegerDigits];
    if (exponent >= 0) {
        number.setShifted(mantissa, exponent);
    } else if (exponent > -64) {
        number.setShifted(mantissa >> -exponent, 0);
    } else {
        number.setShifted(0, 0);
    }
    do {
        uint32_t chunk = number.divide(1000000000u);
        for (int i = 0; i < 9; ++i) {
            reversed[integerDigits++] = char('0' + chunk % 10);
            chunk /= 10;
        }
    } while (!number.isZero());
    while (integerDigits > 1 && reversed[integerDigits - 1] == '0')
        --integerDigits;
    for (int i = 0; i < integerDigits; ++i)
        digits[1 + i] = reversed[integerDigits - 1 - i];

    if (exponent < 0) {
        fractionBits = -exponent;
        const uint64_t fraction =
            fractionBits >= 64 ? mantissa : mantissa & ((uint64_t(1) << fractionBits) - 1);
        number.setShifted(fraction, 0);
    } else {
        number.setShifted(0, 0);
    }
    const int stored = precision < kMaxFractionDigits ? precision : kMaxFractionDigits;
    char* const fraction = digits + 2 + integerDigits;
    fraction[-1] = '.';
    for (int i = 0; i < stored; ++i) {
        if (number.isZero()) {
            fraction[i] = '0';
            continue;
        }
        number.multiply(10);
        fraction[i] = char('0' + number.takeAbove(fractionBits));
    }
    // The last digit kept, in the fraction or else the integer part.
    int last = stored > 0 ? 1 + integerDigits + stored : integerDigits;
    // Round what is left: above one half up, exactly one half to even.
    bool roundUp = false;
    if (!number.isZero() && fractionBits > 0) {
        const int half = number.compareWithPower(fractionBits - 1);
        roundUp = half > 0 || (half == 0 && (digits[last] - '0') % 2 == 1);
    }
    int first = 1;
    if (roundUp) {
        for (; last >= 1 && (digits[last] == '9' || digits[last] == '.'); --last)
            if (digits[last] == '9')
                digits[last] = '0';
        if (last >= 1) {
            ++digits[last];
        } else {
            digits[0] = '1';
            first = 0;
            ++integerDigits;
        }
    }

    const bool point = precision > 0 || spec.alternate;
    emitField(out, spec, signPrefix(negative, spec), digits + first,
              integerDigits + (point ? 1 + stored : 0), 0, precision - stored);
}

int readNumber(const char*& p) {
    int n = 0;
    while (*p >= '0' && *p <= '9') {
        if (n < 100000)
            n = n * 10 + (*p - '0');
        ++p;
    }
    return n;
}

} // namespace

int printfInto(char* buffer, int size, const char* format, va_list args) {
    Sink out{buffer, size, 0};
    for (const char* p = format; *p; ++p) {
        if (*p != '%') {
            out.put(*p);
            continue;
        }
        const char* start = p++;
        Spec spec;
        for (;; ++p) {
            if (*p == '-')
                spec.left = true;
            else if (*p == '+')
                spec.plus = true;
            else if (*p == ' ')
                spec.space = true;
            else if (*p == '0')
                spec.zero = true;
            else if (*p == '#')
                spec.alternate = true;
            else
                break;
        }
        if (*p == '*') {
            spec.width = va_arg(args, int);
            if (spec.width < 0) {
                spec.left = true;
                spec.width = -spec.width;
            }
            ++p;
        } else {
            spec.width = readNumber(p);
        }
        if (*p == '.') {
            ++p;
            if (*p == '*') {
                spec.precision = va_arg(args, int);
                if (spec.precision < 0)
                    spec.precision = -1;
                ++p;
            } else {
                spec.precision = readNumber(p);
            }
        }
        if (spec.left)
            spec.zero = false;
        int longs = 0;
        if (*p == 'h') {
            ++p;
            if (*p == 'h')
                ++p;
        } else if (*p == 'l') {
            ++p;
            longs = 1;
            if (*p == 'l') {
                ++p;
                longs = 2;
            }
        } else if (p[0] == 'I' && p[1] == '6' && p[2] == '4') {
            p += 3;
            longs = 2;
        }
        switch (*p) {
        case 'd':
        case 'i': {
            const int64_t value = longs == 2   ? va_arg(args, long long)
                                  : longs == 1 ? va_arg(args, long)
                                               : va_arg(args, int);
            const uint64_t magnitude = value < 0 ? 0u - static_cast<uint64_t>(value) : value;
            emitInteger(out, spec, magnitude, value < 0, 10, false);
            break;
        }
        case 'u':
        case 'x':
        case 'X': {
            const uint64_t value = longs == 2   ? va_arg(args, unsigned long long)
                                   : longs == 1 ? va_arg(args, unsigned long)
                                                : va_arg(args, unsigned);
            spec.plus = spec.space = false;
            emitInteger(out, spec, value, false, *p == 'u' ? 10 : 16, *p == 'X');
            break;
        }
        case 'c': {
            const char c = static_cast<char>(va_arg(args, int));
            Spec plain = spec;
            plain.zero = false;
            emitField(out, plain, "", &c, 1, 0);
            break;
        }
        case 's': {
            const char* text = va_arg(args, const char*);
            if (!text)
                text = "(null)";
            int length = 0;
            while (text[length] && (spec.precision < 0 || length < spec.precision))
                ++length;
            Spec plain = spec;
            plain.zero = false;
            emitField(out, plain, "", text, length, 0);
            break;
        }
        case 'f':
        case 'F':
            emitFixed(out, spec, va_arg(args, double));
            break;
        case '%':
            out.put('%');
            break;
        default:
            // Not a conversion this formatter knows: shown as written.
            out.write(start, static_cast<int>(p - start) + (*p ? 1 : 0));
            if (!*p)
                --p;
            break;
        }
    }
    if (size > 0)
        buffer[out.length < size ? out.length : size - 1] = '\0';
    return out.length;
}
