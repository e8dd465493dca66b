#include "installer/win32/Install.h"

#include "core/Number.h"
#include "core/Path.h"
#include "installer/Archive.h"
#include "installer/CommandLine.h"
#include "installer/DisplaySettings.h"
#include "installer/InstallRecords.h"
#include "installer/InstallSequence.h"
#include "installer/InstallSettings.h"
#include "installer/Installation.h"
#include "installer/MessageTable.h"
#include "installer/Startup.h"
#include "installer/UninstallPaths.h"
#include "installer/UninstallRecord.h"
#include "installer/win32/Archive.h"
#include "installer/win32/Associations.h"
#include "installer/win32/BackgroundWindow.h"
#include "installer/win32/Batch.h"
#include "installer/win32/Dialogs.h"
#include "installer/win32/InstallRecords.h"
#include "installer/win32/PackedDibFile.h"
#include "installer/win32/Placement.h"
#include "installer/win32/ProductKeys.h"
#include "installer/win32/Program.h"
#include "installer/win32/Progress.h"
#include "installer/win32/Registration.h"
#include "installer/win32/SharedCounts.h"
#include "installer/win32/ShellNotify.h"
#include "installer/win32/Shortcuts.h"
#include "platform/DelayedFile.h"
#include "platform/Directory.h"
#include "platform/Disk.h"
#include "platform/ErrorText.h"
#include "platform/KnownFolders.h"
#include "platform/OsVersion.h"
#include "platform/Process.h"
#include "platform/Registry.h"
#include "platform/Restart.h"

#include <windows.h>

