#pragma once
// The compressed block: the settings block and, with CompressedData, the whole
// data area travel in it. keld writes it; the installer only decodes.
//
//   offset 0   u32  magic 0x9EC72BA1
//   offset 4   i32  declared size of the decoded data
//   offset 8   ...  the bit stream (see BitReader.h), from bit 64 on
//
// The stream is a sequence of codes until the declared size is reached:
//
//   0   literal run      count = gamma(2, 2) + 1, then count bytes of 8 bits
//   11  repeated byte    8 bits of byte value, count = gamma(1, 1) + 3
//   10  back-reference   length = gamma(2, 1) + 4, distance = gamma(12, 2) + 4
//
// gamma(base, step) is k one bits, a zero, then a value of base + k * step
// bits, at most 32. A back-reference copies from distance bytes back and never
// reaches the bytes it produces (length <= distance).

#include <cstddef>
#include <cstdint>

class String;

inline constexpr uint32_t kCompressedBlockMagic = 0x9EC72BA1u;
inline constexpr size_t kCompressedBlockHeaderSize = 8;

// The code prefixes' field shapes, shared by the decoder and keld's encoder.
struct GammaShape {
    unsigned base;
    unsigned step;
    uint32_t bias;
};
inline constexpr GammaShape kLiteralCount{2, 2, 1};
inline constexpr GammaShape kRepeatCount{1, 1, 3};
inline constexpr GammaShape kReferenceLength{2, 1, 4};
inline constexpr GammaShape kReferenceDistance{12, 2, 4};

// Why a block did not decode. Callers need only Ok or not; the reasons serve
// the tests and the fuzzers.
enum class BlockStatus : uint8_t {
    Ok,
    MissingHeader,        // no buffer, or fewer than 8 bytes
    BadMagic,             // the first four bytes are not the magic
    NegativeSize,         // the declared size is below zero
    OutputTooSmall,       // the caller's buffer cannot hold the declared size
    OutOfMemory,          // the declared size could not be reserved
    Truncated,            // a code, field or literal runs past the last bit
    ReferenceBeforeStart, // a back-reference's source lies before the output
    ReferenceOverlap,     // a back-reference is longer than its distance
    Overrun,              // a code would pass the declared size
    Unreadable,           // the block's source could not give its bytes
};

// Checks the header and gives the declared size (0 to 2^31 - 1).
// On failure `declaredSize` is left alone.
BlockStatus readCompressedBlockHeader(const uint8_t* block, size_t length, uint32_t& declaredSize);

// Decodes the block into out[0, declaredSize) and writes nothing beyond it;
// allocates nothing. Fails with OutputTooSmall when capacity is below the
// declared size; on any failure the contents of `out` are unspecified.
BlockStatus decodeCompressedBlock(const uint8_t* block, size_t length, uint8_t* out,
                                  size_t capacity);

// Where a block's bytes come from when it is decoded a window at a time.
class BlockSource {
public:
    virtual ~BlockSource() = default;
    // Copies `length` bytes from `offset` of the block into `to`. The decoder
    // reads the block once, front to back.
    virtual bool read(uint64_t offset, size_t length, uint8_t* to) = 0;
};

// The smallest window decodeCompressedStream uses, whatever it is given.
inline constexpr size_t kMinimumStreamWindow = 1024;

// As decodeCompressedBlock, for a block of `length` bytes read from `source`
// while holding at most `window` bytes of it, so that a block need not be in
// memory whole beside what it decodes to: the same output and the same status
// for the same bytes, or Unreadable when the source fails, or OutOfMemory when
// the window cannot be had. One exception, for damage no encoder writes: a
// code whose prefixes alone are longer than the window counts as truncated.
BlockStatus decodeCompressedStream(BlockSource& source, uint64_t length, uint8_t* out,
                                   size_t capacity, size_t window);

// Replaces `data` by the decoded content of the block it holds. Returns false
// and leaves `data` as it was when the block is damaged or its declared size
// cannot be reserved.
bool decompress(String& data);
