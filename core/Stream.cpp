#include "core/Stream.h"

namespace {

bool readLittle(BlockReader& reader, int size, uint64_t& value) {
    unsigned char bytes[8] = {};
    const bool ok = reader.readBlock(bytes, size);
    value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | bytes[i];
    return ok;
}

bool writeLittle(BlockWriter& writer, int size, uint64_t value) {
    unsigned char bytes[8];
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<unsigned char>(value >> (8 * i));
    return writer.writeBlock(bytes, size);
}

template <class T> bool readTyped(BlockReader& reader, T& value) {
    uint64_t raw = 0;
    const bool ok = readLittle(reader, int(sizeof(T)), raw);
    value = static_cast<T>(raw);
    return ok;
}

} // namespace

bool readUInt8(BlockReader& reader, uint8_t& value) {
    return readTyped(reader, value);
}
bool readUInt16(BlockReader& reader, uint16_t& value) {
    return readTyped(reader, value);
}
bool readInt16(BlockReader& reader, int16_t& value) {
    return readTyped(reader, value);
}
bool readUInt32(BlockReader& reader, uint32_t& value) {
    return readTyped(reader, value);
}
bool readInt32(BlockReader& reader, int32_t& value) {
    return readTyped(reader, value);
}
bool readUInt64(BlockReader& reader, uint64_t& value) {
    return readTyped(reader, value);
}
bool readInt64(BlockReader& reader, int64_t& value) {
    return readTyped(reader, value);
}

bool writeUInt8(BlockWriter& writer, uint8_t value) {
    return writeLittle(writer, 1, value);
}
bool writeUInt16(BlockWriter& writer, uint16_t value) {
    return writeLittle(writer, 2, value);
}
bool writeUInt32(BlockWriter& writer, uint32_t value) {
    return writeLittle(writer, 4, value);
}
bool writeUInt64(BlockWriter& writer, uint64_t value) {
    return writeLittle(writer, 8, value);
}
