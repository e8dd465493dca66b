#include "core/ByteBuffer.h"

#include "core/LittleEndian.h"
#include "core/String.h"

#include <cstring>

namespace {

// Whether size bytes at offset lie inside the buffer.
bool fits(const String& buffer, int32_t offset, int32_t size) {
    return offset >= 0 && int64_t(offset) + size <= buffer.length();
}

} // namespace

uint32_t checksum(const void* data, int32_t length) {
    uint32_t sum = kChecksumSeed;
    if (!data || length <= 0)
        return sum;
    const auto* bytes = static_cast<const unsigned char*>(data);
    const int32_t whole = length & ~3;
    int32_t i = 0;
    // Four sums side by side: the words are independent additions.
    uint32_t a = 0, b = 0, c = 0, d = 0;
    for (; i + 16 <= whole; i += 16) {
        a += loadLittle32(bytes + i);
        b += loadLittle32(bytes + i + 4);
        c += loadLittle32(bytes + i + 8);
        d += loadLittle32(bytes + i + 12);
    }
    sum += a + b + c + d;
    for (; i < whole; i += 4)
        sum += loadLittle32(bytes + i);
    for (i = whole; i < length; ++i)
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

uint32_t checksum(const String& buffer) {
    return checksum(buffer.c_str(), buffer.length());
}

void xorWithKey(String& buffer, uint32_t key) {
    if (!buffer.isEmpty())
        xorWithKey(buffer.writablePointer(0), buffer.length(), key);
}

int32_t getInt32At(const String& buffer, int32_t offset) {
    if (!fits(buffer, offset, 4))
        return -1;
    const auto* p = reinterpret_cast<const unsigned char*>(buffer.c_str() + offset);
    return static_cast<int32_t>(loadLittle32(p));
}

uint16_t getInt16At(const String& buffer, int32_t offset) {
    if (!fits(buffer, offset, 2))
        return 0xFFFF;
    const auto* p = reinterpret_cast<const unsigned char*>(buffer.c_str() + offset);
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

bool setInt32At(String& buffer, int32_t offset, uint32_t value) {
    if (!fits(buffer, offset, 4))
        return false;
    storeLittle32(reinterpret_cast<unsigned char*>(buffer.writablePointer(offset)), value);
    return true;
}

bool setInt16At(String& buffer, int32_t offset, uint16_t value) {
    if (!fits(buffer, offset, 2))
        return false;
    auto* p = reinterpret_cast<unsigned char*>(buffer.writablePointer(offset));
    p[0] = static_cast<unsigned char>(value);
    p[1] = static_cast<unsigned char>(value >> 8);
    return true;
}

bool contains(const String& buffer, uint8_t byte) {
    return buffer.length() > 0 && std::memchr(buffer.c_str(), byte, size_t(buffer.length()));
}