namespace {

constexpr int kDialogOk = 1001;

InstallSettings& settings() {
    return installSettings();
}

void showMessageError(const String& text) {
    showError("%s", text.c_str());
}

// The page texts with the product and the Windows directory filled in.
String pageText(const String& text) {
    String page = text;
    page.replaceAll("<product>", settings().productName.c_str(), kFindNoCase);
    page.replaceAll("<os>", startupValues().windowsDir.c_str(), kFindNoCase);
    return page;
}

// The pages of one kind, the message first; any answer but OK ends.
void showPages(int firstMessage, const Array<String>& texts, int (*show)(const char*)) {
    Array<String> pages;
    pages.append(message(firstMessage));
    for (const String& text : texts)
        pages.append(text);
    for (const String& text : pages) {
        if (text.isBlank())
            continue;
        if (show(pageText(text).c_str()) != kDialogOk)
            exitInstaller();
    }
}

struct ExistingInstallation {
    bool found = false;
    String location;
    String displayVersion;
    String sharedFiles;
};

// A product's uninstall entry, read without creating it.
bool openUninstallEntry(RegistryKey& key, const String& name) {
    return key.openSoftware(joinPath(kUninstallEntryRoot, name), false,
                            kRegOpenExisting | kRegReadOnly) != kRegOpenFailed;
}

void checkMasterProduct() {
    InstallSettings& s = settings();
    if (!s.has(MasterProduct))
        return;
    if (s.masterProductName.isBlank())
        s.masterProductName = s.productName;
    RegistryKey key;
    const bool installed =
        openUninstallEntry(key, s.masterProductName) &&
        (key.valueExists(kUninstallStringValue) || key.valueExists(kQuietUninstallStringValue));
    if (!installed) {
        showMessageError(formatWithText(message(12), s.masterProductName));
        exitInstaller();
    }
    if (s.defaultInstallDir.compare("<master>", false) == 0)
        s.defaultInstallDir = key.readString(kInstallLocationValue);
}

// What the existing installation recorded, when its entry vouches for its
// Uninstall.DAT: this installation finds those files and keys in place, and
// they must still go with the product.
void readPreviousRecord(RegistryKey& entry, const String& location) {
    const String subdir = entry.readString(kUninstallSubdirValue);
    if (!isUsableSubdir(subdir))
        return;
    String text;
    if (!readVouchedRecord(entry, joinPath(location, joinPath(subdir, String(kUninstallDataName))),
                           text))
        return;
    UninstallRecord record = readUninstallRecord(text);
    Installation& state = installation();
    state.previousAssociations = static_cast<Array<RecordedAssociation>&&>(record.associations);
    state.previousFileList = static_cast<String&&>(record.fileList);
}

ExistingInstallation findExistingInstallation() {
    ExistingInstallation existing;
    if (!settings().has(Uninstallable))
        return existing;
    RegistryKey key;
    if (!openUninstallEntry(key, settings().uninstallKey))
        return existing;
    existing.location = key.readString(kInstallLocationValue);
    existing.displayVersion = key.readString(kDisplayVersionValue);
    existing.sharedFiles = key.readString(kSharedFilesValue);
    existing.found = !existing.location.isEmpty() && directoryExists(existing.location);
    if (existing.found)
        readPreviousRecord(key, existing.location);
    return existing;
}

// The outermost folder that creating `dir` would make; empty when it exists.
String outermostMissingFolder(const String& dir) {
    String missing;
    String current = dir;
    current.removeTrailingRun('\\');
    while (current.length() > 3 && !directoryExists(current)) {
        missing = current;
        const String parent = directoryPart(current);
        if (parent.length() >= current.length())
            break;
        current = parent;
        current.removeTrailingRun('\\');
    }
    return missing;
}

// Creates the install directory, noting the folders made for it, so that the
// uninstaller removes those once they are empty and never one that was there.
bool createInstallDirectory(const String& dir) {
    const String missing = outermostMissingFolder(dir);
    if (!createDirectoryPath(dir))
        return false;
    installation().createdFolder = missing;
    return true;
}

void confirmReinstall(const ExistingInstallation& existing) {
    const InstallSettings& s = settings();
    if (s.has(RefuseReinstall)) {
        programState().automaticMode = false;
        showMessageError(message(9));
        exitInstaller();
    }
    if (!programState().automaticMode && !s.has(NoReinstallPrompt)) {
        const int id = reinstallMessageId(s.has(CompareVersionsOnReinstall),
                                          existing.displayVersion, s.displayVersion);
        String text = message(id);
        text += "\r\n";
        text += existing.location;
        text += "\r\n\r\n";
        text += message(7);
        if (messageBox(text.c_str(), 2, MB_YESNO | MB_ICONQUESTION) != IDYES)
            exitInstaller();
    }
    installation().reinstall = true;
    installation().installDir = existing.location;
}

bool askYesNo(const String& text, const String& caption) {
    return MessageBoxA(ownerWindow(), text.c_str(), caption.c_str(), MB_YESNO | MB_ICONQUESTION) ==
           IDYES;
}

// The directory could not be made: why, as the system says.
void showDirectoryFailure(const String& dir) {
    String error = lastErrorText();
    error.trimRight();
    String text = message(25);
    text += "\r\n";
    text += dir;
    text += "\r\n\r\n";
    text += error;
    showMessageError(text);
}

// One round of the directory checks; false sends the user back to the dialog.
bool directoryAccepted(const String& dir) {
    const InstallSettings& s = settings();
    if (!isValidPath(dir, 0) || !isAbsolutePath(dir.c_str())) {
        showError("%s\r\n%s", message(14).c_str(), dir.c_str());
        return false;
    }
    const bool network = dir.startsWith("\\\\");
    if (network && s.has(RefuseNetworkPath)) {
        showMessageError(message(66));
        return false;
    }
    const char drive = driveLetter(dir);
    if (drive && !driveExists(dir)) {
        showMessageError(formatMessage(message(16), {drive}));
        return false;
    }
    if (dir.length() <= 3) {
        showMessageError(message(17));
        return false;
    }
    const String programFiles = programsDir();
    if (samePath(dir, programFiles)) {
        showMessageError(formatWithText(message(18), programFiles));
        return false;
    }
    if (drive) {
        const int64_t needed = neededSpace(archiveState().header, clusterSize(dir));
        const uint64_t free = freeBytes(dir);
        if (uint64_t(needed) >= free &&
            !askYesNo(formatMessage(message(19),
                                    {formatByteSize(needed), drive, formatByteSize(int64_t(free))}),
                      message(20)))
            return false;
    }
    const bool exists = directoryExists(dir);
    if (s.has(ConfirmInstallDir) &&
        !askYesNo(formatWithText(message(exists ? 22 : 23), dir), message(24)))
        return false;
    if (exists || createInstallDirectory(dir))
        return true;
    showDirectoryFailure(dir);
    return false;
}

void chooseInstallDirectory() {
    for (;;) {
        if (!chooseDirectory())
            exitInstaller();
        String& dir = installation().installDir;
        dir.trim();
        if (!dir.isEmpty() && directoryAccepted(dir))
            return;
    }
}

void settleInstallDirectory(const ExistingInstallation& existing) {
    const InstallSettings& s = settings();
    if (s.has(Uninstallable) && existing.found) {
        confirmReinstall(existing);
        return;
    }
    String& dir = installation().installDir;
    if (dir.isEmpty())
        dir = s.defaultInstallDir;
    if (!programState().automaticMode && s.has(AskInstallDir)) {
        chooseInstallDirectory();
        return;
    }
    // Nothing may be registered for a product whose folder is not there.
    if (!directoryExists(dir) && !createInstallDirectory(dir)) {
        showDirectoryFailure(dir);
        exitInstaller();
    }
}

void runSettingBatch(const String& setting, const String& extra, ProductFlag hide) {
    runBatch(installation().installDir, settings().has(hide), batchCommands(setting, extra));
}

// True when Uninstall.exe landed whole.
bool writeUninstaller() {
    const String path = uninstallerPath();
    const String& image = archiveState().uninstallerImage;
    FileInfo info;
    return writeInstalledFile(path, reinterpret_cast<const uint8_t*>(image.c_str()), image.length(),
                              settings().packageTime, -1, filePresent(path)) &&
           fileInfo(path, info) && info.size == uint64_t(image.length());
}

// Uninstall.DAT first, then the entry that vouches for it, with no message
// pumped in between: a Cancel cannot leave an entry without its record, and
// an uninstaller or record that did not land whole is never registered.
void writeUninstallRecords(bool uninstallerWritten) {
    String digest;
    if (!writeUninstallData(digest))
        reportWriteFailure(uninstallDataPath());
    writeUninstallEntry(uninstallerWritten ? digest : String());
}

// The uninstaller shows the same picture, from a file beside it.
void saveBackgroundBitmap() {
    const PackedDib& bitmap = displaySettings().backgroundBitmap;
    if (!settings().has(BackgroundBitmap) || bitmap.isEmpty())
        return;
    const String path = joinPath(installation().uninstallDir, kBackgroundBitmapFileName);
    if (savePackedDibFile(bitmap, path))
        installation().recordForUninstall(path, false);
}

void removeIfEmpty(const String& path) {
    const String dir = removableDirectory(path);
    if (!dir.isEmpty())
        RemoveDirectoryA(dir.c_str());
}

} // namespace

