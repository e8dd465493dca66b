#pragma once
// A byte stream over a String buffer, read and written through the same
// interfaces as a file (the decoded settings block is read through one).

#include "core/Stream.h"
#include "core/String.h"

class MemoryStream : public BlockReader, public BlockWriter {
public:
    MemoryStream() = default;
    explicit MemoryStream(String buffer) : buffer_(static_cast<String&&>(buffer)) {}

    // A read that runs past the end copies what there is, fills the rest of
    // buffer with zero bytes, moves to the end and returns false.
    bool readBlock(void* buffer, int32_t size) override;
    int32_t tell() override { return position_; }
    bool hasMore() override { return position_ < size(); }
    // Overwrites at the position and extends the buffer as needed.
    bool writeBlock(const void* buffer, int32_t size) override;

    // False, with the position unchanged, unless 0 <= position <= size().
    bool seek(int32_t position);
    bool seekFromEnd(int32_t distance);
    // Cuts the buffer at the position.
    void truncate() { buffer_.truncate(position_); }
    // Frees the buffer; the position returns to 0.
    void release();

    int32_t size() const { return buffer_.length(); }
    const String& buffer() const { return buffer_; }

private:
    String buffer_;
    int32_t position_ = 0;
};
