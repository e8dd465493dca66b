// Every allocation of the installer that fails ends in the out-of-memory
// report instead of returning null or throwing.
#include "core/OutOfMemory.h"

#include <cstdlib>
#include <new>

namespace {
void* allocateOrDie(std::size_t size) {
    void* p = std::malloc(size ? size : 1);
    if (!p)
        outOfMemory(static_cast<unsigned>(size));
    return p;
}
} // namespace

void* operator new(std::size_t size) {
    return allocateOrDie(size);
}
void* operator new[](std::size_t size) {
    return allocateOrDie(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return allocateOrDie(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return allocateOrDie(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
