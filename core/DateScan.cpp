#include "core/DateScan.h"

namespace datescan {

int32_t length(const char* word) {
    int32_t n = 0;
    while (word[n])
        ++n;
    return n;
}

int32_t readName(const char*& p, const char* (*name)(int32_t), int32_t count) {
    for (int32_t i = 1; i <= count; ++i) {
        const int32_t full = length(name(i));
        if (startsWithWord(p, name(i), full)) {
            p += full;
            return i;
        }
    }
    for (int32_t i = 1; i <= count; ++i) {
        if (startsWithWord(p, name(i), 3)) {
            p += 3;
            return i;
        }
    }
    return 0;
}

} // namespace datescan
