#include "installer/win32/SharedCounts.h"

#include "installer/InstallSettings.h"
#include "installer/Installation.h"
#include "installer/SharedFilesText.h"
#include "platform/Registry.h"

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

} // namespace

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
