#include "keld/MatchFinder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using keld::Match;
using keld::TreeMatchFinder;

constexpr keld::TreeFinderSettings kSettings{16, 12, 48, 128};

// The matches the tree finder offers at the last `tail` bytes of text,
// every position before entered in order.
std::vector<std::pair<uint32_t, uint32_t>> matchesAtTail(const std::string& text, size_t tail) {
    const auto* data = reinterpret_cast<const uint8_t*>(text.data());
    TreeMatchFinder finder(data, text.size(), kSettings);
    Match out[TreeMatchFinder::kMaxMatches];
    const size_t at = text.size() - tail;
    for (size_t i = 0; i < at; ++i)
        finder.find(i, uint32_t(text.size() - i), out);
    std::vector<std::pair<uint32_t, uint32_t>> found;
    const size_t count = finder.find(at, uint32_t(tail), out);
    for (size_t i = 0; i < count; ++i)
        found.emplace_back(out[i].length, out[i].distance);
    return found;
}

using Found = std::vector<std::pair<uint32_t, uint32_t>>;

// Nearest first, each longer than the one before, none longer than its
// distance nor nearer than 4 bytes; pairs are {length, distance}.
TEST(TreeMatchFinder, OffersTheNearestMatchOfEachLength) {
    const struct {
        const char* name;
        std::string text;
        size_t tail;
        Found expected;
    } cases[] = {
        {"longer matches further back", "abcdef3abcde2abcd1abcdefg", 7, {{4, 5}, {5, 11}, {6, 18}}},
        {"the nearer of two equal matches", "abcdefXYabcdefZWabcdef", 6, {{6, 8}}},
        {"no match of 4 bytes", "abcdXabceYabcf", 4, {}},
        {"fewer than 4 bytes left", "abcXabcXabc", 3, {}},
        {"length held to the distance", "abcdabcdabcdabcd", 8, {{4, 4}, {8, 8}}},
        {"period two", "abababababababab", 8, {{4, 4}, {8, 8}}},
        {"period three", std::string(30, 'x') + "xyzxyzxyzxyzxyzxyzxyzxyz", 12, {{6, 6}, {12, 12}}},
        {"a run of one byte", std::string(40, 'r'), 20, {{4, 4}, {8, 8}, {16, 16}}},
        {"a period shorter than a match the tree does not finish",
         "0123456789abcdefghabcdefghabcdefghabcdefghabcdefghabcdefghZ",
         25,
         {{8, 8}, {16, 16}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(matchesAtTail(c.text, c.tail), c.expected) << c.name;
}

// Bytes repeating with a short period, far longer than the finder looks: the
// matches still reach its full length.
TEST(TreeMatchFinder, PeriodicBytesGiveMatchesOfTheFullLength) {
    for (const std::string& period : {std::string("ab"), std::string("xyz"),
                                      std::string("\xff\0", 2), std::string("abcdefgh")}) {
        std::string text;
        while (text.size() < 5000)
            text += period;
        const Found found = matchesAtTail(text, 1000);
        ASSERT_FALSE(found.empty()) << period.size();
        EXPECT_EQ(found.back().first, 128u) << period.size();
    }
}

} // namespace
