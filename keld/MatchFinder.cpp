#include "keld/MatchFinder.h"

#include <cstring>

namespace keld {

namespace {

constexpr uint32_t kNone = 0xFFFFFFFFu;

uint32_t load32(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

uint64_t load64(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}

// A small input (the settings block) needs tables no larger than itself.
unsigned bitsForSize(unsigned bits, unsigned least, size_t size) {
    while (bits > least && (size_t(1) << (bits - 1)) >= size)
        --bits;
    return bits;
}

} // namespace

// Length of the common prefix of a and b, at most limit.
size_t commonLength(const uint8_t* a, const uint8_t* b, size_t limit) {
    size_t n = 0;
    while (n + 8 <= limit) {
        const uint64_t diff = load64(a + n) ^ load64(b + n);
        if (diff) {
#if __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
            return n + size_t(__builtin_clzll(diff) / 8);
#else
            return n + size_t(__builtin_ctzll(diff) / 8);
#endif
        }
        n += 8;
    }
    while (n < limit && a[n] == b[n])
        ++n;
    return n;
}

MatchFinder::MatchFinder(const uint8_t* data, size_t size, const MatchFinderSettings& settings)
    : data_(data), size_(size), depth_(settings.depth) {
    const unsigned windowBits = bitsForSize(settings.windowBits, 6, size);
    const unsigned hashBits = bitsForSize(settings.hashBits, 8, size);
    windowMask_ = (size_t(1) << windowBits) - 1;
    hashShift_ = 32 - hashBits;
    head_.assign(size_t(1) << hashBits, kNone);
    chain_.assign(windowMask_ + 1, kNone);
}

uint32_t MatchFinder::hashAt(size_t at) const {
    return (load32(data_ + at) * 2654435761u) >> hashShift_;
}

void MatchFinder::insert(size_t at) {
    if (at + kMinLength > size_)
        return;
    uint32_t& head = head_[hashAt(at)];
    chain_[at & windowMask_] = head;
    head = uint32_t(at);
}

void MatchFinder::skipTo(size_t end) {
    for (; next_ < end; ++next_)
        insert(next_);
}

size_t MatchFinder::find(size_t at, uint32_t maxLength, Match* out) {
    skipTo(at);
    size_t found = 0;
    if (at + kMinLength <= size_) {
        const size_t available = size_ - at;
        const size_t window = windowMask_ + 1;
        size_t best = kMinLength - 1;
        uint32_t candidate = head_[hashAt(at)];
        for (unsigned links = depth_; links > 0 && candidate != kNone; --links) {
            const size_t distance = at - candidate;
            if (distance >= window)
                break;
            size_t limit = distance < available ? distance : available;
            if (limit > maxLength)
                limit = maxLength;
            if (distance >= kMinDistance && limit > best &&
                data_[candidate + best] == data_[at + best]) {
                const size_t length = commonLength(data_ + candidate, data_ + at, limit);
                if (length > best) {
                    best = length;
                    out[found++] = {uint32_t(length), uint32_t(distance)};
                    if (length >= maxLength || found == kMaxMatches)
                        break;
                }
            }
            const uint32_t older = chain_[candidate & windowMask_];
            if (older >= candidate)
                break;
            candidate = older;
        }
    }
    insert(at);
    next_ = at + 1;
    return found;
}

Match MatchFinder::longest(size_t at, uint32_t maxLength) {
    Match matches[kMaxMatches];
    const size_t n = find(at, maxLength, matches);
    return n ? matches[n - 1] : Match{0, 0};
}

TreeMatchFinder::TreeMatchFinder(const uint8_t* data, size_t size,
                                 const TreeFinderSettings& settings)
    : data_(data), size_(size), depth_(settings.depth), niceLength_(settings.niceLength) {
    const unsigned windowBits = bitsForSize(settings.windowBits, 6, size);
    const unsigned hashBits = bitsForSize(settings.hashBits, 8, size);
    windowMask_ = (size_t(1) << windowBits) - 1;
    // A window that holds the whole input never hands a slot on.
    const size_t window = windowMask_ + 1;
    reach_ = window >= size || window <= 2 * kConcurrentSpan ? window : window - kConcurrentSpan;
    hashShift_ = 32 - hashBits;
    root_.assign(size_t(1) << hashBits, kNone);
    children_.assign(2 * (windowMask_ + 1), kNone);
}

uint32_t TreeMatchFinder::treeOf(size_t at) const {
    if (at + MatchFinder::kMinLength > size_)
        return 0;
    return (load32(data_ + at) * 2654435761u) >> hashShift_;
}

size_t TreeMatchFinder::find(size_t at, uint32_t maxLength, Match* out) {
    if (at + MatchFinder::kMinLength > size_)
        return 0;
    const size_t limit = size_ - at < niceLength_ ? size_ - at : niceLength_;
    const size_t window = reach_;
    uint32_t& root = root_[treeOf(at)];
    uint32_t candidate = root;
    root = uint32_t(at);
    // Where the next smaller and the next larger node hang, and how many
    // bytes every node between them shares with `at`.
    uint32_t* smaller = &children_[2 * (at & windowMask_)];
    uint32_t* larger = smaller + 1;
    size_t smallerLength = 0;
    size_t largerLength = 0;
    size_t best = MatchFinder::kMinLength - 1;
    size_t found = 0;
    size_t period = 0;
    const uint8_t* here = data_ + at;
    for (unsigned visits = depth_;; --visits) {
        if (candidate == kNone || at - candidate >= window || visits == 0) {
            *smaller = kNone;
            *larger = kNone;
            if (period)
                found = addPeriodic(at, period, maxLength, best, found, out);
            return found;
        }
        uint32_t* pair = &children_[2 * (candidate & windowMask_)];
        const uint8_t* there = data_ + candidate;
        size_t length = smallerLength < largerLength ? smallerLength : largerLength;
        if (there[length] == here[length]) {
            length += commonLength(there + length, here + length, limit - length);
            const size_t distance = at - candidate;
            // The block format wants length <= distance and distance >= 4.
            size_t usable = length < distance ? length : distance;
            if (usable > maxLength)
                usable = maxLength;
            // The nearest match cut short by its own distance gives the period.
            if (distance < length && period == 0)
                period = distance;
            if (distance >= MatchFinder::kMinDistance && usable > best && found < kMaxMatches) {
                best = usable;
                out[found++] = {uint32_t(usable), uint32_t(distance)};
            }
            if (length == limit) {
                // Equal as far as the tree looks: `at` takes the older node's place.
                *smaller = pair[0];
                *larger = pair[1];
                if (period)
                    found = addPeriodic(at, period, maxLength, best, found, out);
                return found;
            }
        }
        if (there[length] < here[length]) {
            *smaller = candidate;
            smaller = pair + 1;
            candidate = *smaller;
            smallerLength = length;
        } else {
            *larger = candidate;
            larger = pair;
            candidate = *larger;
            largerLength = length;
        }
    }
}

size_t TreeMatchFinder::addPeriodic(size_t at, size_t period, uint32_t maxLength, size_t best,
                                    size_t found, Match* out) const {
    // Bytes repeating with a short period keep only their latest position on
    // the search path, too near for a long reference (or any, for a period
    // below 4), whether the match stops short of the tree's limit or not: try
    // multiples of the period instead.
    size_t distance = period;
    while (distance < MatchFinder::kMinDistance)
        distance += period;
    for (; distance <= at && found < kMaxMatches; distance *= 2) {
        size_t limit = distance < maxLength ? distance : maxLength;
        if (limit > niceLength_)
            limit = niceLength_;
        const size_t length = commonLength(data_ + at - distance, data_ + at, limit);
        if (length > best) {
            best = length;
            out[found++] = {uint32_t(length), uint32_t(distance)};
        }
        if (distance >= niceLength_)
            break;
    }
    return found;
}

size_t runLength(const uint8_t* data, size_t size, size_t at, size_t limit) {
    if (at >= size)
        return 0;
    const size_t available = size - at < limit ? size - at : limit;
    const uint8_t byte = data[at];
    size_t n = 1;
    while (n < available && data[at + n] == byte)
        ++n;
    return n;
}

} // namespace keld
