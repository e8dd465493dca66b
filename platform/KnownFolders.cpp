// The folder table: each row's order of attempts.
#include "platform/KnownFolders.h"

#include "core/Path.h"
#include "platform/OsVersion.h"
#include "platform/SystemNames.h"

#include <windows.h>

namespace {

// The shell's CSIDL numbers.
constexpr int kCsidlPrograms = 2;
constexpr int kCsidlPersonal = 5;
constexpr int kCsidlFavorites = 6;
constexpr int kCsidlStartup = 7;
constexpr int kCsidlStartMenu = 11;
constexpr int kCsidlDesktopDirectory = 16;
constexpr int kCsidlFonts = 20;
constexpr int kCsidlCommonStartMenu = 22;
constexpr int kCsidlCommonPrograms = 23;
constexpr int kCsidlCommonStartup = 24;
constexpr int kCsidlCommonDesktopDirectory = 25;
constexpr int kCsidlCommonFavorites = 31;
constexpr int kCsidlProgramFiles = 38;
constexpr int kCsidlProgramFilesCommon = 43;
constexpr int kCsidlCommonDocuments = 46;

// The registry's value, else the shell's answer.
String lookup(const String& registryValue, int csidl) {
    return registryValue.isEmpty() ? specialFolderPath(csidl) : registryValue;
}

String inWindows(const char* name) {
    return joinPath(windowsDir(), String(name));
}

String orElse(String value, String (*fallback)()) {
    return value.isEmpty() ? fallback() : value;
}

String fromCommonStartup(bool startMenu, String (*perUser)()) {
    String commonStartup = shellFolder(String("Common Startup"), true);
    if (commonStartup.isEmpty())
        return perUser();
    return allUsersFromCommonStartup(commonStartup, startMenu);
}

} // namespace

String desktopDir() {
    String value = lookup(shellFolder(String("Desktop"), false), kCsidlDesktopDirectory);
    return value.isEmpty() ? inWindows("Desktop") : value;
}

String desktopAllDir() {
    return orElse(lookup(shellFolder(String("Common Desktop"), true), kCsidlCommonDesktopDirectory),
                  desktopDir);
}

String documentDir() {
    String value = lookup(shellFolder(String("Personal"), false), kCsidlPersonal);
    return value.isEmpty() ? String("c:\\My Documents") : value;
}

String documentAllDir() {
    return orElse(lookup(shellFolder(String("Common Documents"), true), kCsidlCommonDocuments),
                  documentDir);
}

String favoritesDir() {
    String value = lookup(shellFolder(String("Favorites"), false), kCsidlFavorites);
    return value.isEmpty() ? inWindows("Favorites") : value;
}

String favoritesAllDir() {
    return orElse(lookup(shellFolder(String("Common Favorites"), true), kCsidlCommonFavorites),
                  favoritesDir);
}

// The user's fonts folder is the one the shell keeps for the current user.
String fontDir() {
    String value = lookup(shellFolder(String("Fonts"), false), kCsidlFonts);
    return value.isEmpty() ? inWindows("Fonts") : value;
}

String startMenuDir() {
    String value = lookup(shellFolder(String("Start Menu"), false), kCsidlStartMenu);
    return value.isEmpty() ? inWindows("Start Menu") : value;
}

String startMenuAllDir() {
    String value = lookup(shellFolder(String("Common Start Menu"), true), kCsidlCommonStartMenu);
    return value.isEmpty() ? fromCommonStartup(true, startMenuDir) : value;
}

String smProgramsDir() {
    String value = lookup(shellFolder(String("Programs"), false), kCsidlPrograms);
    return value.isEmpty() ? joinPath(startMenuDir(), String("Programs")) : value;
}

String smProgramsAllDir() {
    String value = lookup(shellFolder(String("Common Programs"), true), kCsidlCommonPrograms);
    return value.isEmpty() ? fromCommonStartup(false, smProgramsDir) : value;
}

String startupDir() {
    String value = lookup(shellFolder(String("Startup"), false), kCsidlStartup);
    return value.isEmpty() ? joinPath(smProgramsDir(), String("StartUp")) : value;
}

String startupAllDir() {
    return orElse(lookup(shellFolder(String("Common Startup"), true), kCsidlCommonStartup),
                  startupDir);
}

String programsDir() {
    String value = lookup(currentVersionPath(String("ProgramFilesDir")), kCsidlProgramFiles);
    return value.isEmpty() ? String("c:\\Program Files") : value;
}

String commonDir() {
    String value = lookup(currentVersionPath(String("CommonFilesDir")), kCsidlProgramFilesCommon);
    return value.isEmpty() ? joinPath(programsDir(), String("Common Files")) : value;
}

String mediaDir() {
    String value = currentVersionPath(String("MediaPath"));
    return value.isEmpty() ? inWindows("Media") : value;
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
