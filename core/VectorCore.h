#pragma once
// The storage of every Vector and Array, written once over raw elements: a
// count, spare room behind the last element (so that a list built one append
// at a time costs linear time), and the element type's operations. The typed
// containers are thin casts over it.

#include "core/ElementOps.h"

#include <cstddef>

// "Vector<%s>[%d]\nmax_index = %d": the checked-index failure of every sequence.
[[noreturn]] void indexOutOfRange(const char* typeName, int index, int count);

using TypeNameFunction = const char* (*)();

class VectorCore {
public:
    explicit VectorCore(const ElementOps& ops) : ops_(&ops) {}
    VectorCore(const VectorCore& other);
    VectorCore(VectorCore&& other) noexcept;
    VectorCore& operator=(const VectorCore& other);
    VectorCore& operator=(VectorCore&& other) noexcept;
    ~VectorCore() { clear(); }

    int count() const { return count_; }
    void* data() const { return elements_; }
    const ElementOps& ops() const { return *ops_; }

    // Ends the program with the element type's name when `index` is out of range.
    void* at(int index, TypeNameFunction typeName) const;
    // Null when `index` is out of range.
    void* tryAt(int index) const;

    // Elements beyond the old count are default-constructed; n below 0 counts as 0.
    void resize(int n);

    // Each makes room at `index` (0..count) and returns the new element.
    // `value` may lie in this very storage.
    void* insertCopy(int index, const void* value);
    // Moves `value` in; unless the type is plain bytes, `value` is left
    // default-constructed, as a moved-from String is empty.
    void* insertMoved(int index, void* value);
    void* insertNew(int index);
    // Ends the program like `at` when `index` is outside 0..count.
    void checkInsertIndex(int index, TypeNameFunction typeName) const;

    // `first` and `n` must describe elements that exist.
    void erase(int first, int n);
    // Moves the element at `index` into `into`, which holds a live element
    // that is ended first, and closes the gap; false, with nothing changed,
    // when `index` is out of range.
    bool takeOut(int index, void* into);

    void clear();
    void swapWith(VectorCore& other) noexcept;

protected:
    char* elementAt(int index) const {
        return elements_ + static_cast<std::ptrdiff_t>(index) * ops_->size;
    }
    void reallocate(int capacity);
    // Takes `n` elements out after they were ended or moved away from `first`.
    void closeGap(int first, int n);

private:
    void* openGap(int index, const void** source);

    char* elements_ = nullptr;
    int count_ = 0;
    int capacity_ = 0;
    const ElementOps* ops_;

    friend class ArrayCore;
};
