#include "core/Random.h"

namespace {
uint32_t gSeed = 1;
} // namespace

void setRandomSeed(uint32_t seed) {
    gSeed = seed;
}

uint32_t randomSeed() {
    return gSeed;
}

int random15() {
    gSeed = gSeed * 214013u + 2531011u;
    return static_cast<int>((gSeed >> 16) & 0x7FFFu);
}

int32_t random31() {
    const uint32_t a = static_cast<uint32_t>(random15());
    const uint32_t b = static_cast<uint32_t>(random15());
    const uint32_t c = static_cast<uint32_t>(random15());
    return static_cast<int32_t>(((a << 30) | (b << 15) | c) & 0x7FFFFFFFu);
}

int randomIndex(int count) {
    return count < 2 ? 0 : random31() % count;
}
