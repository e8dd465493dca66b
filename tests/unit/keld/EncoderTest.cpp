#include "keld/Encoder.h"
#include "keld/EncoderBits.h"
#include "keld/EncoderMatches.h"

#include "format/CompressedBlock.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using keld::CompressionLevel;

const CompressionLevel kLevels[] = {CompressionLevel::Fast, CompressionLevel::Best};

const char* levelName(CompressionLevel level) {
    return level == CompressionLevel::Fast ? "fast" : "best";
}

Bytes encode(const Bytes& input, CompressionLevel level) {
    Bytes block;
    EXPECT_TRUE(keld::encodeCompressedBlock(input.data(), input.size(), level, block));
    return block;
}

// Decodes with the installer's decoder; a failure shows as its status.
::testing::AssertionResult decodesTo(const Bytes& block, const Bytes& expected) {
    uint32_t declared = 0;
    BlockStatus status = readCompressedBlockHeader(block.data(), block.size(), declared);
    if (status != BlockStatus::Ok)
        return ::testing::AssertionFailure() << "header status " << int(status);
    if (declared != expected.size())
        return ::testing::AssertionFailure()
               << "declared " << declared << ", input " << expected.size();
    Bytes out(declared);
    status = decodeCompressedBlock(block.data(), block.size(), out.data(), out.size());
    if (status != BlockStatus::Ok)
        return ::testing::AssertionFailure() << "decode status " << int(status);
    if (out != expected) {
        size_t i = 0;
        while (out[i] == expected[i])
            ++i;
        return ::testing::AssertionFailure() << "first difference at byte " << i;
    }
    return ::testing::AssertionSuccess();
}

Bytes randomBytes(size_t n, uint32_t seed) {
    std::mt19937 random(seed);
    Bytes bytes(n);
    for (auto& b : bytes)
        b = uint8_t(random());
    return bytes;
}

// Words in a skewed distribution, with punctuation and line breaks: matches
// of every length at every distance, as in licence and readme texts.
Bytes text(size_t n, uint32_t seed) {
    static const char* const words[] = {
        "the",     "installer", "file",   "of",    "and",       "to",      "Windows", "directory",
        "setup",   "a",         "is",     "in",    "product",   "licence", "program", "shortcut",
        "version", "registry",  "user",   "with",  "uninstall", "may",     "not",     "copy",
        "data",    "system",    "folder", "start", "menu",      "you",     "by",      "for"};
    std::mt19937 random(seed);
    std::geometric_distribution<int> pick(0.12);
    std::string s;
    while (s.size() < n) {
        s += words[size_t(pick(random)) % (sizeof words / sizeof *words)];
        const unsigned r = random() % 16;
        s += r == 0 ? ".\r\n" : r == 1 ? ", " : " ";
    }
    s.resize(n);
    return Bytes(s.begin(), s.end());
}

// The start of this test program's own executable.
Bytes ownBinary(size_t limit) {
    Bytes bytes;
    if (FILE* f = std::fopen("/proc/self/exe", "rb")) {
        bytes.resize(limit);
        bytes.resize(std::fread(bytes.data(), 1, limit, f));
        std::fclose(f);
    }
    return bytes;
}

struct Input {
    std::string name;
    Bytes bytes;
};

std::vector<Input> variedInputs() {
    std::vector<Input> inputs = {
        {"empty", {}},
        {"one byte", {0x42}},
        {"two bytes", {0, 0}},
        {"three equal bytes", {7, 7, 7}},
        {"four bytes", {1, 2, 3, 4}},
        {"eight bytes, period four", {1, 2, 3, 4, 1, 2, 3, 4}},
        {"random 1 KB", randomBytes(1000, 1)},
        {"random 300 KB", randomBytes(300000, 2)},
        {"zeros 1 MB", Bytes(1 << 20, 0)},
        {"text 400 KB", text(400000, 3)},
        {"own binary 1 MB", ownBinary(1 << 20)},
    };
    Bytes periodic;
    for (int i = 0; i < 100000; ++i)
        periodic.push_back(uint8_t("ab"[i % 2]));
    inputs.push_back({"period two", periodic});
    Bytes periodThree;
    for (int i = 0; i < 100000; ++i)
        periodThree.push_back(uint8_t("xyz"[i % 3]));
    inputs.push_back({"period three", periodThree});
    // Runs around each width of the repeat count, split by single bytes.
    Bytes runs;
    for (uint32_t length :
         {1u,  2u,  3u,  4u,   5u,   6u,   7u,   10u,  11u,  18u,   19u,   34u,
          35u, 66u, 67u, 130u, 131u, 258u, 259u, 514u, 515u, 1026u, 1027u, 70000u}) {
        runs.insert(runs.end(), length, uint8_t(length));
        runs.push_back(0xFF);
    }
    inputs.push_back({"runs at each count width", runs});
    return inputs;
}

