#include "format/CompressedBlock.h"

#include "core/String.h"
#include "format/BitReader.h"

#include <cstring>
#include <utility>

namespace {

// A field's value with its bias, in 64 bits: a 32-bit field plus its bias
// must not wrap into a small count.
bool readField(BitReader& bits, const GammaShape& shape, uint64_t& value) {
    uint32_t raw = 0;
    if (!bits.readGammaField(shape.base, shape.step, raw))
        return false;
    value = uint64_t(raw) + shape.bias;
    return true;
}

// Copies length bytes from distance back. The source never reaches the
// destination (length <= distance), so with 16 bytes between them the copy
// may move whole 16-byte words, rounding the length up when the declared size
// leaves room: the bytes past the copy are rewritten by later codes.
inline void copyReference(uint8_t* to, size_t room, size_t distance, size_t length) {
    const uint8_t* from = to - distance;
    if (length <= 8 && distance >= 8 && room >= 8) {
        std::memcpy(to, from, 8);
        return;
    }
    if (distance >= 16 && length <= 32 && room >= 32) {
        std::memcpy(to, from, 16);
        std::memcpy(to + 16, from + 16, 16);
        return;
    }
    std::memcpy(to, from, length);
}

// One code, read with every bound checked: near the end of the input and for
// the long prefixes no encoder writes.
BlockStatus decodeCode(BitReader& bits, uint8_t* out, size_t& size, size_t declared) {
    const size_t room = declared - size;
    uint64_t count = 0;
    if (bits.readBit() == 0) {
        if (!readField(bits, kLiteralCount, count))
            return BlockStatus::Truncated;
        if (count > room)
            return BlockStatus::Overrun;
        if (!bits.readBytes(out + size, size_t(count)))
            return BlockStatus::Truncated;
    } else if (bits.readBit() == 1) {
        uint32_t byte = 0;
        if (!bits.readBits(8, byte) || !readField(bits, kRepeatCount, count))
            return BlockStatus::Truncated;
        if (count > room)
            return BlockStatus::Overrun;
        std::memset(out + size, int(byte), size_t(count));
    } else {
        uint64_t distance = 0;
        if (!readField(bits, kReferenceLength, count) ||
            !readField(bits, kReferenceDistance, distance))
            return BlockStatus::Truncated;
        if (distance > size)
            return BlockStatus::ReferenceBeforeStart;
        if (count > distance)
            return BlockStatus::ReferenceOverlap;
        if (count > room)
            return BlockStatus::Overrun;
        copyReference(out + size, room, size_t(distance), size_t(count));
    }
    size += size_t(count);
    return BlockStatus::Ok;
}

// The common case: codes that start at least kMargin bytes before the end of
// the input, with short prefixes, while at least kRoom bytes of the declared
// size are left. Every field is then read from one unchecked 64-bit load, and
// short codes write whole words, rounding up into the room: the bytes past a
// code are rewritten by the codes after it.
constexpr size_t kMargin = 32;
constexpr size_t kRoom = 32;

// The shortest fields hold 57 - 1 - prefix bits after their prefix; these
// limits keep each field, and a literal run of up to 16 bytes, inside the
// margin.
constexpr unsigned kMaxFastLiteralPrefix = 12;
constexpr unsigned kMaxFastRepeatPrefix = 20;
constexpr unsigned kMaxFastLengthPrefix = 12;
constexpr unsigned kMaxFastDistancePrefix = 10;
constexpr uint64_t kMaxFastLiteral = 16;

inline uint64_t peekAt(const uint8_t* block, uint64_t position) {
    return loadLittle64(block + (position >> 3)) >> (position & 7);
}

// Ones at the bottom of a word whose top bit is not part of the field.
inline unsigned prefixOnes(uint64_t word) {
    return unsigned(__builtin_ctzll(~word | (uint64_t(1) << 63)));
}

// Eight stream bytes from bit `position`: seven from one load, the eighth
// completed from the byte after it.
inline uint64_t eightBytesAt(const uint8_t* block, uint64_t position) {
    const uint8_t* at = block + (position >> 3);
    const unsigned shift = unsigned(position & 7);
    return loadLittle64(at) >> shift | (uint64_t(at[8]) << 1) << (63 - shift);
}

// length bytes from distance back, length <= distance, at most kRoom of
// them rounded up to whole words.
inline void copyShortReference(uint8_t* to, size_t distance, size_t length) {
    const uint8_t* from = to - distance;
    if (distance >= 8) {
        // Each word's source lies wholly before its destination; whole
        // pairs of words, since most references are short.
        std::memcpy(to, from, 8);
        std::memcpy(to + 8, from + 8, 8);
        if (length > 16) {
            std::memcpy(to + 16, from + 16, 8);
            std::memcpy(to + 24, from + 24, 8);
        }
        return;
    }
    // 4 to 7 bytes: two words of four that may overlap each other.
    uint32_t head, tail;
    std::memcpy(&head, from, 4);
    std::memcpy(&tail, from + length - 4, 4);
    std::memcpy(to, &head, 4);
    std::memcpy(to + length - 4, &tail, 4);
}

// A fast field's value: width is at most 32 here, so no check for 64.
inline uint64_t fieldBits(uint64_t word, unsigned width) {
    return word & ((uint64_t(1) << width) - 1);
}

enum class FastStep { Done, Careful, Failed };

// One back-reference whose "10" prefix starts at `at`.
inline FastStep fastReference(const uint8_t* block, uint64_t& at, uint64_t word, uint8_t* out,
                              size_t& done, size_t declared, BlockStatus& status) {
    const uint64_t rest = word >> 2;
    const unsigned ones = prefixOnes(rest);
    if (ones > kMaxFastLengthPrefix)
        return FastStep::Careful;
    const unsigned width = kReferenceLength.base + ones * kReferenceLength.step;
    const uint64_t length = fieldBits(rest >> (ones + 1), width) + 4;
    const uint64_t distanceAt = at + 3 + ones + width;
    const uint64_t field = peekAt(block, distanceAt);
    const unsigned far = prefixOnes(field);
    if (far > kMaxFastDistancePrefix)
        return FastStep::Careful;
    const unsigned farWidth = kReferenceDistance.base + far * kReferenceDistance.step;
    const uint64_t distance = fieldBits(field >> (far + 1), farWidth) + 4;
    at = distanceAt + 1 + far + farWidth;
    if (distance > done) {
        status = BlockStatus::ReferenceBeforeStart;
        return FastStep::Failed;
    }
    if (length > distance) {
        status = BlockStatus::ReferenceOverlap;
        return FastStep::Failed;
    }
    if (length > declared - done) {
        status = BlockStatus::Overrun;
        return FastStep::Failed;
    }
    uint8_t* to = out + done;
    if (length <= kRoom)
        copyShortReference(to, size_t(distance), size_t(length));
    else
        std::memcpy(to, to - distance, size_t(length));
    done += size_t(length);
    return FastStep::Done;
}

// Decodes codes on the fast path until the input's margin or the output's
// room is reached, a code needs the careful path (position is then at its
// start) or a code is damaged (status says why).
void decodeFastRun(const uint8_t* block, uint64_t& position, uint64_t fastEnd, uint64_t totalBits,
                   uint8_t* out, size_t& size, size_t declared, BlockStatus& status) {
    uint64_t at = position;
    size_t done = size;
    const size_t roomEnd = declared - kRoom;
    FastStep step = FastStep::Done;
    while (at < fastEnd && done <= roomEnd) {
        uint64_t word = peekAt(block, at);
        if ((word & 1) == 0) {
            const uint64_t rest = word >> 1;
            const unsigned ones = prefixOnes(rest);
            if (ones > kMaxFastLiteralPrefix)
                break;
            const unsigned width = kLiteralCount.base + ones * kLiteralCount.step;
            const uint64_t count = fieldBits(rest >> (ones + 1), width) + 1;
            const uint64_t start = at + 2 + ones + width;
            uint8_t* to = out + done;
            if (count > declared - done) {
                status = BlockStatus::Overrun;
                at = start;
                break;
            }
            if (count <= kMaxFastLiteral) {
                storeLittle64(to, eightBytesAt(block, start));
                if (count > 8)
                    storeLittle64(to + 8, eightBytesAt(block, start + 64));
            } else if (count * 8 > totalBits - start) {
                // Past the bytes at hand: the careful path decides, which
                // may have more to come.
                break;
            } else {
                BitReader bits(block, size_t(totalBits / 8), start);
                bits.readBytes(to, size_t(count));
            }
            at = start + count * 8;
            done += size_t(count);
            // A literal run is mostly followed by a back-reference: taking it
            // here, where that guess is right, spares a mispredicted branch.
            if (at >= fastEnd || done > roomEnd)
                break;
            word = peekAt(block, at);
            if ((word & 3) != 1)
                continue;
            step = fastReference(block, at, word, out, done, declared, status);
        } else if (word & 2) {
            const unsigned byte = unsigned(word >> 2) & 0xFF;
            const uint64_t rest = word >> 10;
            const unsigned ones = prefixOnes(rest);
            if (ones > kMaxFastRepeatPrefix)
                break;
            const unsigned width = kRepeatCount.base + ones * kRepeatCount.step;
            const uint64_t count = fieldBits(rest >> (ones + 1), width) + 3;
            at += 11 + ones + width;
            if (count > declared - done) {
                status = BlockStatus::Overrun;
                break;
            }
            uint8_t* to = out + done;
            if (count <= kRoom) {
                const uint64_t eight = uint64_t(byte) * 0x0101010101010101u;
                for (size_t i = 0; i < kRoom; i += 8)
                    std::memcpy(to + i, &eight, 8);
            } else {
                std::memset(to, int(byte), size_t(count));
            }
            done += size_t(count);
        } else {
            step = fastReference(block, at, word, out, done, declared, status);
        }
        if (step != FastStep::Done)
            break;
    }
    position = at;
    size = done;
}

// Where decoding stands: the next code's bit in the bytes held, the bytes
// decoded, and the bytes of a literal run still to copy.
struct DecodeState {
    uint64_t position = kCompressedBlockHeaderSize * 8;
    size_t size = 0;
    uint64_t pendingLiteral = 0;
};

// A code's prefixes and fields take at most this many bytes; with more of
// the block to come, decoding stops when fewer are held ahead.
constexpr size_t kAhead = 64;

// Decodes from the `length` bytes held until the declared size is reached
// or a code is damaged. When more of the block follows (not `last`), it also
// stops, with Ok, once fewer than kAhead bytes are held ahead of the next
// code or a code runs past the bytes held; a literal run longer than what is
// held is copied in parts.
BlockStatus decodeHeld(const uint8_t* block, size_t length, bool last, DecodeState& state,
                       uint8_t* out, size_t declared) {
    const uint64_t totalBits = uint64_t(length) * 8;
    const uint64_t fastEnd = length > kMargin ? uint64_t(length - kMargin) * 8 : 0;
    BlockStatus status = BlockStatus::Ok;
    while (state.size < declared) {
        if (state.pendingLiteral > 0) {
            BitReader bits(block, length, state.position);
            const uint64_t held = bits.remaining() / 8;
            const uint64_t part = held < state.pendingLiteral ? held : state.pendingLiteral;
            bits.readBytes(out + state.size, size_t(part));
            state.size += size_t(part);
            state.pendingLiteral -= part;
            state.position = bits.position();
            if (state.pendingLiteral > 0)
                return last ? BlockStatus::Truncated : BlockStatus::Ok;
            continue;
        }
        if (!last && length - size_t(state.position >> 3) < kAhead)
            return BlockStatus::Ok;
        if (state.position < fastEnd && declared - state.size >= kRoom) {
            decodeFastRun(block, state.position, fastEnd, totalBits, out, state.size, declared,
                          status);
            if (state.size >= declared || status != BlockStatus::Ok)
                return status;
            if (!last && length - size_t(state.position >> 3) < kAhead)
                return BlockStatus::Ok;
        }
        BitReader bits(block, length, state.position);
        if (!last && (bits.peek() & 1) == 0) {
            // A literal run: its count is held, its bytes may not all be.
            uint64_t count = 0;
            bits.readBit();
            if (!readField(bits, kLiteralCount, count))
                return BlockStatus::Ok; // its count runs past the bytes held
            if (count > declared - state.size)
                return BlockStatus::Overrun;
            state.pendingLiteral = count;
            state.position = bits.position();
            continue;
        }
        status = decodeCode(bits, out, state.size, declared);
        // A code cut off by the end of the bytes held is read again once more
        // are held; it has written nothing.
        if (status == BlockStatus::Truncated && !last)
            return BlockStatus::Ok;
        if (status != BlockStatus::Ok)
            return status;
        state.position = bits.position();
    }
    return status;
}

} // namespace

