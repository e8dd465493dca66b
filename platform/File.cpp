#include "platform/File.h"

#include "core/Fatal.h"
#include "core/Path.h"
#include "installer/Startup.h"

#include <windows.h>

namespace {

const char* const kOpenMessages[] = {
    "The file was successfully opened.",
    "An unknown error occurred.",
    "The filename is invalid.",
    "The file was not found.",
    "The directory does not exist.",
    "The file is locked by another application.",
    "Failed to read the file into memory.",
    "Too many files are already open.",
    "An invalid parameter was used.",
    "The file already exists.",
    "Too many indexed files exist.",
    "Access denied.",
    "The file's Read-Only attribute is set.",
};

} // namespace

FileOpenResult openResultForError(uint32_t error, bool writeAsked, const char* path) {
    switch (error) {
    case ERROR_INVALID_NAME:
        return FileInvalidName;
    case ERROR_FILE_NOT_FOUND:
        return FileNotFound;
    case ERROR_PATH_NOT_FOUND:
        return FileDirectoryMissing;
    case ERROR_SHARING_VIOLATION:
        return FileLocked;
    case ERROR_TOO_MANY_OPEN_FILES:
        return FileTooManyOpen;
    case ERROR_INVALID_PARAMETER:
        return FileInvalidParameter;
    case ERROR_FILE_EXISTS:
        return FileExists;
    case ERROR_ACCESS_DENIED: {
        if (writeAsked) {
            DWORD attributes = GetFileAttributesA(path);
            if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
                return FileReadOnly;
        }
        return FileAccessDenied;
    }
    default:
        return FileUnknownError;
    }
}

const char* messageForOpenResult(int result) {
    if (result < 0 || result >= static_cast<int>(sizeof kOpenMessages / sizeof *kOpenMessages))
        return kOpenMessages[FileUnknownError];
    return kOpenMessages[result];
}

String tempFileName(const String& directory) {
    const String& dir = directory.isBlank() ? startupValues().tempDir : directory;
    char buffer[MAX_PATH + 1];
    if (GetTempFileNameA(dir.c_str(), "QXT", 0, buffer) == 0)
        return String();
    return String(buffer);
}

File::~File() {
    close();
}

void File::close() {
    if (handle_)
        CloseHandle(handle_);
    handle_ = nullptr;
    positions_.clear();
    readAllowed_ = false;
    writeAllowed_ = false;
}

FileOpenResult File::open(const char* name, uint32_t flags, uint32_t attributes) {
    close();
    name_.clear();
    const uint32_t pathMode = flags & 0xE0000000u;
    if ((!name || !*name) && pathMode != TempInTempDir)
        return FileInvalidName;
    // Nothing in the installer works on an in-memory copy of a file.
    if (flags & LoadIntoMemory)
        return FileInvalidParameter;

    bool read = !(flags & NoRead);
    bool write = !(flags & NoWrite);
    if ((flags & NoRead) && (flags & ShareWrite))
        flags |= ShareRead;
    if ((flags & NoWrite) && (flags & ShareRead))
        flags |= ShareWrite;
    DWORD access = (read ? GENERIC_READ : 0) | (write ? GENERIC_WRITE : 0);
    DWORD share =
        ((flags & ShareRead) ? FILE_SHARE_READ : 0) | ((flags & ShareWrite) ? FILE_SHARE_WRITE : 0);

    uint32_t disposition = flags & 3;
    switch (pathMode) {
    case TempInTempDir:
        name_ = tempFileName(String());
        disposition = CreateAlways;
        break;
    case TempInDir:
        name_ = tempFileName(String(name));
        disposition = CreateAlways;
        break;
    case TempBeside:
        name_ = tempFileName(directoryPart(String(name)));
        disposition = CreateAlways;
        break;
    case InTempDir:
        name_ = joinPath(startupValues().tempDir, String(name));
        break;
    default:
        name_.assign(name);
        break;
    }
    if (name_.isEmpty()) {
        // Only a temporary name comes out empty: report why it could not be
        // made (a missing directory, say).
        DWORD error = GetLastError();
        return error ? openResultForError(error, false, "") : FileInvalidName;
    }

    static const DWORD kDispositions[] = {OPEN_ALWAYS, OPEN_EXISTING, CREATE_NEW, CREATE_ALWAYS};
    int attempts = 0;
    HANDLE h;
    for (;;) {
        h = CreateFileA(name_.c_str(), access, share, nullptr, kDispositions[disposition],
                        attributes, nullptr);
        if (h != INVALID_HANDLE_VALUE)
            break;
        DWORD error = GetLastError();
        // A RetryOnce attempt also counts against the sharing retries: a locked
        // file is tried six times without it and four times with it.
        if ((flags & RetryOnce) && attempts++ == 0) {
            Sleep(150);
            continue;
        }
        if (error == ERROR_SHARING_VIOLATION && !(flags & NoSharingRetry) && attempts++ < 5) {
            Sleep(100);
            continue;
        }
        return openResultForError(error, write, name_.c_str());
    }
    handle_ = h;
    readAllowed_ = read;
    writeAllowed_ = write;
    if (flags & SeekToEnd)
        SetFilePointer(h, 0, nullptr, FILE_END);
    if (flags & ProbeOnly)
        close();
    return FileOpened;
}

FileOpenResult File::openChecked(const char* name, uint32_t flags, uint32_t attributes) {
    FileOpenResult result = open(name, flags, attributes);
    if (result == FileOpened)
        return result;
    lastError_.assign(messageForOpenResult(result));
    if (flags & Required)
        fatalErrorf("Failed to open required file:\r\n%s\r\n\r\n%s",
                    name_.isEmpty() ? (name ? name : "") : name_.c_str(), lastError_.c_str());
    return result;
}
