#include "keld/Encoder.h"

#include "keld/EncoderBits.h"

namespace keld {

bool encodeCompressedBlock(const uint8_t* data, size_t size, CompressionLevel level,
                           std::vector<uint8_t>& block) {
    if (size > kMaxBlockInput || (!data && size > 0))
        return false;
    CodeWriter writer(uint32_t(size), size / 2);
    if (level == CompressionLevel::Fast)
        encodeFast(data, size, writer);
    else
        encodeBest(data, size, writer);
    block = writer.finish();
    return true;
}

} // namespace keld
