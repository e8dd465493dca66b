#pragma once
// Contiguous storage of T with a count, the ground of Array and of a
// HashTable's chains. Every indexed access is checked; a bad index ends the
// program with the element type's name. Spare room is kept behind the last
// element, so that a list built one append at a time costs linear time.

#include "core/Fatal.h"
#include "core/OutOfMemory.h"
#include "core/TypeName.h"

#include <cstddef>
#include <new>
#include <utility>

template <class T> class Vector;
template <class T> struct TypeName<Vector<T>> {
    static const char* name() {
        return composeTypeName<Vector<T>>({"Vector<", TypeName<T>::name(), ">"});
    }
};

// "Vector<%s>[%d]\nmax_index = %d": the checked-index failure of every sequence.
template <class T> [[noreturn]] void indexOutOfRange(int index, int count) {
    fatalErrorf("Vector<%s>[%d]\nmax_index = %d", TypeName<T>::name(), index, count - 1);
}

template <class T> class Vector {
public:
    Vector() = default;
    Vector(const Vector& other) {
        reallocate(other.count_);
        for (; count_ < other.count_; ++count_)
            new (elements_ + count_) T(other.elements_[count_]);
    }
    Vector(Vector&& other) noexcept
        : elements_(other.elements_), count_(other.count_), capacity_(other.capacity_) {
        other.elements_ = nullptr;
        other.count_ = other.capacity_ = 0;
    }
    Vector& operator=(const Vector& other) {
        if (this != &other) {
            Vector copy(other);
            swapWith(copy);
        }
        return *this;
    }
    Vector& operator=(Vector&& other) noexcept {
        Vector taken(std::move(other));
        swapWith(taken);
        return *this;
    }
    ~Vector() { clear(); }

    int count() const { return count_; }
    bool isEmpty() const { return count_ == 0; }

    T& at(int index) {
        if (index < 0 || index >= count_)
            indexOutOfRange<T>(index, count_);
        return elements_[index];
    }
    const T& at(int index) const { return const_cast<Vector*>(this)->at(index); }
    T& operator[](int index) { return at(index); }
    const T& operator[](int index) const { return at(index); }
    T* tryAt(int index) { return index < 0 || index >= count_ ? nullptr : elements_ + index; }
    const T* tryAt(int index) const { return const_cast<Vector*>(this)->tryAt(index); }

    T* begin() { return elements_; }
    T* end() { return elements_ + count_; }
    const T* begin() const { return elements_; }
    const T* end() const { return elements_ + count_; }

    // Elements beyond the old count are default-constructed; n below 0 counts as 0.
    void resize(int n) {
        if (n <= 0) {
            clear();
            return;
        }
        if (n > capacity_)
            reallocate(n);
        for (; count_ < n; ++count_)
            new (elements_ + count_) T();
        if (n < count_)
            erase(n, count_ - n);
    }

    // `index` must lie in 0..count; `value` is the caller's own copy, so it may
    // have come from this very vector.
    T& insert(int index, T value) {
        if (count_ == capacity_)
            reallocate(count_ < 4 ? 4 : count_ + count_ / 2);
        if (index == count_) {
            new (elements_ + count_) T(std::move(value));
        } else {
            new (elements_ + count_) T(std::move(elements_[count_ - 1]));
            for (int i = count_ - 1; i > index; --i)
                elements_[i] = std::move(elements_[i - 1]);
            elements_[index] = std::move(value);
        }
        ++count_;
        return elements_[index];
    }
    T& append(T value) { return insert(count_, std::move(value)); }

    // `first` and `n` must describe elements that exist.
    void erase(int first, int n) {
        for (int i = first; i + n < count_; ++i)
            elements_[i] = std::move(elements_[i + n]);
        for (int i = count_ - n; i < count_; ++i)
            elements_[i].~T();
        count_ -= n;
        if (count_ == 0)
            clear();
        else if (capacity_ > 8 && count_ <= capacity_ / 4)
            reallocate(count_ * 2);
    }
    T take(int index) {
        T element(std::move(elements_[index]));
        erase(index, 1);
        return element;
    }

    void clear() {
        for (int i = 0; i < count_; ++i)
            elements_[i].~T();
        ::operator delete(elements_);
        elements_ = nullptr;
        count_ = capacity_ = 0;
    }

    void swapWith(Vector& other) noexcept {
        std::swap(elements_, other.elements_);
        std::swap(count_, other.count_);
        std::swap(capacity_, other.capacity_);
    }

private:
    void reallocate(int capacity) {
        if (capacity == 0)
            return;
        const std::size_t limit = static_cast<std::size_t>(-1) / sizeof(T);
        if (static_cast<std::size_t>(capacity) > limit)
            outOfMemory(static_cast<unsigned>(-1));
        T* moved = static_cast<T*>(::operator new(static_cast<std::size_t>(capacity) * sizeof(T)));
        for (int i = 0; i < count_; ++i) {
            new (moved + i) T(std::move(elements_[i]));
            elements_[i].~T();
        }
        ::operator delete(elements_);
        elements_ = moved;
        capacity_ = capacity;
    }

    T* elements_ = nullptr;
    int count_ = 0;
    int capacity_ = 0;
};

