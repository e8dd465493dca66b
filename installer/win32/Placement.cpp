#include "installer/win32/Placement.h"

#include "core/Path.h"
#include "installer/Archive.h"
#include "installer/ArchiveCursor.h"
#include "installer/FileRecords.h"
#include "installer/InstallSettings.h"
#include "installer/Installation.h"
#include "installer/MessageTable.h"
#include "installer/win32/Batch.h"
#include "installer/win32/Program.h"
#include "installer/win32/Progress.h"
#include "platform/Attributes.h"
#include "platform/DelayedFile.h"
#include "platform/Directory.h"
#include "platform/ErrorText.h"
#include "platform/File.h"
#include "platform/FileFinder.h"
#include "platform/FileHelpers.h"
#include "platform/FileList.h"
#include "platform/FileVersion.h"
#include "platform/KnownFolders.h"
#include "platform/OsVersion.h"
#include "platform/Registry.h"
#include "platform/SystemNames.h"

#include <windows.h>

namespace {

// Read-only, hidden and system: what stands in the way of a delete or a write.
constexpr uint32_t kBlockingAttributes = 0x7;
// The attribute bits a record may set: read-only, hidden, system, archive,
// temporary and offline.
constexpr uint32_t kEntryAttributeMask = 0x1127;
constexpr int kWriteAttempts = 3;

bool inInstallDirKind(int32_t kind) {
    return kind == InstallDirFile || kind == StartupFile || kind == VersionedFile;
}

void deleteMatchedFile(const String& path, const FileDeletion& deletion) {
    Installation& state = installation();
    clearAttributes(path, kBlockingAttributes);
    if (deleteFile(path, false)) {
        state.installLog.appendFormat("Deleted file: %s\r\n", path.c_str());
        return;
    }
    if (!(deletion.flags & kDeleteAtRestart)) {
        state.installLog.appendFormat("Failed to delete file '%s': %s\r\n", path.c_str(),
                                      lastErrorText().c_str());
        return;
    }
    state.installLog.appendFormat("File '%s' will be deleted after rebooting: %s\r\n", path.c_str(),
                                  lastErrorText().c_str());
    if (deleteFile(path, true))
        installSettings().productFlags |= RestartRequired;
    else
        state.problemReport.appendFormat("Failed to register '%s' for deletion: %s\r\n",
                                         path.c_str(), lastErrorText().c_str());
}

// The kinds with replacement rules: false when the file on disk stays.
bool shouldReplace(const FileEntry& entry, const String& target, bool& existedBefore) {
    Installation& state = installation();
    const bool versioned = entry.kind >= SystemFile && entry.kind <= VersionedFile;
    if (entry.kind != SharedFile && entry.kind != FontFile && !versioned)
        return true;
    existedBefore = filePresent(target);
    if (!existedBefore)
        return true;
    TimeStamp onDisk;
    if (!versioned) {
        const bool outOfDate = !entry.time.hasDate() || !entry.time.hasTime() ||
                               !lastWriteTime(target, onDisk) || onDisk.compare(entry.time) < 0;
        state.installLog += target;
        state.installLog +=
            outOfDate ? " is out of date and will be replaced.\r\n" : " is up to date.\r\n";
        return outOfDate;
    }
    const bool listKept = entry.kind == VersionedFile && !entry.permanent();
    if (!entry.detail.isBlank()) {
        const String version = fileVersionText(target, true);
        if (!version.isEmpty() &&
            compareVersionStrings(entry.detail.c_str(), version.c_str()) <= 0) {
            state.installLog += target;
            state.installLog += " was not installed because its version is not newer.\r\n";
            if (listKept)
                state.recordForUninstall(target, false);
            return false;
        }
    }
    if (lastWriteTime(target, onDisk) && onDisk.compare(entry.time) >= 0) {
        state.installLog += target;
        state.installLog += " was not installed because its date is not newer.\r\n";
        if (listKept)
            state.recordForUninstall(target, false);
        return false;
    }
    state.installLog += target;
    state.installLog += " is out of date and will be replaced.\r\n";
    return true;
}

ShortcutRecord shortcutFor(const FileEntry& entry, const String& target) {
    ShortcutRecord record;
    record.desktop = (entry.options & DesktopShortcut) != 0;
    record.startMenu = (entry.options & StartMenuShortcut) != 0;
    record.startup = entry.kind == StartupFile;
    record.permanent = entry.permanent();
    record.target = target;
    record.caption =
        entry.detail.isEmpty() ? formatWithText(message(38), fileNamePart(target)) : entry.detail;
    if (!entry.icon.isBlank())
        record.icon = joinPath(installation().uninstallDir, entry.icon);
    record.arguments = entry.arguments;
    expandPathVariables(record.arguments);
    record.workingDirectory = entry.workingDirectory;
    expandPathVariables(record.workingDirectory);
    return record;
}

void registerFont(const FileEntry& entry) {
    RegistryKey fonts;
    if (fonts.open(HKEY_LOCAL_MACHINE, fontsRegistryKey(), 0) != kRegOpenFailed)
        fonts.writeText(entry.detail, entry.name, 0);
    AddFontResourceA(entry.name.c_str());
    Installation& state = installation();
    if (!entry.permanent()) {
        state.productFontsText += '"';
        state.productFontsText += entry.detail;
        state.productFontsText += "\" \"";
        state.productFontsText += entry.name;
        state.productFontsText += "\" ";
    }
    state.fontsAdded = true;
}

// Registers the move of a temporary copy onto the target for the next
// restart; the outcome completes the report.
bool replaceAtRestart(const String& target, const uint8_t* data, int32_t length, String& report) {
    Installation& state = installation();
    String temporary;
    if (!writeTempFile(data, length, temporary)) {
        report.appendFormat("Failed to register '%s' for replacement because no temporary file "
                            "could be created.\r\n%s\r\n",
                            target.c_str(), lastErrorText().c_str());
        state.problemReport += report;
        return false;
    }
    const String shortName = shortPathName(temporary);
    SetLastError(0);
    if (moveFile(shortName, target)) {
        installSettings().productFlags |= RestartRequired;
        report.appendFormat("\"%s\" has been successfully registered for replacement.\r\n"
                            "Temporary file is \"%s\"\r\nReboot will be required.\r\n\r\n",
                            target.c_str(), shortName.c_str());
        state.installLog += report;
        return true;
    }
    report.appendFormat(
        "Failed to register '%s' for replacement with temporary file '%s'\r\n%s\r\n",
        target.c_str(), shortName.c_str(), lastErrorText().c_str());
    deleteFile(shortName, false);
    state.problemReport += report;
    return false;
}

} // namespace