TEST(EncoderRoundTrip, VariedInputsAtEveryLevel) {
    for (const auto& input : variedInputs()) {
        for (CompressionLevel level : kLevels) {
            EXPECT_TRUE(decodesTo(encode(input.bytes, level), input.bytes))
                << input.name << " at " << levelName(level);
        }
    }
}

// A random stretch repeated at a chosen distance, for lengths and distances
// just below and above each widening of their fields, with literal runs of
// the same sizes in between.
TEST(EncoderRoundTrip, MatchesAtEveryFieldWidth) {
    const uint32_t distances[] = {4,     5,     7,     8,     4099,   4100,
                                  16387, 16388, 65539, 65540, 262147, 262148};
    const uint32_t lengths[] = {4, 5, 7, 8, 11, 12, 19, 20, 35, 36, 67, 68, 131, 132, 4099, 4100};
    uint32_t seed = 10;
    for (uint32_t distance : distances) {
        Bytes input;
        for (uint32_t length : lengths) {
            // Far distances are slow to fill under the sanitizers: a few lengths do.
            if (length > distance || (distance > 20000 && length > 8 && length < 4099))
                continue;
            const Bytes fresh = randomBytes(distance, seed++);
            input.insert(input.end(), fresh.begin(), fresh.end());
            input.insert(input.end(), fresh.begin(), fresh.begin() + length);
        }
        for (CompressionLevel level : kLevels) {
            const Bytes block = encode(input, level);
            EXPECT_TRUE(decodesTo(block, input))
                << "distance " << distance << " at " << levelName(level);
        }
    }
}

// Round trips alone would pass an encoder that sends everything as literals.
TEST(EncoderRatio, RedundantInputsShrink) {
    const Bytes fresh = randomBytes(50000, 99);
    Bytes twice = fresh;
    twice.insert(twice.end(), fresh.begin(), fresh.end());
    const Bytes zeros(1 << 20, 0);
    const Bytes words = text(400000, 3);
    for (CompressionLevel level : kLevels) {
        EXPECT_LT(encode(zeros, level).size(), 64u) << levelName(level);
        EXPECT_LT(encode(twice, level).size(), fresh.size() + 1000) << levelName(level);
        EXPECT_LT(encode(words, level).size(), words.size() / 3) << levelName(level);
        // Incompressible data costs little more than its own size.
        const Bytes noise = randomBytes(100000, 5);
        EXPECT_LT(encode(noise, level).size(), noise.size() + noise.size() / 100)
            << levelName(level);
    }
}

// Short periods, where a reference may be no longer than its distance: the
// best level reaches back as far as it takes to send long references.
TEST(EncoderRatio, ShortPeriodsShrinkAtTheBestLevel) {
    for (const std::string period : {"ab", "xyz", "01234567"}) {
        Bytes periodic;
        while (periodic.size() < 100000)
            periodic.insert(periodic.end(), period.begin(), period.end());
        EXPECT_LT(encode(periodic, CompressionLevel::Best).size(), periodic.size() / 30)
            << "period " << period.size();
    }
}

TEST(EncoderRatio, BestIsNoLargerThanFast) {
    for (const Bytes& input : {text(400000, 4), ownBinary(1 << 20)}) {
        EXPECT_LE(encode(input, CompressionLevel::Best).size(),
                  encode(input, CompressionLevel::Fast).size());
    }
}

TEST(EncoderLimits, InputBeyondTheDeclarableSizeIsRefused) {
    const uint8_t byte = 0;
    Bytes block = {1, 2, 3};
    EXPECT_FALSE(keld::encodeCompressedBlock(&byte, keld::kMaxBlockInput + 1,
                                             CompressionLevel::Fast, block));
    EXPECT_EQ(block, (Bytes{1, 2, 3}));
}

