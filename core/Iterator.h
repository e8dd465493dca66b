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

template <class T> class Sequence {
public:
    virtual ~Sequence() = default;

    virtual int count() const = 0;
    bool isEmpty() const { return count() == 0; }

    // Iteration: each call returns the element reached, or null past the end.
    virtual T* forward(Iterator& it) = 0;
    virtual T* next(Iterator& it) = 0;
    virtual T* backward(Iterator& it) = 0;
    virtual T* previous(Iterator& it) = 0;

    // Null when the sequence is empty.
    virtual T* first() = 0;
    virtual T* last() = 0;
    virtual T* randomElement() = 0;

    virtual T& append(const T& value) = 0;
    virtual T& append(T&& value) = 0;
    virtual T& appendNew() = 0;
    virtual T& prepend(const T& value) = 0;
    virtual T& prepend(T&& value) = 0;
    // Both take a snapshot of `other`'s count, so a sequence can be doubled
    // with its own elements.
    virtual void appendAll(const Sequence& other) {
        Sequence& source = const_cast<Sequence&>(other); // walked, never changed
        Iterator it;
        T* element = source.forward(it);
        for (int left = source.count(); left > 0 && element; --left) {
            append(*element);
            element = source.next(it);
        }
    }
    virtual void prependAll(const Sequence& other) {
        Sequence& source = const_cast<Sequence&>(other); // walked, never changed
        Iterator it;
        T* element = source.backward(it);
        for (int left = source.count(); left > 0 && element; --left) {
            prepend(*element);
            element = source.previous(it);
        }
    }

    virtual void clear() = 0;
    // Each gives the element removed, or a default value when there was none.
    virtual T removeFirst() = 0;
    virtual T removeLast() = 0;
    virtual T remove(Iterator& it) = 0;
    // Removes up to n elements from the front or the back; returns how many.
    virtual int removeFromFront(int n) = 0;
    virtual int removeFromBack(int n) = 0;

    virtual void rotate(int n) = 0;
    virtual void rotateBack(int n) = 0;

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
    Sequence() = default;
    Sequence(const Sequence&) = default;
    Sequence& operator=(const Sequence&) = default;
};
