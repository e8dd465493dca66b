// keld's encoder against any input: the installer's decoder must give back
// exactly the bytes that went in, at every level.

#include "format/CompressedBlock.h"
#include "keld/Encoder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (keld::CompressionLevel level :
         {keld::CompressionLevel::Fast, keld::CompressionLevel::Best}) {
        std::vector<uint8_t> block;
        if (!keld::encodeCompressedBlock(data, size, level, block))
            std::abort();
        std::vector<uint8_t> out(size);
        if (decodeCompressedBlock(block.data(), block.size(), out.data(), out.size()) !=
            BlockStatus::Ok)
            std::abort();
        if (size > 0 && std::vector<uint8_t>(data, data + size) != out)
            std::abort();
    }
    return 0;
}
