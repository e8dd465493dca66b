#include "RegistryScratch.h"

#include "installer/Startup.h"
#include "platform/KnownFolders.h"
#include "platform/OsVersion.h"

namespace {

// The shell of the tests answers "S:\<csidl>" for the numbers it knows.
bool gShellKnowsAll = true;
int gShellKnows = -1;

bool testShell(int csidl, String& path) {
    if (!gShellKnowsAll && csidl != gShellKnows)
        return false;
    path = String::formatted("S:\\%d", csidl);
    return true;
}

// The current user's and the machine's keys stand in for two scratch keys,
// so that the real folder values are neither read nor changed.
class SpecialFolders : public RegistryScratch {
protected:
    void SetUp() override {
        RegistryScratch::SetUp();
        saved_ = startupValues();
        startupValues().windowsDir = "C:\\WIN";
        makeKey("user");
        makeKey("machine");
        ASSERT_EQ(
            RegOpenKeyExA(HKEY_CURRENT_USER, below("user").c_str(), 0, KEY_ALL_ACCESS, &user_),
            ERROR_SUCCESS);
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, below("machine").c_str(), 0, KEY_ALL_ACCESS,
                                &machine_),
                  ERROR_SUCCESS);
        gShellKnowsAll = true;
        gShellKnows = -1;
        setSpecialFolderLookup(testShell);
    }
    void TearDown() override {
        stopStandingIn();
        setSpecialFolderLookup(nullptr);
        RegCloseKey(user_);
        RegCloseKey(machine_);
        startupValues() = saved_;
        RegistryScratch::TearDown();
    }

    // From here to stopStandingIn, the roots are the scratch keys.
    void standIn() {
        ASSERT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, user_), ERROR_SUCCESS);
        ASSERT_EQ(RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine_), ERROR_SUCCESS);
    }
    void stopStandingIn() {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    }

    void setFolder(bool allUsers, const char* name, const std::string& value) {
        setRaw(std::string(allUsers ? "machine" : "user") +
                   "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
               name, REG_SZ, value + std::string(1, '\0'));
    }
    void setCurrentVersion(const char* subKey, const char* name, const std::string& value) {
        setRaw(std::string("machine\\Software\\Microsoft\\Windows\\CurrentVersion") + subKey, name,
               REG_SZ, value + std::string(1, '\0'));
    }

private:
    StartupValues saved_;
    HKEY user_ = nullptr;
    HKEY machine_ = nullptr;
};

enum Source { User, AllUsers, CurrentVersion };

struct Row {
    String (*lookup)();
    const char* name;
    Source source;
    const char* value;
    int csidl;            // 0: the shell is not asked
    const char* fallback; // with nothing in the registry and a shell that knows nothing
};

const Row kRows[] = {
    {desktopDir, "desktopDir", User, "Desktop", 16, "C:\\WIN\\Desktop"},
    {desktopAllDir, "desktopAllDir", AllUsers, "Common Desktop", 25, "C:\\WIN\\Desktop"},
    {documentDir, "documentDir", User, "Personal", 5, "c:\\My Documents"},
    {documentAllDir, "documentAllDir", AllUsers, "Common Documents", 46, "c:\\My Documents"},
    {favoritesDir, "favoritesDir", User, "Favorites", 6, "C:\\WIN\\Favorites"},
    {favoritesAllDir, "favoritesAllDir", AllUsers, "Common Favorites", 31, "C:\\WIN\\Favorites"},
    {fontDir, "fontDir", User, "Fonts", 20, "C:\\WIN\\Fonts"},
    {startMenuDir, "startMenuDir", User, "Start Menu", 11, "C:\\WIN\\Start Menu"},
    {startMenuAllDir, "startMenuAllDir", AllUsers, "Common Start Menu", 22, "C:\\WIN\\Start Menu"},
    {smProgramsDir, "smProgramsDir", User, "Programs", 2, "C:\\WIN\\Start Menu\\Programs"},
    {smProgramsAllDir, "smProgramsAllDir", AllUsers, "Common Programs", 23,
     "C:\\WIN\\Start Menu\\Programs"},
    {startupDir, "startupDir", User, "Startup", 7, "C:\\WIN\\Start Menu\\Programs\\StartUp"},
    {startupAllDir, "startupAllDir", AllUsers, "Common Startup", 24,
     "C:\\WIN\\Start Menu\\Programs\\StartUp"},
    {programsDir, "programsDir", CurrentVersion, "ProgramFilesDir", 38, "c:\\Program Files"},
    {commonDir, "commonDir", CurrentVersion, "CommonFilesDir", 43,
     "c:\\Program Files\\Common Files"},
    {mediaDir, "mediaDir", CurrentVersion, "MediaPath", 0, "C:\\WIN\\Media"},
    {deviceDir, "deviceDir", CurrentVersion, "DevicePath", 0, "C:\\WIN\\INF"},
};

TEST_F(SpecialFolders, TheRegistryValueComesFirst) {
    for (const Row& row : kRows) {
        const std::string value = std::string("R:\\") + row.value;
        if (row.source == CurrentVersion)
            setCurrentVersion("", row.value, value);
        else
            setFolder(row.source == AllUsers, row.value, value);
    }
    standIn();
    for (const Row& row : kRows)
        EXPECT_EQ(text(row.lookup()), std::string("R:\\") + row.value) << row.name;
}

TEST_F(SpecialFolders, ThenTheShell) {
    standIn();
    for (const Row& row : kRows) {
        const std::string expected =
            row.csidl ? "S:\\" + std::to_string(row.csidl) : std::string(row.fallback);
        EXPECT_EQ(text(row.lookup()), expected) << row.name;
    }
}

