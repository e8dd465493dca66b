#include "core/ElementOps.h"

#include <cstdint>
#include <cstring>
#include <new>

namespace {

std::size_t bytes(const ElementOps& ops, int n) {
    return static_cast<std::size_t>(n) * static_cast<std::size_t>(ops.size);
}

} // namespace

void constructElements(const ElementOps& ops, void* at, int n) {
    if (n <= 0)
        return;
    if (!ops.construct) {
        std::memset(at, 0, bytes(ops, n));
        return;
    }
    for (char* p = static_cast<char*>(at); n > 0; --n, p += ops.size)
        ops.construct(p);
}

void copyElements(const ElementOps& ops, void* to, const void* from, int n) {
    if (n <= 0)
        return;
    if (!ops.copy) {
        std::memcpy(to, from, bytes(ops, n));
        return;
    }
    const char* source = static_cast<const char*>(from);
    for (char* p = static_cast<char*>(to); n > 0; --n, p += ops.size, source += ops.size)
        ops.copy(p, source);
}

void relocateElements(const ElementOps& ops, void* to, void* from, int n) {
    if (n <= 0 || to == from)
        return;
    if (!ops.relocate) {
        std::memmove(to, from, bytes(ops, n));
        return;
    }
    char* target = static_cast<char*>(to);
    char* source = static_cast<char*>(from);
    // Front to back when moving down, back to front when moving up, so that an
    // overlapping source is taken before it is overwritten.
    const bool up =
        reinterpret_cast<std::uintptr_t>(target) > reinterpret_cast<std::uintptr_t>(source);
    for (int i = 0; i < n; ++i) {
        const std::size_t offset = bytes(ops, up ? n - 1 - i : i);
        ops.relocate(target + offset, source + offset);
    }
}

void destroyElements(const ElementOps& ops, void* at, int n) {
    if (!ops.destroy)
        return;
    for (char* p = static_cast<char*>(at); n > 0; --n, p += ops.size)
        ops.destroy(p);
}

void swapElements(const ElementOps& ops, void* a, void* b, void* scratch) {
    relocateElements(ops, scratch, a, 1);
    relocateElements(ops, a, b, 1);
    relocateElements(ops, b, scratch, 1);
}

ElementScratch::ElementScratch(const ElementOps& ops) {
    if (static_cast<std::size_t>(ops.size) > sizeof local_)
        heap_ = ::operator new(static_cast<std::size_t>(ops.size));
}

ElementScratch::~ElementScratch() {
    ::operator delete(heap_);
}
