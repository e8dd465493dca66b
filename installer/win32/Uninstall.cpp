#include "installer/win32/Uninstall.h"

#include "core/Path.h"
#include "core/StringParse.h"
#include "installer/InstallRecords.h"
#include "installer/InstallSettings.h"
#include "installer/Installation.h"
#include "installer/MessageTable.h"
#include "installer/Startup.h"
#include "installer/UninstallLists.h"
#include "installer/UninstallPaths.h"
#include "installer/UninstallRecord.h"
#include "installer/win32/Associations.h"
#include "installer/win32/Batch.h"
#include "installer/win32/InstallRecords.h"
#include "installer/win32/ProductKeys.h"
#include "installer/win32/Program.h"
#include "installer/win32/Progress.h"
#include "installer/win32/Removal.h"
#include "installer/win32/SharedCounts.h"
#include "platform/DelayedFile.h"
#include "platform/Directory.h"
#include "platform/FileHelpers.h"
#include "platform/Process.h"
#include "platform/Registry.h"

#include <windows.h>

#include <utility>

namespace {

const char kUninstallRoot[] = "Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr int kStepPause = 500;

const char kNoProduct[] = "No product named '%s' is installed.";
const char kNoAccess[] = "Unable to access the uninstall information for:\r\n%s\r\n\r\n"
                         "The uninstallation cannot be performed.";
const char kCorrupt[] = "The uninstall information for %s is corrupt.\r\n\r\n"
                        "The uninstallation cannot be performed.";
const char kSharedCountsFailed[] =
    "REGISTRY ERROR:  Unable to adjust shared file reference counts.\r\n\r\n";
const char kEntryNotRemoved[] =
    "REGISTRY ERROR:  Unable to remove the uninstall information.\r\n\r\n";

// One uninstallation's own state beside the process-wide one.
struct Uninstallation {
    RegistryKey entry;
    String problems;
    UninstallRecord record;
    String productFonts;
};

// The name must be one key below the uninstall root: a blank or a stray
// backslash would make it name the root itself, and deleting the entry
// would then take every product's entry with it.
bool openEntry(const String& name, RegistryKey& entry) {
    const String path = joinPath(kUninstallRoot, name);
    if (!isKeyPath(name) || !RegistryKey::softwareKeyExists(path, false)) {
        showError(kNoProduct, name.c_str());
        return false;
    }
    if (entry.openSoftware(path, false, 0) == kRegOpenFailed) {
        const String& productName = installSettings().productName;
        showError(kNoAccess, (productName.isEmpty() ? name : productName).c_str());
        return false;
    }
    return true;
}

void readDisplayValues(RegistryKey& entry) {
    InstallSettings& s = installSettings();
    installation().displayTitle = entry.readString("DisplayTitle", String(), 0);
    s.titleColor = entry.readInt("TitleColor", int32_t(GetSysColor(COLOR_WINDOWTEXT)), 0);
    s.titleShadow = uint8_t(entry.readInt("TitleShadow", 1, 0));
    s.topColor = entry.readInt("TopColor", int32_t(GetSysColor(COLOR_WINDOW)), 0);
    s.bottomColor = entry.readInt("BottomColor", 0, 0);
    s.monoColor = entry.readBool("MonoColor", true, 0);
    s.titlePosition = uint8_t(entry.readInt("TitlePosition", 0, 0));
    s.titleFont = entry.readString("TitleFont", String(), 0);
    s.taskbarText = entry.readString("TaskbarText", String(), 0);
}

// The product's settings as the installation stored them. False, after
// saying so, when the entry names no usable place.
bool readEntry(const String& name, Uninstallation& u) {
    InstallSettings& s = installSettings();
    Installation& state = installation();
    RegistryKey& entry = u.entry;
    s.productName = entry.readString("DisplayName", String(), 0);
    if (s.productName.isBlank())
        s.productName = name;
    // Everything the removal touches is found from here: a relative or
    // damaged location would point it at whatever folder it runs in.
    state.installDir = entry.readString("InstallLocation", String(), 0);
    if (!isUsableInstallLocation(state.installDir)) {
        showError(kCorrupt, s.productName.c_str());
        return false;
    }
    s.productFlags = uint64_t(toInt64(entry.readString("ProductFlags", "0", 0)));
    if (s.has(AutomaticUninstall))
        programState().automaticMode = true;
    programState().errorsInAutomaticMode = s.has(ErrorsInAutomaticMode);
    readDisplayValues(entry);
    s.uninstallSubdir = entry.readString("UninstallSubdir", String(), 0);
    if (!isUsableSubdir(s.uninstallSubdir)) {
        showError(kCorrupt, s.productName.c_str());
        return false;
    }
    state.uninstallDir = joinPath(state.installDir, s.uninstallSubdir);
    u.productFonts = entry.readString("ProductFonts", String(), 0);
    s.shortcutMode = uint8_t(entry.readInt("ShortcutMode", 0, 0));
    if (s.has(BackgroundBitmap)) {
        s.stretchMode = entry.readInt("StretchMode", 0, 0) & 0xFF;
        s.bitmapSize = entry.readInt("BitmapSize", 0, 0);
    }
    return true;
}

// A missing Uninstall.DAT removes no files and leaves every message empty.
void readRecord(Uninstallation& u) {
    String text;
    readFileText(uninstallDataPath(), text);
    u.record = readUninstallRecord(text);
    installSettings().messageTable = std::move(u.record.strings);
    installSettings().currentLanguage = 0;
}

void confirmUninstall() {
    if (programState().automaticMode)
        return;
    if (MessageBoxA(ownerWindow(), message(53).c_str(), message(55).c_str(),
                    MB_YESNO | MB_ICONQUESTION) != IDYES)
        exitInstaller();
}

void runFirstBatch(Uninstallation& u) {
    const String batch = u.entry.readString("UninstallBatch1", String(), 0);
    if (batch.isEmpty())
        return;
    runBatch(installation().installDir, installSettings().has(HideUninstallBatch1), batch);
    u.entry.deleteValue("UninstallBatch1");
}

void removeFonts(Uninstallation& u) {
    if (u.productFonts.isEmpty())
        return;
    progressStep(67, 5);
    removeProductFonts(u.productFonts);
    u.entry.deleteValue("ProductFonts");
    pauseStep(kStepPause);
}

// Uninstall.DAT again, with what is left for the next run.
void rewriteRecord(const Uninstallation& u) {
    Installation& state = installation();
    deleteFile(installLogPath(), false);
    state.associationList = u.record.unreadAssociations;
    writeUninstallData();
    state.uninstallList.clear();
    state.associationList.clear();
}

// The entry's "SharedFiles" goes once the counts are given back, so that a
// second run after a problem cannot count them down again.
void releaseCounts(Uninstallation& u) {
    const String sharedFiles = u.entry.readString("SharedFiles", String(), 0);
    if (sharedFiles.isEmpty())
        return;
    if (!releaseSharedFiles(sharedFiles)) {
        u.problems += kSharedCountsFailed;
        return;
    }
    u.entry.deleteValue("SharedFiles");
}

void removeProductKeys(Uninstallation& u) {
    const String path = u.entry.readString("ProductRegistry", String(), 0);
    if (path.isEmpty())
        return;
    removeProductRegistryKeys(path);
    u.entry.deleteValue("ProductRegistry");
    pauseStep(kStepPause);
}

// The last steps, only after a removal without problems.
void finishRemoval(Uninstallation& u, const String& name) {
    const InstallSettings& s = installSettings();
    const String& installDir = installation().installDir;
    deleteFile(uninstallDataPath(), false);
    if (s.has(AddToPath)) {
        const String problem = updateAutoexecPath(false);
        if (!programState().automaticMode && !problem.isEmpty())
            showError("%s", problem.c_str());
    }
    runBatch(driveRoot(installDir), s.has(HideUninstallBatch2),
             u.entry.readString("UninstallBatch2", String(), 0));
    u.entry.deleteValue("UninstallBatch2");
    u.entry.closeAll();
    RegistryKey root;
    if (root.deleteSoftwareKey(kUninstallRoot, name, false, 0) == kRegDeleteFailed)
        u.problems += kEntryNotRemoved;
}

void reportOutcome(const String& problems) {
    if (programState().automaticMode)
        return;
    if (problems.isEmpty())
        MessageBoxA(ownerWindow(), message(34).c_str(), message(15).c_str(), MB_ICONINFORMATION);
    else
        MessageBoxA(ownerWindow(), formatWithText(message(10), problems).c_str(),
                    message(20).c_str(), MB_ICONWARNING);
}

} // namespace

