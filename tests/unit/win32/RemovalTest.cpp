#include "ShellScratch.h"

#include "installer/InstallSettings.h"
#include "installer/win32/Placement.h"
#include "installer/win32/Program.h"
#include "installer/win32/Progress.h"
#include "installer/win32/Removal.h"
#include "platform/OsVersion.h"

namespace {

class Removal : public ShellScratch {
protected:
    void SetUp() override {
        ShellScratch::SetUp();
        programState().automaticMode = true;
        makeDir("app");
        installation().installDir = at("app");
        GetCurrentDirectoryA(MAX_PATH, savedDirectory_);
    }
    void TearDown() override {
        SetCurrentDirectoryA(savedDirectory_);
        programState().automaticMode = false;
        ShellScratch::TearDown();
    }

    // The file list as the installation writes it, one line per entry.
    static String listOf(std::initializer_list<std::string> lines) {
        String list;
        for (const std::string& line : lines) {
            list += line.c_str();
            list += "\r\n";
        }
        return list;
    }

private:
    char savedDirectory_[MAX_PATH] = {};
};

TEST_F(Removal, FontsLeaveTheFontsKeyAndTheFontsFolder) {
    makeDir("fonts");
    setText(user(), kShellFoldersKey, "Fonts", path("fonts"));
    makeFile("fonts\\ACME.TTF", "font");
    makeFile("fonts\\OTHER.TTF", "font");
    makeFile("victim.txt", "data");
    const std::string fonts = fontsRegistryKey();
    setText(machine(), fonts, "Acme \"Sans\" (TrueType)", "ACME.TTF");
    setText(machine(), fonts, "Other (TrueType)", "OTHER.TTF");
    setText(machine(), fonts, "Odd", "..\\victim.txt");
    removeProductFonts("\"Acme \"\"Sans\"\" (TrueType)\" \"ACME.TTF\" "
                       "\"Odd\" \"..\\victim.txt\" ");
    EXPECT_EQ(textOf(machine(), fonts, "Acme \"Sans\" (TrueType)"), "<none>");
    EXPECT_FALSE(exists("fonts\\ACME.TTF"));
    EXPECT_EQ(textOf(machine(), fonts, "Other (TrueType)"), "OTHER.TTF");
    EXPECT_TRUE(exists("fonts\\OTHER.TTF"));
    // A name that leads out of the fonts folder deletes no file.
    EXPECT_EQ(textOf(machine(), fonts, "Odd"), "<none>");
    EXPECT_TRUE(exists("victim.txt"));
}

TEST_F(Removal, TheFileListDeletesFilesAndKeysAndCollectsDirectories) {
    makeDir("app\\sub");
    makeFile("app\\a.txt", "a");
    makeFile("app\\sub\\locked.txt", "b");
    makeFile("app\\sub\\readonly.txt", "c");
    SetFileAttributesA(path("app\\sub\\readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    makeFile("victim.txt", "d");
    SetCurrentDirectoryA(root().c_str());
    setText(classes(), "CLSID\\{AC3E0000-0000-0000-0000-000000000001}\\InprocServer32", "", "x");
    setText(classes(), "Acme.Single", "", "kept");
    HANDLE locked = CreateFileA(path("app\\sub\\locked.txt").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    installation().uninstallList = "stale\r\n";

    Array<String> directories;
    String problems = "Earlier\r\n";
    installSettings().messageTable.set(58, 0, "Cannot delete");
    removeRecordedFiles(listOf({path("app\\a.txt"), path("app\\a.txt"), path("app\\missing.txt"),
                                path("app\\sub\\readonly.txt"), path("app\\sub\\locked.txt"),
                                "victim.txt", "", "~" + path("app\\sub"), "~relative",
                                "!CLSID\\{AC3E0000-0000-0000-0000-000000000001}", "!Acme.Single"}),
                        directories, problems);
    CloseHandle(locked);

    EXPECT_FALSE(exists("app\\a.txt"));
    EXPECT_FALSE(exists("app\\sub\\readonly.txt"));
    EXPECT_TRUE(exists("app\\sub\\locked.txt"));
    EXPECT_EQ(str(problems), "Earlier\r\nCannot delete " + path("app\\sub\\locked.txt") + "\r\n");
    // The file that stayed is listed again for the next run, and only it.
    EXPECT_EQ(uninstallList(), path("app\\sub\\locked.txt") + "\r\n");
    // A relative line names whatever lies in the current directory: it is left.
    EXPECT_TRUE(exists("victim.txt"));
    ASSERT_EQ(directories.count(), 1);
    EXPECT_EQ(str(directories[0]), path("app\\sub"));
    EXPECT_FALSE(keyExists(classes(), "CLSID\\{AC3E0000-0000-0000-0000-000000000001}"));
    EXPECT_TRUE(keyExists(classes(), "CLSID"));
    // A key without a parent part is not deleted.
    EXPECT_EQ(textOf(classes(), "Acme.Single"), "kept");
}

TEST_F(Removal, DirectoriesGoWithTheirEmptyParentsButNoKnownFolder) {
    makeDir("app\\a");
    makeDir("app\\a\\b");
    makeDir("app\\a\\b\\c");
    makeDir("app\\keep");
    makeDir("app\\keep\\empty");
    makeFile("app\\keep\\user.doc", "mine");
    makeDir("user\\Desktop\\Acme");
    makeDir("user\\Desktop\\Acme\\Tools");
    Array<String> directories = {at("app\\a\\b"), at("app\\a\\b\\c"), at("app\\keep\\empty"),
                                 at("user\\Desktop\\Acme\\Tools")};
    removeRecordedDirectories(directories, at("app"), keptFolders());
    EXPECT_FALSE(exists("app\\a"));
    EXPECT_FALSE(exists("app\\keep\\empty"));
    EXPECT_TRUE(exists("app\\keep\\user.doc"));
    EXPECT_TRUE(exists("app"));
    EXPECT_FALSE(exists("user\\Desktop\\Acme"));
    // The desktop is empty now, and still the user's.
    EXPECT_TRUE(exists("user\\Desktop"));
    EXPECT_EQ(uninstallList(), "");
}

TEST_F(Removal, ADirectoryThatStaysIsListedAgain) {
    makeDir("app\\data");
    makeFile("app\\data\\user.doc", "mine");
    Array<String> directories = {at("app\\data")};
    removeRecordedDirectories(directories, at("app"), keptFolders());
    EXPECT_TRUE(exists("app\\data\\user.doc"));
    EXPECT_EQ(uninstallList(), "~" + path("app\\data") + "\r\n");
}

// Counts the texts the status line is given, then hands each on.
WNDPROC gStatusProc = nullptr;
int gStatusTexts = 0;
LRESULT CALLBACK countingStatusProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SETTEXT)
        ++gStatusTexts;
    return CallWindowProcA(gStatusProc, window, msg, wParam, lParam);
}

// Each folder's name on the status line is a repaint: a product of many
// folders shows them at the pace of the files, ending on the last one.
TEST_F(Removal, ManyDirectoriesRepaintTheStatusLineAtAPace) {
    InstallSettings& s = installSettings();
    s.languages = {"English"};
    s.messageTable.resize(72, 1);
    Array<String> directories;
    for (int i = 0; i < 300; ++i) {
        const std::string name = "app\\d" + std::to_string(1000 + i);
        makeDir(name);
        directories.append(at(name));
    }
    openProgressDialog();
    HWND status = GetDlgItem(programState().progressDialog, 1011);
    ASSERT_NE(status, nullptr);
    gStatusProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(status, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(countingStatusProc)));
    gStatusTexts = 0;
    const DWORD start = GetTickCount();
    removeRecordedDirectories(directories, at("app"), keptFolders());
    const DWORD elapsed = GetTickCount() - start;
    char shown[MAX_PATH] = {};
    GetWindowTextA(status, shown, MAX_PATH);
    SetWindowLongPtrA(status, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gStatusProc));
    closeProgressDialog();
    EXPECT_FALSE(exists("app\\d1000"));
    EXPECT_FALSE(exists("app\\d1299"));
    EXPECT_EQ(std::string(shown), str(directories[directories.count() - 1]));
    EXPECT_GE(gStatusTexts, 1);
    EXPECT_LE(gStatusTexts, int(elapsed / 100) + 2) << "in " << elapsed << " ms";
}

