#pragma once
// Which Windows is running: a flag the settings can test, a name for
// messages and the log, and the two family questions other parts ask.

#include "core/String.h"

#include <cstdint>

// One bit per system; the settings hold a mask of systems to refuse.
inline constexpr int kOsOther = 0x1;
inline constexpr int kOsWin32s = 0x2;
inline constexpr int kOsWindows95 = 0x4;
inline constexpr int kOsWindows98 = 0x8;
inline constexpr int kOsWindowsMe = 0x10;
inline constexpr int kOsNt3 = 0x20;
inline constexpr int kOsNt4 = 0x40;
inline constexpr int kOsWindows2000 = 0x80;
inline constexpr int kOsWindowsXp = 0x100;
inline constexpr int kOsNt52 = 0x200;

// The platform values the system reports.
inline constexpr uint32_t kPlatformWin32s = 0;
inline constexpr uint32_t kPlatformWindows = 1;
inline constexpr uint32_t kPlatformNt = 2;

struct OsVersion {
    uint32_t platform = 0;
    uint32_t major = 0;
    uint32_t minor = 0;
    String servicePack;
};

// The running system, as GetVersionExA tells it (read once).
const OsVersion& osVersion();
// Makes osVersion() answer `version` instead, so that tests can walk the
// Windows 9x roads on an NT system; null gives the running system back.
void overrideOsVersion(const OsVersion* version);

int osFlagOf(const OsVersion& version);
// "Windows XP Service Pack 2", "Windows 98", "Windows NT 6.1 ..."
String osNameOf(const OsVersion& version);

int osFlag();
String osName();
// The Windows NT family.
bool isNT();
// Windows 95 or 98 (4.0 or 4.10), not ME.
bool isWin95Or98();
// Windows 9x keeps per-user folders only when user profiles are switched on.
bool userProfilesEnabled();
