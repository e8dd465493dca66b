#pragma once
// A String seen as binary data: little-endian integer access, the archive's
// checksum and its XOR scrambling. The raw-byte forms serve callers that hold
// bytes outside a String (the archive image, hash keys).

#include <cstdint>

// Starts at 0x79E2BC9D; adds every whole little-endian 32-bit word, then each
// remaining byte sign-extended, then the length. No data gives the seed alone.
inline constexpr uint32_t kChecksumSeed = 0x79E2BC9Du;
uint32_t checksum(const void* data, int32_t length);

// XORs every whole 32-bit word with the key and the 1-3 tail bytes with the
// key's bytes, lowest first. Its own inverse.
void xorWithKey(void* data, int32_t length, uint32_t key);