TEST_F(Removal, TheStartMenuFolderGoesUpToThePrograms) {
    struct Case {
        bool allUsers;
        const char* programs;
    } cases[] = {{false, "user\\Programs"}, {true, "all\\Programs"}};
    for (const Case& c : cases) {
        const std::string programs = c.programs;
        makeDir(programs + "\\Acme");
        makeDir(programs + "\\Acme\\Notes");
        makeDir(programs + "\\Acme\\Tools");
        makeDir(programs + "\\Other");
        removeStartMenuFolder("Acme\\Notes", c.allUsers);
        EXPECT_FALSE(exists(programs + "\\Acme\\Notes")) << programs;
        EXPECT_TRUE(exists(programs + "\\Acme\\Tools")) << programs;
        RemoveDirectoryA(path(programs + "\\Acme\\Tools").c_str());
        RemoveDirectoryA(path(programs + "\\Other").c_str());
        removeStartMenuFolder("Acme", c.allUsers);
        EXPECT_FALSE(exists(programs + "\\Acme")) << programs;
        // Empty now, the Programs folder itself stays.
        EXPECT_TRUE(exists(programs)) << programs;
        removeStartMenuFolder("", c.allUsers);
        EXPECT_TRUE(exists(programs)) << programs;
    }
}

// For all users on Windows 95 and 98 with user profiles the installation
// made the folder in the user's Programs too; it goes as well, but on other
// systems the user's folder of that name is not the product's.
TEST_F(Removal, TheUsersStartMenuFolderGoesTooWhereEveryonesLinksWereCopied) {
    struct Case {
        uint32_t platform;
        uint32_t minor;
        DWORD profiles;
        bool userFolderGoes;
    } cases[] = {
        {kPlatformWindows, 0, 1, true},   // 95
        {kPlatformWindows, 10, 1, true},  // 98
        {kPlatformWindows, 10, 0, false}, // 98 without profiles
        {kPlatformWindows, 90, 1, false}, // ME
        {kPlatformNt, 0, 1, false},       // 2000
    };
    for (const Case& c : cases) {
        for (const char* programs : {"all\\Programs", "user\\Programs"}) {
            makeDir(std::string(programs) + "\\Acme");
            makeDir(std::string(programs) + "\\Acme\\Notes");
        }
        setNumber(machine(), "Network\\Logon", "UserProfiles", c.profiles);
        OsVersion version;
        version.platform = c.platform;
        version.major = c.platform == kPlatformNt ? 5 : 4;
        version.minor = c.minor;
        overrideOsVersion(&version);
        removeStartMenuFolder("Acme\\Notes", true);
        overrideOsVersion(nullptr);
        EXPECT_FALSE(exists("all\\Programs\\Acme")) << c.minor;
        EXPECT_EQ(exists("user\\Programs\\Acme"), !c.userFolderGoes) << c.platform << c.minor;
        EXPECT_TRUE(exists("user\\Programs"));
        RemoveDirectoryA(path("user\\Programs\\Acme\\Notes").c_str());
        RemoveDirectoryA(path("user\\Programs\\Acme").c_str());
    }
}

} // namespace
