#include "installer/win32/SharedCounts.h"

#include "installer/InstallSettings.h"
#include "installer/Installation.h"
#include "installer/SharedFilesText.h"
#include "installer/UninstallLists.h"
#include "installer/win32/Program.h"
#include "installer/win32/Registration.h"
#include "platform/DelayedFile.h"
#include "platform/Registry.h"

#include <windows.h>

#include <cstdint>

namespace {

const char kSharedDllsKey[] = "Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

void releasePreviousCounts(RegistryKey& key, String previous) {
    String path;
    while (takeSharedFileEntry(previous, path)) {
        const int32_t count = key.readInt(path, 0, 0);
        if (count > 1)
            key.writeInt(path, count - 1, 0);
        else
            key.deleteValue(path);
    }
}

void unregisterComServer(const String& path) {
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (reinterpret_cast<UINT_PTR>(module) < 32)
        return;
    if (FARPROC entry = GetProcAddress(module, "DllUnregisterServer"))
        reinterpret_cast<HRESULT(WINAPI*)()>(reinterpret_cast<void*>(entry))();
    FreeLibrary(module);
}

bool mayDeleteSharedFile(const String& path) {
    if (programState().automaticMode || !installSettings().has(ConfirmUninstallDeletion))
        return true;
    const String text = formatWithText(message(59), path);
    return messageBox(text.c_str(), 35, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

// The file's count runs out: it is the product's to remove.
void removeSharedFile(const SharedFileRemoval& file) {
    // Only a full path: a bare name would be looked for, and loaded, anywhere.
    if (file.countOnly || !isRemovablePath(file.path))
        return;
    if (file.comServer)
        unregisterComServer(file.path);
    if (file.typeLibrary)
        unregisterTypeLibrary(file.path);
    if (filePresent(file.path) && mayDeleteSharedFile(file.path))
        deleteFile(file.path, false);
}

} // namespace

bool releaseSharedFiles(const String& sharedFiles) {
    RegistryKey key;
    if (key.openSoftware(kSharedDllsKey, false, 0) == kRegOpenFailed)
        return false;
    int pos = 0;
    String entry;
    while (nextSharedFileEntry(sharedFiles, pos, entry)) {
        const SharedFileRemoval file = sharedFileRemoval(entry);
        if (file.path.isEmpty())
            break;
        // The count is a DWORD: one above 0x7FFFFFFF is many users, not none.
        const uint32_t count = uint32_t(key.readInt(file.path, 0, 0));
        if (count > 0) {
            key.writeInt(file.path, int32_t(count - 1), kRegEmptyDeletes);
            if (count - 1 > 0)
                continue;
        }
        removeSharedFile(file);
    }
    key.close();
    return true;
}

void updateSharedFileCounts() {
    if (!installSettings().has(Uninstallable))
        return;
    Installation& state = installation();
    const String previous = state.reinstall ? state.previousSharedFiles : String();
    // Until the counts are changed, the previous installation's list still
    // says what they hold.
    state.sharedFilesText = previous;
    RegistryKey key;
    if (key.openSoftware(kSharedDllsKey, false, 0) == kRegOpenFailed) {
        state.problemReport +=
            "Registry error: unable to increment shared file reference counts.\r\n\r\n";
        return;
    }
    releasePreviousCounts(key, previous);
    state.sharedFilesText.clear();
    for (const String& entry : state.sharedFileList) {
        const String path = sharedFilePath(entry);
        const int32_t count = key.readInt(path, 0, 0);
        key.writeInt(path, count < INT32_MAX ? count + 1 : count, 0);
        appendSharedFileEntry(state.sharedFilesText, entry);
    }
}
