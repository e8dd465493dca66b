#pragma once
// The general sequence over contiguous storage, and the system's list of
// strings (Array<String>): indexed access, insertion and removal anywhere,
// swap, move, rotation and sorting.

#include "core/Iterator.h"
#include "core/Random.h"
#include "core/Vector.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

template <class T> class Array;
template <class T> struct TypeName<Array<T>> {
    static const char* name() {
        return composeTypeName<Array<T>>({"Array<", TypeName<T>::name(), ">"});
    }
};

template <class T> class Array : public Sequence<T> {
public:
    Array() = default;
    Array(std::initializer_list<T> values) {
        for (const T& value : values)
            storage_.append(value);
    }
    Array(const Array&) = default;
    Array(Array&&) noexcept = default;
    Array& operator=(const Array&) = default;
    Array& operator=(Array&&) noexcept = default;

    int count() const override { return storage_.count(); }

    // Ends the program when `index` is out of range; tryAt gives null instead.
    T& at(int index) { return storage_.at(index); }
    const T& at(int index) const { return storage_.at(index); }
    T& operator[](int index) { return storage_.at(index); }
    const T& operator[](int index) const { return storage_.at(index); }
    T* tryAt(int index) { return storage_.tryAt(index); }
    const T* tryAt(int index) const { return storage_.tryAt(index); }

    T* begin() { return storage_.begin(); }
    T* end() { return storage_.end(); }
    const T* begin() const { return storage_.begin(); }
    const T* end() const { return storage_.end(); }

    T* forward(Iterator& it) override { return reach(it, 0); }
    T* next(Iterator& it) override { return reach(it, it.nextIndex); }
    T* backward(Iterator& it) override { return reach(it, count() - 1); }
    T* previous(Iterator& it) override { return reach(it, it.previousIndex); }

    T* first() override { return tryAt(0); }
    T* last() override { return tryAt(count() - 1); }
    T* randomElement() override { return tryAt(randomIndex(count())); }

    T& append(const T& value) override { return storage_.append(value); }
    T& append(T&& value) override { return storage_.append(std::move(value)); }
    T& appendNew() override { return storage_.append(T()); }
    T& prepend(const T& value) override { return storage_.insert(0, value); }
    T& prepend(T&& value) override { return storage_.insert(0, std::move(value)); }
    // Builds the result afresh: prepending one by one would shift every
    // element each time, and would shift this array under its own walk.
    void prependAll(const Sequence<T>& other) override {
        Array joined;
        joined.appendAll(other);
        for (T& element : storage_)
            joined.append(std::move(element));
        *this = std::move(joined);
    }
    // `index` may be 0 to count; anything else ends the program.
    T& insertAt(int index, T value) {
        if (index < 0 || index > count())
            indexOutOfRange<T>(index, count());
        return storage_.insert(index, std::move(value));
    }

    void clear() override { storage_.clear(); }
    // Out of range gives a default value and changes nothing.
    T removeAt(int index) { return tryAt(index) ? storage_.take(index) : T(); }
    T removeFirst() override { return removeAt(0); }
    T removeLast() override { return removeAt(count() - 1); }
    T remove(Iterator& it) override {
        if (!tryAt(it.index))
            return T();
        if (it.nextIndex > it.index)
            --it.nextIndex;
        const int index = it.index;
        it.index = -1;
        return storage_.take(index);
    }
    // `first` is clamped to 0 and `last` to the last index; false, with nothing
    // removed, when the range is then empty.
    bool removeRange(int first, int last) {
        first = std::max(first, 0);
        last = std::min(last, count() - 1);
        if (last < first)
            return false;
        storage_.erase(first, last - first + 1);
        return true;
    }
    int removeFromFront(int n) override {
        n = std::clamp(n, 0, count());
        if (n > 0)
            storage_.erase(0, n);
        return n;
    }
    int removeFromBack(int n) override {
        n = std::clamp(n, 0, count());
        if (n > 0)
            storage_.erase(count() - n, n);
        return n;
    }

    // Elements beyond the old count are default-constructed.
    void resize(int n) { storage_.resize(n); }

    // False when either index is out of range or both are the same.
    bool swap(int i, int j) {
        if (!tryAt(i) || !tryAt(j) || i == j)
            return false;
        std::swap(storage_[i], storage_[j]);
        return true;
    }
    // Takes the element at `from` out and puts it at `to`, shifting the ones
    // between; false, like swap, when nothing moves.
    bool move(int from, int to) {
        if (!tryAt(from) || !tryAt(to) || from == to)
            return false;
        T* elements = begin();
        if (from < to)
            std::rotate(elements + from, elements + from + 1, elements + to + 1);
        else
            std::rotate(elements + to, elements + from, elements + from + 1);
        return true;
    }

    // rotate moves the first n elements to the back, rotateBack the last n to
    // the front; n is taken modulo the count, and a negative n does nothing.
    void rotate(int n) override {
        if (n > 0 && count() >= 2)
            std::rotate(begin(), begin() + n % count(), end());
    }
    void rotateBack(int n) override {
        if (n > 0 && count() >= 2)
            std::rotate(begin(), end() - n % count(), end());
    }

    // compare(const T*, const T*) returns a negative, zero or positive number.
    template <class Compare> void sort(Compare compare) {
        quickSort(begin(), count(), [&compare](const T& a, const T& b) { return compare(&a, &b); });
    }

private:
    T* reach(Iterator& it, int index) {
        it.index = index;
        it.nextIndex = index + 1;
        it.previousIndex = index - 1;
        return tryAt(index);
    }

    Vector<T> storage_;
};
