#include "core/MemoryStream.h"

#include <cstring>

bool MemoryStream::readBlock(void* buffer, int32_t size) {
    if (size < 0)
        return false;
    const int32_t available = size < this->size() - position_ ? size : this->size() - position_;
    if (available > 0)
        std::memcpy(buffer, buffer_.c_str() + position_, size_t(available));
    if (available < size)
        std::memset(static_cast<char*>(buffer) + available, 0, size_t(size - available));
    position_ += available;
    return available == size;
}

bool MemoryStream::writeBlock(const void* buffer, int32_t size) {
    if (size < 0 || int64_t(position_) + size > INT32_MAX)
        return false;
    if (size == 0)
        return true;
    const char* source = static_cast<const char*>(buffer);
    // Bytes taken from this very buffer must survive its reallocation.
    const bool ownBytes = buffer_.length() > 0 && source >= buffer_.c_str() &&
                          source < buffer_.c_str() + buffer_.length();
    const String copy = ownBytes ? String(source, size) : String();
    if (ownBytes)
        source = copy.c_str();
    if (position_ + size > buffer_.length() && !buffer_.setLengthNoFail(position_ + size))
        return false;
    std::memcpy(buffer_.writablePointer(position_), source, size_t(size));
    position_ += size;
    return true;
}

bool MemoryStream::seek(int32_t position) {
    if (position < 0 || position > size())
        return false;
    position_ = position;
    return true;
}

bool MemoryStream::seekFromEnd(int32_t distance) {
    const int64_t position = int64_t(size()) + distance;
    return position >= 0 && position <= size() && seek(int32_t(position));
}

void MemoryStream::release() {
    buffer_.clear();
    position_ = 0;
}