const char* fontsRegistryKey() {
    return isNT() ? "Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts"
                  : "Software\\Microsoft\\Windows\\CurrentVersion\\Fonts";
}

void expandFileSpecification(const String& specification, const String& defaultDir,
                             Array<String>& paths) {
    Array<String> patterns;
    fileSpecificationPatterns(specification, defaultDir, patterns);
    for (const String& pattern : patterns) {
        Array<String> found;
        listFiles(pattern, 0, found);
        for (String& path : found)
            paths.append(static_cast<String&&>(path));
    }
}

void deleteFilesBeforeInstall(const Array<FileDeletion>& deletions) {
    for (const FileDeletion& deletion : deletions) {
        String specification = deletion.pattern;
        expandPathVariables(specification);
        Array<String> paths;
        expandFileSpecification(specification, installation().installDir, paths);
        for (const String& path : paths) {
            FileInfo info;
            if (!fileInfo(path, info))
                continue;
            CorruptionCode code = NotCorrupt;
            const bool holds = deletionConditionHolds(static_cast<int8_t>(deletion.condition),
                                                      deletion.conditionValue, info.lastWriteTime,
                                                      info.size, code);
            if (code != NotCorrupt)
                corruptInstaller(code);
            if (holds)
                deleteMatchedFile(path, deletion);
        }
    }
}

void reportWriteFailure(const String& path) {
    installation().problemReport.appendFormat("%s %s\r\n%s\r\n", message(31).c_str(), path.c_str(),
                                              lastErrorText().c_str());
}

bool writeInstalledFile(const String& target, const uint8_t* data, int32_t length,
                        const TimeStamp& time, int32_t attributes, bool existedBefore,
                        bool* atRestart) {
    if (length < 0)
        corruptInstaller(NegativeWriteLength);
    const InstallSettings& settings = installSettings();
    Installation& state = installation();
    const TimeStamp* stamp = time.hasDate() && time.hasTime() ? &time : nullptr;
    String failure;
    bool written = false;
    for (int attempt = 1; attempt <= kWriteAttempts && !written; ++attempt) {
        if (writeFileWhole(target, data, length, stamp)) {
            if (!settings.has(VerifyWrites) || fileEquals(target, data, length)) {
                written = true;
            } else if (attempt == kWriteAttempts) {
                SetLastError(0);
                reportWriteFailure(target);
                return false;
            }
            continue;
        }
        // Kept now: clearing attributes may change the last error.
        failure = lastErrorText();
        if (attempt == 1 && settings.has(ClearAttributes))
            clearAttributes(target, kBlockingAttributes);
    }
    if (!written) {
        String report = "\r\n";
        report += message(31);
        report += ' ';
        report += target;
        report += "\r\n";
        if (!failure.isEmpty()) {
            report += failure;
            report += "\r\n";
        }
        bool registered = false;
        if (existedBefore || settings.has(ReplaceInUse))
            registered = replaceAtRestart(target, data, length, report);
        else
            state.problemReport += report;
        if (atRestart)
            *atRestart = registered;
        return false;
    }
    if (attributes != -1)
        setAttributeBits(target, uint32_t(attributes), kEntryAttributeMask);
    return true;
}

