#pragma once
// Walking and changing a sequence without knowing its kind. Array, List and
// the entries of a HashTable all implement Sequence; an operation a kind
// cannot support ends in internalError.

// A position in a sequence: the current node or index, and the neighbours to
// step to. The neighbours are taken when the position is reached, so the
// current element may be removed without losing the way.
struct Iterator {
    void* node = nullptr;
    void* nextNode = nullptr;
    void* previousNode = nullptr;
    int index = -1;
    int nextIndex = -1;
    int previousIndex = -1;
};

class ArrayCore;

// The engine behind any Sequence, over untyped elements. An Array's engine is
// its storage, one implementation for every element type, and is called
// directly (core/Sequence.cpp), not through a table of every operation: a
// program then holds only the array operations some of its code uses. A List
// or HashTable is its own engine, a SequenceCore.
class SequenceEngine {
public:
    virtual ~SequenceEngine() = default;

    virtual int count() const = 0;
    // This engine when it is an Array's, else null.
    virtual ArrayCore* arrayCore() { return nullptr; }
};

// The engine of a List or a HashTable: every operation through its table.
class SequenceCore : public SequenceEngine {
public:
    virtual void* walkForward(Iterator& it) = 0;
    virtual void* walkNext(Iterator& it) = 0;
    virtual void* walkBackward(Iterator& it) = 0;
    virtual void* walkPrevious(Iterator& it) = 0;

    virtual void* firstElement() = 0;
    virtual void* lastElement() = 0;
    virtual void* anyElement() = 0;

    // Each returns the new element; `value` may lie in this very sequence.
    virtual void* appendCopy(const void* value) = 0;
    virtual void* appendMoved(void* value) = 0;
    virtual void* appendDefault() = 0;
    virtual void* prependCopy(const void* value) = 0;
    virtual void* prependMoved(void* value) = 0;
    // Both take a snapshot of `other`'s count, so a sequence can be doubled
    // with its own elements.
    virtual void appendAllOf(SequenceEngine& other) = 0;
    virtual void prependAllOf(SequenceEngine& other) = 0;

    virtual void clear() = 0;
    // Each moves the element removed into `into`, which holds a live element,
    // and leaves `into` alone when there is none.
    virtual void takeFirst(void* into) = 0;
    virtual void takeLast(void* into) = 0;
    virtual void takeCurrent(Iterator& it, void* into) = 0;
    virtual int removeFromFront(int n) = 0;
    virtual int removeFromBack(int n) = 0;

    virtual void rotate(int n) = 0;
    virtual void rotateBack(int n) = 0;
};

// The operations of any engine, each reaching an Array's directly.
namespace sequence_engine {
void* walkForward(SequenceEngine& engine, Iterator& it);
void* walkNext(SequenceEngine& engine, Iterator& it);
void* walkBackward(SequenceEngine& engine, Iterator& it);
void* walkPrevious(SequenceEngine& engine, Iterator& it);
void* first(SequenceEngine& engine);
void* last(SequenceEngine& engine);
void* any(SequenceEngine& engine);
void* appendCopy(SequenceEngine& engine, const void* value);
void* appendMoved(SequenceEngine& engine, void* value);
void* appendDefault(SequenceEngine& engine);
void* prependCopy(SequenceEngine& engine, const void* value);
void* prependMoved(SequenceEngine& engine, void* value);
void appendAllOf(SequenceEngine& engine, SequenceEngine& other);
void prependAllOf(SequenceEngine& engine, SequenceEngine& other);
void clear(SequenceEngine& engine);
void takeFirst(SequenceEngine& engine, void* into);
void takeLast(SequenceEngine& engine, void* into);
void takeCurrent(SequenceEngine& engine, Iterator& it, void* into);
int removeFromFront(SequenceEngine& engine, int n);
int removeFromBack(SequenceEngine& engine, int n);
void rotate(SequenceEngine& engine, int n);
void rotateBack(SequenceEngine& engine, int n);
} // namespace sequence_engine

