#include "installer/win32/Uninstall.h"

#include "core/Path.h"
#include "core/StringParse.h"
#include "installer/DisplaySettings.h"
#include "installer/InstallRecords.h"
#include "installer/InstallSettings.h"
#include "installer/Installation.h"
#include "installer/MessageTable.h"
#include "installer/Startup.h"
#include "installer/UninstallLists.h"
#include "installer/UninstallPaths.h"
#include "installer/UninstallRecord.h"
#include "installer/win32/Associations.h"
#include "installer/win32/BackgroundWindow.h"
#include "installer/win32/Batch.h"
#include "installer/win32/InstallRecords.h"
#include "installer/win32/PackedDibFile.h"
#include "installer/win32/ProductKeys.h"
#include "installer/win32/Program.h"
#include "installer/win32/Progress.h"
#include "installer/win32/Removal.h"
#include "installer/win32/SharedCounts.h"
#include "platform/DelayedFile.h"
#include "platform/Directory.h"
#include "platform/File.h"
#include "platform/FileHelpers.h"
#include "platform/KnownFolders.h"
#include "platform/Process.h"
#include "platform/Registry.h"
#include "platform/SystemNames.h"

#include <windows.h>

#include <utility>

namespace {

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

// The entry's values by name; missing ones read as the fallback. One call
// each, so that the many reads stay small.
int32_t numberOf(RegistryKey& key, const char* name, int32_t fallback) {
    return key.readInt(name, fallback, 0);
}

void dropValue(RegistryKey& key, const char* name) {
    key.deleteValue(name);
}

// One uninstallation's own state beside the process-wide one.
struct Uninstallation {
    RegistryKey entry;
    String problems;
    UninstallRecord record;
    bool recordVouched = false;
    String productFonts;
};

// The name must be one key below the uninstall root: a blank or a stray
// backslash would make it name the root itself, and deleting the entry
// would then take every product's entry with it.
bool openEntry(const String& name, RegistryKey& entry) {
    const String path = joinPath(kUninstallEntryRoot, name);
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

// What the background window shows, as the installation stored it.
void readDisplayValues(RegistryKey& entry, uint64_t productFlags) {
    DisplaySettings& display = displaySettings();
    display.displayTitle = entry.readString(kDisplayTitleValue);
    display.titleColor =
        uint32_t(numberOf(entry, kTitleColorValue, int32_t(GetSysColor(COLOR_WINDOWTEXT))));
    display.titleShadow = uint8_t(numberOf(entry, kTitleShadowValue, 1));
    display.topColor =
        uint32_t(numberOf(entry, kTopColorValue, int32_t(GetSysColor(COLOR_WINDOW))));
    display.bottomColor = uint32_t(numberOf(entry, kBottomColorValue, 0));
    display.monoColor = entry.readBool(kMonoColorValue, true, 0);
    display.titlePosition = uint8_t(numberOf(entry, kTitlePositionValue, 0));
    display.titleFont = entry.readString(kTitleFontValue);
    display.taskbarText = entry.readString(kTaskbarTextValue);
    display.maximizeBackground = hasFlag(productFlags, MaximizeBackground);
}

// The picture the installation left for the background; none without BackgroundBitmap.
void readBackgroundBitmap(RegistryKey& entry, uint64_t productFlags) {
    DisplaySettings& display = displaySettings();
    display.backgroundBitmap.clear();
    if (!hasFlag(productFlags, BackgroundBitmap))
        return;
    loadPackedDibFile(joinPath(installation().uninstallDir, kBackgroundBitmapFileName),
                      display.backgroundBitmap);
    display.stretchMode = uint8_t(numberOf(entry, kStretchModeValue, 0));
    display.bitmapSize = numberOf(entry, kBitmapSizeValue, 0);
}

// The product's settings as the installation stored them. False, after
// saying so, when the entry names no usable place.
bool readEntry(const String& name, Uninstallation& u) {
    InstallSettings& s = installSettings();
    Installation& state = installation();
    RegistryKey& entry = u.entry;
    s.productName = entry.readString(kDisplayNameValue);
    if (s.productName.isBlank())
        s.productName = name;
    // Everything the removal touches is found from here: a relative or
    // damaged location would point it at whatever folder it runs in.
    state.installDir = entry.readString(kInstallLocationValue);
    if (!isUsableInstallLocation(state.installDir)) {
        showError(kCorrupt, s.productName.c_str());
        return false;
    }
    s.productFlags = uint64_t(toInt64(entry.readString(kProductFlagsValue)));
    if (s.has(AutomaticUninstall))
        programState().automaticMode = true;
    programState().errorsInAutomaticMode = s.has(ErrorsInAutomaticMode);
    readDisplayValues(entry, s.productFlags);
    s.uninstallSubdir = entry.readString(kUninstallSubdirValue);
    if (!isUsableSubdir(s.uninstallSubdir)) {
        showError(kCorrupt, s.productName.c_str());
        return false;
    }
    state.uninstallDir = joinPath(state.installDir, s.uninstallSubdir);
    u.productFonts = entry.readString(kProductFontsValue);
    state.createdFolder = entry.readString(kCreatedFolderValue);
    s.shortcutMode = uint8_t(numberOf(entry, kShortcutModeValue, 0));
    readBackgroundBitmap(entry, s.productFlags);
    return true;
}

// A missing Uninstall.DAT removes no files and leaves every message empty.
// How far the record is trusted is described at readVouchedRecord: one the
// entry does not vouch for keeps its messages, loses what its associations
// say they made, and is confined to the product's places (confinedPlaces).
void readRecord(Uninstallation& u) {
    String text;
    u.recordVouched = readVouchedRecord(u.entry, uninstallDataPath(), text);
    u.record = readUninstallRecord(text);
    if (!u.recordVouched)
        for (RecordedAssociation& association : u.record.associations)
            association.made = 0;
    installSettings().messageTable = std::move(u.record.strings);
    installSettings().currentLanguage = 0;
}

// Where an unvouched record may still remove files and folders: the install
// directory and the product's Start Menu folder, as the uninstall entry names
// them, which only an administrator can change. Not the shared directory,
// which the publisher's other products use too.
Array<String> confinedPlaces(Uninstallation& u) {
    Array<String> places;
    places.append(installation().installDir);
    const String startMenu = u.entry.readString(kProductStartMenuValue);
    if (!startMenu.isBlank()) {
        for (const String& programs : {smProgramsDir(), smProgramsAllDir()}) {
            const Array<String> chain = startMenuChain(programs, startMenu);
            if (chain.count() > 0)
                places.append(chain[0]);
        }
    }
    return places;
}

void confirmUninstall() {
    if (programState().automaticMode)
        return;
    if (messageBox(message(53).c_str(), 55, MB_YESNO | MB_ICONQUESTION) != IDYES)
        exitInstaller();
}

void runFirstBatch(Uninstallation& u) {
    const String batch = u.entry.readString(kUninstallBatch1Value);
    if (batch.isEmpty())
        return;
    runBatch(installation().installDir, installSettings().has(HideUninstallBatch1), batch);
    dropValue(u.entry, kUninstallBatch1Value);
}

void removeFonts(Uninstallation& u) {
    if (u.productFonts.isEmpty())
        return;
    progressStep(67, 5);
    removeProductFonts(u.productFonts);
    dropValue(u.entry, kProductFontsValue);
    pauseStep(kStepPause);
}

// Uninstall.DAT again, with what is left for the next run, and the entry's
// digest with it: what this run wrote is what the next run may trust. An
// unvouched record stays unvouched.
void rewriteRecord(Uninstallation& u) {
    Installation& state = installation();
    deleteFile(installLogPath(), false);
    state.associationList = u.record.unreadAssociations;
    String digest;
    if (writeUninstallData(digest) && u.recordVouched)
        u.entry.writeText(kUninstallDataDigestValue, digest, 0);
    else
        u.entry.deleteValue(kUninstallDataDigestValue);
    state.uninstallList.clear();
    state.associationList.clear();
}

// The entry's "SharedFiles" goes once the counts are given back, so that a
// second run after a problem cannot count them down again.
void releaseCounts(Uninstallation& u) {
    const String sharedFiles = u.entry.readString(kSharedFilesValue);
    if (sharedFiles.isEmpty())
        return;
    if (!releaseSharedFiles(sharedFiles)) {
        u.problems += kSharedCountsFailed;
        return;
    }
    dropValue(u.entry, kSharedFilesValue);
}

void removeProductKeys(Uninstallation& u) {
    const String path = u.entry.readString(kProductRegistryValue);
    if (path.isEmpty())
        return;
    removeProductRegistryKeys(path);
    dropValue(u.entry, kProductRegistryValue);
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
             u.entry.readString(kUninstallBatch2Value), true);
    dropValue(u.entry, kUninstallBatch2Value);
    u.entry.closeAll();
    RegistryKey root;
    if (root.deleteSoftwareKey(kUninstallEntryRoot, name, false, 0) == kRegDeleteFailed)
        u.problems += kEntryNotRemoved;
}

void reportOutcome(const String& problems) {
    if (programState().automaticMode)
        return;
    if (problems.isEmpty())
        messageBox(message(34).c_str(), 15, MB_ICONINFORMATION);
    else
        messageBox(formatWithText(message(10), problems).c_str(), 20, MB_ICONWARNING);
}

} // namespace

