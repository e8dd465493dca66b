#include "ShellScratch.h"

#include "core/Sha256.h"
#include "installer/DisplaySettings.h"
#include "installer/InstallRecords.h"
#include "installer/SharedFilesText.h"
#include "installer/UninstallRecord.h"
#include "installer/win32/PackedDibFile.h"
#include "installer/win32/Placement.h"
#include "installer/win32/Program.h"
#include "installer/win32/Progress.h"
#include "installer/win32/Uninstall.h"
#include "tests/unit/DibBytes.h"

#include <cstdlib>

namespace {

const char kUninstallRoot[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const char kSharedDlls[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const char kName[] = "Acme Notes 1";

// A product installed into the scratch directory, as its entry and its
// Uninstall.DAT describe it, removed in automatic mode. The second uninstall
// batch runs from the root of the drive, where every test process would
// write the same batch file: the tests take turns.
class Uninstall : public ShellScratch {
protected:
    void SetUp() override {
        turn_ = CreateMutexA(nullptr, FALSE, "VarnokeTestDriveRootBatch");
        ASSERT_NE(turn_, nullptr);
        const DWORD waited = WaitForSingleObject(turn_, 120000);
        ASSERT_TRUE(waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) << waited;
        ShellScratch::SetUp();
        savedProgram_ = programState();
        savedDisplay_ = displaySettings();
        programState().automaticMode = true;
        programState().uninstallMode = true;
        const char* comspec = std::getenv("COMSPEC");
        ASSERT_NE(comspec, nullptr);
        startupValues().commandProcessor = comspec;
        makeDir("app");
        makeDir("app\\Uninstall");
        setText(machine(), std::string(kUninstallRoot) + "\\Other Product", "DisplayName", "Other");
        setValue("DisplayName", "Acme Notes");
        setValue("InstallLocation", path("app"));
        setValue("UninstallSubdir", "Uninstall");
        setValue("ProductFlags", "4");
    }
    void TearDown() override {
        closeProgressDialog();
        // The uninstaller shows the background; the window goes, the class
        // stays registered for the next test in this process.
        if (programState().backgroundWindow)
            DestroyWindow(programState().backgroundWindow);
        const bool registered = programState().backgroundClassRegistered;
        programState() = savedProgram_;
        programState().backgroundClassRegistered = registered;
        displaySettings() = savedDisplay_;
        ShellScratch::TearDown();
        if (turn_) {
            ReleaseMutex(turn_);
            CloseHandle(turn_);
        }
    }

    static std::string entry() { return std::string(kUninstallRoot) + "\\" + kName; }
    void setValue(const char* name, const std::string& value) const {
        setText(machine(), entry(), name, value);
    }
    std::string valueOf(const char* name) const { return textOf(machine(), entry(), name); }
    bool entryExists() const { return keyExists(machine(), entry()); }

    // Uninstall.DAT with the list and every message the uninstaller needs,
    // and the entry's digest that vouches for it.
    void writeRecord(std::initializer_list<std::string> lines,
                     const std::string& associations = "") const {
        String list;
        for (const std::string& line : lines) {
            list += line.c_str();
            list += "\r\n";
        }
        Array<String> strings;
        for (int id : kUninstallStringIds)
            strings.append(String::formatted("Message %d", id));
        const String text = uninstallDataText(list, strings, associations.c_str());
        makeFile("app\\Uninstall\\Uninstall.DAT", str(text));
        setValue("UninstallDataDigest", str(sha256Hex(text)));
    }
    std::string record() const { return contentOf("app\\Uninstall\\Uninstall.DAT"); }

    long count(const std::string& file) const {
        return numberOf(machine(), kSharedDlls, file.c_str());
    }

private:
    HANDLE turn_ = nullptr;
    ProgramState savedProgram_;
    DisplaySettings savedDisplay_;
};

TEST_F(Uninstall, EverythingRecordedGoesAndTheEntryWithIt) {
    makeDir("app\\doc");
    makeDir("app\\data");
    makeFile("app\\notes.exe", "exe");
    makeFile("app\\doc\\guide.txt", "guide");
    makeFile("app\\data\\user.doc", "the user's own");
    makeFile("app\\Uninstall\\Install.LOG", "log");
    makeDir("user\\Programs\\Acme");
    makeFile("user\\Programs\\Acme\\Notes.lnk", "link");
    makeDir("shared");
    makeFile("shared\\s.dll", "dll");
    setNumber(machine(), kSharedDlls, path("shared\\s.dll").c_str(), 1);
    makeDir("fonts");
    setText(user(), kShellFoldersKey, "Fonts", path("fonts"));
    makeFile("fonts\\ACME.TTF", "font");
    setText(machine(), fontsRegistryKey(), "Acme (TrueType)", "ACME.TTF");
    setText(machine(), "Software\\Acme\\Notes", "Colour", "blue");
    setText(user(), "Software\\Acme\\Notes", "Recent", "x");
    setText(classes(), ".acmeu", "", "AcmeU.Note");
    setText(classes(), "AcmeU.Note\\shell\\open\\command", "", "notes.exe %1");
    setValue("ProductStartMenu", "Acme");
    setValue("SharedPath", path("shared"));
    setValue("SharedFiles", "\"" + path("shared\\s.dll") + "\"");
    setValue("ProductFonts", "\"Acme (TrueType)\" \"ACME.TTF\" ");
    setValue("ProductRegistry", "Acme\\Notes");
    setValue("UninstallBatch1", "echo one>\"" + path("one.txt") + "\"");
    setValue("UninstallBatch2", "echo two>\"" + path("two.txt") + "\"");
    writeRecord({path("app\\notes.exe"), path("app\\doc\\guide.txt"), "~" + path("app\\doc"),
                 "~" + path("app\\data"), path("user\\Programs\\Acme\\Notes.lnk")},
                ".acmeu~!~AcmeU.Note~!~open~!~ETSVec\r\n");

    EXPECT_TRUE(uninstallProduct(kName));

    for (const char* gone :
         {"app\\notes.exe", "app\\doc", "app\\Uninstall\\Install.LOG",
          "app\\Uninstall\\Uninstall.DAT", "user\\Programs\\Acme", "shared", "fonts\\ACME.TTF"})
        EXPECT_FALSE(exists(gone)) << gone;
    // What the product did not install stays, with the directories holding it.
    EXPECT_EQ(contentOf("app\\data\\user.doc"), "the user's own");
    EXPECT_TRUE(exists("user\\Programs"));
    EXPECT_EQ(count(path("shared\\s.dll")), -1);
    EXPECT_EQ(textOf(machine(), fontsRegistryKey(), "Acme (TrueType)"), "<none>");
    EXPECT_FALSE(keyExists(machine(), "Software\\Acme"));
    EXPECT_FALSE(keyExists(user(), "Software\\Acme"));
    EXPECT_FALSE(keyExists(classes(), ".acmeu"));
    EXPECT_FALSE(keyExists(classes(), "AcmeU.Note"));
    EXPECT_TRUE(exists("one.txt"));
    EXPECT_TRUE(exists("two.txt"));
    EXPECT_FALSE(entryExists());
    EXPECT_EQ(textOf(machine(), std::string(kUninstallRoot) + "\\Other Product", "DisplayName"),
              "Other");
    EXPECT_EQ(uninstallList(), "");
    EXPECT_EQ(programState().progressDialog, nullptr);
}

// A file in use stays: the entry, a record of what is left and the second
// batch wait for the next run, and what was done is not done twice.
TEST_F(Uninstall, AProblemKeepsTheEntryForASecondRun) {
    makeDir("app\\bin");
    makeFile("app\\a.txt", "a");
    makeFile("app\\bin\\locked.dll", "b");
    makeDir("shared");
    makeFile("shared\\s.dll", "dll");
    setNumber(machine(), kSharedDlls, path("shared\\s.dll").c_str(), 3);
    setValue("SharedFiles", "\"" + path("shared\\s.dll") + "\"");
    setValue("ProductRegistry", "Acme\\Notes");
    setValue("ProductFonts", "\"Acme (TrueType)\" \"ACME.TTF\" ");
    setValue("UninstallBatch1", "echo one>>\"" + path("one.txt") + "\"");
    setValue("UninstallBatch2", "echo two>\"" + path("two.txt") + "\"");
    writeRecord({path("app\\a.txt"), path("app\\bin\\locked.dll"), "~" + path("app\\bin")},
                ".acmeu~!~AcmeU.Note~!~open\r\n");
    HANDLE locked = CreateFileA(path("app\\bin\\locked.dll").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);

    EXPECT_FALSE(uninstallProduct(kName));
    CloseHandle(locked);
    EXPECT_FALSE(exists("app\\a.txt"));
    EXPECT_TRUE(entryExists());
    EXPECT_EQ(valueOf("UninstallBatch2"), "echo two>\"" + path("two.txt") + "\"");
    EXPECT_FALSE(exists("two.txt"));
    for (const char* done : {"UninstallBatch1", "ProductFonts", "ProductRegistry", "SharedFiles"})
        EXPECT_EQ(valueOf(done), "<none>") << done;
    EXPECT_EQ(count(path("shared\\s.dll")), 2);
    const UninstallRecord left = readUninstallRecord(record().c_str());
    EXPECT_EQ(str(left.fileList),
              path("app\\bin\\locked.dll") + "\r\n~" + path("app\\bin") + "\r\n\r\n\r\n");
    EXPECT_EQ(str(*left.strings.find(58, 0)), "Message 58");
    EXPECT_EQ(left.associations.count(), 0);

    installation() = Installation();
    installSettings() = InstallSettings();
    EXPECT_TRUE(uninstallProduct(kName));
    EXPECT_FALSE(exists("app\\bin"));
    EXPECT_FALSE(entryExists());
    EXPECT_EQ(count(path("shared\\s.dll")), 2);
    EXPECT_EQ(contentOf("one.txt"), "one\r\n");
    EXPECT_TRUE(exists("two.txt"));
}

TEST_F(Uninstall, WithoutAUsableEntryNothingIsRemoved) {
    struct Case {
        const char* label;
        const char* name;
        const char* value; // the value to change
        const char* to;    // null: deleted
    } cases[] = {
        {"no such product", "Acme Notes 2", nullptr, nullptr},
        {"blank name", "", nullptr, nullptr},
        {"the root itself", "\\", nullptr, nullptr},
        {"stray backslash", "Acme Notes 1\\", nullptr, nullptr},
        {"no location", kName, "InstallLocation", nullptr},
        {"blank location", kName, "InstallLocation", "  "},
        {"relative location", kName, "InstallLocation", "app"},
        {"drive without its root", kName, "InstallLocation", "C:"},
        {"subdirectory outside", kName, "UninstallSubdir", "..\\.."},
    };
    makeFile("app\\a.txt", "a");
    writeRecord({path("app\\a.txt")});
    for (const Case& c : cases) {
        const std::string location = valueOf("InstallLocation");
        const std::string subdir = valueOf("UninstallSubdir");
        if (c.value) {
            if (c.to)
                setValue(c.value, c.to);
            else
                RegDeleteKeyValueA(machine(), entry().c_str(), c.value);
        }
        EXPECT_FALSE(uninstallProduct(c.name)) << c.label;
        EXPECT_TRUE(exists("app\\a.txt")) << c.label;
        EXPECT_TRUE(entryExists()) << c.label;
        EXPECT_TRUE(keyExists(machine(), std::string(kUninstallRoot) + "\\Other Product"))
            << c.label;
        EXPECT_EQ(programState().progressDialog, nullptr) << c.label;
        setValue("InstallLocation", location);
        setValue("UninstallSubdir", subdir);
    }
}

TEST_F(Uninstall, WithoutARecordTheRegistryItemsStillGo) {
    setText(machine(), "Software\\Acme\\Notes", "Colour", "blue");
    setValue("ProductRegistry", "Acme\\Notes");
    EXPECT_TRUE(uninstallProduct(kName));
    EXPECT_FALSE(keyExists(machine(), "Software\\Acme"));
    EXPECT_FALSE(entryExists());
}

// RemoveInstallDir takes the whole tree, user files and all, but only after a
// removal without problems and never a folder that holds the user's own.
TEST_F(Uninstall, TheWholeInstallTreeGoesOnlyWhenThatIsSafe) {
    struct Case {
        const char* label;
        const char* location;
        bool problem;
        bool treeStays;
    } cases[] = {
        {"product folder", "app", false, false},
        {"after a problem", "app", true, true},
        {"a folder that holds the desktop", "user", false, true},
    };
    for (const Case& c : cases) {
        const std::string dir = c.location;
        CreateDirectoryA(path(dir).c_str(), nullptr);
        makeDir(dir + "\\more");
        makeFile(dir + "\\more\\user.doc", "mine");
        makeFile(dir + "\\a.txt", "a");
        setText(machine(), entry(), "DisplayName", "Acme Notes");
        setValue("InstallLocation", path(dir));
        setValue("ProductFlags", std::to_string(Uninstallable | RemoveInstallDir));
        setValue("UninstallSubdir", "");
        makeFile(dir + "\\Uninstall.DAT", path(dir + "\\a.txt") + "\r\n");
        HANDLE locked = INVALID_HANDLE_VALUE;
        if (c.problem)
            locked = CreateFileA(path(dir + "\\a.txt").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(uninstallProduct(kName), !c.problem) << c.label;
        if (locked != INVALID_HANDLE_VALUE)
            CloseHandle(locked);
        EXPECT_EQ(exists(dir + "\\more\\user.doc"), c.treeStays) << c.label;
        EXPECT_TRUE(exists("user\\Desktop")) << c.label;
        installation() = Installation();
        installSettings() = InstallSettings();
    }
}

// The association's backup was kept under the name the product had then,
// which without a DisplayName is the uninstall key's.
TEST_F(Uninstall, WithoutADisplayNameTheProductGoesByItsKey) {
    setValue("DisplayName", " ");
    setText(classes(), ".acmeu", "", "AcmeU.Note");
    setText(classes(), ".acmeu", "Acme Notes 1 Backup", "txtfile");
    setText(classes(), "AcmeU.Note\\shell\\open\\command", "", "notes.exe %1");
    writeRecord({}, ".acmeu~!~AcmeU.Note~!~open~!~TSVc\r\n");
    EXPECT_TRUE(uninstallProduct(kName));
    EXPECT_EQ(str(installSettings().productName), kName);
    EXPECT_EQ(textOf(classes(), ".acmeu"), "txtfile");
    EXPECT_FALSE(keyExists(classes(), "AcmeU.Note"));
}

TEST_F(Uninstall, TheBackgroundShowsWhatTheEntryStoredOrTheDefaults) {
    EXPECT_TRUE(uninstallProduct(kName));
    const DisplaySettings& plain = displaySettings();
    EXPECT_EQ(str(plain.displayTitle), "");
    EXPECT_EQ(plain.titleColor, GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(plain.titleShadow, 1);
    EXPECT_EQ(plain.topColor, GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(plain.bottomColor, 0u);
    EXPECT_TRUE(plain.monoColor);
    EXPECT_EQ(plain.titlePosition, 0);
    EXPECT_EQ(str(plain.titleFont), "");
    EXPECT_FALSE(plain.maximizeBackground);
    EXPECT_TRUE(plain.backgroundBitmap.isEmpty());

    setValue("DisplayTitle", "Acme Notes\r\nSetup");
    setValue("ProductFlags", std::to_string(Uninstallable | BackgroundBitmap | MaximizeBackground));
    setValue("TitleFont", "Arial");
    setValue("TaskbarText", "Removing Acme");
    setValue("InstallLocation", path("app"));
    setValue("UninstallSubdir", "Uninstall");
    for (const auto& number : {std::make_pair("TitleColor", 0x112233),
                               {"TitleShadow", 3},
                               {"TopColor", 0x445566},
                               {"BottomColor", 0x778899},
                               {"MonoColor", 0},
                               {"TitlePosition", 5},
                               {"StretchMode", 0x102},
                               {"BitmapSize", 80}})
        setNumber(machine(), entry(), number.first, DWORD(number.second));
    DibShape shape;
    shape.bitsPerPixel = 8;
    shape.colorsUsed = 3;
    PackedDib picture;
    ASSERT_TRUE(picture.loadFromMemory(dibBytes(shape, patternBytes(12), patternBytes(8))));
    ASSERT_TRUE(savePackedDibFile(picture, at("app\\Uninstall\\Installer Background.BMP")));
    installation() = Installation();
    EXPECT_TRUE(uninstallProduct(kName));
    const DisplaySettings& stored = displaySettings();
    EXPECT_EQ(str(stored.displayTitle), "Acme Notes\r\nSetup");
    EXPECT_EQ(stored.titleColor, 0x112233u);
    EXPECT_EQ(stored.titleShadow, 3);
    EXPECT_EQ(stored.topColor, 0x445566u);
    EXPECT_EQ(stored.bottomColor, 0x778899u);
    EXPECT_FALSE(stored.monoColor);
    EXPECT_EQ(stored.titlePosition, 5);
    EXPECT_EQ(str(stored.titleFont), "Arial");
    EXPECT_EQ(str(stored.taskbarText), "Removing Acme");
    EXPECT_TRUE(stored.maximizeBackground);
    EXPECT_EQ(stored.stretchMode, 2); // its low byte
    EXPECT_EQ(stored.bitmapSize, 80);
    EXPECT_EQ(stored.backgroundBitmap.data(), picture.data());
}

class SelfDelete : public Uninstall {
protected:
    // The batch deletes itself last; false when it is still there after a while.
    bool waitForBatch(const std::string& batch) const {
        for (int i = 0; i < 200 && exists(batch); ++i)
            Sleep(100);
        return !exists(batch);
    }
};

TEST_F(SelfDelete, TheBatchRemovesTheUninstallerAndTheEmptiedDirectories) {
    installation().installDir = at("app");
    installation().uninstallDir = at("app\\Uninstall");
    installSettings().uninstallSubdir = "Uninstall";
    makeFile("app\\Uninstall\\Uninstall.exe", "uninstaller");
    startupValues().installerPath = at("app\\Uninstall\\Uninstall.exe");
    EXPECT_EQ(startSelfDelete(at("delunins.bat")), 0);
    EXPECT_TRUE(waitForBatch("delunins.bat"));
    EXPECT_FALSE(exists("app"));
}

// Started from anywhere else (the installer itself, with /u), the program is
// not the product's to delete; a directory holding files stays.
TEST_F(SelfDelete, AProgramOutsideTheUninstallDirectoryAndFilledDirectoriesStay) {
    installation().installDir = at("app");
    installation().uninstallDir = at("app\\Uninstall");
    installSettings().uninstallSubdir = "Uninstall";
    makeDir("download");
    makeFile("download\\setup.exe", "installer");
    makeFile("app\\user.doc", "mine");
    startupValues().installerPath = at("download\\setup.exe");
    EXPECT_EQ(startSelfDelete(at("delunins.bat")), 0);
    EXPECT_TRUE(waitForBatch("delunins.bat"));
    EXPECT_TRUE(exists("download\\setup.exe"));
    EXPECT_FALSE(exists("app\\Uninstall"));
    EXPECT_TRUE(exists("app\\user.doc"));
}

TEST_F(SelfDelete, ABatchThatCannotBeWrittenOrStartedIsReported) {
    installation().installDir = at("app");
    EXPECT_EQ(startSelfDelete(at("missing\\delunins.bat")), 1);
    startupValues().commandProcessor = "\"" + at("no command processor.exe") + "\"";
    EXPECT_EQ(startSelfDelete(at("delunins.bat")), 2);
    EXPECT_TRUE(exists("delunins.bat"));
}

} // namespace
