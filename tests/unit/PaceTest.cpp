#include "installer/Pace.h"

#include <gtest/gtest.h>

namespace {

TEST(Pace, OpensOnceAnIntervalHasPassed) {
    struct Step {
        uint32_t now;
        bool due;
    };
    // The first tick opens the gate wherever the counter stands, even just
    // before it wraps; the interval is then measured across the wrap.
    const struct {
        const char* name;
        uint32_t start;
    } starts[] = {{"zero", 0}, {"middle", 123456}, {"before the wrap", 0xFFFFFFF0u}};
    for (const auto& start : starts) {
        Pace pace(50);
        const Step steps[] = {{0, true},   {1, false},  {49, false}, {50, true},
                              {60, false}, {99, false}, {100, true}, {400, true}};
        for (const Step& step : steps)
            EXPECT_EQ(pace.due(start.start + step.now), step.due)
                << start.name << " at +" << step.now;
    }
}

TEST(Pace, AClockThatWentBackIsDueAtOnce) {
    Pace pace(50);
    EXPECT_TRUE(pace.due(1000));
    EXPECT_TRUE(pace.due(990));
    EXPECT_FALSE(pace.due(1000));
}

TEST(Pace, AZeroIntervalIsAlwaysDue) {
    Pace pace(0);
    for (uint32_t now : {5u, 5u, 5u, 6u})
        EXPECT_TRUE(pace.due(now));
}

} // namespace
