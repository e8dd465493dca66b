#pragma once
// Writing the compressed block's codes, and what each one costs in bits.
// The costs are exact, so the best level's parse can weigh every choice.

#include "format/CompressedBlock.h"
#include "keld/Encoder.h"

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace keld {

// Prefix ones of the shortest gamma field holding raw (at most 32 bits).
inline unsigned gammaPrefix(const GammaShape& shape, uint32_t raw) {
    const unsigned needed = raw ? 32u - unsigned(__builtin_clz(raw)) : 0u;
    if (needed <= shape.base)
        return 0;
    return (needed - shape.base + shape.step - 1) / shape.step;
}

inline unsigned gammaWidth(const GammaShape& shape, unsigned prefix) {
    const unsigned width = shape.base + prefix * shape.step;
    return width > 32 ? 32u : width;
}

// Bits of the field for value (bias included), prefix and terminator counted.
inline unsigned gammaBits(const GammaShape& shape, uint32_t value) {
    const unsigned prefix = gammaPrefix(shape, value - shape.bias);
    return prefix + 1 + gammaWidth(shape, prefix);
}

// A run's own bits besides its 8 bits a byte.
inline unsigned literalRunBits(uint32_t count) {
    return 1 + gammaBits(kLiteralCount, count);
}
// What one more byte adds to a run of count bytes (count 0: a new run).
inline unsigned literalExtendBits(uint32_t count) {
    if (count == 0)
        return literalRunBits(1) + 8;
    return 8 + gammaBits(kLiteralCount, count + 1) - gammaBits(kLiteralCount, count);
}
inline unsigned repeatBits(uint32_t count) {
    return 2 + 8 + gammaBits(kRepeatCount, count);
}
inline unsigned referenceBits(uint32_t length, uint32_t distance) {
    return 2 + gammaBits(kReferenceLength, length) + gammaBits(kReferenceDistance, distance);
}

// The block under construction: header, then the codes, least significant
// bit first, through a 64-bit accumulator.
class CodeWriter {
public:
    explicit CodeWriter(uint32_t declaredSize, size_t expectedBytes = 0,
                        const EncodeProgress* progress = nullptr)
        : declaredSize_(declaredSize), progress_(progress && *progress ? progress : nullptr) {
        block_.reserve(expectedBytes + kCompressedBlockHeaderSize + 8);
        putBits(kCompressedBlockMagic, 32);
        putBits(declaredSize, 32);
    }

    void literalRun(const uint8_t* bytes, uint32_t count) {
        putBits(0, 1);
        putGamma(kLiteralCount, count);
        for (uint32_t i = 0; i < count; ++i)
            putBits(bytes[i], 8);
        advance(count);
    }
    void repeat(uint8_t byte, uint32_t count) {
        putBits(3, 2);
        putBits(byte, 8);
        putGamma(kRepeatCount, count);
        advance(count);
    }
    void reference(uint32_t length, uint32_t distance) {
        putBits(1, 2);
        putGamma(kReferenceLength, length);
        putGamma(kReferenceDistance, distance);
        advance(length);
    }

    uint64_t bitCount() const { return uint64_t(block_.size()) * 8 + pending_; }

    // Flushes the last partial byte (its spare bits zero) and hands the block over.
    std::vector<uint8_t> finish() {
        while (pending_ > 0) {
            block_.push_back(uint8_t(accumulator_));
            accumulator_ >>= 8;
            pending_ = pending_ > 8 ? pending_ - 8 : 0;
        }
        return std::move(block_);
    }

private:
    // Every code passes here, so the parsers need not know about progress.
    void advance(uint32_t count) {
        encoded_ += count;
        if (progress_ && encoded_ >= nextReport_) {
            (*progress_)(encoded_, declaredSize_);
            nextReport_ = encoded_ + kEncodeProgressStep;
        }
    }

    void putBits(uint64_t value, unsigned width) {
        accumulator_ |= value << pending_;
        pending_ += width;
        if (pending_ >= 32) {
            const size_t at = block_.size();
            block_.resize(at + 4);
            const uint32_t word = uint32_t(accumulator_);
            for (unsigned i = 0; i < 4; ++i)
                block_[at + i] = uint8_t(word >> (8 * i));
            accumulator_ >>= 32;
            pending_ -= 32;
        }
    }
    void putGamma(const GammaShape& shape, uint32_t value) {
        const uint32_t raw = value - shape.bias;
        const unsigned prefix = gammaPrefix(shape, raw);
        // prefix ones then the terminating zero, at most 16 at a time
        for (unsigned left = prefix; left > 0;) {
            const unsigned n = left > 16 ? 16 : left;
            putBits((1u << n) - 1, n);
            left -= n;
        }
        putBits(0, 1);
        putBits(raw, gammaWidth(shape, prefix));
    }

    std::vector<uint8_t> block_;
    uint64_t accumulator_ = 0;
    unsigned pending_ = 0;
    uint32_t declaredSize_;
    const EncodeProgress* progress_;
    size_t encoded_ = 0;
    size_t nextReport_ = kEncodeProgressStep;
};

} // namespace keld