namespace sort_detail {

template <class Item, class Compare> void insertionSort(Item* items, int count, Compare& compare) {
    for (int i = 1; i < count; ++i)
        for (int j = i; j > 0 && compare(items[j], items[j - 1]) < 0; --j)
            std::swap(items[j], items[j - 1]);
}

template <class Item, class Compare>
void siftDown(Item* items, int root, int count, Compare& compare) {
    for (int child = 2 * root + 1; child < count; root = child, child = 2 * root + 1) {
        if (child + 1 < count && compare(items[child], items[child + 1]) < 0)
            ++child;
        if (compare(items[root], items[child]) >= 0)
            return;
        std::swap(items[root], items[child]);
    }
}

template <class Item, class Compare> void heapSort(Item* items, int count, Compare& compare) {
    for (int i = count / 2 - 1; i >= 0; --i)
        siftDown(items, i, count, compare);
    for (int last = count - 1; last > 0; --last) {
        std::swap(items[0], items[last]);
        siftDown(items, 0, last, compare);
    }
}

// Leaves the median of the first, middle and last item at the front.
template <class Item, class Compare> void medianToFront(Item* items, int count, Compare& compare) {
    const int mid = count / 2, last = count - 1;
    if (compare(items[mid], items[0]) < 0)
        std::swap(items[mid], items[0]);
    if (compare(items[last], items[mid]) < 0) {
        std::swap(items[last], items[mid]);
        if (compare(items[mid], items[0]) < 0)
            std::swap(items[mid], items[0]);
    }
    std::swap(items[0], items[mid]);
}

} // namespace sort_detail

// Quicksort: compare(a, b) returns a negative, zero or positive number; equal
// items end in no particular order. Every scan is bounded, so a comparison that
// contradicts itself scrambles the order but never leaves the range, and a
// partition gone deep finishes as a heap sort.
template <class Item, class Compare> void quickSort(Item* items, int count, Compare compare) {
    int depthLeft = 0;
    for (int n = count; n > 1; n >>= 1)
        depthLeft += 2;
    while (count > 16) {
        if (depthLeft-- == 0) {
            sort_detail::heapSort(items, count, compare);
            return;
        }
        sort_detail::medianToFront(items, count, compare);
        int i = 0, j = count;
        for (;;) {
            do
                ++i;
            while (i < count && compare(items[i], items[0]) < 0);
            do
                --j;
            while (j > 0 && compare(items[0], items[j]) < 0);
            if (i >= j)
                break;
            std::swap(items[i], items[j]);
        }
        std::swap(items[0], items[j]);
        // Recurse into the smaller side, go on with the larger: the depth of
        // the recursion stays logarithmic.
        if (j < count - j - 1) {
            quickSort(items, j, compare);
            items += j + 1;
            count -= j + 1;
        } else {
            quickSort(items + j + 1, count - j - 1, compare);
            count = j;
        }
    }
    sort_detail::insertionSort(items, count, compare);
}
