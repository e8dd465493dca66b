#pragma once
// The system clock and time zone. Each platform implements these once, in
// core/seam/<platform>/Clock.cpp; everything else about dates is portable.

#include "core/TimeStamp.h"

#include <cstdint>

// The local date and time, to the second.
TimeStamp localTimeNow();

// Milliseconds since some fixed point; wraps after about 49 days.
uint32_t tickCount();

// Minutes east of UTC in force now, daylight saving included.
int32_t timeZoneOffsetMinutes();

// Takes an int32 so that it never collides with POSIX sleep(unsigned seconds).
void sleep(int32_t milliseconds);

// The distance between now and an earlier tickCount, wrap-around included.
inline uint32_t elapsedMilliseconds(uint32_t start) {
    const int32_t difference = static_cast<int32_t>(tickCount() - start);
    return difference < 0 ? 0u - static_cast<uint32_t>(difference)
                          : static_cast<uint32_t>(difference);
}
