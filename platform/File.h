#pragma once
// One open file, with the numbered open results the installer reports.

#include "core/String.h"

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

// A new empty file in `directory` (the temporary directory when blank) named
// by the system with the "QXT" prefix; empty when none could be made.
String tempFileName(const String& directory);

class File {
public:
    File() = default;
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // Closes whatever was open, then opens `name` by `flags`. `attributes` goes
    // to the system as the file's flags and attributes (normally 128).
    FileOpenResult open(const char* name, uint32_t flags, uint32_t attributes = 128);
    void close();
    bool isOpen() const { return handle_ != nullptr; }
    const String& name() const { return name_; }
    const String& lastError() const { return lastError_; }

private:
    void* handle_ = nullptr;
    String name_;
    String lastError_;
    bool readAllowed_ = false;
    bool writeAllowed_ = false;
};
