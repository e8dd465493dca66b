#pragma once
// keld's side of the compressed block: turns any input into a block that the
// installer's decoder turns back into the same bytes.
//
// The format holds one block per input with its size declared in front, so
// the whole input and the whole block are in memory; the match finders and the
// parsers keep state of a fixed size (a window of 2^23 positions at most), not
// in proportion to the input.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace keld {

enum class CompressionLevel {
    Fast, // lazy matching over short hash chains
    Best, // a parse that minimises the exact bit cost over binary-tree matches
};

// The largest input a block can declare.
inline constexpr size_t kMaxBlockInput = 0x7FFFFFFF;

// Told how many input bytes are encoded so far, of how many: about once per
// kEncodeProgressStep bytes, and once more at the end.
using EncodeProgress = std::function<void(size_t done, size_t total)>;
inline constexpr size_t kEncodeProgressStep = size_t(1) << 20;

// Returns false, with `block` left alone, when size exceeds kMaxBlockInput.
// The best level shares its search for matches among `threads` threads (0:
// one a processor); the block is the same for any number.
bool encodeCompressedBlock(const uint8_t* data, size_t size, CompressionLevel level,
                           std::vector<uint8_t>& block, const EncodeProgress& progress = nullptr,
                           unsigned threads = 0);

// The levels' parsers, behind encodeCompressedBlock. size <= kMaxBlockInput.
class CodeWriter;
void encodeFast(const uint8_t* data, size_t size, CodeWriter& writer);
void encodeBest(const uint8_t* data, size_t size, CodeWriter& writer, unsigned threads);

} // namespace keld