BlockStatus readCompressedBlockHeader(const uint8_t* block, size_t length, uint32_t& declaredSize) {
    if (!block || length < kCompressedBlockHeaderSize)
        return BlockStatus::MissingHeader;
    if (loadLittle32(block) != kCompressedBlockMagic)
        return BlockStatus::BadMagic;
    const uint32_t size = loadLittle32(block + 4);
    if (size > 0x7FFFFFFFu)
        return BlockStatus::NegativeSize;
    declaredSize = size;
    return BlockStatus::Ok;
}

BlockStatus decodeCompressedBlock(const uint8_t* block, size_t length, uint8_t* out,
                                  size_t capacity) {
    uint32_t declared = 0;
    BlockStatus status = readCompressedBlockHeader(block, length, declared);
    if (status != BlockStatus::Ok)
        return status;
    if (capacity < declared)
        return BlockStatus::OutputTooSmall;
    DecodeState state;
    return decodeHeld(block, length, true, state, out, declared);
}

BlockStatus decodeCompressedStream(BlockSource& source, uint64_t length, uint8_t* out,
                                   size_t capacity, size_t window) {
    if (length < kCompressedBlockHeaderSize)
        return BlockStatus::MissingHeader;
    if (window < kMinimumStreamWindow)
        window = kMinimumStreamWindow;
    size_t held = length < window ? size_t(length) : window;
    String buffer;
    if (!buffer.setLengthNoFail(int(held)))
        return BlockStatus::OutOfMemory;
    auto* bytes = reinterpret_cast<uint8_t*>(buffer.writablePointer(0));
    if (!source.read(0, held, bytes))
        return BlockStatus::Unreadable;
    uint32_t declared = 0;
    BlockStatus status = readCompressedBlockHeader(bytes, held, declared);
    if (status != BlockStatus::Ok)
        return status;
    if (capacity < declared)
        return BlockStatus::OutputTooSmall;
    DecodeState state;
    uint64_t start = 0; // where bytes[0] lies in the block
    for (;;) {
        const bool last = start + held == length;
        status = decodeHeld(bytes, held, last, state, out, declared);
        if (status != BlockStatus::Ok || state.size >= declared || last)
            return status;
        // Only the bytes from the next code on stay; the rest of the window
        // is read on from the block.
        const size_t consumed = size_t(state.position >> 3);
        // A code whose prefixes alone fill the window: no encoder writes one.
        if (consumed == 0 && held == window)
            return BlockStatus::Truncated;
        const size_t kept = held - consumed;
        std::memmove(bytes, bytes + consumed, kept);
        start += consumed;
        state.position &= 7;
        const uint64_t rest = length - start - kept;
        const size_t more = rest < window - kept ? size_t(rest) : window - kept;
        if (!source.read(start + kept, more, bytes + kept))
            return BlockStatus::Unreadable;
        held = kept + more;
    }
}

bool decompress(String& data) {
    const auto* block = reinterpret_cast<const uint8_t*>(data.c_str());
    const size_t length = size_t(data.length());
    uint32_t declared = 0;
    if (readCompressedBlockHeader(block, length, declared) != BlockStatus::Ok)
        return false;
    String decoded;
    if (declared > 0) {
        // A hostile size must fail like any other damage, not end in the
        // out-of-memory box.
        if (!decoded.setLengthNoFail(int(declared)))
            return false;
        auto* out = reinterpret_cast<uint8_t*>(decoded.writablePointer(0));
        if (decodeCompressedBlock(block, length, out, declared) != BlockStatus::Ok)
            return false;
    } else if (decodeCompressedBlock(block, length, nullptr, 0) != BlockStatus::Ok) {
        return false;
    }
    data = std::move(decoded);
    return true;
}