// The typed face of any engine. It holds no code of its own per element
// type beyond casts, so every Array shares one engine.
template <class T> class Sequence {
public:
    int count() const { return engine_->count(); }
    bool isEmpty() const { return count() == 0; }

    // Iteration: each call returns the element reached, or null past the end.
    T* forward(Iterator& it) { return static_cast<T*>(sequence_engine::walkForward(*engine_, it)); }
    T* next(Iterator& it) { return static_cast<T*>(sequence_engine::walkNext(*engine_, it)); }
    T* backward(Iterator& it) {
        return static_cast<T*>(sequence_engine::walkBackward(*engine_, it));
    }
    T* previous(Iterator& it) {
        return static_cast<T*>(sequence_engine::walkPrevious(*engine_, it));
    }

    // Null when the sequence is empty.
    T* first() { return static_cast<T*>(sequence_engine::first(*engine_)); }
    T* last() { return static_cast<T*>(sequence_engine::last(*engine_)); }
    T* randomElement() { return static_cast<T*>(sequence_engine::any(*engine_)); }

    T& append(const T& value) {
        return *static_cast<T*>(sequence_engine::appendCopy(*engine_, &value));
    }
    T& append(T&& value) {
        return *static_cast<T*>(sequence_engine::appendMoved(*engine_, &value));
    }
    T& appendNew() { return *static_cast<T*>(sequence_engine::appendDefault(*engine_)); }
    T& prepend(const T& value) {
        return *static_cast<T*>(sequence_engine::prependCopy(*engine_, &value));
    }
    T& prepend(T&& value) {
        return *static_cast<T*>(sequence_engine::prependMoved(*engine_, &value));
    }
    // Both take a snapshot of `other`'s count, so a sequence can be doubled
    // with its own elements.
    void appendAll(const Sequence& other) {
        sequence_engine::appendAllOf(*engine_, *other.engine_);
    }
    void prependAll(const Sequence& other) {
        sequence_engine::prependAllOf(*engine_, *other.engine_);
    }

    void clear() { sequence_engine::clear(*engine_); }
    // Each gives the element removed, or a default value when there was none.
    T removeFirst() {
        T element{};
        sequence_engine::takeFirst(*engine_, &element);
        return element;
    }
    T removeLast() {
        T element{};
        sequence_engine::takeLast(*engine_, &element);
        return element;
    }
    T remove(Iterator& it) {
        T element{};
        sequence_engine::takeCurrent(*engine_, it, &element);
        return element;
    }
    // Removes up to n elements from the front or the back; returns how many.
    int removeFromFront(int n) { return sequence_engine::removeFromFront(*engine_, n); }
    int removeFromBack(int n) { return sequence_engine::removeFromBack(*engine_, n); }

    void rotate(int n) { sequence_engine::rotate(*engine_, n); }
    void rotateBack(int n) { sequence_engine::rotateBack(*engine_, n); }

    // Range-for over any kind; the concrete kinds offer cheaper ones of their own.
    class Cursor {
    public:
        Cursor(Sequence* sequence, bool atEnd) : sequence_(sequence) {
            element_ = atEnd ? nullptr : sequence->forward(it_);
        }
        T& operator*() const { return *element_; }
        Cursor& operator++() {
            element_ = sequence_->next(it_);
            return *this;
        }
        bool operator!=(const Cursor& other) const { return element_ != other.element_; }

    private:
        Sequence* sequence_;
        Iterator it_;
        T* element_;
    };
    Cursor begin() { return Cursor(this, false); }
    Cursor end() { return Cursor(this, true); }

protected:
    // `engine` belongs to the derived container; a copy or an assignment keeps
    // each container's own.
    explicit Sequence(SequenceEngine& engine) : engine_(&engine) {}
    Sequence(const Sequence&) = delete;
    Sequence& operator=(const Sequence&) { return *this; }
    ~Sequence() = default;

private:
    SequenceEngine* engine_;
};
