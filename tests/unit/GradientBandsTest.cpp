#include "installer/GradientBands.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

namespace {

TEST(GradientBands, BandsAreOneToThreePixelsHigh) {
    struct Case {
        int bottom; // the client rectangle's, with its top at 0
        int bandHeight;
        int steps;
    } cases[] = {
        {1024, 3, 341}, // 1025 rows: 4 a band, held to 3
        {671, 3, 224},  {670, 2, 335}, {447, 2, 224}, {446, 1, 447}, {100, 1, 101}, {0, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bottom);
        const GradientBands bands(rgbColor(0, 0, 0), rgbColor(255, 255, 255), 0, c.bottom);
        EXPECT_EQ(bands.bandHeight(), c.bandHeight);
        EXPECT_EQ(bands.steps(), c.steps);
    }
}

// Each channel walks from the top colour to the bottom colour in steps that
// differ by at most one, the first band already one step along, the last of
// the steps exactly at the bottom colour; a band beyond the steps keeps it.
TEST(GradientBands, ColoursWalkFromTopToBottomColour) {
    struct Case {
        uint32_t top;
        uint32_t bottom;
        int clientBottom;
    } cases[] = {
        {rgbColor(0, 0, 128), rgbColor(0, 0, 0), 1024},
        {rgbColor(0, 0, 0), rgbColor(255, 255, 255), 1024},
        {rgbColor(255, 0, 17), rgbColor(0, 255, 200), 768},
        {rgbColor(10, 20, 30), rgbColor(13, 19, 250), 100},
        {rgbColor(200, 100, 50), rgbColor(200, 100, 50), 480},
        {rgbColor(255, 255, 255), rgbColor(0, 0, 0), 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.top << " to " << c.bottom << std::dec
                                        << " over " << c.clientBottom);
        GradientBands bands(c.top, c.bottom, 0, c.clientBottom);
        int (*const channels[])(uint32_t) = {redOf, greenOf, blueOf};
        uint32_t previous = c.top;
        for (int band = 0; band < bands.steps(); ++band) {
            const uint32_t color = bands.next();
            for (auto channel : channels) {
                const int difference = channel(c.top) - channel(c.bottom);
                const int step = channel(previous) - channel(color);
                const int even = difference / bands.steps();
                ASSERT_TRUE(step == even || step == even + (difference < 0 ? -1 : 1))
                    << "band " << band << " step " << step;
            }
            previous = color;
        }
        EXPECT_EQ(previous, c.bottom);
        EXPECT_EQ(bands.next(), c.bottom);
        EXPECT_EQ(bands.next(), c.bottom);
    }
}

TEST(GradientBands, TallScreenTakesOneBandMoreThanItsSteps) {
    GradientBands bands(rgbColor(0, 0, 255), rgbColor(0, 0, 0), 0, 1024);
    int count = 0;
    uint32_t last = 0;
    for (int y = 0; y < 1024; y += bands.bandHeight()) {
        last = bands.next();
        ++count;
    }
    EXPECT_EQ(count, 342);
    EXPECT_EQ(last, rgbColor(0, 0, 0));
}

TEST(GradientBands, FirstBandIsAStepAwayFromTheTopColour) {
    // 255 units over 101 steps: two a step, and a third now and then.
    GradientBands bands(rgbColor(0, 0, 0), rgbColor(255, 255, 255), 0, 100);
    EXPECT_EQ(bands.next(), rgbColor(2, 2, 2));
}

} // namespace
