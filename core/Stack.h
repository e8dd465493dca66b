#pragma once
// A sequence used from one end: saved file positions, open registry keys.
// Popping an empty stack is a fatal error.

#include "core/Array.h"
#include "core/Fatal.h"
#include "core/TypeName.h"

#include <utility>

template <class T> class Stack;
template <class T> struct TypeName<Stack<T>> {
    static const char* name() {
        return composeTypeName<Stack<T>>({"Stack<", TypeName<T>::name(), ">"});
    }
};

template <class T> class Stack {
public:
    int count() const { return elements_.count(); }
    bool isEmpty() const { return elements_.isEmpty(); }

    T& push(const T& value) { return elements_.append(value); }
    T& push(T&& value) { return elements_.append(std::move(value)); }
    // The last element pushed; on an empty stack the checked index ends the program.
    T& top() { return elements_.at(count() - 1); }
    const T& top() const { return elements_.at(count() - 1); }
    T pop() {
        if (isEmpty())
            fatalErrorf("Stack<%s>::pop", TypeName<T>::name());
        return elements_.removeLast();
    }
    void clear() { elements_.clear(); }

    // Bottom to top.
    T* begin() { return elements_.begin(); }
    T* end() { return elements_.end(); }
    const T* begin() const { return elements_.begin(); }
    const T* end() const { return elements_.end(); }

private:
    Array<T> elements_;
};
