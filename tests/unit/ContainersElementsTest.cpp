// Every operation that moves elements, over the three ways the shared storage
// handles an element type: by its bytes (int, and an element too large for
// the scratch room on the stack), by its bytes with a destructor (String), and
// through its own constructors (an element that points at itself, which a
// copy of its bytes would break). Each step is checked against a model.
#include "core/Array.h"
#include "core/String.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

// Points at itself: alive only where it was constructed, and ended once.
class Anchored {
public:
    static int live;

    Anchored(int value = 0) : self_(this), value_(value) { ++live; }
    Anchored(const Anchored& other) : self_(this), value_(other.value()) { ++live; }
    Anchored(Anchored&& other) noexcept : self_(this), value_(other.value()) {
        other.value_ = -1;
        ++live;
    }
    Anchored& operator=(const Anchored& other) {
        value_ = other.value();
        return *this;
    }
    ~Anchored() {
        check();
        self_ = nullptr;
        --live;
    }

    int value() const {
        check();
        return value_;
    }

private:
    void check() const {
        if (self_ != this)
            ADD_FAILURE() << "an element was moved by its bytes, or ended twice";
    }

    Anchored* self_;
    int value_;
};
int Anchored::live = 0;

struct Large {
    int value = 0;
    char filler[200] = {};
};

template <class E> struct Element;
template <> struct Element<int> {
    static int make(int value) { return value; }
    static int valueOf(int e) { return e; }
};
template <> struct Element<String> {
    static String make(int value) { return String::formatted("%d", value); }
    static int valueOf(const String& e) { return std::atoi(e.c_str()); }
};
template <> struct Element<Anchored> {
    static Anchored make(int value) { return Anchored(value); }
    static int valueOf(const Anchored& e) { return e.value(); }
};
template <> struct Element<Large> {
    static Large make(int value) {
        Large large;
        large.value = value;
        large.filler[199] = static_cast<char>(value);
        return large;
    }
    static int valueOf(const Large& e) {
        EXPECT_EQ(e.filler[199], static_cast<char>(e.value)) << "the tail of the element moved";
        return e.value;
    }
};

template <class E> class ElementKinds : public ::testing::Test {
protected:
    void TearDown() override {
        EXPECT_EQ(Anchored::live, 0) << "an element was lost or ended twice";
    }

    static std::vector<int> contents(const Array<E>& array) {
        std::vector<int> values;
        for (const E& e : array)
            values.push_back(Element<E>::valueOf(e));
        return values;
    }
    static Array<E> filled(const std::vector<int>& values) {
        Array<E> array;
        for (int value : values)
            array.append(Element<E>::make(value));
        return array;
    }
};
using Kinds = ::testing::Types<int, String, Anchored, Large>;
TYPED_TEST_SUITE(ElementKinds, Kinds, );

