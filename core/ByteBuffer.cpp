#include "core/ByteBuffer.h"

namespace {

uint32_t loadLittle32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void storeLittle32(unsigned char* p, uint32_t value) {
    p[0] = static_cast<unsigned char>(value);
    p[1] = static_cast<unsigned char>(value >> 8);
    p[2] = static_cast<unsigned char>(value >> 16);
    p[3] = static_cast<unsigned char>(value >> 24);
}

} // namespace

uint32_t checksum(const void* data, int32_t length) {
    uint32_t sum = kChecksumSeed;
    if (!data || length <= 0)
        return sum;
    const auto* bytes = static_cast<const unsigned char*>(data);
    const int32_t whole = length & ~3;
    for (int32_t i = 0; i < whole; i += 4)
        sum += loadLittle32(bytes + i);
    for (int32_t i = whole; i < length; ++i)
        sum += static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(bytes[i])));
    return sum + static_cast<uint32_t>(length);
}

void xorWithKey(void* data, int32_t length, uint32_t key) {
    if (!data || length <= 0)
        return;
    auto* bytes = static_cast<unsigned char*>(data);
    const int32_t whole = length & ~3;
    for (int32_t i = 0; i < whole; i += 4)
        storeLittle32(bytes + i, loadLittle32(bytes + i) ^ key);
    for (int32_t i = whole; i < length; ++i)
        bytes[i] ^= static_cast<unsigned char>(key >> (8 * (i - whole)));
}
