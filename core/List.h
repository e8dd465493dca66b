#pragma once
// A doubly linked list: each element sits in a node of its own, so elements
// never move while others come and go. The chains of a HashTable are Lists.

#include "core/Iterator.h"
#include "core/Random.h"
#include "core/Vector.h"

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <type_traits>
#include <utility>

template <class T> class List;
template <class T> struct TypeName<List<T>> {
    static const char* name() {
        return composeTypeName<List<T>>({"List<", TypeName<T>::name(), ">"});
    }
};

template <class T> class List : private SequenceCore, public Sequence<T> {
    struct Node {
        Node* next;
        Node* previous;
        T value;
    };

    template <class Value> class Position {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::remove_const_t<Value>;
        using difference_type = std::ptrdiff_t;
        using pointer = Value*;
        using reference = Value&;

        explicit Position(Node* node) : node_(node) {}
        Value& operator*() const { return node_->value; }
        Value* operator->() const { return &node_->value; }
        Position& operator++() {
            node_ = node_->next;
            return *this;
        }
        Position operator++(int) {
            Position before = *this;
            node_ = node_->next;
            return before;
        }
        bool operator!=(const Position& other) const { return node_ != other.node_; }
        bool operator==(const Position& other) const { return node_ == other.node_; }

    private:
        Node* node_;
    };

public:
    List() : Sequence<T>(engine()) {}
    List(std::initializer_list<T> values) : Sequence<T>(engine()) {
        for (const T& value : values)
            append(value);
    }
    List(const List& other) : SequenceCore(), Sequence<T>(engine()) {
        for (const T& value : other)
            append(value);
    }
    List(List&& other) noexcept : SequenceCore(), Sequence<T>(engine()) { swapWith(other); }
    List& operator=(const List& other) {
        if (this != &other) {
            List copy(other);
            swapWith(copy);
        }
        return *this;
    }
    List& operator=(List&& other) noexcept {
        List taken(std::move(other));
        swapWith(taken);
        return *this;
    }
    ~List() override { clear(); }

    int count() const override { return count_; }
    bool isEmpty() const { return count_ == 0; }

    Position<T> begin() { return Position<T>(head_); }
    Position<T> end() { return Position<T>(nullptr); }
    Position<const T> begin() const { return Position<const T>(head_); }
    Position<const T> end() const { return Position<const T>(nullptr); }

    T* forward(Iterator& it) { return reach(it, head_); }
    T* next(Iterator& it) { return reach(it, static_cast<Node*>(it.nextNode)); }
    T* backward(Iterator& it) { return reach(it, tail_); }
    T* previous(Iterator& it) { return reach(it, static_cast<Node*>(it.previousNode)); }

    T* first() { return head_ ? &head_->value : nullptr; }
    T* last() { return tail_ ? &tail_->value : nullptr; }
    T* randomElement() { return tryAt(randomIndex(count_)); }

    // Ends the program when `index` is out of range; tryAt gives null instead.
    T& at(int index) {
        if (index < 0 || index >= count_)
            indexOutOfRange<T>(index, count_);
        return nodeAt(index)->value;
    }
    const T& at(int index) const { return const_cast<List*>(this)->at(index); }
    T* tryAt(int index) { return index < 0 || index >= count_ ? nullptr : &nodeAt(index)->value; }
    const T* tryAt(int index) const { return const_cast<List*>(this)->tryAt(index); }

    T& append(const T& value) { return link(new Node{nullptr, nullptr, value}, nullptr); }
    T& append(T&& value) { return link(new Node{nullptr, nullptr, std::move(value)}, nullptr); }
    T& appendNew() { return link(new Node{nullptr, nullptr, T()}, nullptr); }
    T& prepend(const T& value) { return link(new Node{nullptr, nullptr, value}, head_); }
    T& prepend(T&& value) { return link(new Node{nullptr, nullptr, std::move(value)}, head_); }
    // `index` may be 0 to count; anything else ends the program.
    T& insertAt(int index, T value) {
        if (index < 0 || index > count_)
            indexOutOfRange<T>(index, count_);
        Node* before = index == count_ ? nullptr : nodeAt(index);
        return link(new Node{nullptr, nullptr, std::move(value)}, before);
    }

    void clear() override {
        while (head_)
            destroy(head_);
    }
    // Out of range gives a default value and changes nothing.
    T removeAt(int index) { return index < 0 || index >= count_ ? T() : take(nodeAt(index)); }
    T removeFirst() { return head_ ? take(head_) : T(); }
    T removeLast() { return tail_ ? take(tail_) : T(); }
    T remove(Iterator& it) {
        Node* node = static_cast<Node*>(it.node);
        it.node = nullptr;
        return node ? take(node) : T();
    }
    // `first` is clamped to 0 and `last` to the last index; false, with nothing
    // removed, when the range is then empty.
    bool removeRange(int first, int last) {
        first = std::max(first, 0);
        last = std::min(last, count_ - 1);
        if (last < first)
            return false;
        Node* node = nodeAt(first);
        for (int left = last - first + 1; left > 0; --left) {
            Node* following = node->next;
            destroy(node);
            node = following;
        }
        return true;
    }
    int removeFromFront(int n) override {
        n = std::clamp(n, 0, count_);
        for (int i = 0; i < n; ++i)
            destroy(head_);
        return n;
    }
    int removeFromBack(int n) override {
        n = std::clamp(n, 0, count_);
        for (int i = 0; i < n; ++i)
            destroy(tail_);
        return n;
    }

    // Elements beyond the old count are default-constructed.
    void resize(int n) {
        removeFromBack(count_ - std::max(n, 0));
        while (count_ < n)
            appendNew();
    }

    // False when either index is out of range or both are the same.
    bool swap(int i, int j) {
        if (!tryAt(i) || !tryAt(j) || i == j)
            return false;
        std::swap(nodeAt(i)->value, nodeAt(j)->value);
        return true;
    }
    // Takes the element at `from` out and puts it at `to`, shifting the ones
    // between; false, like swap, when nothing moves.
    bool move(int from, int to) {
        if (!tryAt(from) || !tryAt(to) || from == to)
            return false;
        Node* node = nodeAt(from);
        unlink(node);
        link(node, to == count_ ? nullptr : nodeAt(to));
        return true;
    }

    // rotate moves the first n elements to the back, rotateBack the last n to
    // the front; n is taken modulo the count, and a negative n turns the other way.
    void rotate(int n) override {
        if (count_ >= 2)
            rotateBy(n % count_);
    }
    void rotateBack(int n) override {
        if (count_ >= 2)
            rotateBy(-(n % count_));
    }

    // compare(const T*, const T*) returns a negative, zero or positive number.
    // The nodes are relinked; no element is copied.
    template <class Compare> void sort(Compare compare) {
        if (count_ < 2)
            return;
        Vector<Node*> nodes;
        nodes.resize(count_);
        Node* node = head_;
        for (Node*& slot : nodes) {
            slot = node;
            node = node->next;
        }
        quickSort(nodes.begin(), count_, [&compare](Node* a, Node* b) {
            return compare(static_cast<const T*>(&a->value), static_cast<const T*>(&b->value));
        });
        head_ = tail_ = nullptr;
        count_ = 0;
        for (Node* sorted : nodes)
            link(sorted, nullptr);
    }

private:
    SequenceCore& engine() { return *this; }

    void* walkForward(Iterator& it) override { return forward(it); }
    void* walkNext(Iterator& it) override { return next(it); }
    void* walkBackward(Iterator& it) override { return backward(it); }
    void* walkPrevious(Iterator& it) override { return previous(it); }
    void* firstElement() override { return first(); }
    void* lastElement() override { return last(); }
    void* anyElement() override { return randomElement(); }
    void* appendCopy(const void* value) override { return &append(*static_cast<const T*>(value)); }
    void* appendMoved(void* value) override { return &append(std::move(*static_cast<T*>(value))); }
    void* appendDefault() override { return &appendNew(); }
    void* prependCopy(const void* value) override {
        return &prepend(*static_cast<const T*>(value));
    }
    void* prependMoved(void* value) override {
        return &prepend(std::move(*static_cast<T*>(value)));
    }
    void appendAllOf(SequenceEngine& other) override {
        Iterator it;
        const void* element = sequence_engine::walkForward(other, it);
        for (int left = other.count(); left > 0 && element; --left) {
            append(*static_cast<const T*>(element));
            element = sequence_engine::walkNext(other, it);
        }
    }
    void prependAllOf(SequenceEngine& other) override {
        Iterator it;
        const void* element = sequence_engine::walkBackward(other, it);
        for (int left = other.count(); left > 0 && element; --left) {
            prepend(*static_cast<const T*>(element));
            element = sequence_engine::walkPrevious(other, it);
        }
    }
    void takeFirst(void* into) override {
        if (head_)
            *static_cast<T*>(into) = take(head_);
    }
    void takeLast(void* into) override {
        if (tail_)
            *static_cast<T*>(into) = take(tail_);
    }
    void takeCurrent(Iterator& it, void* into) override {
        if (it.node)
            *static_cast<T*>(into) = remove(it);
    }

    T* reach(Iterator& it, Node* node) {
        it.node = node;
        it.nextNode = node ? node->next : nullptr;
        it.previousNode = node ? node->previous : nullptr;
        return node ? &node->value : nullptr;
    }

    Node* nodeAt(int index) const {
        Node* node;
        if (index < count_ / 2) {
            for (node = head_; index > 0; --index)
                node = node->next;
        } else {
            for (node = tail_, index = count_ - 1 - index; index > 0; --index)
                node = node->previous;
        }
        return node;
    }

    // Links `node` in before `before`, or at the back when that is null.
    T& link(Node* node, Node* before) {
        Node* after = before ? before->previous : tail_;
        node->next = before;
        node->previous = after;
        (after ? after->next : head_) = node;
        (before ? before->previous : tail_) = node;
        ++count_;
        return node->value;
    }
    void unlink(Node* node) {
        (node->previous ? node->previous->next : head_) = node->next;
        (node->next ? node->next->previous : tail_) = node->previous;
        --count_;
    }
    void destroy(Node* node) {
        unlink(node);
        delete node;
    }
    T take(Node* node) {
        T value(std::move(node->value));
        destroy(node);
        return value;
    }

    // Makes the element at `shift` (taken modulo the count) the new head.
    void rotateBy(int shift) {
        if (shift < 0)
            shift += count_;
        if (shift == 0)
            return;
        Node* newHead = nodeAt(shift);
        tail_->next = head_;
        head_->previous = tail_;
        tail_ = newHead->previous;
        tail_->next = nullptr;
        newHead->previous = nullptr;
        head_ = newHead;
    }

    void swapWith(List& other) noexcept {
        std::swap(head_, other.head_);
        std::swap(tail_, other.tail_);
        std::swap(count_, other.count_);
    }

    Node* head_ = nullptr;
    Node* tail_ = nullptr;
    int count_ = 0;
};
