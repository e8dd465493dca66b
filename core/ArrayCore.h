#pragma once
// The sequence operations of every Array, written once over its raw storage:
// walking by index, removal from either end or at an iterator, swap, move and
// rotation. Array<T> overrides the Sequence interface with casts over these.

#include "core/Iterator.h"
#include "core/VectorCore.h"

class ArrayCore : public VectorCore {
public:
    using VectorCore::VectorCore;

    // Each sets `it` to the index reached and returns its element, or null.
    void* forward(Iterator& it);
    void* next(Iterator& it);
    void* backward(Iterator& it);
    void* previous(Iterator& it);

    void* first() const;
    void* last() const;
    void* randomElement() const;

    // Each returns the new element; `value` may lie in this very array.
    void* appendCopy(const void* value);
    void* appendMoved(void* value);
    void* appendNew();
    void* prependCopy(const void* value);
    void* prependMoved(void* value);
    // Appends `count` elements of another sequence, which may be this one,
    // walked by `step`: its first element when `first`, else the next.
    using Step = void* (*)(const void* sequence, Iterator& it, bool first);
    void appendAll(const void* sequence, int count, Step step);
    void prependAll(const void* sequence, int count, Step step);

    // The index of the element at `it`, which then has none, for removal; -1
    // when there is no current element.
    int takeIteratorIndex(Iterator& it);
    // `first` is clamped to 0 and `last` to the last index; false, with
    // nothing removed, when the range is then empty.
    bool removeRange(int first, int last);
    // Remove up to n elements; return how many.
    int removeFromFront(int n);
    int removeFromBack(int n);

    bool swap(int i, int j);
    bool move(int from, int to);
    void rotate(int n);
    void rotateBack(int n);

private:
    void* reach(Iterator& it, int index);
    // Turns [first, last) so that the element at `middle` comes first.
    void rotateRange(int first, int middle, int last);
};
