#include "core/ArrayCore.h"

#include "core/Random.h"

#include <algorithm>

void* ArrayCore::reach(Iterator& it, int index) {
    it.index = index;
    it.nextIndex = index + 1;
    it.previousIndex = index - 1;
    return tryAt(index);
}

void* ArrayCore::walkForward(Iterator& it) {
    return reach(it, 0);
}

void* ArrayCore::walkNext(Iterator& it) {
    return reach(it, it.nextIndex);
}

void* ArrayCore::walkBackward(Iterator& it) {
    return reach(it, count() - 1);
}

void* ArrayCore::walkPrevious(Iterator& it) {
    return reach(it, it.previousIndex);
}

void* ArrayCore::firstElement() {
    return tryAt(0);
}

void* ArrayCore::lastElement() {
    return tryAt(count() - 1);
}

void* ArrayCore::anyElement() {
    return tryAt(randomIndex(count()));
}

void* ArrayCore::appendCopy(const void* value) {
    return insertCopy(count(), value);
}

void* ArrayCore::appendMoved(void* value) {
    return insertMoved(count(), value);
}

void* ArrayCore::appendDefault() {
    return insertNew(count());
}

void* ArrayCore::prependCopy(const void* value) {
    return insertCopy(0, value);
}

void* ArrayCore::prependMoved(void* value) {
    return insertMoved(0, value);
}

// The count is taken first, so that an array can be doubled with its own elements.
void ArrayCore::appendAllOf(SequenceEngine& other) {
    Iterator it;
    const void* element = sequence_engine::walkForward(other, it);
    for (int left = other.count(); left > 0 && element; --left) {
        insertCopy(count(), element);
        element = sequence_engine::walkNext(other, it);
    }
}

void ArrayCore::takeFirst(void* into) {
    takeOut(0, into);
}

void ArrayCore::takeLast(void* into) {
    takeOut(count() - 1, into);
}

void ArrayCore::takeCurrent(Iterator& it, void* into) {
    if (!tryAt(it.index))
        return;
    if (it.nextIndex > it.index)
        --it.nextIndex;
    const int index = it.index;
    it.index = -1;
    takeOut(index, into);
}

bool ArrayCore::removeRange(int first, int last) {
    first = std::max(first, 0);
    last = std::min(last, count() - 1);
    if (last < first)
        return false;
    erase(first, last - first + 1);
    return true;
}

int ArrayCore::removeFromFront(int n) {
    n = std::clamp(n, 0, count());
    if (n > 0)
        erase(0, n);
    return n;
}

int ArrayCore::removeFromBack(int n) {
    n = std::clamp(n, 0, count());
    if (n > 0)
        erase(count() - n, n);
    return n;
}

bool ArrayCore::swap(int i, int j) {
    if (!tryAt(i) || !tryAt(j) || i == j)
        return false;
    ElementScratch scratch(ops());
    swapElements(ops(), elementAt(i), elementAt(j), scratch.get());
    return true;
}

bool ArrayCore::move(int from, int to) {
    if (!tryAt(from) || !tryAt(to) || from == to)
        return false;
    if (from < to)
        rotateRange(from, from + 1, to + 1);
    else
        rotateRange(to, from, from + 1);
    return true;
}

void ArrayCore::rotate(int n) {
    if (n > 0 && count() >= 2)
        rotateRange(0, n % count(), count());
}

void ArrayCore::rotateBack(int n) {
    if (n > 0 && count() >= 2)
        rotateRange(0, count() - n % count(), count());
}

// Each element is moved once, along the cycles of the rotation, through one
// element's room of scratch.
void ArrayCore::rotateRange(int first, int middle, int last) {
    const int n = last - first, shift = middle - first;
    if (shift == 0 || shift == n)
        return;
    int cycles = n;
    for (int rest = shift; rest != 0;) {
        const int r = cycles % rest;
        cycles = rest;
        rest = r;
    }
    ElementScratch scratch(ops());
    for (int start = 0; start < cycles; ++start) {
        relocateElements(ops(), scratch.get(), elementAt(first + start), 1);
        int hole = start;
        for (;;) {
            int from = hole + shift;
            if (from >= n)
                from -= n;
            if (from == start)
                break;
            relocateElements(ops(), elementAt(first + hole), elementAt(first + from), 1);
            hole = from;
        }
        relocateElements(ops(), elementAt(first + hole), scratch.get(), 1);
    }
}

// Builds the result afresh: prepending one by one would shift every element
// each time, and would shift this array under its own walk.
void ArrayCore::prependAllOf(SequenceEngine& other) {
    ArrayCore joined(ops());
    joined.appendAllOf(other);
    const int total = joined.count_ + count_;
    if (total > joined.capacity_)
        joined.reallocate(total);
    relocateElements(ops(), joined.elementAt(joined.count_), data(), count_);
    joined.count_ = total;
    count_ = 0;
    swapWith(joined);
}
