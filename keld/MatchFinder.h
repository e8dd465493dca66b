#pragma once
// Finds earlier occurrences of the bytes at a position, over 4-byte prefixes
// in a window of fixed size, so memory stays the same for an input of 1 KB or
// 1 GB: hash chains for the fast level, binary trees for the best. A match is
// never longer than its distance, as the block format requires, and never
// nearer than 4 bytes.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace keld {

struct Match {
    uint32_t length;
    uint32_t distance;
};

struct MatchFinderSettings {
    unsigned windowBits; // positions kept: 2^windowBits
    unsigned hashBits;   // chain heads: 2^hashBits
    unsigned depth;      // chain links followed per search
};

class MatchFinder {
public:
    static constexpr uint32_t kMinLength = 4;
    static constexpr uint32_t kMinDistance = 4;
    static constexpr size_t kMaxMatches = 64;

    MatchFinder(const uint8_t* data, size_t size, const MatchFinderSettings& settings);

    // Matches at `at`, nearest first, each longer than the one before, none
    // longer than maxLength; returns how many were written to out (at most
    // kMaxMatches). Positions up to `at` join the chains; `at` must not be
    // behind the last position searched or skipped.
    size_t find(size_t at, uint32_t maxLength, Match* out);

    // The longest of find's matches, or length 0.
    Match longest(size_t at, uint32_t maxLength);

    // Adds the positions before end to the chains without searching them.
    void skipTo(size_t end);

private:
    uint32_t hashAt(size_t at) const;
    void insert(size_t at);

    const uint8_t* data_;
    size_t size_;
    size_t next_ = 0;
    size_t windowMask_;
    unsigned hashShift_;
    unsigned depth_;
    std::vector<uint32_t> head_;
    std::vector<uint32_t> chain_;
};

struct TreeFinderSettings {
    unsigned windowBits; // positions kept: 2^windowBits
    unsigned hashBits;   // tree roots: 2^hashBits
    unsigned depth;      // tree nodes visited per search
    uint32_t niceLength; // a match this long ends the search
};

// The best level's finder: one binary tree of earlier positions per hash of
// their first 4 bytes, sorted by the bytes that follow, so that a search walks
// straight to the nearest occurrence of each longer match instead of along
// every link of a chain. Every position must be entered, in order within its
// tree; a search enters the position too, and costs about as much.
//
// The trees share one ring of child links, a slot per position of the window:
// entering a position takes over the slot of the position a window before it,
// which may belong to another tree. So a search stops kConcurrentSpan short
// of the window, at every number of threads alike; then threads may enter
// positions at once as long as no two enter positions of the same tree
// (treeOf) and all of them lie within kConcurrentSpan of each other, and the
// matches found are the same as when one thread enters them all.
class TreeMatchFinder {
public:
    static constexpr size_t kMaxMatches = 128;
    static constexpr size_t kConcurrentSpan = size_t(1) << 16;

    TreeMatchFinder(const uint8_t* data, size_t size, const TreeFinderSettings& settings);

    uint32_t treeOf(size_t at) const;

    // Whether threads may share the trees as said above: not for a window
    // too small to stop short of, over an input longer than it.
    bool shareable() const { return reach_ < windowMask_ + 1 || windowMask_ + 1 >= size_; }

    // Enters `at` and writes its matches to out, as MatchFinder::find does,
    // with lengths of at most niceLength and maxLength (at most kMaxMatches
    // of them); returns how many. Positions whose 4 bytes pass the end have
    // no tree and no match.
    size_t find(size_t at, uint32_t maxLength, Match* out);

private:
    size_t addPeriodic(size_t at, size_t period, uint32_t maxLength, size_t best, size_t found,
                       Match* out) const;

    const uint8_t* data_;
    size_t size_;
    size_t windowMask_;
    size_t reach_; // the farthest a match may lie back
    unsigned hashShift_;
    unsigned depth_;
    uint32_t niceLength_;
    std::vector<uint32_t> root_;
    std::vector<uint32_t> children_; // smaller, then larger, per position
};

// Length of the common prefix of a and b, at most limit.
size_t commonLength(const uint8_t* a, const uint8_t* b, size_t limit);

// Bytes equal to data[at] from at on, at most limit.
size_t runLength(const uint8_t* data, size_t size, size_t at, size_t limit);

} // namespace keld