TEST_F(SpecialFolders, ThenTheDefault) {
    gShellKnowsAll = false;
    standIn();
    for (const Row& row : kRows)
        EXPECT_EQ(text(row.lookup()), row.fallback) << row.name;
}

// Windows 95's shell knows no CSIDL 25: the all-users desktop is the user's.
TEST_F(SpecialFolders, AllUsersFoldersFallBackToTheUsersOwn) {
    gShellKnowsAll = false;
    gShellKnows = 16;
    standIn();
    EXPECT_EQ(text(desktopAllDir()), "S:\\16");
    EXPECT_EQ(desktopAllDir(), desktopDir());
}

TEST_F(SpecialFolders, AllUsersStartMenuFromCommonStartup) {
    gShellKnowsAll = false;
    setFolder(true, "Common Startup", "C:\\WINDOWS\\All Users\\Start Menu\\Programs\\Startup");
    standIn();
    EXPECT_EQ(text(smProgramsAllDir()), "C:\\WINDOWS\\All Users\\Start Menu\\Programs");
    EXPECT_EQ(text(startMenuAllDir()), "C:\\WINDOWS\\All Users\\Start Menu\\");
    EXPECT_EQ(text(startupAllDir()), "C:\\WINDOWS\\All Users\\Start Menu\\Programs\\Startup");
}

TEST_F(SpecialFolders, OneTrailingSeparatorGoesButADriveRootStays) {
    const struct {
        const char* stored;
        const char* read;
    } cases[] = {
        {"C:\\WINDOWS\\Desktop\\", "C:\\WINDOWS\\Desktop"},
        {"C:\\", "C:\\"},
        {"C:\\a\\\\", "C:\\a\\"},
        {"D:\\x", "D:\\x"},
    };
    for (const auto& c : cases) {
        setFolder(false, "Desktop", c.stored);
        standIn();
        EXPECT_EQ(text(desktopDir()), c.read) << c.stored;
        stopStandingIn();
    }
}

TEST_F(SpecialFolders, BootDriveFromSetup) {
    standIn();
    EXPECT_EQ(bootDrive(), 'C');
    stopStandingIn();
    setCurrentVersion("\\Setup", "BootDir", "d:\\");
    standIn();
    EXPECT_EQ(bootDrive(), 'D');

    const struct {
        const char* bootDir;
        char drive;
    } cases[] = {{"d:\\", 'D'}, {"E:", 'E'}, {"", 'C'}, {"1:\\", 'C'}, {"\\\\x", 'C'}, {"f", 'C'}};
    for (const auto& c : cases)
        EXPECT_EQ(bootDriveFrom(c.bootDir), c.drive) << c.bootDir;
}

TEST_F(SpecialFolders, DevicePathExpandsTheFirstSystemRoot) {
    char saved[MAX_PATH] = "";
    const bool had = GetEnvironmentVariableA("SystemRoot", saved, sizeof saved) > 0;
    SetEnvironmentVariableA("SystemRoot", "C:\\WINNT");
    const struct {
        const char* stored;
        const char* read;
    } cases[] = {
        {"%SystemRoot%\\inf", "C:\\WINNT\\inf"},
        {"%systemroot%\\inf", "C:\\WINNT\\inf"},
        {"%SystemRoot%\\inf;%SystemRoot%\\more", "C:\\WINNT\\inf;%SystemRoot%\\more"},
        {"D:\\drivers;%SystemRoot%\\inf", "D:\\drivers;C:\\WINNT\\inf"},
        {"%windir%\\inf", "%windir%\\inf"},
        {"D:\\inf", "D:\\inf"},
    };
    for (const auto& c : cases) {
        setCurrentVersion("", "DevicePath", c.stored);
        standIn();
        EXPECT_EQ(text(deviceDir()), c.read) << c.stored;
        stopStandingIn();
    }
    SetEnvironmentVariableA("SystemRoot", had ? saved : nullptr);
}

TEST(SystemPaths, SystemDirectory) {
    const struct {
        const char* answer;
        bool nt;
        const char* dir;
    } cases[] = {
        {"C:\\WINNT\\system32", true, "C:\\WINNT\\system32"},
        {"", true, "C:\\WIN\\System32"},
        {"", false, "C:\\WIN\\System"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(text(systemDirFrom(c.answer, "C:\\WIN", c.nt)), c.dir);

    char system[MAX_PATH];
    UINT length = GetSystemDirectoryA(system, sizeof system);
    EXPECT_EQ(text(systemDir()), std::string(system, length));
}

TEST(SystemPaths, TheRealShellAnswersWhatItKnows) {
    EXPECT_FALSE(specialFolderPath(16).isEmpty());
    EXPECT_TRUE(specialFolderPath(0x7F).isEmpty());
    EXPECT_TRUE(shellChangeNotify(0x08000000 /* SHCNE_ASSOCCHANGED */, 0, nullptr, nullptr));
}

TEST(SystemPaths, WindowsDirectoryFromTheStartUpValues) {
    StartupValues saved = startupValues();
    startupValues().windowsDir = "C:\\WIN";
    EXPECT_EQ(text(windowsDir()), "C:\\WIN");
    startupValues().windowsDir.clear();
    char windows[MAX_PATH];
    UINT length = GetWindowsDirectoryA(windows, sizeof windows);
    EXPECT_EQ(text(windowsDir()), std::string(windows, length));
    startupValues() = saved;
}

} // namespace
