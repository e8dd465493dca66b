#pragma once
// The library's random numbers: one process-wide linear congruential seed,
// stepped as seed * 214013 + 2531011 with 32-bit wrap-around.

#include <cstdint>

void setRandomSeed(uint32_t seed);
uint32_t randomSeed();

// One step: bits 16-30 of the new seed, 0 to 0x7FFF.
int random15();
// Three steps a, b, c as ((a << 30) | (b << 15) | c) & 0x7FFFFFFF.
int32_t random31();
// A random index below `count` (random31 modulo count); 0 when count < 2,
// without stepping the seed.
int randomIndex(int count);
