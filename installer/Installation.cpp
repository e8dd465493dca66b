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

void Installation::keepPreviousFiles() {
    PathSet listed;
    LineReader current(uninstallList);
    String line;
    while (current.next(line))
        if (!line.isEmpty() && line.firstChar() != '~')
            listed.insert(line);
    LineReader previous(previousFileList);
    while (previous.next(line)) {
        if (line.isEmpty())
            continue;
        if (line.firstChar() == '~') {
            recordForUninstall(String(line.c_str() + 1), true);
            continue;
        }
        if (permanentFiles.contains(line) || !listed.insert(line))
            continue;
        uninstallList += line;
        uninstallList += "\r\n";
    }
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
