#include "platform/DelayedFile.h"

#include "core/Path.h"
#include "platform/Attributes.h"
#include "platform/DynamicLibrary.h"
#include "platform/KnownFolders.h"
#include "platform/OsVersion.h"
#include "platform/SystemNames.h"

#include <windows.h>

namespace {

using MoveFileExFunction = BOOL WINAPI(const char*, const char*, DWORD);

// Windows 95 has no working MoveFileExA, so it is looked up rather than imported.
MoveFileExFunction* moveFileEx() {
    static DynamicLibrary kernel;
    static MoveFileExFunction* function = nullptr;
    static bool looked = false;
    if (!looked) {
        looked = true;
        if (kernel.load(kKernelLibrary))
            kernel.entry("MoveFileExA", function);
    }
    return function;
}

// On Windows NT the ini-file road is there only when wininit.exe is.
bool hasWininit() {
    return filePresent(joinPath(windowsDir(), String("wininit.exe")));
}

} // namespace

bool filePresent(const String& path) {
    File file;
    FileOpenResult result = file.open(path.c_str(), OpenExisting | NoRead | NoWrite | ShareRead |
                                                        ShareWrite | ProbeOnly);
    return result == FileOpened || result == FileLocked;
}

bool fileInfo(const String& path, FileInfo& out) {
    FileFinder finder;
    bool found = finder.findFirst(path, out);
    finder.close();
    return found;
}

bool replaceFileNow(const String& source, const String& destination) {
    MoveFileExFunction* move = moveFileEx();
    if (move && move(source.c_str(), destination.c_str(), MOVEFILE_REPLACE_EXISTING))
        return true;
    if (move && GetLastError() != ERROR_CALL_NOT_IMPLEMENTED)
        return false;
    // Windows 9x: its MoveFileExA is a stub that fails.
    if (!DeleteFileA(destination.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
        return false;
    return MoveFileA(source.c_str(), destination.c_str()) != 0;
}

FileOpenResult readFileText(const String& path, String& out) {
    out.clear();
    if (path.isEmpty())
        return FileInvalidName;
    File file;
    FileOpenResult result = file.open(path.c_str(), OpenExisting | NoWrite | ShareRead);
    if (result != FileOpened)
        return result;
    if (file.size() <= 0)
        return FileOpened;
    if (!file.readAll(out)) {
        out.clear();
        return FileLoadFailed;
    }
    return FileOpened;
}

bool deleteFile(const String& path, bool atRestart) {
    if (path.isEmpty())
        return false;
    if (!atRestart) {
        // Deleted first, and the read-only bit cleared only when that fails:
        // most files are not read-only, and the uninstaller deletes thousands,
        // each look at the attributes a trip to the file system.
        if (DeleteFileA(path.c_str()))
            return true;
        setReadOnly(path, false);
        return DeleteFileA(path.c_str());
    }
    setReadOnly(path, false);
    if (isNT()) {
        MoveFileExFunction* move = moveFileEx();
        if (move && move(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT))
            return true;
        if (!hasWininit())
            return false;
    }
    return addRenameEntry(String("NUL"), shortPathName(path));
}

bool moveFile(const String& source, const String& destination) {
    if (source.isBlank() || destination.isBlank()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    if (!filePresent(source))
        return false;
    if (source == destination) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return true;
    }
    // A destination in use stays, and is replaced at the restart.
    if (source.compare(destination, false) != 0)
        deleteFile(destination, false);
    if (isNT()) {
        MoveFileExFunction* move = moveFileEx();
        if (move && move(source.c_str(), destination.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT))
            return true;
        DWORD error = GetLastError();
        bool wininit = hasWininit();
        SetLastError(error);
        if (!wininit)
            return false;
    }
    return addRenameEntry(shortPathName(destination), shortPathName(source));
}
