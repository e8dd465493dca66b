#pragma once
// The compressed block's bit stream, read least significant bit first: bit i
// is bit (i mod 8) of byte (i div 8), and a field's first bit is its lowest.
//
// Positions count bits from the start of the whole buffer in 64 bits, so that
// blocks beyond 512 MB still count correctly on the 32-bit installer. Reads
// look at a whole 64-bit word at a time; bits past the end read as zero, and
// every read checks the end before it moves.

#include "core/LittleEndian.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

class BitReader {
public:
    // A peeked word holds at least this many bits of the stream.
    static constexpr unsigned kPeekBits = 57;

    BitReader(const uint8_t* data, size_t length, uint64_t startBit)
        : data_(data), length_(length), position_(startBit), total_(uint64_t(length) * 8) {}

    uint64_t position() const { return position_; }
    uint64_t remaining() const { return position_ < total_ ? total_ - position_ : 0; }

    // The next kPeekBits bits or more, the first in bit 0; zeros past the end.
    uint64_t peek() const {
        const size_t byte = size_t(position_ >> 3);
        uint64_t word = 0;
        if (length_ >= 8 && byte <= length_ - 8) {
            word = loadLittle64(data_ + byte);
        } else {
            for (size_t i = 0; byte + i < length_; ++i)
                word |= uint64_t(data_[byte + i]) << (8 * i);
        }
        return word >> (position_ & 7);
    }

    // Only for bits already seen through peek().
    void skip(unsigned bits) { position_ += bits; }

    // 0 without moving when no bit is left.
    unsigned readBit() {
        if (position_ >= total_)
            return 0;
        const unsigned bit = (data_[position_ >> 3] >> (position_ & 7)) & 1u;
        ++position_;
        return bit;
    }

    // Fails, reading nothing, when width is outside 1..32 or fewer bits remain.
    bool readBits(unsigned width, uint32_t& value) {
        if (width < 1 || width > 32 || remaining() < width)
            return false;
        value = uint32_t(peek() & lowMask(width));
        position_ += width;
        return true;
    }

    // count bytes of 8 bits each, which need not be byte-aligned in the stream.
    // Fails, reading nothing, when fewer than 8 * count bits remain.
    bool readBytes(uint8_t* out, size_t count) {
        if (remaining() / 8 < count)
            return false;
        const size_t byte = size_t(position_ >> 3);
        const unsigned shift = unsigned(position_ & 7);
        position_ += uint64_t(count) * 8;
        if (shift == 0) {
            std::memcpy(out, data_ + byte, count);
            return true;
        }
        // Each output byte is the top of one input byte and the bottom of the next;
        // the bits were counted above, so byte + count is still inside the input.
        const uint8_t* in = data_ + byte;
        size_t i = 0;
        // Word pairs shifted into one word: a single instruction on a 32-bit
        // machine, where a 64-bit shift takes several and a branch; each word is
        // loaded once and carried to the next step.
        if (length_ - byte >= 8) {
            const size_t limit = length_ - byte - 4;
            const size_t words = count < limit ? count : limit;
            uint32_t low = loadLittle32(in);
            for (; i + 4 <= words; i += 4) {
                const uint32_t high = loadLittle32(in + i + 4);
                storeLittle32(out + i, uint32_t((uint64_t(high) << 32 | low) >> shift));
                low = high;
            }
        }
        for (; i < count; ++i)
            out[i] = uint8_t(in[i] >> shift | in[i + 1] << (8 - shift));
        return true;
    }

    // A field that widens itself: k one bits, a zero (running out of bits ends
    // the prefix too), then base + k * step bits, at most 32. Fails when fewer
    // than 2 bits remain at the start, when base or step is out of range, or
    // when the value's bits run past the end.
    bool readGammaField(unsigned base, unsigned step, uint32_t& value) {
        if (base > 64 || step < 1 || step > 16 || remaining() < 2)
            return false;
        const uint64_t word = peek();
        const unsigned ones = trailingOnes(word);
        if (ones <= kPeekBits - 1 - 32) {
            const unsigned width = fieldWidth(base, step, ones);
            const unsigned used = ones + 1 + width;
            if (width == 0 || remaining() < used)
                return false;
            value = uint32_t((word >> (ones + 1)) & lowMask(width));
            position_ += used;
            return true;
        }
        return readLongGammaField(base, step, value);
    }

    static uint64_t lowMask(unsigned width) {
        return width >= 64 ? ~uint64_t(0) : (uint64_t(1) << width) - 1;
    }

    static unsigned trailingOnes(uint64_t word) {
        return ~word ? unsigned(__builtin_ctzll(~word)) : 64u;
    }

    static unsigned fieldWidth(unsigned base, unsigned step, uint64_t ones) {
        const uint64_t width = base + ones * step;
        return width > 32 ? 32u : unsigned(width);
    }

private:
    // A prefix longer than one peeked word: only hostile or absurd blocks get here.
    bool readLongGammaField(unsigned base, unsigned step, uint32_t& value) {
        uint64_t ones = 0;
        for (;;) {
            const unsigned run = trailingOnes(peek());
            if (run < kPeekBits) {
                ones += run;
                position_ += run;
                break;
            }
            ones += kPeekBits;
            position_ += kPeekBits;
        }
        if (position_ >= total_)
            return false;
        ++position_;
        return readBits(fieldWidth(base, step, ones), value);
    }

    const uint8_t* data_;
    size_t length_;
    uint64_t position_;
    uint64_t total_;
};
