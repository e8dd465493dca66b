#include "installer/win32/InstallRecords.h"

#include "core/DateTime.h"
#include "core/Number.h"
#include "core/Path.h"
#include "core/Sha256.h"
#include "core/Variant.h"
#include "installer/CommandLine.h"
#include "installer/DisplaySettings.h"
#include "installer/InstallRecords.h"
#include "installer/InstallSettings.h"
#include "installer/Installation.h"
#include "installer/MessageTable.h"
#include "installer/Startup.h"
#include "installer/win32/Batch.h"
#include "installer/win32/Program.h"
#include "platform/DelayedFile.h"
#include "platform/ErrorText.h"
#include "platform/FileHelpers.h"
#include "platform/Process.h"
#include "platform/Registry.h"

#include <windows.h>

namespace {

const char kEntryNotSaved[] = "Unable to save the uninstall information to the registry.  "
                              "Uninstall will not work properly.\r\n\r\n";

String inUninstallDir(const char* name) {
    return joinPath(installation().installDir,
                    joinPath(installSettings().uninstallSubdir, String(name)));
}

void writeUninstallDataValues(RegistryKey& key) {
    for (const UninstallData& record : installSettings().uninstallData) {
        String value = record.value;
        expandPathVariables(value);
        Variant variant(value);
        if (record.type == UninstallNumber)
            variant.convertTo(VariantKind::UInt32);
        const uint32_t flags =
            kRegEmptyDeletes | (record.type == UninstallExpandText ? kRegExpandText : 0);
        key.writeValue(record.name, variant, flags);
    }
}

} // namespace

String installLogPath() {
    return inUninstallDir(kInstallLogName);
}

String uninstallDataPath() {
    return inUninstallDir(kUninstallDataName);
}

bool writeUninstallEntry(const String& dataDigest) {
    const InstallSettings& s = installSettings();
    Installation& state = installation();
    if (dataDigest.isEmpty()) {
        state.problemReport += kEntryNotSaved;
        return false;
    }
    RegistryKey key;
    if (key.openSoftware(joinPath(kUninstallEntryRoot, s.uninstallKey), false, 0) ==
        kRegOpenFailed) {
        state.problemReport += kEntryNotSaved;
        return false;
    }
    const String program = uninstallerPath();
    const String argument = uninstallerArguments();
    const String uninstallString = quotedCommandLine(program, argument);
    String quietArguments = "/a ";
    quietArguments += argument;
    const String quiet = quotedCommandLine(program, quietArguments);

    key.writeText(kUninstallStringValue, uninstallString, 0);
    key.writeText(kQuietUninstallStringValue, quiet, 0);
    key.writeText(kDisplayNameValue, s.productName, 0);
    key.writeText("InstallSource", installerFileFromCommandLine(GetCommandLineA()), 0);
    key.writeText(kDisplayVersionValue, s.displayVersion, kRegEmptyDeletes);
    key.writeText("Publisher", s.publisher, kRegEmptyDeletes);
    if (hasVersionNumbers(s.displayVersion)) {
        key.writeInt("VersionMajor", versionMajor(s.displayVersion), 0);
        key.writeInt("VersionMinor", versionMinor(s.displayVersion), 0);
    }
    key.writeText(kProductRegistryValue, s.productRegistry, kRegEmptyDeletes);
    key.writeText(kProductStartMenuValue, s.productStartMenu, kRegEmptyDeletes);
    key.writeText(kSharedPathValue, MachinePathVariables().value(PathVariable::SharedDir),
                  kRegEmptyDeletes);
    key.writeText(kProductFontsValue, state.productFontsText, kRegEmptyDeletes);
    key.writeText(kProductFlagsValue, fromInt64(int64_t(s.productFlags)), 0);
    key.writeText(kUninstallBatch1Value, s.uninstallBatch1, kRegEmptyDeletes);
    key.writeText(kUninstallBatch2Value, s.uninstallBatch2, kRegEmptyDeletes);
    key.writeText(kSharedFilesValue, state.sharedFilesText, kRegEmptyDeletes);
    key.writeText(kUninstallSubdirValue, s.uninstallSubdir, kRegEmptyDeletes);
    key.writeInt(kShortcutModeValue, s.shortcutMode, kRegEmptyDeletes);
    key.writeText(kDisplayTitleValue, displaySettings().displayTitle, 0);
    key.writeInt(kTitleColorValue, s.titleColor, 0);
    key.writeInt(kTopColorValue, s.topColor, 0);
    if (s.monoColor)
        key.deleteValue(kBottomColorValue);
    else
        key.writeInt(kBottomColorValue, s.bottomColor, 0);
    key.writeBoolAsInt(kMonoColorValue, s.monoColor);
    key.writeInt(kTitleShadowValue, s.titleShadow, 0);
    key.writeInt(kTitlePositionValue, s.titlePosition, 0);
    key.writeText(kTitleFontValue, s.titleFont, 0);
    key.writeText(kTaskbarTextValue, s.taskbarText, 0);
    if (s.has(BackgroundBitmap)) {
        key.writeInt(kBitmapSizeValue, s.bitmapSize, 0);
        key.writeInt(kStretchModeValue, s.stretchMode, 0);
    }
    writeUninstallDataValues(key);
    key.writeText(kInstallLocationValue, state.installDir, 0);
    key.writeText("InstallDate", formatNow(""), 0);
    // A reinstallation into the same place creates none, and keeps the first one's.
    if (!state.createdFolder.isEmpty())
        key.writeText(kCreatedFolderValue, state.createdFolder, 0);
    key.writeText(kUninstallDataDigestValue, dataDigest, 0);

    if (!key.readString(kUninstallStringValue).equalsString(uninstallString)) {
        state.problemReport += kEntryNotSaved;
        return false;
    }
    return true;
}

