#pragma once
// The sequence operations of every Array, written once over its raw storage:
// walking by index, removal from either end or at an iterator, swap, move and
// rotation. It is the engine of every Array's Sequence, whatever the element
// type, called directly rather than through a table.

#include "core/Iterator.h"
#include "core/VectorCore.h"

class ArrayCore final : public VectorCore, public SequenceEngine {
public:
    using VectorCore::VectorCore;

    int count() const override { return VectorCore::count(); }
    ArrayCore* arrayCore() override { return this; }

    // Each sets `it` to the index reached and returns its element, or null.
    void* walkForward(Iterator& it);
    void* walkNext(Iterator& it);
    void* walkBackward(Iterator& it);
    void* walkPrevious(Iterator& it);

    void* firstElement();
    void* lastElement();
    void* anyElement();

    void* appendCopy(const void* value);
    void* appendMoved(void* value);
    void* appendDefault();
    void* prependCopy(const void* value);
    void* prependMoved(void* value);
    void appendAllOf(SequenceEngine& other);
    void prependAllOf(SequenceEngine& other);

    void takeFirst(void* into);
    void takeLast(void* into);
    // Out of range gives nothing; the iterator then has no current element.
    void takeCurrent(Iterator& it, void* into);

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

// An Array's storage, held ahead of its Sequence face, which refers to it.
struct ArrayHolder {
    explicit ArrayHolder(const ElementOps& ops) : core_(ops) {}
    ArrayCore core_;
};
