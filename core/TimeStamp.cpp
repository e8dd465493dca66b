#include "core/TimeStamp.h"

#include "core/DateTime.h"

#include <climits>

namespace {
int order(int32_t a, int32_t b) {
    return a < b ? -1 : a > b ? 1 : 0;
}
} // namespace

int TimeStamp::compare(const TimeStamp& other) const {
    if (hasDate() != other.hasDate())
        return hasDate() ? -1 : 1;
    if (hasDate()) {
        if (int result = order(year, other.year))
            return result;
        if (int result = order(month, other.month))
            return result;
        if (int result = order(day, other.day))
            return result;
    }
    if (!hasTime())
        return other.hasTime() ? 1 : 0;
    if (!other.hasTime())
        return -1;
    if (int result = order(hour, other.hour))
        return result;
    if (int result = order(minute, other.minute))
        return result;
    // The stamps come from archive records: keep the difference in range.
    const int64_t seconds = int64_t(second) - other.second;
    return seconds > INT_MAX ? INT_MAX : seconds < INT_MIN ? INT_MIN : int(seconds);
}

DateTime TimeStamp::toDateTime() const {
    DateTime result;
    if (hasDate())
        result.date().set(month, day, year);
    if (hasTime())
        result.time().set(hour, minute, second);
    return result;
}