void placeFiles() {
    Installation& state = installation();
    const InstallSettings& settings = installSettings();
    const ArchiveHeader& header = archiveState().header;
    ArchiveCursor& cursor = archiveCursor();
    state.uninstallList.clear();
    state.recordedDirectories.clear();
    state.permanentFiles.clear();

    TargetPlaces places;
    places.installDir = state.installDir;
    places.uninstallDir = state.uninstallDir;
    places.sharedDir = settings.has(Uninstallable) ? settings.sharedPath : String();
    places.fontDir = fontDir();
    places.systemDir = systemDir();
    const MachinePathVariables variables;
    const bool listInstallTree = !settings.has(RemoveInstallDir);
    PacedProgress paced;
    // Files come folder by folder: the folder just made needs no second look.
    String madeDirectory;

    for (int32_t i = 0; i < header.fileCount; ++i) {
        paced.progress(45 + int(int64_t(i) * 40 / header.fileCount));
        FileEntry entry;
        CorruptionCode code = readFileEntry(cursor, header.fileSize(i), entry);
        if (code != NotCorrupt)
            corruptInstaller(code);
        paced.pump();
        const FileTarget target = fileTarget(entry, places, variables);
        if (target.code != NotCorrupt)
            corruptInstaller(target.code);
        const String& path = target.path;
        if (entry.permanent())
            state.permanentFiles.insert(path);

        String shared;
        if (sharedFileEntry(entry, path, shared)) {
            if (entry.kind == ComServerFile)
                state.comServerList.append(path);
            else if (entry.kind == TypeLibraryFile)
                state.typeLibraryList.append(path);
            state.sharedFileList.append(shared);
        }

        const int32_t rule = entry.existenceRule();
        if (rule == NeverInstall || (rule == InstallWhenPresent && !filePresent(path)))
            continue;
        if (rule == InstallWhenAbsent && filePresent(path)) {
            if (!entry.permanent() && inInstallDirKind(entry.kind))
                state.recordForUninstall(path, false);
            continue;
        }

        bool existedBefore = false;
        if (!shouldReplace(entry, path, existedBefore))
            continue;

        if ((entry.kind == InstallDirFile && hasIconField(entry.options)) ||
            entry.kind == StartupFile)
            state.shortcutList.append(shortcutFor(entry, path));

        const bool listed = listInstallTree && !entry.permanent() && inInstallDirKind(entry.kind);
        if (target.inInstallTree) {
            const String directory = directoryPart(path);
            if (directory.compare(state.installDir.c_str(), false) != 0) {
                if (!directory.equalsString(madeDirectory) && !createDirectoryPath(directory)) {
                    state.problemReport.appendFormat("%s %s\r\n%s\r\nNot installed: %s\r\n\r\n",
                                                     message(25).c_str(), directory.c_str(),
                                                     lastErrorText().c_str(), path.c_str());
                    continue;
                }
                madeDirectory = directory;
                if (listed)
                    state.recordForUninstall(directory, true);
            }
        }
        // Listed only once it is ours: a file of the user's that could not be
        // replaced must not be taken away by the uninstaller.
        bool atRestart = false;
        const bool written = writeInstalledFile(path, entry.data, entry.length, entry.time,
                                                entry.attributes, existedBefore, &atRestart);
        if (listed && (written || atRestart))
            state.recordForUninstall(path, false);
        if (!written)
            continue;
        if (entry.kind == FontFile)
            registerFont(entry);
        String done = String::formatted("%s -> %s", entry.name.c_str(), path.c_str());
        if (settings.has(DetailedLog)) {
            state.installLog += done;
            state.installLog += "\r\n";
        }
        paced.status(static_cast<String&&>(done));
    }
    paced.finish();
    // Programs that list fonts learn of the new ones. Posted, not sent: a
    // window that does not answer must not hold the installation up, and the
    // message carries nothing that has to outlive the call.
    if (state.fontsAdded)
        PostMessageA(HWND_BROADCAST, WM_FONTCHANGE, 0, 0);
    setProgress(87);
}
