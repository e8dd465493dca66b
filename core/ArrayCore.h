#pragma once
// The sequence operations of every Array, written once over its raw storage:
// walking by index, removal from either end or at an iterator, swap, move and
// rotation. It is the engine of every Array's Sequence, whatever the element type.

#include "core/Iterator.h"
#include "core/VectorCore.h"

class ArrayCore final : public VectorCore, public SequenceCore {
public:
    using VectorCore::VectorCore;

    int count() const override { return VectorCore::count(); }

    // Each sets `it` to the index reached and returns its element, or null.
    void* walkForward(Iterator& it) override;
    void* walkNext(Iterator& it) override;
    void* walkBackward(Iterator& it) override;
    void* walkPrevious(Iterator& it) override;

    void* firstElement() override;
    void* lastElement() override;
    void* anyElement() override;

    void* appendCopy(const void* value) override;
    void* appendMoved(void* value) override;
    void* appendDefault() override;
    void* prependCopy(const void* value) override;
    void* prependMoved(void* value) override;
    void appendAllOf(SequenceCore& other) override;
    void prependAllOf(SequenceCore& other) override;

    void clear() override { VectorCore::clear(); }
    void takeFirst(void* into) override;
    void takeLast(void* into) override;
    // Out of range gives nothing; the iterator then has no current element.
    void takeCurrent(Iterator& it, void* into) override;

    // `first` is clamped to 0 and `last` to the last index; false, with
    // nothing removed, when the range is then empty.
    bool removeRange(int first, int last);
    // Remove up to n elements; return how many.
    int removeFromFront(int n) override;
    int removeFromBack(int n) override;

    bool swap(int i, int j);
    bool move(int from, int to);
    void rotate(int n) override;
    void rotateBack(int n) override;

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
