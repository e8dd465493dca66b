#pragma once
// The general sequence over contiguous storage, and the system's list of
// strings (Array<String>): indexed access, insertion and removal anywhere,
// swap, move, rotation and sorting. ArrayCore does the work once for every
// element type and is the engine of its Sequence; Array adds the typed casts.

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

template <class T> class Array : private ArrayHolder, public Sequence<T> {
public:
    Array() : ArrayHolder(kElementOps<T>), Sequence<T>(core_) {}
    Array(std::initializer_list<T> values) : ArrayHolder(kElementOps<T>), Sequence<T>(core_) {
        for (const T& value : values)
            core_.insertCopy(core_.count(), &value);
    }
    Array(const Array& other) : ArrayHolder(other), Sequence<T>(core_) {}
    Array(Array&& other) noexcept : ArrayHolder(std::move(other)), Sequence<T>(core_) {}
    Array& operator=(const Array&) = default;
    Array& operator=(Array&&) noexcept = default;

    int count() const { return core_.count(); }
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

    T& append(const T& value) { return *static_cast<T*>(core_.appendCopy(&value)); }
    T& append(T&& value) { return *static_cast<T*>(core_.appendMoved(&value)); }
    // `index` may be 0 to count; anything else ends the program.
    T& insertAt(int index, T value) {
        core_.checkInsertIndex(index, &TypeName<T>::name);
        return *static_cast<T*>(core_.insertMoved(index, &value));
    }

    void clear() { core_.clear(); }
    // Out of range gives a default value and changes nothing.
    __attribute__((noinline)) T removeAt(int index) {
        T element{};
        core_.takeOut(index, &element);
        return element;
    }
    // `first` is clamped to 0 and `last` to the last index; false, with nothing
    // removed, when the range is then empty.
    bool removeRange(int first, int last) { return core_.removeRange(first, last); }

    // Elements beyond the old count are default-constructed.
    void resize(int n) { core_.resize(n); }

    // False when either index is out of range or both are the same.
    bool swap(int i, int j) { return core_.swap(i, j); }
    // Takes the element at `from` out and puts it at `to`, shifting the ones
    // between; false, like swap, when nothing moves.
    bool move(int from, int to) { return core_.move(from, to); }

    // rotate (of Sequence) moves the first n elements to the back, rotateBack
    // the last n to the front; n is taken modulo the count, and a negative n
    // does nothing.

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
};
