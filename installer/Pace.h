#pragma once
// A gate for work that is cheap per item but costly to show: long loops move
// the bar, the status line and the message pump by elapsed time, not per item,
// so that a thousand small files cost a thousand writes and not a thousand
// repaints. Times are the system's millisecond tick, which wraps after 49 days.

#include <cstdint>

class Pace {
public:
    explicit Pace(uint32_t intervalMs) : interval_(intervalMs) {}

    // True on the first call and then whenever `interval` has passed since
    // the last time it was true. A tick that went backwards counts as due.
    bool due(uint32_t now) {
        if (started_ && now - last_ < interval_)
            return false;
        started_ = true;
        last_ = now;
        return true;
    }

private:
    uint32_t interval_;
    uint32_t last_ = 0;
    bool started_ = false;
};
