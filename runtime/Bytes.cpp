// The memory and string functions the installer and the compiler call.
// Block copies and fills use the string instructions (runtime/Bytes.h); the
// rest are plain loops: the installer's strings are short, and kernel32's own
// (lstrlenA and the like) would add a call per byte where they differ.
#include "runtime/Bytes.h"

#include <cstddef>

extern "C" {

void* memcpy(void* to, const void* from, size_t count) {
    runtime::copyBytes(to, from, count);
    return to;
}

void* memmove(void* to, const void* from, size_t count) {
    auto* out = static_cast<unsigned char*>(to);
    const auto* in = static_cast<const unsigned char*>(from);
    if (out <= in || out >= in + count)
        runtime::copyBytes(to, from, count);
    else
        runtime::copyBytesBackward(to, from, count);
    return to;
}

void* memset(void* to, int value, size_t count) {
    runtime::fillBytes(to, static_cast<unsigned char>(value), count);
    return to;
}

int memcmp(const void* a, const void* b, size_t count) {
    const auto* x = static_cast<const unsigned char*>(a);
    const auto* y = static_cast<const unsigned char*>(b);
    for (; count--; ++x, ++y)
        if (*x != *y)
            return *x < *y ? -1 : 1;
    return 0;
}

void* memchr(const void* block, int value, size_t count) {
    const auto* p = static_cast<const unsigned char*>(block);
    for (; count--; ++p)
        if (*p == static_cast<unsigned char>(value))
            return const_cast<unsigned char*>(p);
    return nullptr;
}

size_t strlen(const char* text) {
    const char* end = text;
    while (*end)
        ++end;
    return static_cast<size_t>(end - text);
}

int strcmp(const char* a, const char* b) {
    while (*a && *a == *b)
        ++a, ++b;
    const auto x = static_cast<unsigned char>(*a);
    const auto y = static_cast<unsigned char>(*b);
    return x < y ? -1 : x > y ? 1 : 0;
}

int strncmp(const char* a, const char* b, size_t count) {
    for (; count; --count, ++a, ++b) {
        const auto x = static_cast<unsigned char>(*a);
        const auto y = static_cast<unsigned char>(*b);
        if (x != y)
            return x < y ? -1 : 1;
        if (!x)
            break;
    }
    return 0;
}

char* strchr(const char* text, int c) {
    for (;; ++text) {
        if (*text == static_cast<char>(c))
            return const_cast<char*>(text);
        if (!*text)
            return nullptr;
    }
}

char* strpbrk(const char* text, const char* set) {
    for (; *text; ++text)
        for (const char* s = set; *s; ++s)
            if (*text == *s)
                return const_cast<char*>(text);
    return nullptr;
}

} // extern "C"