bool writeUninstallData(String& digest) {
    Array<String> strings;
    for (int id : kUninstallStringIds)
        strings.append(message(id));
    const Installation& state = installation();
    const String text = uninstallDataText(state.uninstallList, strings, state.associationList);
    digest.clear();
    if (!writeFile(uninstallDataPath(), text))
        return false;
    // Read back: only the bytes that landed may be vouched for.
    String written;
    if (readFileText(uninstallDataPath(), written) != FileOpened || !written.equalsString(text))
        return false;
    digest = sha256Hex(text);
    return true;
}

// The design: Uninstall.DAT lies in the product's folder, where whoever may
// write there can add a line naming any file or key; the uninstall entry
// needs administrator rights. So the entry keeps the file's digest, written
// with it, and the uninstaller acts in full only on a file that matches.
// A file that does not match, or one from before the digest was kept, is
// still read, but confined: its files and folders only inside the product's
// own places, no "!" keys, and no association key or value but those the
// product kept a backup for.
bool readVouchedRecord(RegistryKey& entry, const String& path, String& text) {
    text.clear();
    readFileText(path, text);
    const String digest = entry.readString(kUninstallDataDigestValue);
    return digest.length() == 64 && digest.compare(sha256Hex(text).c_str(), false) == 0;
}

void finishInstallation(bool isReinstall, const String& report) {
    const InstallSettings& s = installSettings();
    const bool automatic = programState().automaticMode;
    const bool problems = !report.isEmpty();
    const String logPath = installLogPath();
    String problemPart = report;
    if (!problems) {
        problemPart += message(43);
        problemPart += "\r\n\r\n";
    }
    // The log is written before the report is shown, so that the report
    // never points at a log that is not there.
    bool logWritten = false;
    String logError;
    const bool wantLog = s.has(AlwaysWriteLog) || problems;
    if (wantLog) {
        InstallLogHead head;
        head.productName = s.productName;
        head.installDate = formatNow("d-M-yy h:ii:ssap");
        head.uninstallable = s.has(Uninstallable);
        head.reinstall = isReinstall;
        head.installDir = installation().installDir;
        head.displayVersion = s.displayVersion;
        const String block = installLogBlock(head, installation().installLog, problemPart);
        logWritten = appendToFile(logPath, block.c_str(), 0);
        if (!logWritten)
            logError = lastErrorText();
    }
    bool showLog = false;
    if (automatic) {
        return;
    } else if (problems && logWritten) {
        const String text = formatWithText(message(40), logPath);
        showLog = messageBox(text.c_str(), 41, MB_YESNO | MB_ICONINFORMATION) == IDYES;
    } else if (problems) {
        const String text = unwrittenLogReport(report, logPath, logError);
        messageBox(text.c_str(), 41, MB_OK | MB_ICONINFORMATION);
    } else if (!s.has(NoFinishMessage)) {
        messageBox(message(42).c_str(), 43, MB_ICONINFORMATION);
    }
    if (showLog && !openWithShell(logPath))
        runProcess(logViewerCommand(startupValues().windowsDir, logPath), 0, String());
}
