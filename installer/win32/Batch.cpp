#include "installer/win32/Batch.h"

#include "core/Path.h"
#include "installer/InstallSettings.h"
#include "installer/Installation.h"
#include "installer/Startup.h"
#include "installer/win32/Program.h"
#include "platform/DelayedFile.h"
#include "platform/File.h"
#include "platform/FileHelpers.h"
#include "platform/KnownFolders.h"
#include "platform/Process.h"
#include "platform/SystemNames.h"

#include <windows.h>

namespace {

// The command interpreter's environment size, room for the SET lines.
constexpr int kBatchEnvironmentSize = 5000;

String driveLetterOnly(char letter) {
    return letter ? String(&letter, 1) : String();
}

} // namespace

String MachinePathVariables::value(PathVariable variable) const {
    const StartupValues& startup = startupValues();
    switch (variable) {
    case PathVariable::BootDrive: {
        String drive = driveLetterOnly(bootDrive());
        drive += ':';
        return drive;
    }
    case PathVariable::CommonDir:
        return commonDir();
    case PathVariable::InstallDir:
        return installation().installDir;
    case PathVariable::InstallDrive:
        return driveOf(installation().installDir);
    case PathVariable::UninstallDir:
        return installation().uninstallDir;
    case PathVariable::ProgramsDir:
        return programsDir();
    case PathVariable::SharedDir:
        return installSettings().has(Uninstallable) ? installSettings().sharedPath : String();
    case PathVariable::SystemDir:
        return systemDir();
    case PathVariable::InstallerDir:
        return startup.installerDir;
    case PathVariable::InstallerDrive:
        return driveLetterOnly(startup.installerDrive);
    case PathVariable::InstallerFilename:
        return startup.installerFileName;
    case PathVariable::InstallerFilepath:
        return startup.installerPath;
    case PathVariable::DeviceDir:
        return deviceDir();
    case PathVariable::MediaDir:
        return mediaDir();
    case PathVariable::FavoritesDir:
        return favoritesDir();
    case PathVariable::FavoritesAllDir:
        return favoritesAllDir();
    case PathVariable::FontDir:
        return fontDir();
    case PathVariable::DesktopDir:
        return desktopDir();
    case PathVariable::DesktopAllDir:
        return desktopAllDir();
    case PathVariable::DocumentDir:
        return documentDir();
    case PathVariable::DocumentAllDir:
        return documentAllDir();
    case PathVariable::StartMenuDir:
        return startMenuDir();
    case PathVariable::StartMenuAllDir:
        return startMenuAllDir();
    case PathVariable::SMProgramsDir:
        return smProgramsDir();
    case PathVariable::SMProgramsAllDir:
        return smProgramsAllDir();
    case PathVariable::StartupDir:
        return startupDir();
    case PathVariable::StartupAllDir:
        return startupAllDir();
    case PathVariable::Temp:
        return startup.tempDir;
    case PathVariable::WinDir:
        return startup.windowsDir;
    }
    return String();
}

PathVariableValues currentPathVariables() {
    const MachinePathVariables machine;
    PathVariableValues values;
    for (int i = 0; i < kPathVariableCount; ++i)
        values.set(PathVariable(i), machine.value(PathVariable(i)));
    return values;
}

void expandPathVariables(String& text) {
    expandPathVariables(text, MachinePathVariables());
}

bool createPrivateBatch(File& file, String& path) {
    LARGE_INTEGER counter = {};
    QueryPerformanceCounter(&counter);
    uint32_t seed = GetTickCount() ^ (GetCurrentProcessId() << 16) ^ counter.LowPart;
    for (int attempt = 0; attempt < 64; ++attempt) {
        seed = seed * 1664525u + 1013904223u + GetTickCount();
        path = joinPath(startupValues().tempDir,
                        String::formatted("unins%08lx.bat", static_cast<unsigned long>(seed)));
        const FileOpenResult opened = file.open(path.c_str(), CreateNew | NoRead);
        if (opened == FileOpened)
            return true;
        // Taken already, by a file or a folder of that name: another name.
        if (opened != FileExists && opened != FileAccessDenied && opened != FileReadOnly)
            break;
    }
    path.clear();
    return false;
}

void runBatch(const String& directory, bool hide, const String& commands, bool privateFile) {
    if (commands.isBlank())
        return;
    const String text = batchFileText(directory, commands, programState().automaticMode || hide,
                                      currentPathVariables());
    String path;
    if (privateFile) {
        File file;
        if (!createPrivateBatch(file, path))
            return;
        const bool written = file.writeBlock(text.c_str(), text.length());
        file.close();
        if (!written) {
            deleteFile(path, false);
            return;
        }
    } else {
        path = joinPath(directory, "KELDBAT.BAT");
        if (!writeFile(path, text))
            return;
    }
    const String commandLine =
        String::formatted("%s /e:%d /c \"%s\"", startupValues().commandProcessor.c_str(),
                          kBatchEnvironmentSize, path.c_str());
    runProcess(commandLine, kRunWait | kRunPumpMessages | (hide ? kRunHidden : 0), directory);
    deleteFile(path, false);
}

String updateAutoexecPath(bool add) {
    const String installDir = installation().installDir;
    const String path = String::formatted("%c:\\autoexec.bat", bootDrive());
    File file;
    if (file.open(path.c_str(), add ? OpenAlways : OpenExisting) != FileOpened)
        return autoexecProblem(path, add, installDir);
    const String line = autoexecPathLine(shortPathName(installDir));
    String content;
    file.readAll(content);
    if (add) {
        const String addition = autoexecAddition(content, line);
        if (!addition.isEmpty() && file.seekFromEnd(0))
            file.writeBlock(addition.c_str(), addition.length());
    } else if (removeAutoexecPathLine(content, line)) {
        file.replaceContents(content);
    }
    file.close();
    return String();
}