bool uninstallProduct(const String& name) {
    Uninstallation u;
    if (!openEntry(name, u.entry) || !readEntry(name, u))
        return false;
    InstallSettings& s = installSettings();
    Installation& state = installation();
    readRecord(u);
    confirmUninstall();
    openProgressDialog();

    s.sharedPath = u.entry.readString("SharedPath", String(), 0);
    runFirstBatch(u);
    if (u.record.associations.count() > 0) {
        progressStep(70, 1);
        removeFileAssociations(u.record.associations, s.productName);
        pauseStep(kStepPause);
    }
    removeFonts(u);

    const Array<String> kept = keptFolders();
    Array<String> directories;
    removeRecordedFiles(u.record.fileList, directories, u.problems);
    removeRecordedDirectories(directories, state.installDir, kept);
    pauseStep(kStepPause);
    progressStep(68, 90);
    rewriteRecord(u);
    removeStartMenuFolder(u.entry.readString("ProductStartMenu", String(), 0), s.shortcutMode == 1);
    releaseCounts(u);
    if (isRemovablePath(s.sharedPath) && !holdsAnyOf(s.sharedPath, kept))
        removeDirectory(s.sharedPath);
    pauseStep(kStepPause);
    progressStep(69, 95);
    removeProductKeys(u);

    // After a problem the tree stays: removing it would take the rewritten
    // Uninstall.DAT that the next run needs.
    if (s.has(RemoveInstallDir) && u.problems.isEmpty() &&
        mayRemoveInstallTree(state.installDir, kept))
        removeDirectoryTree(state.installDir);
    if (u.problems.isEmpty())
        finishRemoval(u, name);

    u.entry.closeAll();
    closeProgressDialog();
    reportOutcome(u.problems);
    return u.problems.isEmpty();
}

int startSelfDelete(const String& batchPath) {
    const StartupValues& startup = startupValues();
    const Installation& state = installation();
    const bool ownCopy = samePath(directoryPart(startup.installerPath), state.uninstallDir);
    const String text =
        cleanupBatchText(ownCopy ? startup.installerPath : String(), state.installDir,
                         installSettings().uninstallSubdir, batchPath);
    if (!writeFile(batchPath, text))
        return 1;
    String processor = startup.commandProcessor;
    processor.stripEnclosing('"');
    String commandLine = "\"";
    commandLine += processor;
    commandLine += "\" /c ";
    commandLine += batchPath;
    return startInMinimizedConsole(processor, commandLine) ? 0 : 2;
}
