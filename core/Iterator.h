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

// The kind-blind engine behind every Sequence, over untyped elements. An
// Array's engine is its storage, one implementation for every element type;
// a List or HashTable is its own.
class SequenceCore {
public:
    virtual ~SequenceCore() = default;

    virtual int count() const = 0;

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
    virtual void appendAllOf(SequenceCore& other) = 0;
    virtual void prependAllOf(SequenceCore& other) = 0;

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

// The typed face of a SequenceCore. It holds no code of its own per element
// type beyond casts, so every Array shares one engine.
template <class T> class Sequence {
public:
    int count() const { return engine_->count(); }
    bool isEmpty() const { return count() == 0; }

    // Iteration: each call returns the element reached, or null past the end.
    T* forward(Iterator& it) { return static_cast<T*>(engine_->walkForward(it)); }
    T* next(Iterator& it) { return static_cast<T*>(engine_->walkNext(it)); }
    T* backward(Iterator& it) { return static_cast<T*>(engine_->walkBackward(it)); }
    T* previous(Iterator& it) { return static_cast<T*>(engine_->walkPrevious(it)); }

    // Null when the sequence is empty.
    T* first() { return static_cast<T*>(engine_->firstElement()); }
    T* last() { return static_cast<T*>(engine_->lastElement()); }
    T* randomElement() { return static_cast<T*>(engine_->anyElement()); }

    T& append(const T& value) { return *static_cast<T*>(engine_->appendCopy(&value)); }
    T& append(T&& value) { return *static_cast<T*>(engine_->appendMoved(&value)); }
    T& appendNew() { return *static_cast<T*>(engine_->appendDefault()); }
    T& prepend(const T& value) { return *static_cast<T*>(engine_->prependCopy(&value)); }
    T& prepend(T&& value) { return *static_cast<T*>(engine_->prependMoved(&value)); }
    // Both take a snapshot of `other`'s count, so a sequence can be doubled
    // with its own elements.
    void appendAll(const Sequence& other) { engine_->appendAllOf(*other.engine_); }
    void prependAll(const Sequence& other) { engine_->prependAllOf(*other.engine_); }

    void clear() { engine_->clear(); }
    // Each gives the element removed, or a default value when there was none.
    T removeFirst() {
        T element{};
        engine_->takeFirst(&element);
        return element;
    }
    T removeLast() {
        T element{};
        engine_->takeLast(&element);
        return element;
    }
    T remove(Iterator& it) {
        T element{};
        engine_->takeCurrent(it, &element);
        return element;
    }
    // Removes up to n elements from the front or the back; returns how many.
    int removeFromFront(int n) { return engine_->removeFromFront(n); }
    int removeFromBack(int n) { return engine_->removeFromBack(n); }

    void rotate(int n) { engine_->rotate(n); }
    void rotateBack(int n) { engine_->rotateBack(n); }

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
    explicit Sequence(SequenceCore& engine) : engine_(&engine) {}
    Sequence(const Sequence&) = delete;
    Sequence& operator=(const Sequence&) { return *this; }
    ~Sequence() = default;

private:
    SequenceCore* engine_;
};
