#include "installer/win32/ShellNotify.h"

#include "core/String.h"
#include "platform/KnownFolders.h"

#include <windows.h>

#include <shlobj.h>

void notifyAssociationsChanged() {
    shellChangeNotify(SHCNE_ASSOCCHANGED, 0, nullptr, nullptr);
}

void notifyDesktopChanged(bool allUsers) {
    const String desktop = allUsers ? desktopAllDir() : desktopDir();
    if (!desktop.isEmpty())
        shellChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHA, desktop.c_str(), nullptr);
}
