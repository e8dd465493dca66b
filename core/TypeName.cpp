#include "core/TypeName.h"

#include <new>

namespace type_name_detail {
namespace {

// Enough for the names a program meets; the heap beyond.
constexpr int kPooledNames = 16;
char gPool[kPooledNames][kMaxName];
int gPooled = 0;

char* room() {
    if (gPooled < kPooledNames)
        return gPool[gPooled++];
    return new (std::nothrow_t{}) char[kMaxName];
}

} // namespace

const char* joined(std::initializer_list<const char*> parts) {
    char* buffer = room();
    if (!buffer)
        return "?";
    std::size_t length = 0;
    for (const char* part : parts)
        for (; *part && length + 1 < kMaxName; ++part)
            buffer[length++] = *part;
    buffer[length] = '\0';
    return buffer;
}

const char* fromSignature(const char* signature) {
    char* buffer = room();
    if (!buffer)
        return "?";
    const char* p = signature;
    while (*p && !(p[0] == 'T' && p[1] == ' ' && p[2] == '=' && p[3] == ' '))
        ++p;
    std::size_t length = 0;
    if (*p) {
        int depth = 0;
        for (p += 4; *p && length + 1 < kMaxName; ++p) {
            if (depth == 0 && (*p == ']' || *p == ';'))
                break;
            depth += *p == '[' || *p == '<' || *p == '(';
            depth -= *p == ']' || *p == '>' || *p == ')';
            buffer[length++] = *p;
        }
    }
    buffer[length] = '\0';
    return buffer;
}

} // namespace type_name_detail
