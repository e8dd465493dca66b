#pragma once
// keld's little-endian byte writer: every field goes out one by one, so the
// archive reads the same on every host whatever the compiler does to structs.

#include <cstdint>
#include <string>
#include <vector>

namespace keld {

using Bytes = std::vector<uint8_t>;

inline void appendU16(Bytes& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

inline void appendU32(Bytes& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

inline void appendBytes(Bytes& out, const void* data, size_t size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    out.insert(out.end(), bytes, bytes + size);
}

// A zero-terminated text; the caller has made sure it holds no zero byte.
inline void appendText(Bytes& out, const std::string& text) {
    appendBytes(out, text.data(), text.size());
    out.push_back(0);
}

inline uint16_t loadU16(const Bytes& in, size_t offset) {
    return static_cast<uint16_t>(in[offset] | in[offset + 1] << 8);
}

inline uint32_t loadU32(const Bytes& in, size_t offset) {
    return uint32_t(in[offset]) | uint32_t(in[offset + 1]) << 8 | uint32_t(in[offset + 2]) << 16 |
           uint32_t(in[offset + 3]) << 24;
}

inline void storeU16(Bytes& out, size_t offset, uint16_t value) {
    out[offset] = static_cast<uint8_t>(value);
    out[offset + 1] = static_cast<uint8_t>(value >> 8);
}

inline void storeU32(Bytes& out, size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

inline uint64_t alignUp(uint64_t value, uint64_t alignment) {
    return alignment == 0 ? value : (value + alignment - 1) / alignment * alignment;
}

} // namespace keld
