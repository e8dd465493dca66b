// Where the folder lookups get their answers: the start-up values, the
// shell's registry values and the shell's own function.
#include "core/Path.h"
#include "installer/Startup.h"
#include "platform/DynamicLibrary.h"
#include "platform/KnownFolders.h"
#include "platform/Registry.h"

#include <windows.h>

namespace {

using ChangeNotifyFunction = void WINAPI(LONG, UINT, const void*, const void*);
using FolderPathFunction = BOOL WINAPI(HWND, char*, int, BOOL);

// shell32 is in the import table, but these two entry points are missing
// from the oldest shells, so they are looked up. The library stays loaded
// once both are found; otherwise the next call tries again.
struct ShellLibrary {
    DynamicLibrary library;
    ChangeNotifyFunction* changeNotify = nullptr;
    FolderPathFunction* folderPath = nullptr;

    bool ready() {
        if (library.isLoaded())
            return true;
        if (!library.load("shell32.dll"))
            return false;
        const DynamicEntry rows[] = {
            {"SHChangeNotify", reinterpret_cast<void**>(&changeNotify), false},
            {"SHGetSpecialFolderPathA", reinterpret_cast<void**>(&folderPath), false},
        };
        if (library.resolveAll(rows, 2))
            return true;
        library.free();
        return false;
    }
};

ShellLibrary& shellLibrary() {
    static ShellLibrary library;
    return library;
}

bool (*gLookup)(int, String&) = nullptr;

bool shellLookup(int csidl, String& path) {
    ShellLibrary& shell = shellLibrary();
    if (!shell.ready())
        return false;
    char buffer[264];
    buffer[0] = '\0';
    shell.folderPath(nullptr, buffer, csidl, FALSE);
    buffer[sizeof buffer - 1] = '\0';
    path.assign(buffer);
    return !path.isEmpty();
}

// A folder value without its trailing separator, a drive root ("C:\") as it is.
String withoutTrailingSeparator(String value) {
    if (value.length() > 3)
        value.removeTrailingChar('\\');
    return value;
}

// The keys are only read: opening them for reading works for every user and
// never creates one.
String readFolderValue(HKEY root, const char* key, const String& valueName) {
    RegistryKey registry;
    String path = String(key) + "\\" + valueName;
    return withoutTrailingSeparator(registry.readStringByPath(root, path, String(), kRegReadOnly));
}

} // namespace

String windowsDir() {
    const String& known = startupValues().windowsDir;
    if (!known.isEmpty())
        return known;
    char buffer[MAX_PATH];
    UINT length = GetWindowsDirectoryA(buffer, sizeof buffer);
    return length > 0 && length < sizeof buffer ? String(buffer, static_cast<int>(length))
                                                : String();
}

String shellFolder(const String& valueName, bool allUsers) {
    return readFolderValue(allUsers ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER,
                           "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                           valueName);
}

String currentVersionPath(const String& valueName) {
    return readFolderValue(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion",
                           valueName);
}

String specialFolderPath(int csidl) {
    String path;
    if (!(gLookup ? gLookup : shellLookup)(csidl, path))
        path.clear();
    return path;
}

void setSpecialFolderLookup(bool (*lookup)(int csidl, String& path)) {
    gLookup = lookup;
}

bool shellChangeNotify(int32_t eventId, uint32_t flags, const void* item1, const void* item2) {
    ShellLibrary& shell = shellLibrary();
    if (!shell.ready())
        return false;
    shell.changeNotify(eventId, flags, item1, item2);
    return true;
}

String systemDirFrom(const String& systemAnswer, const String& windows, bool nt) {
    if (!systemAnswer.isEmpty())
        return systemAnswer;
    return joinPath(windows, String(nt ? "System32" : "System"));
}

char bootDriveFrom(const String& bootDir) {
    const char first = bootDir.charAt(0);
    const bool letter = (first >= 'a' && first <= 'z') || (first >= 'A' && first <= 'Z');
    return letter && bootDir.charAt(1) == ':' ? static_cast<char>(first & ~0x20) : 'C';
}

char bootDrive() {
    RegistryKey registry;
    return bootDriveFrom(registry.readStringByPath(
        HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Setup\\BootDir",
        String(), kRegReadOnly));
}
