// A small PE32 image for the tests of the section parser, the uninstaller
// image and keld's PE writer: headers at 0x80, sections of one file
// alignment each, named ".s0", ".s1", ... unless a name is given.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace pe_fixture {

constexpr uint32_t kPeOffset = 0x80;
constexpr uint32_t kTable = kPeOffset + 24 + 0xE0;
constexpr uint32_t kHeaderSize = 0x400;
constexpr uint32_t kFileAlignment = 0x200;
constexpr uint32_t kSectionAlignment = 0x1000;

inline void put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}

inline void put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

inline uint32_t get32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
           uint32_t(b[at + 3]) << 24;
}

inline uint32_t get16(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8;
}

inline size_t entryAt(int index) {
    return kTable + size_t(index) * 40;
}

// `names` gives each section's name; each holds 0x200 bytes of (index + 1).
inline std::vector<uint8_t> makeImage(const std::vector<std::string>& names) {
    std::vector<uint8_t> b(kHeaderSize, 0);
    b[0] = 'M';
    b[1] = 'Z';
    put32(b, 0x3C, kPeOffset);
    put32(b, kPeOffset, 0x00004550);
    put16(b, kPeOffset + 4, 0x14C);
    put16(b, kPeOffset + 6, static_cast<uint32_t>(names.size()));
    put16(b, kPeOffset + 20, 0xE0);
    put16(b, kPeOffset + 22, 0x102);
    const size_t opt = kPeOffset + 24;
    put16(b, opt, 0x10B);
    put32(b, opt + 16, 0x1000); // entry point
    put32(b, opt + 28, 0x400000);
    put32(b, opt + 32, kSectionAlignment);
    put32(b, opt + 36, kFileAlignment);
    put16(b, opt + 40, 4);
    put16(b, opt + 48, 4);
    put32(b, opt + 60, kHeaderSize);
    put16(b, opt + 68, 2);
    put32(b, opt + 92, 16);
    uint32_t initialized = 0;
    for (size_t i = 0; i < names.size(); ++i) {
        const size_t e = entryAt(static_cast<int>(i));
        std::memcpy(&b[e], names[i].data(), names[i].size() < 8 ? names[i].size() : 8);
        put32(b, e + 8, kFileAlignment);
        put32(b, e + 12, kSectionAlignment * uint32_t(i + 1));
        put32(b, e + 16, kFileAlignment);
        put32(b, e + 20, kHeaderSize + kFileAlignment * uint32_t(i));
        put32(b, e + 36, 0x40000040);
        initialized += kFileAlignment;
        b.insert(b.end(), kFileAlignment, static_cast<uint8_t>(i + 1));
    }
    put32(b, opt + 8, initialized);
    put32(b, opt + 56, kSectionAlignment * uint32_t(names.size() + 1));
    return b;
}

inline std::vector<uint8_t> makeImage(int sectionCount) {
    std::vector<std::string> names;
    for (int i = 0; i < sectionCount; ++i)
        names.push_back(".s" + std::to_string(i));
    return makeImage(names);
}

} // namespace pe_fixture
