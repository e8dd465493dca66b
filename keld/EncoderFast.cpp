// The fast level: at each position take the cheaper of a repeated byte and
// the longest match, unless the next position offers a clearly better match
// (one step of lazy evaluation). Bytes left over go out as literal runs.

#include "keld/Encoder.h"
#include "keld/EncoderBits.h"
#include "keld/MatchFinder.h"

namespace keld {

namespace {

constexpr MatchFinderSettings kFastFinder{16, 15, 4};
// Matches this long are taken at once, without the lazy look.
constexpr uint32_t kGoodLength = 64;
constexpr size_t kMaxCode = 0x7FFFFFFF;

// Bits saved against sending the bytes as literals; below zero means worse.
long gain(uint32_t length, unsigned bits) {
    return 8L * long(length) - long(bits);
}

struct Choice {
    enum Kind { None, Repeat, Reference } kind = None;
    uint32_t length = 0;
    uint32_t distance = 0;
    long gain = 0;
};

class FastEncoder {
public:
    FastEncoder(const uint8_t* data, size_t size, CodeWriter& writer)
        : data_(data), size_(size), writer_(writer), finder_(data, size, kFastFinder) {}

    void run() {
        size_t at = 0;
        size_t literalStart = 0;
        Choice here = choose(at);
        while (at < size_) {
            if (here.kind == Choice::None) {
                ++at;
                here = choose(at);
                continue;
            }
            if (here.kind == Choice::Reference && here.length < kGoodLength && at + 1 < size_) {
                const Choice next = choose(at + 1);
                // Worth a literal byte (about 12 bits when it starts a run) to wait.
                if (next.gain > here.gain + 8) {
                    ++at;
                    here = next;
                    continue;
                }
            }
            flushLiterals(literalStart, at);
            if (here.kind == Choice::Repeat)
                writer_.repeat(data_[at], here.length);
            else
                writer_.reference(here.length, here.distance);
            at += here.length;
            literalStart = at;
            finder_.skipTo(at);
            here = choose(at);
        }
        flushLiterals(literalStart, size_);
    }

private:
    Choice choose(size_t at) {
        Choice best;
        if (at >= size_)
            return best;
        const size_t run = runLength(data_, size_, at, kMaxCode);
        if (run >= 3) {
            best = {Choice::Repeat, uint32_t(run), 0,
                    gain(uint32_t(run), repeatBits(uint32_t(run)))};
            // A long run is always best sent as one repeat.
            if (run >= kGoodLength)
                return best;
        }
        const Match match =
            finder_.longest(at, uint32_t(size_ - at < kMaxCode ? size_ - at : kMaxCode));
        if (match.length >= MatchFinder::kMinLength) {
            const long g = gain(match.length, referenceBits(match.length, match.distance));
            if (g > best.gain && g > 0)
                best = {Choice::Reference, match.length, match.distance, g};
        }
        return best;
    }

    void flushLiterals(size_t from, size_t to) {
        while (from < to) {
            const size_t count = to - from < kMaxCode ? to - from : kMaxCode;
            writer_.literalRun(data_ + from, uint32_t(count));
            from += count;
        }
    }

    const uint8_t* data_;
    size_t size_;
    CodeWriter& writer_;
    MatchFinder finder_;
};

} // namespace

void encodeFast(const uint8_t* data, size_t size, CodeWriter& writer) {
    FastEncoder(data, size, writer).run();
}

} // namespace keld
