#include "platform/Attributes.h"

#include "platform/FileFinder.h"

#include <windows.h>

int32_t attributes(const String& path) {
    if (path.isEmpty())
        return -1;
    DWORD bits = GetFileAttributesA(path.c_str());
    return bits == INVALID_FILE_ATTRIBUTES ? -1 : static_cast<int32_t>(bits);
}

bool isReadOnly(const String& path) {
    int32_t bits = attributes(path);
    return bits != -1 && (bits & kAttributeReadOnly);
}

bool setReadOnly(const String& path, bool on) {
    return setAttributeBits(path, on ? kAttributeReadOnly : 0, kAttributeReadOnly);
}

bool clearAttributes(const String& path, uint32_t bits) {
    return setAttributeBits(path, 0, bits);
}

bool setAttributes(const String& path, uint32_t value) {
    if (path.isBlank())
        return false;
    return setAttributeBits(path, value, 0xFFFFFFFFu);
}

bool setAttributeBits(const String& path, uint32_t value, uint32_t mask) {
    int32_t old = attributes(path);
    if (old == -1)
        return false;
    uint32_t bits = (value & mask) | (static_cast<uint32_t>(old) & ~mask);
    if (bits == static_cast<uint32_t>(old))
        return true;
    // No bits at all is spelt "normal" to the system.
    return SetFileAttributesA(path.c_str(), bits ? bits : FILE_ATTRIBUTE_NORMAL);
}
