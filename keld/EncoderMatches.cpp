#include "keld/EncoderMatches.h"

namespace keld {

namespace {

// Positions a block: enough work a thread to make the hand-over cheap, and
// no more than the finder lets threads work on at once.
constexpr size_t kBlock = TreeMatchFinder::kConcurrentSpan;
constexpr size_t kMaxCode = 0x7FFFFFFF;

} // namespace

MatchStore::MatchStore(const uint8_t* data, size_t size, const TreeFinderSettings& settings,
                       unsigned threads)
    : size_(size), finder_(data, size, settings),
      // A small input is over before helpers would have started.
      parts_(size < 2 * kBlock || threads < 1 || !finder_.shareable() ? 1 : threads),
      slots_(size < kBlock ? size : kBlock), lists_(parts_) {
    for (unsigned part = 1; part < parts_; ++part)
        helpers_.emplace_back([this, part] { serve(part); });
}

MatchStore::~MatchStore() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    for (auto& helper : helpers_)
        helper.join();
}

const Match* MatchStore::matchesAt(size_t at, size_t& count) {
    while (at >= blockEnd_)
        fill(blockEnd_);
    const Slot& slot = slots_[at - blockBegin_];
    count = slot.count;
    return lists_[finder_.treeOf(at) % parts_].data() + slot.offset;
}

void MatchStore::fill(size_t begin) {
    blockBegin_ = begin;
    blockEnd_ = size_ - begin < kBlock ? size_ : begin + kBlock;
    if (parts_ == 1) {
        findShare(0);
        return;
    }
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        ++generation_;
        pending_ = parts_ - 1;
    }
    wake_.notify_all();
    findShare(0);
    std::unique_lock<std::mutex> lock(mutex_);
    done_.wait(lock, [this] { return pending_ == 0; });
}

void MatchStore::findShare(unsigned part) {
    std::vector<Match>& list = lists_[part];
    list.clear();
    Match found[TreeMatchFinder::kMaxMatches];
    for (size_t at = blockBegin_; at < blockEnd_; ++at) {
        if (finder_.treeOf(at) % parts_ != part)
            continue;
        const size_t left = size_ - at < kMaxCode ? size_ - at : kMaxCode;
        const size_t count = finder_.find(at, uint32_t(left), found);
        slots_[at - blockBegin_] = {uint32_t(list.size()), uint32_t(count)};
        list.insert(list.end(), found, found + count);
    }
}

void MatchStore::serve(unsigned part) {
    uint64_t served = 0;
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [this, served] { return stop_ || generation_ != served; });
            if (stop_)
                return;
            served = generation_;
        }
        findShare(part);
        const std::lock_guard<std::mutex> lock(mutex_);
        if (--pending_ == 0)
            done_.notify_one();
    }
}

} // namespace keld
