#include "installer/ArchiveCursor.h"

#include <cstring>

ArchiveCursor& archiveCursor() {
    static ArchiveCursor cursor;
    return cursor;
}

void ArchiveCursor::set(const uint8_t* bytes, int64_t length) {
    bytes_ = bytes;
    length_ = bytes && length > 0 ? length : 0;
    position_ = 0;
}

bool ArchiveCursor::readInt32(int32_t& value) {
    value = 0;
    if (remaining() < 4) {
        position_ = length_;
        return false;
    }
    const uint8_t* p = current();
    value = static_cast<int32_t>(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
                                 uint32_t(p[3]) << 24);
    position_ += 4;
    return true;
}

bool ArchiveCursor::readString(String& text) {
    text.clear();
    const int64_t left = remaining();
    const void* end = left > 0 ? std::memchr(current(), 0, static_cast<size_t>(left)) : nullptr;
    if (!end) {
        text.assignBytes(current(), static_cast<int>(left > 0x7FFFFFFF ? 0x7FFFFFFF : left));
        position_ = length_;
        return false;
    }
    const auto count = static_cast<const uint8_t*>(end) - current();
    text.assignBytes(current(), static_cast<int>(count));
    position_ += count + 1;
    return true;
}

bool ArchiveCursor::readBlock(void* out, int32_t count) {
    if (count < 0 || remaining() < count) {
        position_ = length_;
        return false;
    }
    if (count > 0)
        std::memcpy(out, current(), static_cast<size_t>(count));
    position_ += count;
    return true;
}

bool ArchiveCursor::skip(int64_t count) {
    if (count < 0 || remaining() < count) {
        position_ = length_;
        return false;
    }
    position_ += count;
    return true;
}
