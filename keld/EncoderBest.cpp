// The best level: a shortest-path parse over the exact bit cost of every code.
// Each segment of the input is a graph whose nodes are positions and whose
// edges are a literal byte, a repeated byte of any usable count, and every
// length of every match the finder offers; the cheapest path is sent. A match
// or run of kNiceLength bytes or more ends the segment early and is taken as
// it is: past that length the choice hardly matters and the edges would cost
// time in proportion to the length.
//
// The input is cut into chunks of a fixed size whose codes never reach past
// their chunk's end; each chunk's finder starts kPrime bytes before it, so its
// matches may reach back into the chunks before. The chunks are therefore
// parsed independently, by as many threads as there are processors, and the
// block is the same for any number of threads.

#include "keld/Encoder.h"
#include "keld/EncoderBits.h"
#include "keld/MatchFinder.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace keld {

namespace {

constexpr uint32_t kNiceLength = 128;
constexpr TreeFinderSettings kBestFinder{22, 20, 48, kNiceLength};
constexpr size_t kChunk = size_t(1) << 22;
constexpr size_t kPrime = size_t(1) << 20;
// Each thread holds a finder of about 36 MB.
constexpr unsigned kMaxThreads = 8;
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

// Parses data[begin, end) into writer.
class ChunkEncoder {
public:
    ChunkEncoder(const uint8_t* data, size_t size, size_t begin, size_t end, CodeWriter& writer)
        : data_(data), end_(end), writer_(writer),
          finder_(data, size, begin > kPrime ? begin - kPrime : 0, kBestFinder),
          nodes_((end - begin < kSegment ? end - begin : kSegment) + 1), literalStart_(begin) {}

    void run() {
        size_t start = literalStart_;
        finder_.skipTo(start);
        while (start < end_)
            start = parseSegment(start);
        flushLiterals(end_);
    }

private:
    // Parses from start up to the segment's end or a long code; returns where
    // the next segment starts.
    size_t parseSegment(size_t start) {
        const size_t end = end_ - start < kSegment ? end_ : start + kSegment;
        nodes_[0] = {0, uint32_t(start - literalStart_ < kMaxCode ? start - literalStart_ : 0), 0,
                     0};
        for (size_t i = 1; i <= end - start; ++i)
            nodes_[i].cost = kUnreached;

        Match matches[TreeMatchFinder::kMaxMatches];
        for (size_t at = start; at < end; ++at) {
            const Node& node = nodes_[at - start];
            const uint32_t cost = node.cost;
            const size_t room = end - at;
            const size_t left = end_ - at < kMaxCode ? end_ - at : kMaxCode;

            const size_t run = runLength(data_, end_, at, kNiceLength);
            if (run >= kNiceLength)
                return takeLong(start, at, runLength(data_, end_, at, left), 0);
            const size_t found = finder_.find(at, uint32_t(left), matches);
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
        finder_.skipTo(at + length);
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
    size_t end_;
    CodeWriter& writer_;
    TreeMatchFinder finder_;
    std::vector<Node> nodes_;
    std::vector<Step> steps_;
    size_t literalStart_;
};

// The bytes encoded by all threads, told to the caller's progress one call at
// a time.
class SharedProgress {
public:
    SharedProgress(const EncodeProgress& report, size_t total) : report_(report), total_(total) {}

    void add(size_t count) {
        const std::lock_guard<std::mutex> lock(mutex_);
        done_ += count;
        if (report_ && done_ >= next_) {
            report_(done_, total_);
            next_ = done_ + kEncodeProgressStep;
        }
    }

private:
    const EncodeProgress& report_;
    size_t total_;
    std::mutex mutex_;
    size_t done_ = 0;
    size_t next_ = kEncodeProgressStep;
};

struct Piece {
    std::vector<uint8_t> stream;
    uint64_t bits = 0;
};

void encodePiece(const uint8_t* data, size_t size, size_t begin, size_t end, Piece& piece,
                 SharedProgress& shared) {
    size_t reported = 0;
    const EncodeProgress step = [&shared, &reported](size_t done, size_t) {
        shared.add(done - reported);
        reported = done;
    };
    CodeWriter writer(CodeWriter::Piece{}, (end - begin) / 2, &step);
    ChunkEncoder(data, size, begin, end, writer).run();
    shared.add(end - begin - reported);
    piece.bits = writer.bitCount();
    piece.stream = writer.finish();
}

} // namespace

void encodeBest(const uint8_t* data, size_t size, CodeWriter& writer,
                const EncodeProgress& progress, unsigned threads) {
    const size_t chunks = (size + kChunk - 1) / kChunk;
    if (threads == 0)
        threads = std::thread::hardware_concurrency();
    threads = std::min<unsigned>({threads, kMaxThreads, unsigned(chunks)});
    if (threads <= 1) {
        for (size_t begin = 0; begin < size; begin += kChunk)
            ChunkEncoder(data, size, begin, std::min(size, begin + kChunk), writer).run();
        return;
    }

    std::vector<Piece> pieces(chunks);
    SharedProgress shared(progress, size);
    std::atomic<size_t> next{0};
    const auto work = [&] {
        for (size_t i = next++; i < chunks; i = next++)
            encodePiece(data, size, i * kChunk, std::min(size, (i + 1) * kChunk), pieces[i],
                        shared);
    };
    std::vector<std::thread> helpers;
    for (unsigned i = 1; i < threads; ++i)
        helpers.emplace_back(work);
    work();
    for (auto& helper : helpers)
        helper.join();
    for (const Piece& piece : pieces)
        writer.appendStream(piece.stream, piece.bits);
}

} // namespace keld