bool uninstallProduct(const String& name) {
    Uninstallation u;
    if (!openEntry(name, u.entry) || !readEntry(name, u))
        return false;
    // The same background as the installation, from the entry's values.
    if (!installSettings().has(NoBackgroundWindow))
        createBackgroundWindow(GetModuleHandleA(nullptr));
    InstallSettings& s = installSettings();
    Installation& state = installation();
    readRecord(u);
    confirmUninstall();
    openProgressDialog();

    s.sharedPath = u.entry.readString(kSharedPathValue);
    runFirstBatch(u);
    if (u.record.associations.count() > 0) {
        progressStep(70, 1);
        removeFileAssociations(u.record.associations, s.productName);
        pauseStep(kStepPause);
    }
    removeFonts(u);

    const Array<String> kept = keptFolders();
    Array<String> directories;
    const Array<String> places = confinedPlaces(u);
    removeRecordedFiles(u.record.fileList, directories, u.problems,
                        u.recordVouched ? nullptr : &places);
    removeRecordedDirectories(directories, state.installDir, kept);
    pauseStep(kStepPause);
    progressStep(68, 90);
    rewriteRecord(u);
    removeStartMenuFolder(u.entry.readString(kProductStartMenuValue), s.shortcutMode == 1);
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

int startSelfDelete(const String& givenPath) {
    const StartupValues& startup = startupValues();
    const Installation& state = installation();
    const bool ownCopy = samePath(directoryPart(startup.installerPath), state.uninstallDir);
    File file;
    String batchPath = givenPath;
    if (batchPath.isEmpty()) {
        if (!createPrivateBatch(file, batchPath))
            return 1;
    } else if (file.open(batchPath.c_str(), CreateNew | NoRead) != FileOpened) {
        return 1;
    }
    const String text =
        cleanupBatchText(ownCopy ? startup.installerPath : String(), state.installDir,
                         installSettings().uninstallSubdir, batchPath,
                         createdParentChain(state.installDir, state.createdFolder, keptFolders()));
    const bool written = file.writeBlock(text.c_str(), text.length());
    file.close();
    if (!written) {
        deleteFile(batchPath, false);
        return 1;
    }
    String processor = startup.commandProcessor;
    processor.stripEnclosing('"');
    String commandLine = "\"";
    commandLine += processor;
    commandLine += "\" /c ";
    // The temporary folder may have blanks in its path ("Documents and
    // Settings"): the short name has none, and quotes are the fallback.
    const String shortPath = shortPathName(batchPath);
    if (shortPath.findChar(' ') < 0) {
        commandLine += shortPath;
    } else {
        commandLine += '"';
        commandLine += shortPath;
        commandLine += '"';
    }
    return startInMinimizedConsole(processor, commandLine) ? 0 : 2;
}
