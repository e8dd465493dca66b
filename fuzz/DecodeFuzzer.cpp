// The block decoder against any bytes: it must never crash, hang or touch
// memory outside its buffers, and it must agree with a plain bit-by-bit
// reading of the format on whether the block is valid and what it holds.

#include "core/String.h"
#include "format/CompressedBlock.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Larger declared sizes only test the allocator; the fuzzer's inputs are small.
constexpr uint32_t kMaxDeclared = 1u << 22;

// The format read one bit at a time, with no shortcut: the oracle.
class PlainReader {
public:
    PlainReader(const uint8_t* data, size_t length) : data_(data), total_(uint64_t(length) * 8) {}

    bool bit(unsigned& value) {
        if (position_ >= total_)
            return false;
        value = (data_[position_ >> 3] >> (position_ & 7)) & 1u;
        ++position_;
        return true;
    }
    bool bits(unsigned width, uint64_t& value) {
        value = 0;
        for (unsigned i = 0; i < width; ++i) {
            unsigned b = 0;
            if (!bit(b))
                return false;
            value |= uint64_t(b) << i;
        }
        return true;
    }
    bool gamma(const GammaShape& shape, uint64_t& value) {
        if (position_ + 2 > total_)
            return false;
        uint64_t width = shape.base;
        unsigned b = 0;
        while (bit(b) && b == 1)
            width += shape.step;
        if (width > 32)
            width = 32;
        if (!bits(unsigned(width), value))
            return false;
        value += shape.bias;
        return true;
    }
    // The code's first bits read as 0 past the end, without failing.
    unsigned codeBit() {
        unsigned b = 0;
        return bit(b) ? b : 0;
    }

private:
    const uint8_t* data_;
    uint64_t total_;
    uint64_t position_ = 64;
};

bool plainDecode(const uint8_t* data, size_t length, std::vector<uint8_t>& out) {
    uint32_t declared = 0;
    if (readCompressedBlockHeader(data, length, declared) != BlockStatus::Ok)
        return false;
    PlainReader reader(data, length);
    while (out.size() < declared) {
        uint64_t count = 0;
        if (reader.codeBit() == 0) {
            if (!reader.gamma(kLiteralCount, count))
                return false;
            for (uint64_t i = 0; i < count && out.size() <= declared; ++i) {
                uint64_t byte = 0;
                if (!reader.bits(8, byte))
                    return false;
                out.push_back(uint8_t(byte));
            }
        } else if (reader.codeBit() == 1) {
            uint64_t byte = 0;
            if (!reader.bits(8, byte) || !reader.gamma(kRepeatCount, count))
                return false;
            if (count > declared - out.size())
                return false;
            out.insert(out.end(), size_t(count), uint8_t(byte));
        } else {
            uint64_t distance = 0;
            if (!reader.gamma(kReferenceLength, count) ||
                !reader.gamma(kReferenceDistance, distance))
                return false;
            if (distance > out.size() || count > distance || count > declared - out.size())
                return false;
            const size_t from = out.size() - size_t(distance);
            for (uint64_t i = 0; i < count; ++i)
                out.push_back(out[from + i]);
        }
    }
    return out.size() == declared;
}

class MemorySource : public BlockSource {
public:
    MemorySource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool read(uint64_t offset, size_t length, uint8_t* to) override {
        if (offset > size_ || length > size_ - offset)
            std::abort();
        if (length > 0)
            std::memcpy(to, data_ + offset, length);
        return true;
    }

private:
    const uint8_t* data_;
    size_t size_;
};

// Nearly a window of one bits: the prefix no window-wise reading can hold.
bool holdsLongOnesRun(const uint8_t* data, size_t size) {
    size_t run = 0;
    for (size_t i = 0; i < size; ++i) {
        run = data[i] == 0xFF ? run + 1 : 0;
        if (run * 8 + 16 >= kMinimumStreamWindow * 8 - 64 * 8)
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    uint32_t declared = 0;
    if (readCompressedBlockHeader(data, size, declared) != BlockStatus::Ok) {
        std::vector<uint8_t> none;
        if (decodeCompressedBlock(data, size, nullptr, 0) == BlockStatus::Ok ||
            plainDecode(data, size, none))
            std::abort();
        return 0;
    }
    if (declared > kMaxDeclared)
        return 0;
    // Exactly the declared size, so that the sanitizer sees any write past it.
    std::vector<uint8_t> out(declared);
    const bool ok = decodeCompressedBlock(data, size, out.data(), out.size()) == BlockStatus::Ok;
    std::vector<uint8_t> expected;
    const bool plainOk = plainDecode(data, size, expected);
    if (ok != plainOk || (ok && out != expected))
        std::abort();

    // Read a window at a time, the block decodes the same, but for a code
    // whose prefixes alone fill the window (then it counts as truncated).
    std::vector<uint8_t> streamed(declared);
    MemorySource source(data, size);
    const BlockStatus streamStatus = decodeCompressedStream(source, size, streamed.data(),
                                                            streamed.size(), kMinimumStreamWindow);
    if ((streamStatus == BlockStatus::Ok) != ok || (ok && streamed != out)) {
        if (ok && streamStatus == BlockStatus::Truncated && holdsLongOnesRun(data, size))
            return 0;
        std::abort();
    }

    String text(reinterpret_cast<const char*>(data), int(size));
    const bool decompressed = decompress(text);
    if (decompressed != ok)
        std::abort();
    if (ok && !out.empty() &&
        (size_t(text.length()) != out.size() ||
         std::memcmp(text.c_str(), out.data(), out.size()) != 0))
        std::abort();
    return 0;
}
