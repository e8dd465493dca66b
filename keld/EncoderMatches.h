#pragma once
// The best level's matches, found ahead of its parse one block of positions
// at a time. The finder's trees are shared out among threads, each thread
// entering the positions of its own trees, so the matches are those one
// thread would have found: the block does not depend on the number of threads.

#include "keld/MatchFinder.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace keld {

class MatchStore {
public:
    // threads: 1 or more.
    MatchStore(const uint8_t* data, size_t size, const TreeFinderSettings& settings,
               unsigned threads);
    ~MatchStore();
    MatchStore(const MatchStore&) = delete;
    MatchStore& operator=(const MatchStore&) = delete;

    // The matches at `at` (as TreeMatchFinder::find with all the input left
    // as maxLength); valid until the next call, whose `at` must not be behind.
    const Match* matchesAt(size_t at, size_t& count);

private:
    struct Slot {
        uint32_t offset; // in its thread's list
        uint32_t count;
    };

    void fill(size_t begin);
    void findShare(unsigned part);
    void serve(unsigned part);

    size_t size_;
    TreeMatchFinder finder_;
    unsigned parts_;
    size_t blockBegin_ = 0;
    size_t blockEnd_ = 0;
    std::vector<Slot> slots_;
    std::vector<std::vector<Match>> lists_;

    std::vector<std::thread> helpers_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    uint64_t generation_ = 0;
    unsigned pending_ = 0;
    bool stop_ = false;
};

} // namespace keld
