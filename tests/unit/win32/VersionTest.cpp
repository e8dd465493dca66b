#include "FileScratch.h"
#include "RegistryScratch.h"

#include "core/Path.h"
#include "platform/FileVersion.h"
#include "platform/OsVersion.h"

namespace {

TEST(OsVersions, FlagOfEverySystem) {
    const struct {
        uint32_t platform, major, minor;
        int flag;
    } cases[] = {
        {0, 3, 11, kOsWin32s},     {1, 4, 0, kOsWindows95},  {1, 4, 9, kOsWindows95},
        {1, 4, 10, kOsWindows98},  {1, 4, 89, kOsWindows98}, {1, 4, 90, kOsWindowsMe},
        {1, 5, 0, kOsOther},       {2, 3, 51, kOsNt3},       {2, 4, 0, kOsNt4},
        {2, 5, 0, kOsWindows2000}, {2, 5, 1, kOsWindowsXp},  {2, 5, 2, kOsNt52},
        {2, 5, 3, kOsOther},       {2, 6, 1, kOsOther},      {2, 10, 0, kOsOther},
        {3, 1, 0, kOsOther},
    };
    for (const auto& c : cases) {
        OsVersion v;
        v.platform = c.platform;
        v.major = c.major;
        v.minor = c.minor;
        EXPECT_EQ(osFlagOf(v), c.flag) << c.platform << " " << c.major << "." << c.minor;
    }
}

TEST(OsVersions, NameWithServicePack) {
    const struct {
        uint32_t platform, major, minor;
        const char* servicePack;
        const char* name;
    } cases[] = {
        {0, 3, 11, "", "Windows 3.11"},
        {1, 4, 0, "", "Windows 95"},
        {1, 4, 10, " A ", "Windows 98 A"},
        {1, 4, 90, "", "Windows ME"},
        {1, 3, 95, "", "Windows 9x 3.95"},
        {2, 4, 0, "Service Pack 6", "Windows NT 4.0 Service Pack 6"},
        {2, 5, 0, "", "Windows 2000"},
        {2, 5, 1, "Service Pack 2", "Windows XP Service Pack 2"},
        {2, 5, 2, "", "Windows NT 5.2"},
        {2, 6, 1, "Service Pack 1", "Windows NT 6.1 Service Pack 1"},
        {7, 1, 0, "", "Windows"},
    };
    for (const auto& c : cases) {
        OsVersion v;
        v.platform = c.platform;
        v.major = c.major;
        v.minor = c.minor;
        v.servicePack = c.servicePack;
        EXPECT_EQ(text(osNameOf(v)), c.name);
    }
}

TEST(OsVersions, QuestionsFollowTheStoodInSystem) {
    const struct {
        uint32_t platform, major, minor;
        bool nt, win95Or98;
    } cases[] = {
        {1, 4, 0, false, true},   {1, 4, 10, false, true}, {1, 4, 3, false, false},
        {1, 4, 90, false, false}, {2, 5, 1, true, false},  {0, 4, 0, false, false},
    };
    for (const auto& c : cases) {
        OsVersion v;
        v.platform = c.platform;
        v.major = c.major;
        v.minor = c.minor;
        overrideOsVersion(&v);
        EXPECT_EQ(isNT(), c.nt);
        EXPECT_EQ(isWin95Or98(), c.win95Or98);
        EXPECT_EQ(osFlag(), osFlagOf(v));
    }
    overrideOsVersion(nullptr);
    // Wine stands in for the NT family.
    EXPECT_TRUE(isNT());
    EXPECT_TRUE(text(osName()).rfind("Windows ", 0) == 0) << text(osName());
    EXPECT_EQ(osName(), osNameOf(osVersion()));
}

TEST(FileVersions, NormalizedAndPadded) {
    const struct {
        const char* raw;
        const char* plain;
        const char* padded;
    } cases[] = {
        {"5, 1, 2600, 0", "5.1.2600.0", "0000000005.0000000001.0000002600.0000000000"},
        {"1.2.30", "1.2.30", "0000000001.0000000002.0000000030"},
        {" 1,\t2\r\n", "1.2", "0000000001.0000000002"},
        {"2.0b", "2.0b", "0000000002.000000000B"},
        {"1..2", "1..2", "0000000001.0000000000.0000000002"},
        {"12345678901.2", "12345678901.2", "12345678901.0000000002"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(text(normalizeVersionText(c.raw, false)), c.plain) << c.raw;
        EXPECT_EQ(text(normalizeVersionText(c.raw, true)), c.padded) << c.raw;
    }
}

TEST(FileVersions, ReadFromTheVersionResource) {
    const String library = besideTests("VersionFixture.dll");
    EXPECT_EQ(text(fileVersionText(library, false)), "5.1.2600.0");
    EXPECT_EQ(text(fileVersionText(library, true)), "0000000005.0000000001.0000002600.0000000000");
    const String block = readVersionBlock(library);
    EXPECT_EQ(text(versionTranslation(block)), "040904b0");
    EXPECT_EQ(text(versionValue(block, "040904b0", "ProductName")), "Varnoke test library");
    EXPECT_EQ(text(versionValue(block, "040904b0", "Missing")), "");
    EXPECT_EQ(text(versionValue(block, "040904e4", "FileVersion")), "");
}

TEST(FileVersions, WithoutTranslationTheUsEnglishTableIsRead) {
    const String library = besideTests("VersionUntranslated.dll");
    EXPECT_EQ(text(versionTranslation(readVersionBlock(library))), "040904e4");
    EXPECT_EQ(text(fileVersionText(library, false)), "1.2.30");
}

TEST(FileVersions, NoVersionGivesEmptyTexts) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    const String files[] = {String(self), besideTests("NoSuchLibrary.dll"), String()};
    for (const String& file : files) {
        EXPECT_EQ(text(fileVersionText(file, false)), "") << text(file);
        EXPECT_EQ(text(fileVersionText(file, true)), "") << text(file);
    }
    EXPECT_EQ(text(versionTranslation(String())), "040904e4");
    EXPECT_EQ(text(versionValue(String(), "040904e4", "FileVersion")), "");
}

// HKEY_LOCAL_MACHINE stands in for a scratch key of the current user, so
// that the machine's settings are neither read nor changed.
using UserProfiles = RegistryScratch;

TEST_F(UserProfiles, ReadFromNetworkLogon) {
    makeKey("machine");
    HKEY machine = nullptr;
    ASSERT_EQ(
        RegOpenKeyExA(HKEY_CURRENT_USER, below("machine").c_str(), 0, KEY_ALL_ACCESS, &machine),
        ERROR_SUCCESS);
    ASSERT_EQ(RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine), ERROR_SUCCESS);
    const bool absent = userProfilesEnabled();
    setRaw("machine\\Network\\Logon", "UserProfiles", REG_DWORD, std::string("\x01\0\0\0", 4));
    const bool on = userProfilesEnabled();
    setRaw("machine\\Network\\Logon", "UserProfiles", REG_DWORD, std::string(4, '\0'));
    const bool off = userProfilesEnabled();
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegCloseKey(machine);
    EXPECT_FALSE(absent);
    EXPECT_TRUE(on);
    EXPECT_FALSE(off);
}

} // namespace
