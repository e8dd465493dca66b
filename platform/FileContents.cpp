// Whole-content operations of File: ranged and tail reads, appending,
// replacing, truncating, and the last-write time.

#include "platform/File.h"

#include <windows.h>

bool File::readAt(int32_t offset, int32_t length, String& out) {
    out.clear();
    if (offset < 0 || length < 0 || static_cast<int64_t>(offset) + length > size())
        return false;
    if (length == 0)
        return true;
    // The length comes from the file: too large a file is a failure, not the
    // end of the program.
    if (!out.setLengthNoFail(length))
        return false;
    pushPositionAndSeek(offset);
    bool read = readBlock(out.writablePointer(0), length);
    popPosition();
    if (!read)
        out.clear();
    return read;
}

bool File::readAll(String& out) {
    return readAt(0, size(), out);
}

bool File::readTail(void* buffer, int count) {
    if (count <= 0 || count > size())
        return false;
    pushPosition();
    bool read = seekFromEnd(-count) && readBlock(buffer, count);
    popPosition();
    return read;
}

String File::readZeroTerminated() {
    String text;
    char c;
    while (readBlock(&c, 1) && c != '\0')
        text.append(c);
    return text;
}

bool File::append(const String& text) {
    if (!handle_)
        return false;
    const bool moved = tell() != size();
    if (moved)
        pushPositionAndSeekEnd();
    bool written = writeBlock(text.c_str(), text.length());
    if (moved)
        popPosition();
    return written;
}

bool File::endsWithLineBreak() {
    char last = 0;
    if (!readTail(&last, 1))
        return true;
    return last == '\n' || last == '\r';
}

void File::ensureFinalLineBreak() {
    if (handle_ && !endsWithLineBreak())
        append(String("\r\n"));
}

bool File::replaceContents(const String& text) {
    return seek(0) && writeBlock(text.c_str(), text.length()) && truncate();
}

bool File::truncate() {
    if (!writeAllowed_)
        return writeDenied();
    return handle_ && SetEndOfFile(static_cast<HANDLE>(handle_));
}

void File::flush() {
    if (handle_)
        FlushFileBuffers(static_cast<HANDLE>(handle_));
}

bool File::setLastWriteTime(const TimeStamp& local) {
    if (!handle_)
        return false;
    SYSTEMTIME time = {};
    time.wYear = static_cast<WORD>(local.year);
    time.wMonth = static_cast<WORD>(local.month);
    time.wDay = static_cast<WORD>(local.day);
    time.wHour = static_cast<WORD>(local.hour);
    time.wMinute = static_cast<WORD>(local.minute);
    time.wSecond = static_cast<WORD>(local.second);
    FILETIME localTime, utcTime;
    if (!SystemTimeToFileTime(&time, &localTime) || !LocalFileTimeToFileTime(&localTime, &utcTime))
        return false;
    // Written data still in the cache would stamp the file again when it goes out.
    flush();
    return SetFileTime(static_cast<HANDLE>(handle_), nullptr, nullptr, &utcTime);
}
