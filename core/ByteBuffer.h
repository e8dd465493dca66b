#pragma once
// A String seen as binary data: little-endian integer access, the archive's
// checksum and its XOR scrambling. The raw-byte forms serve callers that hold
// bytes outside a String (the archive image, hash keys).

#include <cstdint>

class String;

// Starts at 0x79E2BC9D; adds every whole little-endian 32-bit word, then each
// remaining byte sign-extended, then the length. No data gives the seed alone.
inline constexpr uint32_t kChecksumSeed = 0x79E2BC9Du;
uint32_t checksum(const void* data, int32_t length);
uint32_t checksum(const String& buffer);

// XORs every whole 32-bit word with the key and the 1-3 tail bytes with the
// key's bytes, lowest first. Its own inverse.
void xorWithKey(void* data, int32_t length, uint32_t key);
void xorWithKey(String& buffer, uint32_t key);

// Little-endian access. Reads out of range give -1 (0xFFFF for 16 bits);
// writes out of range return false and change nothing.
int32_t getInt32At(const String& buffer, int32_t offset);
uint16_t getInt16At(const String& buffer, int32_t offset);
bool setInt32At(String& buffer, int32_t offset, uint32_t value);
bool setInt16At(String& buffer, int32_t offset, uint16_t value);

// Whether any byte equals the given one.
bool contains(const String& buffer, uint8_t byte);
