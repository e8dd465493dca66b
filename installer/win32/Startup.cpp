#include "installer/win32/Startup.h"

#include "installer/Startup.h"

#include <windows.h>

void computeStartupValues() {
    StartupValues& values = startupValues();
    if (values.computed)
        return;
    values.computed = true;

    char buffer[MAX_PATH];
    UINT n = GetWindowsDirectoryA(buffer, sizeof buffer);
    values.windowsDir.assign(n > 0 && n < sizeof buffer ? buffer : "");

    DWORD m = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    values.installerPath.assign(m > 0 && m < sizeof buffer ? buffer : "");
    deriveInstallerParts(values);

    char comspec[MAX_PATH * 2];
    DWORD e = ExpandEnvironmentStringsA("%comspec%", comspec, sizeof comspec);
    bool expanded = e > 0 && e <= sizeof comspec;
    values.commandProcessor =
        commandProcessorFrom(String(expanded ? comspec : ""), expanded, values.windowsDir);

    String temp;
    DWORD length = GetTempPathA(0, nullptr);
    if (length > 0) {
        temp.setLength(static_cast<int>(length));
        DWORD got = GetTempPathA(length, temp.writablePointer(0));
        temp.setLength(got > 0 && got < length ? static_cast<int>(got) : 0);
    }
    values.tempDir = tempDirFrom(temp);
    if (temp.isEmpty())
        CreateDirectoryA(values.tempDir.c_str(), nullptr);
}
