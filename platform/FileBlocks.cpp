// Block reads and writes, positions and the saved-position stack of File.

#include "platform/File.h"

#include "platform/ErrorText.h"

#include <windows.h>

namespace {

// Large writes go out in pieces: the network redirectors of older Windows
// refuse single writes of many megabytes.
constexpr int kWritePiece = 0x100000;

HANDLE handleOf(void* handle) {
    return static_cast<HANDLE>(handle);
}

} // namespace

bool File::readBlock(void* buffer, int32_t size) {
    if (size == 0)
        return true;
    if (size < 0) {
        lastError_.format("Illegal block size %d", size);
        return false;
    }
    if (!buffer) {
        lastError_.assign("NULL block pointer");
        return false;
    }
    if (!readAllowed_) {
        lastError_.assign("Read access denied");
        return false;
    }
    if (!handle_) {
        lastError_.assign("File not open");
        return false;
    }
    DWORD got = 0;
    if (!ReadFile(handleOf(handle_), buffer, static_cast<DWORD>(size), &got, nullptr)) {
        lastError_ = lastErrorText();
        return false;
    }
    if (got != static_cast<DWORD>(size)) {
        lastError_.assign("Read past end of file");
        return false;
    }
    return true;
}

bool File::writeBlock(const void* buffer, int32_t size) {
    if (size == 0)
        return true;
    if (size < 0) {
        lastError_.assign("Illegal block size");
        return false;
    }
    if (!buffer) {
        lastError_.assign("NULL block pointer");
        return false;
    }
    if (!writeAllowed_)
        return writeDenied();
    if (!handle_)
        return false;
    const char* bytes = static_cast<const char*>(buffer);
    while (size > 0) {
        DWORD piece = static_cast<DWORD>(size < kWritePiece ? size : kWritePiece);
        DWORD written = 0;
        if (!WriteFile(handleOf(handle_), bytes, piece, &written, nullptr)) {
            lastError_ = lastErrorText();
            return false;
        }
        if (written != piece) {
            lastError_.assign("Not all data could be written");
            return false;
        }
        bytes += piece;
        size -= static_cast<int>(piece);
    }
    return true;
}

int32_t File::position() const {
    if (!handle_)
        return -1;
    return static_cast<int32_t>(SetFilePointer(handleOf(handle_), 0, nullptr, FILE_CURRENT));
}

bool File::seek(int32_t offset) {
    return handle_ && SetFilePointer(handleOf(handle_), offset, nullptr, FILE_BEGIN) !=
                          INVALID_SET_FILE_POINTER;
}

bool File::seekFromEnd(int32_t offset) {
    return handle_ &&
           SetFilePointer(handleOf(handle_), offset, nullptr, FILE_END) != INVALID_SET_FILE_POINTER;
}

int32_t File::size() const {
    if (!handle_)
        return -1;
    DWORD size = GetFileSize(handleOf(handle_), nullptr);
    return size == INVALID_FILE_SIZE ? -1 : static_cast<int32_t>(size);
}

bool File::atEnd() const {
    return !handle_ || position() == size();
}

bool File::hasMore() {
    int32_t here = position();
    return here >= 0 && here < size();
}

int32_t File::pushPosition() {
    return positions_.push(tell());
}

bool File::pushPositionAndSeek(int32_t offset) {
    pushPosition();
    return seek(offset);
}

bool File::pushPositionAndSeekEnd() {
    pushPosition();
    return seekFromEnd(0);
}

int32_t File::popPosition() {
    if (positions_.isEmpty())
        return kNoSavedPosition;
    int32_t position = positions_.pop();
    seek(position);
    return position;
}

bool File::writeDenied() {
    lastError_.assign("Write access denied");
    return false;
}
