// The only core file that speaks Win32: the clock and the time zone.
#include "core/Clock.h"

#include <windows.h>

TimeStamp localTimeNow() {
    SYSTEMTIME local{};
    GetLocalTime(&local);
    TimeStamp stamp;
    stamp.year = local.wYear;
    stamp.month = local.wMonth;
    stamp.day = local.wDay;
    stamp.hour = local.wHour;
    stamp.minute = local.wMinute;
    stamp.second = local.wSecond;
    return stamp;
}

uint32_t tickCount() {
    return GetTickCount();
}

int32_t timeZoneOffsetMinutes() {
    TIME_ZONE_INFORMATION zone{};
    if (GetTimeZoneInformation(&zone) == TIME_ZONE_ID_DAYLIGHT)
        return -(zone.Bias + zone.DaylightBias);
    return -(zone.Bias + zone.StandardBias);
}

void sleep(int32_t milliseconds) {
    Sleep(milliseconds > 0 ? DWORD(milliseconds) : 0);
}
