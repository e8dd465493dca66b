#include "installer/win32/Shortcuts.h"

#include "core/Path.h"
#include "installer/InstallSettings.h"
#include "installer/Installation.h"
#include "installer/win32/Placement.h"
#include "installer/win32/Program.h"
#include "installer/win32/ShellLink.h"
#include "platform/Attributes.h"
#include "platform/Directory.h"
#include "platform/ErrorText.h"
#include "platform/FileHelpers.h"
#include "platform/KnownFolders.h"
#include "platform/Registry.h"

#include <cstdint>

namespace {

constexpr uint32_t kHidden = 0x2;
constexpr uint32_t kSystem = 0x4;

bool forAllUsers() {
    return installSettings().shortcutMode == 1;
}

// The settings' folder on the desktop, made once per installation. The shell
// shows it with the product's icon when Desktop.ini names one and the folder
// carries the system attribute.
const String& desktopFolder() {
    Installation& state = installation();
    if (state.desktopFolderPrepared)
        return state.desktopFolder;
    state.desktopFolderPrepared = true;
    const InstallSettings& settings = installSettings();
    const String folder =
        joinPath(forAllUsers() ? desktopAllDir() : desktopDir(), settings.desktopFolder);
    state.desktopFolder = folder;
    if (!createDirectoryPath(folder))
        state.problemReport.appendFormat("Failed to create directory %s: %s\r\n", folder.c_str(),
                                         lastErrorText().c_str());
    const String ini = joinPath(folder, String("Desktop.ini"));
    state.recordForUninstall(ini, false);
    state.recordForUninstall(folder, true);
    if (settings.desktopFolderIcon.isEmpty())
        return state.desktopFolder;

    const String icon = joinPath(state.uninstallDir, String("Desktop Icon.ico"));
    if (!writeFile(icon, settings.desktopFolderIcon.c_str(), settings.desktopFolderIcon.length())) {
        state.problemReport.appendFormat("Failed to create desktop shortcut folder icon \"%s\"\r\n",
                                         icon.c_str());
        return state.desktopFolder;
    }
    writeProfileString(".ShellClassInfo", "IconFile", icon, ini);
    writeProfileString(".ShellClassInfo", "IconIndex", "0", ini);
    state.recordForUninstall(icon, false);
    setAttributeBits(folder, kSystem, kSystem);
    setAttributeBits(ini, kHidden | kSystem, kHidden | kSystem);
    return state.desktopFolder;
}

// Logs and lists a link that was made, or reports one that was not. The
// place names the log line: "Desktop", "Start Menu", ...
void linkDone(bool made, const char* place, const ShortcutRecord& record, const String& linkPath) {
    Installation& state = installation();
    if (!made) {
        reportWriteFailure(linkPath);
        return;
    }
    if (installSettings().has(DetailedLog))
        state.installLog.appendFormat("%s Shortcut(%s) -> %s\r\n", place, record.caption.c_str(),
                                      linkPath.c_str());
    if (!record.permanent)
        state.recordForUninstall(linkPath, false);
}

void makeDesktopLink(const ShortcutRecord& record) {
    const InstallSettings& settings = installSettings();
    String linkPath;
    if (settings.desktopFolder.isEmpty()) {
        const bool made =
            createDesktopShortcut(record.caption, record.target, record.arguments,
                                  record.workingDirectory, record.icon, forAllUsers(), linkPath);
        linkDone(made, "Desktop", record, linkPath);
        return;
    }
    linkPath = joinPath(desktopFolder(), record.caption);
    const bool made = createShellLink(linkPath, record.target, record.arguments,
                                      record.workingDirectory, record.icon);
    linkDone(made, "Desktop Folder", record, linkPath);
}

void makeStartMenuLink(const ShortcutRecord& record) {
    String linkPath;
    String userCopy;
    const bool made = createProgramsShortcut(
        joinPath(installSettings().productStartMenu, record.caption), record.target,
        record.arguments, record.workingDirectory, record.icon, forAllUsers(), linkPath, userCopy);
    linkDone(made, "Start Menu", record, linkPath);
    // The user's copy would otherwise outlive the product.
    if (!userCopy.isEmpty())
        linkDone(true, "Start Menu", record, userCopy);
}

void makeStartupLink(const ShortcutRecord& record) {
    String linkPath = joinPath(forAllUsers() ? startupAllDir() : startupDir(), record.caption);
    const bool made = createShellLink(linkPath, record.target, record.arguments,
                                      record.workingDirectory, record.icon);
    linkDone(made, "Startup", record, linkPath);
}

void uninstallerLinkDone(bool made, const String& linkPath) {
    Installation& state = installation();
    if (!made) {
        reportWriteFailure(linkPath);
        return;
    }
    if (installSettings().has(DetailedLog))
        state.installLog.appendFormat("Uninstaller Shortcut -> %s\r\n", linkPath.c_str());
    state.recordForUninstall(linkPath, false);
}

} // namespace

void addUninstallerDesktopShortcut() {
    const InstallSettings& settings = installSettings();
    if (!settings.has(Uninstallable) || !settings.has(UninstallerDesktopShortcut))
        return;
    ShortcutRecord record;
    record.desktop = true;
    record.target = uninstallerPath();
    record.caption = message(33);
    record.icon = record.target;
    record.arguments = uninstallerArguments();
    installation().shortcutList.append(record);
}

void createShortcuts() {
    Installation& state = installation();
    for (const ShortcutRecord& record : state.shortcutList) {
        if (record.desktop) {
            // The shell hears of it even when the link failed: the desktop
            // folder may have been made.
            state.desktopChanged = true;
            makeDesktopLink(record);
        }
        if (record.startMenu)
            makeStartMenuLink(record);
        if (record.startup)
            makeStartupLink(record);
    }
}

void createUninstallerShortcuts() {
    const InstallSettings& settings = installSettings();
    if (!settings.has(Uninstallable))
        return;
    const String target = uninstallerPath();
    const String arguments = uninstallerArguments();
    const String name = message(33);
    if (settings.has(UninstallerStartMenuShortcut)) {
        String linkPath;
        String userCopy;
        const bool made =
            createProgramsShortcut(joinPath(settings.productStartMenu, name), target, arguments,
                                   String(), target, forAllUsers(), linkPath, userCopy);
        uninstallerLinkDone(made, linkPath);
        if (!userCopy.isEmpty())
            uninstallerLinkDone(true, userCopy);
    }
    if (settings.has(UninstallerShortcutInUninstallDir)) {
        String linkPath = joinPath(installation().uninstallDir, name);
        const bool made = createShellLink(linkPath, target, arguments, String(), target);
        uninstallerLinkDone(made, linkPath);
    }
}
