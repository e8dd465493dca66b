#include "installer/win32/ProductKeys.h"

#include "installer/InstallSettings.h"
#include "installer/Installation.h"
#include "installer/UninstallPaths.h"
#include "platform/Registry.h"

namespace {

bool createSoftwareKey(const String& path, bool currentUser) {
    RegistryKey key;
    if (key.openSoftware(path, currentUser, 0) == kRegOpenFailed)
        return false;
    key.close();
    return true;
}

// At most this many deletions in one tree.
constexpr int kMaxKeyDeletions = 20;

void removeSoftwareKeyAndEmptyParents(String path, bool currentUser) {
    RegistryKey key;
    int result = key.deleteSoftwareKeyByPath(path, currentUser, 0);
    for (int deleted = 1; result == kRegDeleted && deleted < kMaxKeyDeletions; ++deleted) {
        if (!parentKeyPath(path))
            break;
        result = key.deleteSoftwareKeyByPath(path, currentUser, kRegOnlyIfEmpty);
    }
}

} // namespace

void createProductRegistryKeys() {
    const String& path = installSettings().productRegistry;
    if (path.isEmpty())
        return;
    const bool machine = createSoftwareKey(path, false);
    const bool user = createSoftwareKey(path, true);
    if (!machine || !user)
        installation().problemReport.appendFormat("Error creating registry keys:\r\n%s\r\n\r\n",
                                                  path.c_str());
}

void removeProductRegistryKeys(const String& path) {
    if (!isProductKeyPath(path))
        return;
    String trimmed = path;
    trimmed.removeTrailingRun('\\');
    removeSoftwareKeyAndEmptyParents(trimmed, false);
    removeSoftwareKeyAndEmptyParents(trimmed, true);
}
