#include "core/Array.h"
#include "core/List.h"
#include "core/String.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

int ascending(const int* a, const int* b) {
    return *a < *b ? -1 : *a > *b;
}
int descending(const int* a, const int* b) {
    return ascending(b, a);
}

template <class Kind> std::vector<int> contents(const Kind& sequence) {
    return std::vector<int>(sequence.begin(), sequence.end());
}

std::vector<int> randomValues(int count, int range, unsigned seed) {
    std::mt19937 generator(seed);
    std::vector<int> values(static_cast<size_t>(count));
    for (int& value : values)
        value = static_cast<int>(generator() % static_cast<unsigned>(range));
    return values;
}

struct SortCase {
    const char* name;
    std::vector<int> values;
};

std::vector<SortCase> sortCases() {
    std::vector<int> ramp(300), organPipe(300), sawtooth(300);
    for (int i = 0; i < 300; ++i) {
        ramp[size_t(i)] = i;
        organPipe[size_t(i)] = i < 150 ? i : 300 - i;
        sawtooth[size_t(i)] = i % 7;
    }
    std::vector<int> reversed(ramp.rbegin(), ramp.rend());
    return {
        {"empty", {}},
        {"one", {5}},
        {"two swapped", {2, 1}},
        {"below the insertion cut", {5, 3, 9, 1, 1, 7, 0}},
        {"sorted", ramp},
        {"reversed", reversed},
        {"organ pipe", organPipe},
        {"sawtooth of duplicates", sawtooth},
        {"all equal", std::vector<int>(500, 4)},
        {"random, many duplicates", randomValues(2000, 10, 1)},
        {"random, few duplicates", randomValues(5000, 1000000, 2)},
    };
}

template <class Kind> class SortKinds : public ::testing::Test {};
using Kinds = ::testing::Types<Array<int>, List<int>>;
TYPED_TEST_SUITE(SortKinds, Kinds, );

TYPED_TEST(SortKinds, AscendingAndDescendingOverShapesThatBreakQuicksorts) {
    for (const SortCase& c : sortCases()) {
        for (bool up : {true, false}) {
            TypeParam sequence;
            for (int value : c.values)
                sequence.append(value);
            sequence.sort(up ? ascending : descending);
            std::vector<int> expected = c.values;
            std::sort(expected.begin(), expected.end());
            if (!up)
                std::reverse(expected.begin(), expected.end());
            EXPECT_EQ(contents(sequence), expected) << c.name << (up ? " up" : " down");
            EXPECT_EQ(sequence.count(), int(c.values.size())) << c.name;
        }
    }
}

// A comparison that contradicts itself must not lead the partition out of
// the elements, nor lose or duplicate any of them.
TYPED_TEST(SortKinds, AnInconsistentComparisonKeepsEveryElement) {
    const std::vector<int> values = randomValues(1000, 100, 3);
    for (int answer : {-1, 1}) {
        TypeParam sequence;
        for (int value : values)
            sequence.append(value);
        sequence.sort([answer](const int*, const int*) { return answer; });
        std::vector<int> sorted = contents(sequence);
        std::vector<int> expected = values;
        std::sort(sorted.begin(), sorted.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(sorted, expected) << answer;
    }
    std::mt19937 coin(4);
    TypeParam sequence;
    for (int value : values)
        sequence.append(value);
    sequence.sort([&coin](const int*, const int*) { return int(coin() % 3) - 1; });
    EXPECT_EQ(sequence.count(), 1000);
}

// How the installer orders a file list: by name without regard to case.
int byNameNoCase(const String* a, const String* b) {
    const int length = std::min(a->length(), b->length()) + 1;
    for (int i = 0; i < length; ++i) {
        const int x = std::tolower(static_cast<unsigned char>(a->c_str()[i]));
        const int y = std::tolower(static_cast<unsigned char>(b->c_str()[i]));
        if (x != y)
            return x - y;
    }
    return 0;
}

TEST(SortStrings, FileNamesByNameWithoutRegardToCase) {
    Array<String> names{"readme.TXT", "Setup.exe", "app.DLL", "APP.exe", "setup.cfg", "b"};
    names.sort(byNameNoCase);
    const char* expected[] = {"app.DLL", "APP.exe", "b", "readme.TXT", "setup.cfg", "Setup.exe"};
    ASSERT_EQ(names.count(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_STREQ(names[i].c_str(), expected[i]) << i;

    List<String> list;
    for (const String& name : names)
        list.prepend(name);
    list.sort([](const String* a, const String* b) { return byNameNoCase(b, a); });
    int i = 5;
    for (const String& name : list)
        EXPECT_STREQ(name.c_str(), expected[i--]);
}

} // namespace
