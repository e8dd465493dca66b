// The C allocator on the process heap, which every Windows has.
#include <windows.h>

#include <cstddef>

extern "C" {

void* malloc(size_t size) {
    return HeapAlloc(GetProcessHeap(), 0, size);
}

void* calloc(size_t count, size_t size) {
    if (size && count > static_cast<size_t>(-1) / size)
        return nullptr;
    return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, count * size);
}

void* realloc(void* block, size_t size) {
    if (!block)
        return malloc(size);
    if (!size) {
        HeapFree(GetProcessHeap(), 0, block);
        return nullptr;
    }
    return HeapReAlloc(GetProcessHeap(), 0, block, size);
}

void free(void* block) {
    if (block)
        HeapFree(GetProcessHeap(), 0, block);
}

} // extern "C"
