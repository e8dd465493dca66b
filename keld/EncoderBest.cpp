// The best level: a shortest-path parse over the exact bit cost of every code.
// Each segment of the input is a graph whose nodes are positions and whose
// edges are a literal byte, a repeated byte of any usable count, and every
// length of every match the finder offers; the cheapest path is sent. A match
// or run of kNiceLength bytes or more ends the segment early and is taken as
// it is: past that length the choice hardly matters and the edges would cost
// time in proportion to the length.
//
// The matches come from a MatchStore, which finds them on every processor;
// the parse itself is a small part of the work and runs on the caller's
// thread.

#include "keld/Encoder.h"
#include "keld/EncoderBits.h"
#include "keld/EncoderMatches.h"

#include <thread>
#include <vector>

namespace keld {

namespace {

constexpr uint32_t kNiceLength = 128;
// 8 MB back, in 68 MB of trees.
constexpr TreeFinderSettings kBestFinder{23, 20, 48, kNiceLength};
constexpr unsigned kMaxThreads = 16;
constexpr size_t kSegment = size_t(1) << 16;
constexpr size_t kMaxCode = 0x7FFFFFFF;
constexpr uint32_t kUnreached = 0xFFFFFFFFu;

// How the cheapest path reaches a position: the code that ends there.
// distance 0 and length 1 is a literal, distance 0 and more is a repeat.
struct Node {
    uint32_t cost;
    uint32_t literalRun; // literals just before this position on that path
    uint32_t length;
    uint32_t distance;
};

struct Step {
    uint32_t length;
    uint32_t distance;
};

class BestEncoder {
public:
    BestEncoder(const uint8_t* data, size_t size, CodeWriter& writer, unsigned threads)
        : data_(data), size_(size), writer_(writer), matches_(data, size, kBestFinder, threads),
          nodes_((size < kSegment ? size : kSegment) + 1) {}

    void run() {
        size_t start = 0;
        while (start < size_)
            start = parseSegment(start);
        flushLiterals(size_);
    }

private:
    // Parses from start up to the segment's end or a long code; returns where
    // the next segment starts.
    size_t parseSegment(size_t start) {
        const size_t end = size_ - start < kSegment ? size_ : start + kSegment;
        nodes_[0] = {0, uint32_t(start - literalStart_ < kMaxCode ? start - literalStart_ : 0), 0,
                     0};
        for (size_t i = 1; i <= end - start; ++i)
            nodes_[i].cost = kUnreached;

        for (size_t at = start; at < end; ++at) {
            const Node& node = nodes_[at - start];
            const uint32_t cost = node.cost;
            const size_t room = end - at;
            const size_t left = size_ - at < kMaxCode ? size_ - at : kMaxCode;

            const size_t run = runLength(data_, size_, at, kNiceLength);
            if (run >= kNiceLength)
                return takeLong(start, at, runLength(data_, size_, at, left), 0);
            size_t found = 0;
            const Match* matches = matches_.matchesAt(at, found);
            if (found && matches[found - 1].length >= kNiceLength) {
                // The finder looks no further than kNiceLength.
                const uint32_t distance = matches[found - 1].distance;
                const size_t limit = distance < left ? distance : left;
                return takeLong(start, at, commonLength(data_ + at - distance, data_ + at, limit),
                                distance);
            }

            const uint32_t literalRun = node.literalRun;
            relax(at - start + 1, cost + literalExtendBits(literalRun),
                  literalRun < kMaxCode ? literalRun + 1 : literalRun, 1, 0);

            for (uint32_t count = 3; count <= run && count <= room; ++count)
                relax(at - start + count, cost + repeatBits(count), 0, count, 0);

            uint32_t shorter = MatchFinder::kMinLength - 1;
            for (size_t m = 0; m < found; ++m) {
                const uint32_t distance = matches[m].distance;
                const uint32_t top = matches[m].length < room ? matches[m].length : uint32_t(room);
                for (uint32_t length = shorter + 1; length <= top; ++length)
                    relax(at - start + length, cost + referenceBits(length, distance), 0, length,
                          distance);
                shorter = matches[m].length;
            }
        }
        sendPath(start, end);
        return end;
    }

    void relax(size_t index, uint32_t cost, uint32_t literalRun, uint32_t length,
               uint32_t distance) {
        Node& node = nodes_[index];
        if (cost < node.cost)
            node = {cost, literalRun, length, distance};
    }

    // Sends the cheapest path to at, then the long code found there.
    size_t takeLong(size_t start, size_t at, size_t length, uint32_t distance) {
        sendPath(start, at);
        flushLiterals(at);
        if (distance == 0)
            writer_.repeat(data_[at], uint32_t(length));
        else
            writer_.reference(uint32_t(length), distance);
        literalStart_ = at + length;
        return at + length;
    }

    // Sends the codes of the cheapest path from start to end; literals stay
    // pending so that a run can go on into the next segment.
    void sendPath(size_t start, size_t end) {
        steps_.clear();
        for (size_t at = end; at > start;) {
            const Node& node = nodes_[at - start];
            steps_.push_back({node.length, node.distance});
            at -= node.length;
        }
        size_t at = start;
        for (auto step = steps_.rbegin(); step != steps_.rend(); ++step) {
            if (step->distance == 0 && step->length == 1) {
                ++at;
                continue;
            }
            flushLiterals(at);
            if (step->distance == 0)
                writer_.repeat(data_[at], step->length);
            else
                writer_.reference(step->length, step->distance);
            at += step->length;
            literalStart_ = at;
        }
    }

    void flushLiterals(size_t to) {
        while (literalStart_ < to) {
            const size_t count = to - literalStart_ < kMaxCode ? to - literalStart_ : kMaxCode;
            writer_.literalRun(data_ + literalStart_, uint32_t(count));
            literalStart_ += count;
        }
    }

    const uint8_t* data_;
    size_t size_;
    CodeWriter& writer_;
    MatchStore matches_;
    std::vector<Node> nodes_;
    std::vector<Step> steps_;
    size_t literalStart_ = 0;
};

} // namespace

void encodeBest(const uint8_t* data, size_t size, CodeWriter& writer, unsigned threads) {
    if (threads == 0)
        threads = std::thread::hardware_concurrency();
    if (threads > kMaxThreads)
        threads = kMaxThreads;
    BestEncoder(data, size, writer, threads).run();
}

} // namespace keld
