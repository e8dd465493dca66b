#include "keld/Encoder.h"

#include "keld/EncoderBits.h"

namespace keld {

bool encodeCompressedBlock(const uint8_t* data, size_t size, CompressionLevel level,
                           std::vector<uint8_t>& block, const EncodeProgress& progress,
                           unsigned threads) {
    if (size > kMaxBlockInput || (!data && size > 0))
        return false;
    CodeWriter writer(uint32_t(size), size / 2, &progress);
    if (level == CompressionLevel::Fast)
        encodeFast(data, size, writer);
    else
        encodeBest(data, size, writer, threads);
    block = writer.finish();
    if (progress)
        progress(size, size);
    return true;
}

} // namespace keld
