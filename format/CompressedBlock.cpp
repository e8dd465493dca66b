#include "format/CompressedBlock.h"

#include "core/String.h"
#include "format/BitReader.h"

#include <cstring>
#include <utility>

namespace {

uint32_t loadLittle32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

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

// The common case: a code that starts at least kMargin bytes before the end
// of the input, with short prefixes. Every field is then read from one
// unchecked 64-bit load. Returns false, having changed nothing, when the code
// needs the careful path; otherwise sets status and moves on.
constexpr size_t kMargin = 32;

// The shortest fields hold 57 - 1 - prefix bits after their prefix; these
// limits keep each field, and a literal run of up to 16 bytes, inside the
// margin.
constexpr unsigned kMaxFastLiteralPrefix = 12;
constexpr unsigned kMaxFastRepeatPrefix = 20;
constexpr unsigned kMaxFastLengthPrefix = 12;
constexpr unsigned kMaxFastDistancePrefix = 10;
constexpr uint64_t kMaxFastLiteral = 16;

inline uint64_t peekAt(const uint8_t* block, uint64_t position) {
    return BitReader::loadLittle64(block + (position >> 3)) >> (position & 7);
}

// Ones at the bottom of a word whose top bit is not part of the field.
inline unsigned prefixOnes(uint64_t word) {
    return unsigned(__builtin_ctzll(~word | (uint64_t(1) << 63)));
}

inline bool decodeFast(const uint8_t* block, uint64_t& position, uint64_t totalBits, uint8_t* out,
                       size_t& size, size_t declared, BlockStatus& status) {
    const size_t room = declared - size;
    uint64_t at = position;
    const uint64_t word = peekAt(block, at);
    if ((word & 1) == 0) {
        const uint64_t rest = word >> 1;
        const unsigned ones = prefixOnes(rest);
        if (ones > kMaxFastLiteralPrefix)
            return false;
        const unsigned width = kLiteralCount.base + ones * kLiteralCount.step;
        const uint64_t count = ((rest >> (ones + 1)) & BitReader::lowMask(width)) + 1;
        at += 2 + ones + width;
        if (count > room) {
            status = BlockStatus::Overrun;
        } else if (count * 8 > totalBits - at) {
            status = BlockStatus::Truncated;
        } else if (count <= kMaxFastLiteral && room >= kMaxFastLiteral + 8) {
            // Seven whole bytes per load; the eighth byte stored is rewritten later.
            for (uint64_t done = 0; done < count; done += 7, at += 56)
                BitReader::storeLittle64(out + size + done, peekAt(block, at));
            at = position + 2 + ones + width + count * 8;
            size += size_t(count);
        } else {
            BitReader bits(block, size_t(totalBits / 8), at);
            bits.readBytes(out + size, size_t(count));
            at += count * 8;
            size += size_t(count);
        }
    } else if (word & 2) {
        const unsigned byte = unsigned(word >> 2) & 0xFF;
        const uint64_t rest = word >> 10;
        const unsigned ones = prefixOnes(rest);
        if (ones > kMaxFastRepeatPrefix)
            return false;
        const unsigned width = kRepeatCount.base + ones * kRepeatCount.step;
        const uint64_t count = ((rest >> (ones + 1)) & BitReader::lowMask(width)) + 3;
        at += 11 + ones + width;
        if (count > room) {
            status = BlockStatus::Overrun;
        } else {
            std::memset(out + size, int(byte), size_t(count));
            size += size_t(count);
        }
    } else {
        const uint64_t rest = word >> 2;
        const unsigned ones = prefixOnes(rest);
        if (ones > kMaxFastLengthPrefix)
            return false;
        const unsigned width = kReferenceLength.base + ones * kReferenceLength.step;
        const uint64_t length = ((rest >> (ones + 1)) & BitReader::lowMask(width)) + 4;
        at += 3 + ones + width;
        const uint64_t field = peekAt(block, at);
        const unsigned far = prefixOnes(field);
        if (far > kMaxFastDistancePrefix)
            return false;
        const unsigned farWidth = kReferenceDistance.base + far * kReferenceDistance.step;
        const uint64_t distance = ((field >> (far + 1)) & BitReader::lowMask(farWidth)) + 4;
        at += 1 + far + farWidth;
        if (distance > size) {
            status = BlockStatus::ReferenceBeforeStart;
        } else if (length > distance) {
            status = BlockStatus::ReferenceOverlap;
        } else if (length > room) {
            status = BlockStatus::Overrun;
        } else {
            copyReference(out + size, room, size_t(distance), size_t(length));
            size += size_t(length);
        }
    }
    position = at;
    return true;
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

    const uint64_t totalBits = uint64_t(length) * 8;
    const uint64_t fastEnd = length > kMargin ? uint64_t(length - kMargin) * 8 : 0;
    uint64_t position = kCompressedBlockHeaderSize * 8;
    size_t size = 0;
    while (size < declared && status == BlockStatus::Ok) {
        if (position < fastEnd &&
            decodeFast(block, position, totalBits, out, size, declared, status))
            continue;
        BitReader bits(block, length, position);
        status = decodeCode(bits, out, size, declared);
        position = bits.position();
    }
    return status;
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
