// Behaviour shared by Array and List, run against both kinds.
#include "core/Array.h"
#include "core/List.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

template <class Kind> std::vector<int> contents(const Kind& sequence) {
    std::vector<int> values;
    for (int value : sequence)
        values.push_back(value);
    return values;
}

template <class Kind> class SequenceKinds : public ::testing::Test {};
using Kinds = ::testing::Types<Array<int>, List<int>>;
TYPED_TEST_SUITE(SequenceKinds, Kinds, );

TYPED_TEST(SequenceKinds, AppendPrependAndInsertAtKeepTheirPlaces) {
    TypeParam sequence;
    sequence.append(2);
    sequence.prepend(0);
    sequence.insertAt(1, 1);
    sequence.insertAt(3, 3);
    sequence.appendNew() = 4;
    EXPECT_EQ(contents(sequence), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(sequence.count(), 5);
    EXPECT_EQ(*sequence.first(), 0);
    EXPECT_EQ(*sequence.last(), 4);
}

TYPED_TEST(SequenceKinds, InsertAtBeyondTheEndIsFatal) {
    TypeParam sequence{0, 1, 2};
    EXPECT_DEATH(sequence.insertAt(4, 9), "Vector<int>\\[4\\]\nmax_index = 2");
    EXPECT_DEATH(sequence.insertAt(-1, 9), "Vector<int>\\[-1\\]\nmax_index = 2");
}

TYPED_TEST(SequenceKinds, AtIsCheckedAndTryAtGivesNull) {
    TypeParam sequence{5, 6, 7};
    EXPECT_EQ(sequence.at(2), 7);
    EXPECT_EQ(sequence.tryAt(3), nullptr);
    EXPECT_EQ(sequence.tryAt(-1), nullptr);
    EXPECT_DEATH(sequence.at(3), "Vector<int>\\[3\\]\nmax_index = 2");
    TypeParam empty;
    EXPECT_EQ(empty.first(), nullptr);
    EXPECT_EQ(empty.last(), nullptr);
    EXPECT_EQ(empty.randomElement(), nullptr);
    EXPECT_DEATH(empty.at(0), "Vector<int>\\[0\\]\nmax_index = -1");
}

TYPED_TEST(SequenceKinds, RemovingOutOfRangeGivesADefaultAndChangesNothing) {
    TypeParam sequence{1, 2, 3};
    EXPECT_EQ(sequence.removeAt(3), 0);
    EXPECT_EQ(sequence.removeAt(-1), 0);
    EXPECT_EQ(contents(sequence), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(sequence.removeAt(1), 2);
    EXPECT_EQ(sequence.removeFirst(), 1);
    EXPECT_EQ(sequence.removeLast(), 3);
    EXPECT_EQ(sequence.removeFirst(), 0);
    EXPECT_EQ(sequence.removeLast(), 0);
    EXPECT_TRUE(sequence.isEmpty());
}

struct RangeCase {
    int first, last;
    bool removed;
    std::vector<int> left;
};

TYPED_TEST(SequenceKinds, RemoveRangeClampsBothEnds) {
    const RangeCase cases[] = {
        {-5, 1, true, {2, 3}},        {3, 1, false, {0, 1, 2, 3}},   {2, 10, true, {0, 1}},
        {1, 1, true, {0, 2, 3}},      {-3, -1, false, {0, 1, 2, 3}}, {4, 9, false, {0, 1, 2, 3}},
        {INT_MIN, INT_MAX, true, {}},
    };
    for (const RangeCase& c : cases) {
        TypeParam sequence{0, 1, 2, 3};
        EXPECT_EQ(sequence.removeRange(c.first, c.last), c.removed) << c.first << ".." << c.last;
        EXPECT_EQ(contents(sequence), c.left) << c.first << ".." << c.last;
    }
}

TYPED_TEST(SequenceKinds, RemoveFromEitherEndIsClamped) {
    TypeParam sequence{0, 1, 2, 3, 4};
    EXPECT_EQ(sequence.removeFromFront(2), 2);
    EXPECT_EQ(sequence.removeFromBack(-1), 0);
    EXPECT_EQ(sequence.removeFromBack(1), 1);
    EXPECT_EQ(contents(sequence), (std::vector<int>{2, 3}));
    EXPECT_EQ(sequence.removeFromBack(10), 2);
    EXPECT_TRUE(sequence.isEmpty());
}

TYPED_TEST(SequenceKinds, ResizeDefaultConstructsNewElements) {
    TypeParam sequence{7, 8, 9};
    sequence.resize(5);
    EXPECT_EQ(contents(sequence), (std::vector<int>{7, 8, 9, 0, 0}));
    sequence.resize(1);
    EXPECT_EQ(contents(sequence), (std::vector<int>{7}));
    sequence.resize(-4);
    EXPECT_TRUE(sequence.isEmpty());
}

struct IndexPairCase {
    int i, j;
    bool done;
    std::vector<int> after;
};

TYPED_TEST(SequenceKinds, SwapNeedsTwoDifferentValidIndexes) {
    const IndexPairCase cases[] = {
        {0, 3, true, {3, 1, 2, 0}},  {2, 1, true, {0, 2, 1, 3}},   {1, 1, false, {0, 1, 2, 3}},
        {0, 4, false, {0, 1, 2, 3}}, {-1, 2, false, {0, 1, 2, 3}},
    };
    for (const IndexPairCase& c : cases) {
        TypeParam sequence{0, 1, 2, 3};
        EXPECT_EQ(sequence.swap(c.i, c.j), c.done) << c.i << "," << c.j;
        EXPECT_EQ(contents(sequence), c.after) << c.i << "," << c.j;
    }
}

TYPED_TEST(SequenceKinds, MoveShiftsTheElementsBetweenInEitherDirection) {
    const IndexPairCase cases[] = {
        {0, 3, true, {1, 2, 3, 0}},  {3, 0, true, {3, 0, 1, 2}},   {1, 2, true, {0, 2, 1, 3}},
        {2, 1, true, {0, 2, 1, 3}},  {1, 3, true, {0, 2, 3, 1}},   {2, 2, false, {0, 1, 2, 3}},
        {0, 4, false, {0, 1, 2, 3}}, {-1, 0, false, {0, 1, 2, 3}},
    };
    for (const IndexPairCase& c : cases) {
        TypeParam sequence{0, 1, 2, 3};
        EXPECT_EQ(sequence.move(c.i, c.j), c.done) << c.i << "->" << c.j;
        EXPECT_EQ(contents(sequence), c.after) << c.i << "->" << c.j;
    }
}

struct RotateCase {
    std::vector<int> before;
    int n;
    bool back;
    std::vector<int> after;
};

TYPED_TEST(SequenceKinds, RotateTakesTheCountModuloTheLength) {
    const RotateCase cases[] = {
        {{0, 1, 2}, 1, false, {1, 2, 0}},
        {{0, 1, 2}, 5, false, {2, 0, 1}},
        {{0, 1, 2}, 3, false, {0, 1, 2}},
        {{0, 1, 2}, 0, false, {0, 1, 2}},
        {{0, 1, 2}, 1, true, {2, 0, 1}},
        {{0, 1, 2}, 5, true, {1, 2, 0}},
        {{0, 1, 2, 3}, 2, true, {2, 3, 0, 1}},
        {{7}, 5, false, {7}},
        {{}, 2, true, {}},
    };
    for (const RotateCase& c : cases) {
        TypeParam sequence;
        for (int value : c.before)
            sequence.append(value);
        if (c.back)
            sequence.rotateBack(c.n);
        else
            sequence.rotate(c.n);
        EXPECT_EQ(contents(sequence), c.after) << (c.back ? "back " : "") << c.n;
    }
}

TYPED_TEST(SequenceKinds, AppendingItsOwnElementSurvivesGrowth) {
    TypeParam sequence{1};
    for (int i = 0; i < 40; ++i) {
        sequence.append(*sequence.first());
        sequence.prepend(*sequence.last());
        sequence.insertAt(1, sequence.at(0));
    }
    EXPECT_EQ(contents(sequence), std::vector<int>(121, 1));
}

TYPED_TEST(SequenceKinds, AppendAllAndPrependAllTakeASnapshotOfThemselves) {
    TypeParam sequence{1, 2};
    sequence.appendAll(sequence);
    EXPECT_EQ(contents(sequence), (std::vector<int>{1, 2, 1, 2}));
    TypeParam other{8, 9};
    other.prependAll(other);
    EXPECT_EQ(contents(other), (std::vector<int>{8, 9, 8, 9}));
    sequence.prependAll(other);
    EXPECT_EQ(contents(sequence), (std::vector<int>{8, 9, 8, 9, 1, 2, 1, 2}));
}

TYPED_TEST(SequenceKinds, AppendAllAndPrependAllTakeAnyKind) {
    TypeParam sequence{1};
    Array<int> array{2, 3};
    List<int> list{4, 5};
    sequence.appendAll(array);
    sequence.appendAll(list);
    EXPECT_EQ(contents(sequence), (std::vector<int>{1, 2, 3, 4, 5}));
    sequence.prependAll(array);
    sequence.prependAll(list);
    EXPECT_EQ(contents(sequence), (std::vector<int>{4, 5, 2, 3, 1, 2, 3, 4, 5}));
}

// Walks through the kind-blind interface only.
std::vector<int> walk(Sequence<int>& sequence, bool backward) {
    std::vector<int> seen;
    Iterator it;
    for (int* e = backward ? sequence.backward(it) : sequence.forward(it); e;
         e = backward ? sequence.previous(it) : sequence.next(it))
        seen.push_back(*e);
    return seen;
}

TYPED_TEST(SequenceKinds, IteratesBothWaysWithoutKnowingTheKind) {
    TypeParam sequence{1, 2, 3};
    EXPECT_EQ(walk(sequence, false), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(walk(sequence, true), (std::vector<int>{3, 2, 1}));
    std::vector<int> ranged;
    for (int value : static_cast<Sequence<int>&>(sequence))
        ranged.push_back(value);
    EXPECT_EQ(ranged, (std::vector<int>{1, 2, 3}));
    TypeParam empty;
    EXPECT_TRUE(walk(empty, false).empty());
    EXPECT_TRUE(walk(empty, true).empty());
}

TYPED_TEST(SequenceKinds, RemovingTheCurrentElementKeepsTheWalkGoing) {
    for (bool backward : {false, true}) {
        TypeParam sequence{0, 1, 2, 3, 4, 5, 6};
        Sequence<int>& any = sequence;
        std::vector<int> seen, removed;
        Iterator it;
        for (int* e = backward ? any.backward(it) : any.forward(it); e;
             e = backward ? any.previous(it) : any.next(it)) {
            seen.push_back(*e);
            if (*e % 3 == 0)
                removed.push_back(any.remove(it));
        }
        EXPECT_EQ(seen.size(), 7u) << backward;
        EXPECT_EQ(removed.size(), 3u) << backward;
        EXPECT_EQ(contents(sequence), (std::vector<int>{1, 2, 4, 5})) << backward;
        EXPECT_EQ(any.remove(it), 0) << "no current element after the end";
    }
}

TYPED_TEST(SequenceKinds, CopiesAreIndependent) {
    TypeParam original{1, 2, 3};
    TypeParam copy(original);
    copy.append(4);
    original.removeFirst();
    EXPECT_EQ(contents(original), (std::vector<int>{2, 3}));
    EXPECT_EQ(contents(copy), (std::vector<int>{1, 2, 3, 4}));
    copy = original;
    EXPECT_EQ(contents(copy), (std::vector<int>{2, 3}));
    TypeParam moved(std::move(copy));
    EXPECT_EQ(contents(moved), (std::vector<int>{2, 3}));
}

TEST(SequenceNegativeRotation, ListTurnsTheOtherWayArrayStaysPut) {
    List<int> list{0, 1, 2};
    list.rotate(-1);
    EXPECT_EQ(contents(list), (std::vector<int>{2, 0, 1}));
    list.rotateBack(-1);
    EXPECT_EQ(contents(list), (std::vector<int>{0, 1, 2}));
    list.rotate(INT_MIN); // INT_MIN % 3 == -2
    EXPECT_EQ(contents(list), (std::vector<int>{1, 2, 0}));

    Array<int> array{0, 1, 2};
    array.rotate(-1);
    array.rotateBack(-2);
    array.rotate(INT_MIN);
    EXPECT_EQ(contents(array), (std::vector<int>{0, 1, 2}));
}

} // namespace
