#pragma once
// Contiguous storage of T with a count, the ground of a HashTable's chains and
// of the containers' own scratch lists. Every indexed access is checked; a bad
// index ends the program with the element type's name. The work is done once
// for every element type by VectorCore; this is its typed face.

#include "core/Sort.h"
#include "core/TypeName.h"
#include "core/VectorCore.h"

#include <type_traits>
#include <utility>

template <class T> class Vector;
template <class T> struct TypeName<Vector<T>> {
    static const char* name() {
        return composeTypeName<Vector<T>>({"Vector<", TypeName<T>::name(), ">"});
    }
};

template <class T> [[noreturn]] void indexOutOfRange(int index, int count) {
    indexOutOfRange(TypeName<T>::name(), index, count);
}

template <class T> class Vector {
public:
    int count() const { return core_.count(); }
    bool isEmpty() const { return core_.count() == 0; }

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

    // Elements beyond the old count are default-constructed; n below 0 counts as 0.
    void resize(int n) {
        static_assert(std::is_default_constructible_v<T>);
        core_.resize(n);
    }

    // `index` must lie in 0..count; `value` may come from this very vector.
    T& insert(int index, const T& value) {
        static_assert(std::is_copy_constructible_v<T>);
        return *static_cast<T*>(core_.insertCopy(index, &value));
    }
    T& insert(int index, T&& value) { return *static_cast<T*>(core_.insertMoved(index, &value)); }
    T& append(const T& value) { return insert(count(), value); }
    T& append(T&& value) { return insert(count(), std::move(value)); }

    // `first` and `n` must describe elements that exist.
    void erase(int first, int n) { core_.erase(first, n); }
    T take(int index) {
        T element{};
        core_.takeOut(index, &element);
        return element;
    }

    void clear() { core_.clear(); }
    void swapWith(Vector& other) noexcept { core_.swapWith(other.core_); }

private:
    VectorCore core_{kElementOps<T>};
};
