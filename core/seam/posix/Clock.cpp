#include "core/Clock.h"

#include <cerrno>
#include <ctime>

TimeStamp localTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    TimeStamp stamp;
    stamp.year = local.tm_year + 1900;
    stamp.month = local.tm_mon + 1;
    stamp.day = local.tm_mday;
    stamp.hour = local.tm_hour;
    stamp.minute = local.tm_min;
    stamp.second = local.tm_sec > 59 ? 59 : local.tm_sec;
    return stamp;
}

uint32_t tickCount() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const uint64_t milliseconds = uint64_t(now.tv_sec) * 1000u + uint64_t(now.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(milliseconds);
}

int32_t timeZoneOffsetMinutes() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return static_cast<int32_t>(local.tm_gmtoff / 60);
}

void sleep(int32_t milliseconds) {
    if (milliseconds <= 0)
        return;
    timespec wait{};
    wait.tv_sec = milliseconds / 1000;
    wait.tv_nsec = long(milliseconds % 1000) * 1000000L;
    while (nanosleep(&wait, &wait) != 0 && errno == EINTR) {
    }
}
