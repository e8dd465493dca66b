// The installer's entry point: start-up values, the command line, and the
// choice between installing and uninstalling.
#include "core/Fatal.h"
#include "core/Path.h"
#include "core/ProgramName.h"
#include "installer/Archive.h"
#include "installer/CommandLine.h"
#include "installer/DisplaySettings.h"
#include "installer/InstallSettings.h"
#include "installer/SettingsReader.h"
#include "installer/Startup.h"
#include "installer/win32/Archive.h"
#include "installer/win32/BackgroundWindow.h"
#include "installer/win32/Batch.h"
#include "installer/win32/Install.h"
#include "installer/win32/Program.h"
#include "installer/win32/Startup.h"
#include "installer/win32/Uninstall.h"
#include "platform/Directory.h"
#include "platform/File.h"
#include "platform/FileList.h"
#include "platform/KnownFolders.h"
#include "platform/Process.h"

#include <windows.h>

namespace {

// Creates the directory with its parents, noting those it made for removal
// on the way out while they are empty.
void createDirectoryAhead(const String& path) {
    Array<String>& made = programState().directoriesMadeAhead;
    const int before = made.count();
    String dir = path;
    dir.removeTrailingChar('\\');
    while (dir.length() > 3 && !directoryExists(dir)) {
        made.append(dir);
        const String parent = directoryPart(dir);
        if (parent == dir)
            break;
        dir = parent;
    }
    if (!createDirectoryPath(path))
        made.resize(before);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR argumentText, int) {
    setProgramName("Varnoke");
    computeStartupValues();
    // Long directory listings and waits for batch processes keep the windows painted.
    setFileListPump(pumpMessages);
    setProcessWaitPump(pumpMessages);
    OleInitialize(nullptr);

    CommandLine commandLine;
    String usageHeading;
    if (!parseCommandLine(argumentText, commandLine, usageHeading))
        usage(usageHeading.c_str());
    programState().automaticMode = commandLine.automaticMode;
    programState().uninstallMode = commandLine.uninstallMode;
    installSettings().productName = commandLine.productName;

    if (commandLine.uninstallMode) {
        if (commandLine.uninstallName.isEmpty())
            usage("Product name required");
        if (uninstallProduct(commandLine.uninstallName))
            startSelfDelete();
        exitInstaller();
    }

    String self = installerFileFromCommandLine(GetCommandLineA());
    File file;
    FileOpenResult opened = file.open(self.c_str(), OpenExisting | NoWrite | ShareRead);
    if (opened != FileOpened)
        fatalErrorf("Error code 1: The Varnoke could not open itself.\r\nFilename: %s\r\n"
                    "Error #%d: %s",
                    self.c_str(), opened, messageForOpenResult(opened));

    locateArchive(file);
    readArchiveHeader();
    SettingsInputs inputs;
    inputs.productName = commandLine.productName;
    inputs.windowsDir = startupValues().windowsDir;
    inputs.programFilesDir = programsDir();
    inputs.commonFilesDir = commonDir();
    inputs.installerFileSize = archiveState().installerSize;
    inputs.expandPathVariables = [](const String& text) {
        String expanded = text;
        expandPathVariables(expanded);
        return expanded;
    };
    SettingsReader reader(loadSettingsBlock(), inputs, installSettings());
    CorruptionCode code = reader.readHead();
    if (code != NotCorrupt)
        corruptInstaller(code);
    const InstallSettings& settings = installSettings();
    if (settings.has(AutomaticInstall))
        programState().automaticMode = true;
    takeWindowSettings(settings, displaySettings());
    if (!settings.has(NoBackgroundWindow))
        createBackgroundWindow(GetModuleHandleA(nullptr));
    checkSettingsChecksum(reader.bytes());
    code = reader.readRest();
    if (code != NotCorrupt)
        corruptInstaller(code);
    programState().errorsInAutomaticMode = settings.has(ErrorsInAutomaticMode);
    takeDisplaySettings(settings, displaySettings());
    // The shared files go there, and their file loop does not make it.
    if (!settings.sharedPath.isEmpty())
        createDirectoryAhead(settings.sharedPath);
    buildUninstallerImage(file);
    runInstallation(file, commandLine);
}
