#include "installer/Installation.h"

#include "core/Path.h"
#include "installer/InstallSettings.h"

#include <new>

// Never destroyed, as installSettings(): nothing to undo at exit.
Installation& installation() {
    alignas(Installation) static unsigned char room[sizeof(Installation)];
    static Installation* state = new (room) Installation();
    return *state;
}

void Installation::recordForUninstall(const String& path, bool isDirectory) {
    // A drive root or less is never the product's to remove.
    if (path.length() <= 3)
        return;
    if (isDirectory) {
        if (!recordedDirectories.insert(path))
            return;
        uninstallList += '~';
    }
    uninstallList += path;
    uninstallList += "\r\n";
}

String uninstallerPath() {
    return joinPath(installation().uninstallDir, installSettings().uninstallerName);
}

String uninstallerArguments() {
    String arguments = "/u:\"";
    arguments += installSettings().uninstallKey;
    arguments += '"';
    return arguments;
}
