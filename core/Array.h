#pragma once
// The general sequence over contiguous storage, and the system's list of
// strings (Array<String>): indexed access, insertion and removal anywhere,
// swap, move, rotation and sorting. ArrayCore does the work once for every
// element type; each override here is a cast over it.

#include "core/ArrayCore.h"
#include "core/Iterator.h"
#include "core/Sort.h"
#include "core/TypeName.h"
#include "core/Vector.h"

#include <initializer_list>
#include <type_traits>
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
            core_.insertCopy(core_.count(), &value);
    }
    Array(const Array&) = default;
    Array(Array&&) noexcept = default;
    Array& operator=(const Array&) = default;
    Array& operator=(Array&&) noexcept = default;

    int count() const override { return core_.count(); }
    bool isEmpty() const { return core_.count() == 0; }

    // Ends the program when `index` is out of range; tryAt gives null instead.
    T& at(int index) { return *static_cast<T*>(core_.at(index, &TypeName<T>::name)); }
    const T& at(int index) const {
        return *static_cast<const T*>(core_.at(index, &TypeName<T>::name));
    }
    T& operator[](int index) { return at(index); }
    const T& operator[](int index) const { return at(index); }
    T* tryAt(int index) { return static_cast<T*>(core_.tryAt(index)); }
    const T* tryAt(int index) const { return static_cast<const T*>(core_.tryAt(index)); }

    T* begin() { return static_cast<T*>(core_.data()); }
    T* end() { return begin() + count(); }
    const T* begin() const { return static_cast<const T*>(core_.data()); }
    const T* end() const { return begin() + count(); }

    T* forward(Iterator& it) override { return static_cast<T*>(core_.forward(it)); }
    T* next(Iterator& it) override { return static_cast<T*>(core_.next(it)); }
    T* backward(Iterator& it) override { return static_cast<T*>(core_.backward(it)); }
    T* previous(Iterator& it) override { return static_cast<T*>(core_.previous(it)); }

    T* first() override { return static_cast<T*>(core_.first()); }
    T* last() override { return static_cast<T*>(core_.last()); }
    T* randomElement() override { return static_cast<T*>(core_.randomElement()); }

    T& append(const T& value) override { return *static_cast<T*>(core_.appendCopy(&value)); }
    T& append(T&& value) override { return *static_cast<T*>(core_.appendMoved(&value)); }
    T& appendNew() override { return *static_cast<T*>(core_.appendNew()); }
    T& prepend(const T& value) override { return *static_cast<T*>(core_.prependCopy(&value)); }
    T& prepend(T&& value) override { return *static_cast<T*>(core_.prependMoved(&value)); }
    void appendAll(const Sequence<T>& other) override {
        core_.appendAll(&other, other.count(), &step);
    }
    void prependAll(const Sequence<T>& other) override {
        core_.prependAll(&other, other.count(), &step);
    }
    // `index` may be 0 to count; anything else ends the program.
    T& insertAt(int index, T value) {
        core_.checkInsertIndex(index, &TypeName<T>::name);
        return *static_cast<T*>(core_.insertMoved(index, &value));
    }

    void clear() override { core_.clear(); }
    // Out of range gives a default value and changes nothing. Kept out of line:
    // the removals of the Sequence interface all come here.
    __attribute__((noinline)) T removeAt(int index) {
        T element{};
        core_.takeOut(index, &element);
        return element;
    }
    T removeFirst() override { return removeAt(0); }
    T removeLast() override { return removeAt(core_.count() - 1); }
    T remove(Iterator& it) override { return removeAt(core_.takeIteratorIndex(it)); }
    // `first` is clamped to 0 and `last` to the last index; false, with nothing
    // removed, when the range is then empty.
    bool removeRange(int first, int last) { return core_.removeRange(first, last); }
    int removeFromFront(int n) override { return core_.removeFromFront(n); }
    int removeFromBack(int n) override { return core_.removeFromBack(n); }

    // Elements beyond the old count are default-constructed.
    void resize(int n) { core_.resize(n); }

    // False when either index is out of range or both are the same.
    bool swap(int i, int j) { return core_.swap(i, j); }
    // Takes the element at `from` out and puts it at `to`, shifting the ones
    // between; false, like swap, when nothing moves.
    bool move(int from, int to) { return core_.move(from, to); }

    // rotate moves the first n elements to the back, rotateBack the last n to
    // the front; n is taken modulo the count, and a negative n does nothing.
    void rotate(int n) override { core_.rotate(n); }
    void rotateBack(int n) override { core_.rotateBack(n); }

    // compare(const T*, const T*) returns a negative, zero or positive number.
    template <class Compare> void sort(Compare compare) {
        sortElements(
            core_.data(), core_.count(), core_.ops(),
            [](const void* a, const void* b, void* context) {
                return (*static_cast<Compare*>(context))(static_cast<const T*>(a),
                                                         static_cast<const T*>(b));
            },
            &compare);
    }

private:
    static void* step(const void* sequence, Iterator& it, bool first) {
        Sequence<T>& source = *const_cast<Sequence<T>*>(static_cast<const Sequence<T>*>(sequence));
        return first ? source.forward(it) : source.next(it);
    }

    ArrayCore core_{kElementOps<T>};
};
