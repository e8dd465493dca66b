#pragma once
// The process-wide read position in the archive's bytes: first the settings
// block after the header, later the data area's file records.

#include "core/String.h"

#include <cstdint>

class ArchiveCursor {
public:
    void set(const uint8_t* bytes, int64_t length);
    int64_t position() const { return position_; }
    int64_t remaining() const { return length_ - position_; }
    const uint8_t* current() const { return bytes_ + position_; }

    // Each read that would run past the end reads nothing, moves to the end
    // and returns false (the value then is 0, the text what there was).
    bool readInt32(int32_t& value);
    bool readString(String& text);
    bool readBlock(void* out, int32_t count);
    bool skip(int64_t count);

private:
    const uint8_t* bytes_ = nullptr;
    int64_t length_ = 0;
    int64_t position_ = 0;
};

ArchiveCursor& archiveCursor();
