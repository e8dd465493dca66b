// Block copies and fills for varnoke.exe, with the i386 string instructions:
// a double word per step where a byte loop would take four, which is what the
// installer's large copies (stored data, literal runs, whole files) need, on a
// 486 as on anything later. Inline so that memcpy and its kin are one call.
#pragma once

#include <cstddef>

namespace runtime {

// Forward, a double word at a time and the remaining bytes singly. The
// blocks may overlap only when `to` lies at or before `from`.
inline void copyBytes(void* to, const void* from, size_t count) {
    size_t words = count >> 2;
    size_t rest = count & 3;
    asm volatile("rep movsl\n\t"
                 "movl %%edx, %%ecx\n\t"
                 "rep movsb"
                 : "+D"(to), "+S"(from), "+c"(words), "+d"(rest)
                 :
                 : "memory");
}

// Backward, from the last byte, for a target that overlaps the source's end.
// The direction flag is set only for the copy: the system and the compiler
// expect it clear.
inline void copyBytesBackward(void* to, const void* from, size_t count) {
    if (!count)
        return;
    auto* last = static_cast<unsigned char*>(to) + count - 1;
    const auto* source = static_cast<const unsigned char*>(from) + count - 1;
    asm volatile("std\n\t"
                 "rep movsb\n\t"
                 "cld"
                 : "+D"(last), "+S"(source), "+c"(count)
                 :
                 : "memory");
}

inline void fillBytes(void* to, unsigned char value, size_t count) {
    size_t words = count >> 2;
    size_t rest = count & 3;
    unsigned pattern = value * 0x01010101u;
    asm volatile("rep stosl\n\t"
                 "movl %%edx, %%ecx\n\t"
                 "rep stosb"
                 : "+D"(to), "+c"(words), "+d"(rest)
                 : "a"(pattern)
                 : "memory");
}

} // namespace runtime
