// keld's encoder against any input: the installer's decoder must give back
// exactly the bytes that went in, at every level.

#include "format/CompressedBlock.h"
#include "keld/Encoder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

class VectorSource : public BlockSource {
public:
    explicit VectorSource(const std::vector<uint8_t>& block) : block_(block) {}
    bool read(uint64_t offset, size_t length, uint8_t* to) override {
        if (offset > block_.size() || length > block_.size() - offset)
            std::abort();
        if (length > 0)
            std::memcpy(to, block_.data() + offset, length);
        return true;
    }

private:
    const std::vector<uint8_t>& block_;
};

} // namespace

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
        // And read a small window at a time, as the installer reads its file.
        std::vector<uint8_t> streamed(size);
        VectorSource source(block);
        if (decodeCompressedStream(source, block.size(), streamed.data(), streamed.size(),
                                   kMinimumStreamWindow) != BlockStatus::Ok ||
            streamed != out)
            std::abort();
    }
    return 0;
}
