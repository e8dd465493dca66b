#pragma once
// The settings block: scrambled with its own checksum as the key, then a
// compressed block. The settings reader reads the decoded bytes.

#include "core/String.h"
#include "format/CorruptionCode.h"

#include <cstdint>

// XORs the buffer with the key (its own inverse).
void unscrambleBlock(String& buffer, uint32_t key);

// Copies `size` bytes at `block`, unscrambles them with `key` and decodes
// them into `decoded`. 47 when they are not a valid compressed block or the
// declared size cannot be had.
CorruptionCode loadSettingsBlock(const uint8_t* block, int32_t size, uint32_t key, String& decoded);

// 25 unless the decoded settings' checksum is `expected`.
CorruptionCode checkSettingsChecksum(const String& decoded, uint32_t expected);
