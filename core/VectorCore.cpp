#include "core/VectorCore.h"

#include "core/Fatal.h"
#include "core/OutOfMemory.h"

#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>

void indexOutOfRange(const char* typeName, int index, int count) {
    fatalErrorf("Vector<%s>[%d]\nmax_index = %d", typeName, index, count - 1);
}

VectorCore::VectorCore(const VectorCore& other) : ops_(other.ops_) {
    reallocate(other.count_);
    copyElements(*ops_, elements_, other.elements_, other.count_);
    count_ = other.count_;
}

VectorCore::VectorCore(VectorCore&& other) noexcept
    : elements_(other.elements_), count_(other.count_), capacity_(other.capacity_),
      ops_(other.ops_) {
    other.elements_ = nullptr;
    other.count_ = other.capacity_ = 0;
}

VectorCore& VectorCore::operator=(const VectorCore& other) {
    if (this != &other) {
        VectorCore copy(other);
        swapWith(copy);
    }
    return *this;
}

VectorCore& VectorCore::operator=(VectorCore&& other) noexcept {
    VectorCore taken(std::move(other));
    swapWith(taken);
    return *this;
}

void* VectorCore::at(int index, TypeNameFunction typeName) const {
    if (index < 0 || index >= count_)
        indexOutOfRange(typeName(), index, count_);
    return elementAt(index);
}

void* VectorCore::tryAt(int index) const {
    return index < 0 || index >= count_ ? nullptr : elementAt(index);
}

void VectorCore::resize(int n) {
    if (n <= 0) {
        clear();
        return;
    }
    if (n > capacity_)
        reallocate(n);
    if (n > count_) {
        constructElements(*ops_, elementAt(count_), n - count_);
        count_ = n;
    } else if (n < count_) {
        erase(n, count_ - n);
    }
}

void* VectorCore::openGap(int index, const void** source) {
    // Where the source lies in this storage, to find it again after the move.
    const std::uintptr_t from = source ? reinterpret_cast<std::uintptr_t>(*source) : 0;
    const std::uintptr_t start = reinterpret_cast<std::uintptr_t>(elements_);
    const bool inside =
        elements_ && from >= start && from < reinterpret_cast<std::uintptr_t>(elementAt(count_));
    const std::ptrdiff_t offset = inside ? static_cast<std::ptrdiff_t>(from - start) : 0;
    if (count_ == capacity_)
        reallocate(count_ < 4 ? 4 : count_ + count_ / 2);
    char* slot = elementAt(index);
    relocateElements(*ops_, slot + ops_->size, slot, count_ - index);
    if (inside)
        *source = elements_ + offset + (elements_ + offset >= slot ? ops_->size : 0);
    return slot;
}

void* VectorCore::insertCopy(int index, const void* value) {
    void* slot = openGap(index, &value);
    copyElements(*ops_, slot, value, 1);
    ++count_;
    return slot;
}

void* VectorCore::insertMoved(int index, void* value) {
    const void* source = value;
    void* slot = openGap(index, &source);
    void* from = const_cast<void*>(source);
    relocateElements(*ops_, slot, from, 1);
    ++count_;
    // What was moved from stays a live object, as after a move.
    if (ops_->relocate || ops_->destroy)
        constructElements(*ops_, from, 1);
    return slot;
}

void* VectorCore::insertNew(int index) {
    void* slot = openGap(index, nullptr);
    constructElements(*ops_, slot, 1);
    ++count_;
    return slot;
}

void VectorCore::checkInsertIndex(int index, TypeNameFunction typeName) const {
    if (index < 0 || index > count_)
        indexOutOfRange(typeName(), index, count_);
}

void VectorCore::erase(int first, int n) {
    destroyElements(*ops_, elementAt(first), n);
    closeGap(first, n);
}

bool VectorCore::takeOut(int index, void* into) {
    if (index < 0 || index >= count_)
        return false;
    destroyElements(*ops_, into, 1);
    relocateElements(*ops_, into, elementAt(index), 1);
    closeGap(index, 1);
    return true;
}

void VectorCore::closeGap(int first, int n) {
    relocateElements(*ops_, elementAt(first), elementAt(first + n), count_ - first - n);
    count_ -= n;
    if (count_ == 0)
        clear();
    else if (capacity_ > 8 && count_ <= capacity_ / 4)
        reallocate(count_ * 2);
}

void VectorCore::clear() {
    destroyElements(*ops_, elements_, count_);
    ::operator delete(elements_);
    elements_ = nullptr;
    count_ = capacity_ = 0;
}

void VectorCore::swapWith(VectorCore& other) noexcept {
    std::swap(elements_, other.elements_);
    std::swap(count_, other.count_);
    std::swap(capacity_, other.capacity_);
    std::swap(ops_, other.ops_);
}

void VectorCore::reallocate(int capacity) {
    if (capacity == 0)
        return;
    const std::size_t size = static_cast<std::size_t>(ops_->size);
    if (static_cast<std::size_t>(capacity) > static_cast<std::size_t>(-1) / size)
        outOfMemory(static_cast<unsigned>(-1));
    char* moved = static_cast<char*>(::operator new(static_cast<std::size_t>(capacity) * size));
    relocateElements(*ops_, moved, elements_, count_);
    ::operator delete(elements_);
    elements_ = moved;
    capacity_ = capacity;
}