// The best level's choices are only as good as its prices: each must be the
// number of bits the writer puts out, at every widening of every field.
TEST(EncoderCosts, PricesMatchTheBitsWritten) {
    const uint32_t counts[] = {1, 2, 4, 5, 16, 17, 64, 65, 1u << 20, (1u << 20) + 1};
    for (uint32_t count : counts) {
        keld::CodeWriter writer(0);
        const uint64_t before = writer.bitCount();
        const Bytes bytes(count, 'x');
        writer.literalRun(bytes.data(), count);
        EXPECT_EQ(writer.bitCount() - before, keld::literalRunBits(count) + 8ull * count)
            << "literal run " << count;
    }
    for (uint32_t count : {3u, 4u, 5u, 6u, 7u, 10u, 11u, 1000u, 0x7FFFFFFFu}) {
        keld::CodeWriter writer(0);
        const uint64_t before = writer.bitCount();
        writer.repeat('r', count);
        EXPECT_EQ(writer.bitCount() - before, keld::repeatBits(count)) << "repeat " << count;
    }
    for (uint32_t length : {4u, 5u, 7u, 8u, 11u, 12u, 19u, 20u, 1000u}) {
        for (uint32_t distance : {4u, 4099u, 4100u, 16387u, 16388u, 0x7FFFFFFFu}) {
            keld::CodeWriter writer(0);
            const uint64_t before = writer.bitCount();
            writer.reference(length, distance);
            EXPECT_EQ(writer.bitCount() - before, keld::referenceBits(length, distance))
                << "reference " << length << " at " << distance;
        }
    }
    EXPECT_EQ(keld::literalRunBits(4), 1u + 3u);
    EXPECT_EQ(keld::repeatBits(4), 2u + 8u + 2u);
    EXPECT_EQ(keld::referenceBits(7, 4099), 2u + 3u + 13u);
    EXPECT_EQ(keld::referenceBits(8, 4100), 2u + 5u + 16u);
}

// The codes the writer puts out for a hand-picked sequence decode to the
// bytes they stand for.
TEST(EncoderCosts, WrittenCodesDecode) {
    const Bytes head = {'a', 'b', 'c', 'd', 'e'};
    keld::CodeWriter writer(5 + 6 + 5 + 1);
    writer.literalRun(head.data(), 5);
    writer.repeat('z', 6);
    writer.reference(5, 11);
    writer.literalRun(head.data(), 1);
    Bytes expected = head;
    expected.insert(expected.end(), 6, 'z');
    expected.insert(expected.end(), head.begin(), head.end());
    expected.push_back('a');
    EXPECT_TRUE(decodesTo(writer.finish(), expected));
}

} // namespace

namespace {

// The progress of a long encoding: steady, about one report a step, ending at
// the whole input, and without any effect on the block.
TEST(EncoderProgress, ReportsGrowToTheWholeInputAndLeaveTheBlockAlone) {
    // Mostly long repeats, so that the best level is quick about it.
    const Bytes piece = text(50000, 7);
    Bytes input;
    while (input.size() < (5u << 19))
        input.insert(input.end(), piece.begin(), piece.end());
    for (CompressionLevel level : kLevels) {
        SCOPED_TRACE(levelName(level));
        std::vector<std::pair<size_t, size_t>> reports;
        Bytes block;
        ASSERT_TRUE(keld::encodeCompressedBlock(
            input.data(), input.size(), level, block,
            [&reports](size_t done, size_t total) { reports.emplace_back(done, total); }));
        EXPECT_EQ(block, encode(input, level));
        ASSERT_GE(reports.size(), 2u);
        EXPECT_LE(reports.size(), 4u);
        EXPECT_EQ(reports.back(), std::make_pair(input.size(), input.size()));
        for (size_t i = 0; i < reports.size(); ++i) {
            EXPECT_EQ(reports[i].second, input.size());
            if (i > 0) {
                EXPECT_LE(reports[i - 1].first, reports[i].first);
            }
        }
        EXPECT_GE(reports.front().first, keld::kEncodeProgressStep);
    }
}

} // namespace

