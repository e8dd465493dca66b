#include "installer/ArchiveSettingsBlock.h"

#include "core/ByteBuffer.h"
#include "format/CompressedBlock.h"

void unscrambleBlock(String& buffer, uint32_t key) {
    xorWithKey(buffer, key);
}

CorruptionCode loadSettingsBlock(const uint8_t* block, int32_t size, uint32_t key,
                                 String& decoded) {
    decoded.clear();
    if (!block || size <= 0 || !decoded.assignBytesNoFail(block, size))
        return BadSettingsBlock;
    unscrambleBlock(decoded, key);
    if (!decompress(decoded)) {
        decoded.clear();
        return BadSettingsBlock;
    }
    return NotCorrupt;
}

CorruptionCode checkSettingsChecksum(const String& decoded, uint32_t expected) {
    return checksum(decoded) == expected ? NotCorrupt : SettingsChecksumMismatch;
}
