#include "runtime/Bytes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

constexpr size_t kArena = 160;
constexpr unsigned char kGuard = 0xA5;

std::vector<unsigned char> numbered() {
    std::vector<unsigned char> bytes(kArena);
    for (size_t i = 0; i < kArena; ++i)
        bytes[i] = static_cast<unsigned char>(i * 7 + 1);
    return bytes;
}

bool directionFlagClear() {
    uint32_t flags = 0;
    asm volatile("pushfl\n\tpopl %0" : "=r"(flags));
    return (flags & 0x400) == 0;
}

} // namespace

// Every length across the word boundaries, at every alignment of either block;
// the bytes around the target stay as they were.
TEST(RuntimeBytes, CopiesAndFillsEveryLengthAtEveryAlignment) {
    const std::vector<unsigned char> source = numbered();
    for (size_t to = 0; to < 4; ++to)
        for (size_t from = 0; from < 4; ++from)
            for (size_t count = 0; count <= 70; ++count) {
                std::vector<unsigned char> target(kArena, kGuard);
                runtime::copyBytes(target.data() + 8 + to, source.data() + from, count);
                std::vector<unsigned char> expected(kArena, kGuard);
                for (size_t i = 0; i < count; ++i)
                    expected[8 + to + i] = source[from + i];
                ASSERT_EQ(target, expected)
                    << "to " << to << " from " << from << " count " << count;

                std::vector<unsigned char> filled(kArena, kGuard);
                const auto value = static_cast<unsigned char>(0x80 + count);
                runtime::fillBytes(filled.data() + 8 + to, value, count);
                std::vector<unsigned char> same(kArena, kGuard);
                for (size_t i = 0; i < count; ++i)
                    same[8 + to + i] = value;
                ASSERT_EQ(filled, same) << "fill at " << to << " count " << count;
            }
}

// Overlapping blocks, as memmove hands them over: forward when the target lies
// before the source, backward when it lies after; the direction flag is clear
// again afterwards.
TEST(RuntimeBytes, OverlappingBlocksMoveInTheirDirection) {
    for (size_t shift = 1; shift <= 9; ++shift)
        for (size_t count = 0; count <= 64; ++count) {
            const std::vector<unsigned char> original = numbered();

            std::vector<unsigned char> down = original;
            runtime::copyBytes(down.data() + 20, down.data() + 20 + shift, count);
            std::vector<unsigned char> downExpected = original;
            for (size_t i = 0; i < count; ++i)
                downExpected[20 + i] = original[20 + shift + i];
            ASSERT_EQ(down, downExpected) << "down " << shift << " count " << count;

            std::vector<unsigned char> up = original;
            runtime::copyBytesBackward(up.data() + 20 + shift, up.data() + 20, count);
            ASSERT_TRUE(directionFlagClear());
            std::vector<unsigned char> upExpected = original;
            for (size_t i = 0; i < count; ++i)
                upExpected[20 + shift + i] = original[20 + i];
            ASSERT_EQ(up, upExpected) << "up " << shift << " count " << count;
        }
}