void runInstallation(File& installer, const CommandLine& commandLine) {
    InstallSettings& s = settings();
    Installation& state = installation();
    ProgramState& program = programState();
    state.installDir = commandLine.installDir;

    if (s.languages.count() > 1 && !program.automaticMode && chooseLanguage() != kDialogOk)
        exitInstaller();
    displaySettings().displayTitle = message(0);
    invalidateBackgroundWindow();

    if (s.excludedSystems & osFlag()) {
        showMessageError(formatWithText(message(61), osName()));
        exitInstaller();
    }
    checkMasterProduct();
    const ExistingInstallation existing = findExistingInstallation();
    state.previousSharedFiles = existing.sharedFiles;

    if (!program.automaticMode) {
        showPages(63, s.licenseTexts, showLicencePage);
        showPages(64, s.readmeTexts, showReadmePage);
    }
    settleInstallDirectory(existing);

    state.problemReport.clear();
    state.uninstallDir = joinPath(state.installDir, s.uninstallSubdir);
    runSettingBatch(s.preInstallBatch, commandLine.extraBatch[0], HidePreInstallBatch);

    openProgressDialog();
    progressStep(8, 2);
    loadDataArea(installer);
    markStep();

    if (!s.uninstallSubdir.isEmpty())
        createDirectoryPath(state.uninstallDir);
    deleteFilesBeforeInstall(s.fileDeletions);
    state.uninstallList.clear();
    state.recordedDirectories.clear();
    placeFiles();
    setProgress(87);

    updateSharedFileCounts();
    registerComServers();
    registerTypeLibraries();
    pauseStep(s.stepPause);
    progressStep(32, 90);
    addUninstallerDesktopShortcut();
    createShortcuts();
    createUninstallerShortcuts();
    setProgress(95);
    pauseStep(s.stepPause);

    saveBackgroundBitmap();
    createProductRegistryKeys();
    createFileAssociations();
    if (s.has(AddToPath))
        state.problemReport += updateAutoexecPath(true);
    const bool uninstallerWritten = s.has(Uninstallable) && writeUninstaller();
    pauseStep(s.stepPause);
    progressStep(36, 100);
    if (s.has(Uninstallable)) {
        if (state.reinstall)
            state.keepPreviousFiles();
        writeUninstallRecords(uninstallerWritten);
    }
    runSettingBatch(s.postInstallBatch, commandLine.extraBatch[1], HidePostInstallBatch);
    if (state.desktopChanged)
        notifyDesktopChanged(s.shortcutMode == 1);
    pauseStep(s.stepPause);
    closeProgressDialog();

    if (!commandLine.runOnExit.isEmpty())
        state.installLog.appendFormat("Launch on exit: %s\r\n", commandLine.runOnExit.c_str());
    finishInstallation(state.reinstall, state.problemReport);

    bool restart = false;
    if (s.has(RestartRequired)) {
        if (program.automaticMode && !s.has(AskRestartInAutomaticMode))
            restart = true;
        else
            restart = MessageBoxA(program.backgroundWindow, message(37).c_str(),
                                  message(20).c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES;
    }
    runSettingBatch(s.exitBatch, commandLine.extraBatch[2], HideExitBatch);
    removeIfEmpty(s.sharedPath);
    removeIfEmpty(state.uninstallDir);
    removeIfEmpty(state.installDir);
    if (restart)
        restartSystem();
    else if (state.problemReport.isEmpty() && !commandLine.runOnExit.isEmpty())
        runProcess(commandLine.runOnExit, 0, String());
    exitInstaller();
}