TYPED_TEST(ElementKinds, InsertionAndRemovalKeepTheOthersIntact) {
    using Kind = Element<TypeParam>;
    Array<TypeParam> array;
    std::vector<int> model;
    for (int i = 0; i < 40; ++i) {
        array.append(Kind::make(i));
        model.push_back(i);
        if (i % 3 == 0) {
            array.prepend(Kind::make(100 + i));
            model.insert(model.begin(), 100 + i);
        }
        if (i % 5 == 0) {
            array.insertAt(array.count() / 2, Kind::make(200 + i));
            model.insert(model.begin() + long(model.size() / 2), 200 + i);
        }
    }
    ASSERT_EQ(this->contents(array), model);

    // Its own elements, by copy and by move, while the storage grows under them.
    const TypeParam& front = array.at(0);
    array.append(front);
    model.push_back(model.front());
    array.prepend(array.at(array.count() - 1));
    model.insert(model.begin(), model.back());
    array.append(std::move(array.at(1)));
    model.push_back(model[1]);
    EXPECT_EQ(this->contents(array).back(), model.back());
    array.removeAt(1);
    model.erase(model.begin() + 1);
    ASSERT_EQ(this->contents(array), model);

    EXPECT_EQ(Kind::valueOf(array.removeAt(3)), model[3]);
    model.erase(model.begin() + 3);
    EXPECT_EQ(Kind::valueOf(array.removeFirst()), model.front());
    model.erase(model.begin());
    EXPECT_EQ(Kind::valueOf(array.removeLast()), model.back());
    model.pop_back();
    EXPECT_TRUE(array.removeRange(10, 19));
    model.erase(model.begin() + 10, model.begin() + 20);
    EXPECT_EQ(array.removeFromFront(2), 2);
    model.erase(model.begin(), model.begin() + 2);
    EXPECT_EQ(array.removeFromBack(3), 3);
    model.resize(model.size() - 3);
    ASSERT_EQ(this->contents(array), model);

    Iterator it;
    for (TypeParam* e = array.forward(it); e; e = array.next(it))
        if (Kind::valueOf(*e) % 2 == 0)
            array.remove(it);
    std::vector<int> odd;
    for (int value : model)
        if (value % 2 != 0)
            odd.push_back(value);
    ASSERT_EQ(this->contents(array), odd);

    // Shrinking below a quarter of the room moves the rest to smaller storage.
    array.resize(2);
    odd.resize(2);
    array.resize(4);
    odd.resize(4, Kind::valueOf(TypeParam()));
    EXPECT_EQ(this->contents(array), odd);
    array.clear();
    EXPECT_TRUE(array.isEmpty());
}

TYPED_TEST(ElementKinds, ReorderingKeepsEveryElement) {
    using Kind = Element<TypeParam>;
    std::vector<int> model{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    Array<TypeParam> array = this->filled(model);

    EXPECT_TRUE(array.swap(1, 8));
    std::swap(model[1], model[8]);
    EXPECT_TRUE(array.move(2, 7));
    std::rotate(model.begin() + 2, model.begin() + 3, model.begin() + 8);
    EXPECT_TRUE(array.move(9, 0));
    std::rotate(model.begin(), model.begin() + 9, model.end());
    ASSERT_EQ(this->contents(array), model);

    // 10 and 4 share a factor, so the rotation runs along two cycles.
    array.rotate(4);
    std::rotate(model.begin(), model.begin() + 4, model.end());
    ASSERT_EQ(this->contents(array), model);
    array.rotateBack(13);
    std::rotate(model.begin(), model.end() - 3, model.end());
    ASSERT_EQ(this->contents(array), model);

    std::mt19937 generator(7);
    std::vector<int> values(300);
    for (int& value : values)
        value = int(generator() % 1000);
    Array<TypeParam> unsorted = this->filled(values);
    unsorted.sort([](const TypeParam* a, const TypeParam* b) {
        return Kind::valueOf(*a) - Kind::valueOf(*b);
    });
    std::sort(values.begin(), values.end());
    EXPECT_EQ(this->contents(unsorted), values);
}

TYPED_TEST(ElementKinds, CopiesAndJoinsOwnTheirElements) {
    Array<TypeParam> original = this->filled({1, 2, 3});
    Array<TypeParam> copy(original);
    original.appendAll(original);
    copy.prependAll(original);
    EXPECT_EQ(this->contents(original), (std::vector<int>{1, 2, 3, 1, 2, 3}));
    EXPECT_EQ(this->contents(copy), (std::vector<int>{1, 2, 3, 1, 2, 3, 1, 2, 3}));

    copy = original;
    original.clear();
    EXPECT_EQ(this->contents(copy), (std::vector<int>{1, 2, 3, 1, 2, 3}));
    Array<TypeParam> moved(std::move(copy));
    moved.prependAll(moved);
    EXPECT_EQ(this->contents(moved).size(), 12u);
    copy = std::move(moved);
    EXPECT_EQ(this->contents(copy).size(), 12u);
}

} // namespace
