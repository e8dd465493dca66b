#include "platform/Directory.h"

#include "core/Path.h"
#include "installer/Startup.h"
#include "platform/Attributes.h"
#include "platform/DelayedFile.h"
#include "platform/FileFinder.h"
#include "platform/KnownFolders.h"

#include <windows.h>

namespace {

// The path as the system resolves it, so that "C:\\", "C:\." or "C:\a\.."
// are seen for the drive root they are.
String fullPath(const String& path) {
    char buffer[MAX_PATH];
    char* name = nullptr;
    DWORD length = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, &name);
    if (length == 0 || length >= sizeof buffer)
        return String();
    return String(buffer, static_cast<int>(length));
}

// A drive root ("C:\") or a share root ("\\server\share").
bool isRoot(const String& path) {
    String trimmed(path);
    trimmed.removeTrailingRun('\\');
    if (trimmed.length() <= 2)
        return true;
    if (!trimmed.startsWith("\\\\"))
        return false;
    int serverEnd = trimmed.findChar('\\', 2);
    return serverEnd < 0 || trimmed.findChar('\\', serverEnd + 1) < 0;
}

bool mayRemoveTree(const String& path) {
    if (path.length() <= 3)
        return false;
    String resolved = fullPath(path);
    if (resolved.isEmpty() || isRoot(resolved))
        return false;
    String windows = windowsDir();
    return !samePath(path, windows) && !samePath(resolved, windows);
}

} // namespace

String currentDirectory() {
    char buffer[99];
    DWORD length = GetCurrentDirectoryA(sizeof buffer, buffer);
    if (length < sizeof buffer)
        return String(buffer, static_cast<int>(length));
    String directory;
    directory.setLength(static_cast<int>(length));
    DWORD got = GetCurrentDirectoryA(length, directory.writablePointer(0));
    directory.setLength(got < length ? static_cast<int>(got) : 0);
    return directory;
}

bool directoryExists(const String& path) {
    if (path.isBlank())
        return false;
    String previous = currentDirectory();
    if (!SetCurrentDirectoryA(path.c_str()))
        return false;
    SetCurrentDirectoryA(previous.c_str());
    return true;
}

bool createDirectoryPath(const String& path) {
    if (path.isBlank())
        return false;
    if (directoryExists(path))
        return true;
    String parent = directoryPart(path);
    if (parent == path)
        return true;
    if (parent.length() >= 4 && !directoryExists(parent) && !createDirectoryPath(parent))
        return false;
    CreateDirectoryA(path.c_str(), nullptr);
    return directoryExists(path);
}

bool removeDirectory(const String& path) {
    if (path.length() <= 3)
        return false;
    String directory(path);
    directory.removeTrailingChar('\\');
    return RemoveDirectoryA(directory.c_str());
}

bool removeDirectoryTree(const String& path) {
    if (!mayRemoveTree(path))
        return false;
    FileFinder finder;
    FileInfo info;
    if (!finder.findFirst(joinPath(path, String("*.*")), info))
        return false;
    DWORD recorded = 0;
    bool complete = true;
    do {
        if (info.isDotEntry())
            continue;
        String entry = joinPath(path, info.name);
        bool removed;
        if (!info.isDirectory())
            removed = deleteFile(entry, false);
        else if (info.attributes & kAttributeReparsePoint)
            removed = removeDirectory(entry);
        else
            removed = removeDirectoryTree(entry);
        if (!removed) {
            recorded = GetLastError();
            complete = false;
        }
    } while (finder.findNext(info));
    finder.close();
    bool removed = removeDirectory(path);
    if (recorded)
        SetLastError(recorded);
    return removed && complete;
}

bool makeAbsoluteToProgramDirectory(String& path) {
    return makeAbsolute(path, startupValues().installerDir.c_str());
}
