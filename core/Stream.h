#pragma once
// The two small interfaces through which files and memory buffers are read
// and written, the little-endian typed values on top of them, and the four
// forms in which a String travels through a stream.

#include <cstdint>

class String;

class BlockReader {
public:
    virtual ~BlockReader() = default;
    // Reads exactly size bytes into buffer; false when they were not all there.
    virtual bool readBlock(void* buffer, int32_t size) = 0;
    virtual int32_t tell() = 0;
    virtual bool hasMore() = 0;
};

class BlockWriter {
public:
    virtual ~BlockWriter() = default;
    virtual bool writeBlock(const void* buffer, int32_t size) = 0;
};

// Little-endian values of 1, 2, 4 and 8 bytes. A failed read still stores
// what the reader delivered.
bool readUInt8(BlockReader& reader, uint8_t& value);
bool readUInt16(BlockReader& reader, uint16_t& value);
bool readInt16(BlockReader& reader, int16_t& value);
bool readUInt32(BlockReader& reader, uint32_t& value);
bool readInt32(BlockReader& reader, int32_t& value);
bool readUInt64(BlockReader& reader, uint64_t& value);
bool readInt64(BlockReader& reader, int64_t& value);

bool writeUInt8(BlockWriter& writer, uint8_t value);
bool writeUInt16(BlockWriter& writer, uint16_t value);
bool writeUInt32(BlockWriter& writer, uint32_t value);
bool writeUInt64(BlockWriter& writer, uint64_t value);

enum class StringForm {
    ZeroTerminated, // the bytes up to the first zero byte, then a zero byte
    Length8,        // an 8-bit length, then the bytes; cut to 255 on writing
    Length16,       // a 16-bit length, then the bytes; cut to 65535 on writing
    Length32,       // a 32-bit length, then the bytes; a length <= 0 does not read
};

// False, with out empty, when the prefix or the body cannot be read. A
// zero-terminated string fails only when not even its first byte is there;
// a 32-bit length of 0 (an empty string so written) also reads as a failure.
bool readString(BlockReader& reader, String& out, StringForm form);
bool writeString(BlockWriter& writer, const String& text, StringForm form);
