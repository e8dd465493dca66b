#pragma once
// SHA-256 of a byte run, as lower-case hexadecimal. The uninstall entry keeps
// the digest of Uninstall.DAT, so that a file changed since cannot pass for
// the installation's own: a weaker sum could be matched by a forged file.

#include "core/String.h"

#include <cstdint>

// 64 hexadecimal digits.
String sha256Hex(const uint8_t* bytes, int64_t length);
inline String sha256Hex(const String& text) {
    return sha256Hex(reinterpret_cast<const uint8_t*>(text.c_str()), text.length());
}
