#include "core/OutOfMemory.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(OutOfMemory, ReportsTheSizeAndEightWordsALine) {
    uint32_t words[kStackDumpWords] = {kStackMarkerFirst, kStackMarkerSecond};
    for (uint32_t i = 2; i < kStackDumpWords; ++i)
        words[i] = i * 0x01010101u;
    char text[kOutOfMemoryTextSize];
    std::memset(text, '#', sizeof text);
    const int length = formatOutOfMemory(text, 3000000000u, words);
    const char* expected =
        "Out Of Memory.  Make sure your hard drive is not full.\nRequested size = 3000000000 "
        "(0xB2D05E00)\n\nStack contents:"
        "\r11223344 55667788 02020202 03030303 04040404 05050505 06060606 07070707"
        "\r08080808 09090909 0A0A0A0A 0B0B0B0B 0C0C0C0C 0D0D0D0D 0E0E0E0E 0F0F0F0F"
        "\r10101010 11111111 12121212 13131313 14141414 15151515 16161616 17171717"
        "\r18181818 19191919 1A1A1A1A 1B1B1B1B 1C1C1C1C 1D1D1D1D 1E1E1E1E 1F1F1F1F"
        "\r20202020 21212121 22222222 23232323 24242424 25252525 26262626 27272727"
        "\r28282828 29292929 2A2A2A2A 2B2B2B2B 2C2C2C2C 2D2D2D2D 2E2E2E2E 2F2F2F2F"
        "\r30303030 31313131 32323232 33333333 34343434 35353535 36363636 37373737"
        "\r38383838 39393939 3A3A3A3A 3B3B3B3B 3C3C3C3C 3D3D3D3D 3E3E3E3E 3F3F3F3F"
        "\r40404040 41414141 42424242 43434343 44444444 45454545 46464646 47474747"
        "\r48484848 49494949 4A4A4A4A 4B4B4B4B 4C4C4C4C 4D4D4D4D 4E4E4E4E 4F4F4F4F";
    EXPECT_STREQ(text, expected);
    EXPECT_EQ(length, int(std::strlen(expected)));
}

TEST(OutOfMemory, TheLongestReportFitsItsBuffer) {
    uint32_t words[kStackDumpWords];
    std::memset(words, 0xFF, sizeof words);
    char text[kOutOfMemoryTextSize + 1];
    text[kOutOfMemoryTextSize] = '!';
    const int length = formatOutOfMemory(text, 0xFFFFFFFFu, words);
    EXPECT_EQ(length, int(std::strlen(text)));
    EXPECT_LT(length, kOutOfMemoryTextSize);
    EXPECT_STREQ(text + length - 9, " FFFFFFFF");
    EXPECT_EQ(text[kOutOfMemoryTextSize], '!');
}

TEST(OutOfMemoryDeathTest, EndsWithTheReportOfTheCurrentStack) {
    EXPECT_DEATH(outOfMemory(4096), "FATAL ERROR: Out Of Memory\\.  Make sure your hard drive is "
                                    "not full\\.\nRequested size = 4096 \\(0x00001000\\)\n\n"
                                    "Stack contents:\r11223344 55667788 ");
}

} // namespace
