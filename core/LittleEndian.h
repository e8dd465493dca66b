#pragma once
// Little-endian words read from and written to bytes at any alignment: the
// archive's layout, whatever the machine. One load or store where the machine
// is little-endian, as the installer's size optimisation would otherwise keep
// byte-by-byte forms as calls.

#include <cstdint>
#include <cstring>

inline uint32_t loadLittle32(const uint8_t* p) {
    uint32_t word;
    std::memcpy(&word, p, 4);
#if __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    word = __builtin_bswap32(word);
#endif
    return word;
}

inline uint64_t loadLittle64(const uint8_t* p) {
    uint64_t word;
    std::memcpy(&word, p, 8);
#if __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    word = __builtin_bswap64(word);
#endif
    return word;
}

inline void storeLittle32(uint8_t* p, uint32_t word) {
#if __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    word = __builtin_bswap32(word);
#endif
    std::memcpy(p, &word, 4);
}

inline void storeLittle64(uint8_t* p, uint64_t word) {
#if __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    word = __builtin_bswap64(word);
#endif
    std::memcpy(p, &word, 8);
}
