#pragma once
// One open file, with the numbered open results the installer reports.

#include "core/Stack.h"
#include "core/Stream.h"
#include "core/String.h"
#include "core/TimeStamp.h"

#include <cstdint>

// Open flags: the low two bits are the creation disposition.
enum FileOpenFlag : uint32_t {
    OpenAlways = 0,
    OpenExisting = 1,
    CreateNew = 2,
    CreateAlways = 3,
    NoRead = 0x8,
    NoWrite = 0x10,
    Required = 0x20,
    RetryOnce = 0x40,
    LoadIntoMemory = 0x80,
    ShareRead = 0x100,
    ShareWrite = 0x200,
    SeekToEnd = 0x400,
    ProbeOnly = 0x800,
    NoSharingRetry = 0x1000,
    TempInTempDir = 0x20000000,
    TempInDir = 0x40000000,
    TempBeside = 0x80000000,
    InTempDir = 0xC0000000,
};

enum FileOpenResult : int {
    FileOpened = 0,
    FileUnknownError = 1,
    FileInvalidName = 2,
    FileNotFound = 3,
    FileDirectoryMissing = 4,
    FileLocked = 5,
    FileLoadFailed = 6,
    FileTooManyOpen = 7,
    FileInvalidParameter = 8,
    FileExists = 9,
    FileTooManyIndexed = 10,
    FileAccessDenied = 11,
    FileReadOnly = 12,
};

const char* messageForOpenResult(int result);

// The result for a system error of CreateFileA on `path`.
FileOpenResult openResultForError(uint32_t error, bool writeAsked, const char* path);

// A new empty file in `directory` (the temporary directory when blank) named
// by the system with the "QXT" prefix; empty when none could be made.
String tempFileName(const String& directory);

// Read and written through the same interfaces as memory buffers, so that
// the settings reader and the log writers do not care which they have.
class File : public BlockReader, public BlockWriter {
public:
    File() = default;
    ~File() override;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // Closes whatever was open, then opens `name` by `flags`. `attributes` goes
    // to the system as the file's flags and attributes (normally 128). Shows
    // nothing; on failure the object is closed.
    FileOpenResult open(const char* name, uint32_t flags, uint32_t attributes = 128);
    // As open, and on failure keeps the result's message as the last error; with
    // `Required` a failure ends the program with the path and that message.
    FileOpenResult openChecked(const char* name, uint32_t flags, uint32_t attributes = 128);
    // Also forgets the saved positions and both access rights.
    void close();
    bool isOpen() const { return handle_ != nullptr; }
    // The path actually opened (for a temporary file, the name made for it).
    const String& name() const { return name_; }
    const String& lastError() const { return lastError_; }

    // Exactly `size` bytes or false with the reason as the last error; 0 bytes
    // always succeed.
    bool readBlock(void* buffer, int32_t size) override;
    bool writeBlock(const void* buffer, int32_t size) override;

    // -1 when closed.
    int32_t tell() override { return position(); }
    bool seek(int32_t offset);
    bool seekFromEnd(int32_t offset);
    // -1 when closed.
    int32_t size() const;
    // True when closed.
    bool atEnd() const;
    bool hasMore() override;

    // Saved positions: push, work elsewhere, pop back.
    int32_t pushPosition();
    bool pushPositionAndSeek(int32_t offset);
    bool pushPositionAndSeekEnd();
    // Seeks back to the position saved last and returns it; on an empty stack
    // returns kNoSavedPosition and stays where it is.
    int32_t popPosition();
    static constexpr int32_t kNoSavedPosition = INT32_MIN;

    // `length` bytes from `offset`, the position kept; false, with `out`
    // emptied, unless the range lies within the file.
    bool readAt(int32_t offset, int32_t length, String& out);
    // The whole file; an empty file gives an empty string and true.
    bool readAll(String& out);
    // The last `count` bytes, 0 < count <= size().
    bool readTail(void* buffer, int count);
    // Bytes up to a zero byte or the end of the file.
    String readZeroTerminated();

    // Writes `text` at the end, coming back to where it was.
    bool append(const String& text);
    // The last byte is CR or LF, or cannot be read (an empty file counts).
    bool endsWithLineBreak();
    void ensureFinalLineBreak();
    // The file holds exactly `text` afterwards.
    bool replaceContents(const String& text);
    // Ends the file at the current position; needs write access.
    bool truncate();
    void flush();
    // `local` is the local date and time, to the second.
    bool setLastWriteTime(const TimeStamp& local);

private:
    int32_t position() const;
    // A write on a file opened without write access: says so in lastError, false.
    bool writeDenied();

    void* handle_ = nullptr;
    String name_;
    Stack<int32_t> positions_;
    String lastError_;
    bool readAllowed_ = false;
    bool writeAllowed_ = false;
};