namespace {

// The best level shares its search for matches among threads; the block must
// not depend on how many there are, must decode, and the progress must still
// grow to the whole input. Text with fresh bytes strewn in; and an input
// longer than the finder's window, whose sparse bytes in zeros leave trees
// with nodes that fall out of the window while the threads share them.
TEST(EncoderThreads, BlockIsTheSameForAnyNumberOfThreads) {
    Bytes strewn;
    const Bytes piece = text(60000, 11);
    for (uint32_t seed = 0; strewn.size() < (3u << 19) + 12345; ++seed) {
        strewn.insert(strewn.end(), piece.begin(), piece.end());
        const Bytes fresh = randomBytes(700 + seed % 300, seed);
        strewn.insert(strewn.end(), fresh.begin(), fresh.end());
    }
    Bytes sparse = randomBytes(1 << 16, 21);
    const Bytes head = sparse;
    sparse.resize((17u << 19) + 777, 0);
    std::mt19937 random(22);
    for (size_t at = head.size(); at < sparse.size(); at += 1000 + random() % 4000)
        sparse[at] = uint8_t(random() | 1);
    sparse.insert(sparse.end(), head.begin(), head.end());
    const Input inputs[] = {{"strewn text", strewn}, {"sparse, beyond the window", sparse}};

    for (const Input& input : inputs) {
        SCOPED_TRACE(input.name);
        const Bytes& bytes = input.bytes;
        Bytes single;
        ASSERT_TRUE(keld::encodeCompressedBlock(bytes.data(), bytes.size(), CompressionLevel::Best,
                                                single, nullptr, 1));
        EXPECT_TRUE(decodesTo(single, bytes));
        EXPECT_LT(single.size(), bytes.size() / 8);
        for (unsigned threads : {2u, 3u}) {
            std::vector<std::pair<size_t, size_t>> reports;
            Bytes block;
            ASSERT_TRUE(keld::encodeCompressedBlock(
                bytes.data(), bytes.size(), CompressionLevel::Best, block,
                [&reports](size_t done, size_t total) { reports.emplace_back(done, total); },
                threads));
            EXPECT_EQ(block, single) << threads << " threads";
            ASSERT_GE(reports.size(), 2u) << threads << " threads";
            EXPECT_EQ(reports.back(), std::make_pair(bytes.size(), bytes.size()));
            for (size_t i = 1; i < reports.size(); ++i)
                EXPECT_LE(reports[i - 1].first, reports[i].first) << threads << " threads";
        }
    }
}

// Positions entered a window apart share a slot of the finder's ring of child
// links, whatever their trees. Threads entering different trees at once must
// still find only true matches, and the same ones as a single thread: text
// of many words with fresh bytes strewn in, many windows long, so that the
// slots handed on belong to trees that other threads are searching.
TEST(EncoderThreads, SharedTreesFindTheSameTrueMatchesAcrossTheWindowsEdge) {
    const keld::TreeFinderSettings settings{18, 12, 48, 273};
    Bytes input;
    for (uint32_t seed = 0; input.size() < (6u << 18); ++seed) {
        const Bytes piece = text(3000 + seed % 7000, seed % 40);
        input.insert(input.end(), piece.begin(), piece.end());
        const Bytes fresh = randomBytes(100 + seed % 900, seed);
        input.insert(input.end(), fresh.begin(), fresh.end());
    }
    keld::MatchStore single(input.data(), input.size(), settings, 1);
    keld::MatchStore shared(input.data(), input.size(), settings, 4);
    size_t wrong = 0;
    size_t differing = 0;
    for (size_t at = 0; at < input.size(); ++at) {
        size_t count = 0;
        const keld::Match* found = single.matchesAt(at, count);
        const std::vector<keld::Match> expected(found, found + count);
        found = shared.matchesAt(at, count);
        if (count != expected.size())
            ++differing;
        for (size_t i = 0; i < count; ++i) {
            const keld::Match m = found[i];
            if (i < expected.size() &&
                (m.length != expected[i].length || m.distance != expected[i].distance))
                ++differing;
            if (m.distance > at || m.length > m.distance || m.distance >= (1u << 18) ||
                std::memcmp(&input[at - m.distance], &input[at], m.length) != 0)
                ++wrong;
        }
    }
    EXPECT_EQ(wrong, 0u);
    EXPECT_EQ(differing, 0u);
}

} // namespace
