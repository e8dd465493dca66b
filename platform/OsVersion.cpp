#include "platform/OsVersion.h"

#include "platform/Registry.h"

#include <windows.h>

namespace {

const OsVersion* gOverride = nullptr;

OsVersion readRunningVersion() {
    OSVERSIONINFOA info;
    ZeroMemory(&info, sizeof info);
    info.dwOSVersionInfoSize = sizeof info;
    GetVersionExA(&info);
    OsVersion version;
    version.platform = info.dwPlatformId;
    version.major = info.dwMajorVersion;
    version.minor = info.dwMinorVersion;
    version.servicePack.assignPrefix(info.szCSDVersion, sizeof info.szCSDVersion);
    return version;
}

} // namespace

const OsVersion& osVersion() {
    if (gOverride)
        return *gOverride;
    static const OsVersion running = readRunningVersion();
    return running;
}

void overrideOsVersion(const OsVersion* version) {
    gOverride = version;
}

int osFlagOf(const OsVersion& v) {
    switch (v.platform) {
    case kPlatformWin32s:
        return kOsWin32s;
    case kPlatformWindows:
        if (v.major != 4)
            return kOsOther;
        return v.minor < 10 ? kOsWindows95 : v.minor < 90 ? kOsWindows98 : kOsWindowsMe;
    case kPlatformNt:
        if (v.major <= 3)
            return kOsNt3;
        if (v.major == 4)
            return kOsNt4;
        if (v.major == 5 && v.minor <= 2)
            return v.minor == 0 ? kOsWindows2000 : v.minor == 1 ? kOsWindowsXp : kOsNt52;
        return kOsOther;
    default:
        return kOsOther;
    }
}

String osNameOf(const OsVersion& v) {
    String name("Windows ");
    const int major = static_cast<int>(v.major);
    const int minor = static_cast<int>(v.minor);
    switch (v.platform) {
    case kPlatformWin32s:
        name.appendFormat("%d.%d", major, minor);
        break;
    case kPlatformWindows:
        if (major != 4)
            name.appendFormat("9x %d.%d", major, minor);
        else
            name.append(minor <= 9 ? "95" : minor > 89 ? "ME" : "98");
        break;
    case kPlatformNt:
        if (major == 5 && minor == 0)
            name.append("2000");
        else if (major == 5 && minor == 1)
            name.append("XP");
        else
            name.appendFormat("NT %d.%d", major, minor);
        break;
    default:
        break;
    }
    if (v.servicePack.firstChar() != ' ')
        name.append(' ');
    name.append(v.servicePack);
    name.trimRight();
    return name;
}

int osFlag() {
    return osFlagOf(osVersion());
}

String osName() {
    return osNameOf(osVersion());
}

bool isNT() {
    return osVersion().platform == kPlatformNt;
}

bool isWin95Or98() {
    const OsVersion& v = osVersion();
    return v.platform == kPlatformWindows && v.major == 4 && (v.minor == 0 || v.minor == 10);
}

bool userProfilesEnabled() {
    RegistryKey key;
    return key.readBoolAt(HKEY_LOCAL_MACHINE, "Network\\Logon", "UserProfiles", false, 0);
}
