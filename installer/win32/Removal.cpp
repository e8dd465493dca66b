#include "installer/win32/Removal.h"

#include "core/Path.h"
#include "installer/InstallSettings.h"
#include "installer/Installation.h"
#include "installer/MessageTable.h"
#include "installer/Startup.h"
#include "installer/UninstallLists.h"
#include "installer/UninstallPaths.h"
#include "installer/UninstallRecord.h"
#include "installer/win32/Placement.h"
#include "installer/win32/Program.h"
#include "installer/win32/Progress.h"
#include "installer/win32/ShellLink.h"
#include "platform/DelayedFile.h"
#include "platform/Directory.h"
#include "platform/KnownFolders.h"
#include "platform/Registry.h"

#include <windows.h>

namespace {

bool mayRemoveFont(const String& registryName) {
    if (programState().automaticMode || !installSettings().has(ConfirmFontRemoval))
        return true;
    const String text = formatWithText(message(56), registryName);
    return messageBox(text.c_str(), 57, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

} // namespace

Array<String> keptFolders() {
    return {windowsDir(),      systemDir(),     programsDir(),          commonDir(),
            fontDir(),         desktopDir(),    desktopAllDir(),        documentDir(),
            documentAllDir(),  favoritesDir(),  favoritesAllDir(),      startMenuDir(),
            startMenuAllDir(), smProgramsDir(), smProgramsAllDir(),     startupDir(),
            startupAllDir(),   mediaDir(),      startupValues().tempDir};
}

void removeProductFonts(const String& productFonts) {
    bool changed = false;
    int pos = 0;
    ProductFont font;
    while (nextProductFont(productFonts, pos, font)) {
        if (!mayRemoveFont(font.registryName))
            continue;
        RegistryKey fonts;
        if (fonts.open(HKEY_LOCAL_MACHINE, fontsRegistryKey(), 0) != kRegOpenFailed)
            fonts.deleteValue(font.registryName);
        RemoveFontResourceA(font.fileName.c_str());
        // The name comes from the registry: it must not lead out of the fonts folder.
        if (isPlainFileName(font.fileName))
            deleteFile(joinPath(fontDir(), font.fileName), false);
        changed = true;
    }
    // Posted, as after the installation: no window may hold the removal up.
    if (changed)
        PostMessageA(HWND_BROADCAST, WM_FONTCHANGE, 0, 0);
}

void removeRecordedFiles(const String& fileList, Array<String>& directories, String& problems,
                         const Array<String>* confinedTo) {
    markStep();
    Installation& state = installation();
    state.uninstallList.clear();
    state.recordedDirectories.clear();
    const int count = lineCount(fileList);
    PacedProgress paced;
    LineReader lines(fileList);
    String line;
    for (int i = 0; lines.next(line); ++i) {
        RecordedItem item = recordedItem(line);
        if (confinedTo &&
            (item.kind == RecordedItemKind::ClassesKey || !isBelowAnyOf(item.value, *confinedTo)))
            item.kind = RecordedItemKind::None;
        switch (item.kind) {
        case RecordedItemKind::None:
            break;
        case RecordedItemKind::Directory:
            directories.append(item.value);
            break;
        case RecordedItemKind::ClassesKey: {
            RegistryKey key;
            key.deleteKeyByPath(HKEY_CLASSES_ROOT, item.value, 0);
            break;
        }
        case RecordedItemKind::File:
            paced.progress(fileListProgress(i, count));
            paced.status(String(item.value));
            // A file already gone fails to delete too: it is looked for only
            // then, which spares the look for every file that goes.
            if (!deleteFile(item.value, false) && filePresent(item.value)) {
                problems.appendFormat("%s %s\r\n", message(58).c_str(), item.value.c_str());
                state.recordForUninstall(item.value, false);
            }
            break;
        }
    }
    paced.finish();
}

void removeRecordedDirectories(Array<String>& directories, const String& installDir,
                               const Array<String>& kept) {
    directories.sort([](const String* a, const String* b) { return b->length() - a->length(); });
    // Paced as the files are: a product of thousands of folders would
    // otherwise repaint the status line thousands of times.
    PacedProgress paced;
    for (const String& directory : directories) {
        paced.status(String(directory));
        for (const String& step : recordedDirectoryChain(directory, installDir, kept))
            if (!removeDirectory(step))
                break;
        // Listed again, so that a second run after a problem tries once more.
        if (directoryExists(directory))
            installation().recordForUninstall(directory, true);
    }
    paced.finish();
}

namespace {

void removeStartMenuChain(const String& programs, const String& productStartMenu) {
    for (const String& directory : startMenuChain(programs, productStartMenu))
        if (!removeDirectory(directory))
            break;
}

} // namespace

void removeStartMenuFolder(const String& productStartMenu, bool allUsers) {
    removeStartMenuChain(allUsers ? smProgramsAllDir() : smProgramsDir(), productStartMenu);
    // The installation put the user's copies of everyone's links there too.
    if (programsLinksCopiedForUser(allUsers))
        removeStartMenuChain(smProgramsDir(), productStartMenu);
}
