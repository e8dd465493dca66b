#include "installer/win32/ProductKeys.h"

#include "installer/InstallSettings.h"
#include "installer/Installation.h"
#include "platform/Registry.h"

namespace {

bool createSoftwareKey(const String& path, bool currentUser) {
    RegistryKey key;
    if (key.openSoftware(path, currentUser, 0) == kRegOpenFailed)
        return false;
    key.close();
    return true;
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
