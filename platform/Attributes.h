#pragma once
// File attributes. Every change writes only when the value differs, and
// reports true when nothing needed changing.

#include "core/String.h"

#include <cstdint>

// The attribute bits, or -1 when they cannot be read.
int32_t attributes(const String& path);
// False too when the attributes cannot be read.
bool isReadOnly(const String& path);
bool setReadOnly(const String& path, bool on);
bool clearAttributes(const String& path, uint32_t bits);
// False for a blank path.
bool setAttributes(const String& path, uint32_t value);
// new = (value AND mask) OR (old AND NOT mask).
bool setAttributeBits(const String& path, uint32_t value, uint32_t mask);
