// The folder table: each row's order of attempts.
#include "platform/KnownFolders.h"

#include "core/Path.h"
#include "platform/OsVersion.h"
#include "platform/SystemNames.h"

#include <windows.h>

namespace {

// Where a folder's answer comes from first: a value of the shell's folders
// (the user's or all users') or of "Software\Microsoft\Windows\CurrentVersion".
enum Source : uint8_t { UserShellFolder, CommonShellFolder, CurrentVersion };

// What stands in when neither the registry nor the shell knows the folder.
enum Fallback : uint8_t {
    InWindows,         // the name in the Windows directory
    Fixed,             // the name itself
    Below,             // the name in the base row's folder
    SameAs,            // the base row's folder
    FromCommonStartup, // derived from the all-users Startup, else the base row's
    StartMenuFromCommonStartup,
};

enum Row : uint8_t {
    Desktop,
    DesktopAll,
    Document,
    DocumentAll,
    Favorites,
    FavoritesAll,
    Fonts,
    StartMenu,
    StartMenuAll,
    Programs,
    ProgramsAll,
    Startup,
    StartupAll,
    ProgramFiles,
    CommonFiles,
    Media,
};

struct FolderRow {
    const char* value;
    const char* fallbackName;
    Source source;
    uint8_t csidl; // the shell's CSIDL number; 0: the shell is not asked
    Fallback fallback;
    Row base;
};

// One table rather than a function per folder: the order of attempts is the
// same for every row.
constexpr FolderRow kFolders[] = {
    {"Desktop", "Desktop", UserShellFolder, 16, InWindows, Desktop},
    {"Common Desktop", nullptr, CommonShellFolder, 25, SameAs, Desktop},
    {"Personal", "c:\\My Documents", UserShellFolder, 5, Fixed, Document},
    {"Common Documents", nullptr, CommonShellFolder, 46, SameAs, Document},
    {"Favorites", "Favorites", UserShellFolder, 6, InWindows, Favorites},
    {"Common Favorites", nullptr, CommonShellFolder, 31, SameAs, Favorites},
    // The user's fonts folder is the one the shell keeps for the current user.
    {"Fonts", "Fonts", UserShellFolder, 20, InWindows, Fonts},
    {"Start Menu", "Start Menu", UserShellFolder, 11, InWindows, StartMenu},
    {"Common Start Menu", nullptr, CommonShellFolder, 22, StartMenuFromCommonStartup, StartMenu},
    {"Programs", "Programs", UserShellFolder, 2, Below, StartMenu},
    {"Common Programs", nullptr, CommonShellFolder, 23, FromCommonStartup, Programs},
    {"Startup", "StartUp", UserShellFolder, 7, Below, Programs},
    {"Common Startup", nullptr, CommonShellFolder, 24, SameAs, Startup},
    {"ProgramFilesDir", "c:\\Program Files", CurrentVersion, 38, Fixed, ProgramFiles},
    {"CommonFilesDir", "Common Files", CurrentVersion, 43, Below, ProgramFiles},
    {"MediaPath", "Media", CurrentVersion, 0, InWindows, Media},
};

String inWindows(const char* name) {
    return joinPath(windowsDir(), String(name));
}

String folder(Row row) {
    const FolderRow& r = kFolders[row];
    const String valueName(r.value);
    String value = r.source == CurrentVersion
                       ? currentVersionPath(valueName)
                       : shellFolder(valueName, r.source == CommonShellFolder);
    if (value.isEmpty() && r.csidl)
        value = specialFolderPath(r.csidl);
    if (!value.isEmpty())
        return value;
    switch (r.fallback) {
    case InWindows:
        return inWindows(r.fallbackName);
    case Fixed:
        return String(r.fallbackName);
    case Below:
        return joinPath(folder(r.base), String(r.fallbackName));
    case SameAs:
        break;
    case FromCommonStartup:
    case StartMenuFromCommonStartup: {
        const String commonStartup = shellFolder(String("Common Startup"), true);
        if (!commonStartup.isEmpty())
            return allUsersFromCommonStartup(commonStartup,
                                             r.fallback == StartMenuFromCommonStartup);
        break;
    }
    }
    return folder(r.base);
}

} // namespace

String desktopDir() {
    return folder(Desktop);
}

String desktopAllDir() {
    return folder(DesktopAll);
}

String documentDir() {
    return folder(Document);
}

String documentAllDir() {
    return folder(DocumentAll);
}

String favoritesDir() {
    return folder(Favorites);
}

String favoritesAllDir() {
    return folder(FavoritesAll);
}

String fontDir() {
    return folder(Fonts);
}

String startMenuDir() {
    return folder(StartMenu);
}

String startMenuAllDir() {
    return folder(StartMenuAll);
}

String smProgramsDir() {
    return folder(Programs);
}

String smProgramsAllDir() {
    return folder(ProgramsAll);
}

String startupDir() {
    return folder(Startup);
}

String startupAllDir() {
    return folder(StartupAll);
}

String programsDir() {
    return folder(ProgramFiles);
}

String commonDir() {
    return folder(CommonFiles);
}

String mediaDir() {
    return folder(Media);
}

String deviceDir() {
    String value = currentVersionPath(String("DevicePath"));
    return value.isEmpty() ? inWindows("INF") : expandSystemRoot(value);
}

String systemDir() {
    char buffer[MAX_PATH];
    UINT length = GetSystemDirectoryA(buffer, sizeof buffer);
    String answer =
        length > 0 && length < sizeof buffer ? String(buffer, static_cast<int>(length)) : String();
    return systemDirFrom(answer, windowsDir(), isNT());
}

// Only the first occurrence, and only this variable: a list of several
// directories or other variables stay as the registry has them.
String expandSystemRoot(const String& devicePath) {
    String result(devicePath);
    const int at = result.find("%SystemRoot%", 0, kFindNoCase);
    if (at < 0)
        return result;
    String root("%SystemRoot%");
    if (expandEnvironment(root) && !root.isEmpty())
        result.splice(at, 12, root.c_str(), root.length());
    return result;
}

String allUsersFromCommonStartup(const String& commonStartup, bool startMenu) {
    String path(commonStartup);
    keepDirectory(path);
    path.removeTrailingChar('\\');
    if (startMenu)
        keepDirectory(path);
    return path;
}
