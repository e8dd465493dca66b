#include "installer/UninstallPaths.h"
#include "installer/CleanupBatch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string str(const String& s) {
    return std::string(s.c_str(), size_t(s.length()));
}

std::vector<std::string> strs(const Array<String>& list) {
    std::vector<std::string> out;
    for (const String& s : list)
        out.push_back(str(s));
    return out;
}

using Paths = std::vector<std::string>;

TEST(UninstallPaths, DotComponentsResolveAsWindowsResolvesThem) {
    struct Case {
        const char* path;
        const char* collapsed;
    } cases[] = {
        {"C:\\Acme\\sub", "C:\\Acme\\sub"},
        {"C:\\Acme\\sub\\", "C:\\Acme\\sub"},
        {"C:\\Acme\\.\\sub\\..\\x", "C:\\Acme\\x"},
        {"C:\\Windows\\System32\\..", "C:\\Windows"},
        {"C:\\..\\..\\x", "C:\\x"},
        {"C:\\", "C:\\"},
        {"C:\\Acme\\\\sub", "C:\\Acme\\sub"},
        {"\\\\srv\\share\\a\\..\\..\\b", "\\\\srv\\share\\b"},
        {"\\\\srv\\share", "\\\\srv\\share"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(str(collapseDotComponents(c.path)), c.collapsed) << c.path;
}

TEST(UninstallPaths, BelowMeansStrictlyInsideComponentByComponent) {
    struct Case {
        const char* path;
        const char* root;
        bool below;
    } cases[] = {
        {"C:\\Acme\\sub", "C:\\Acme", true},
        {"c:\\ACME\\sub", "C:\\Acme\\", true},
        {"C:\\Acme", "C:\\Acme", false},
        {"C:\\Acme2\\sub", "C:\\Acme", false},
        {"C:\\Acme\\..\\Other", "C:\\Acme", false},
        {"C:\\Acme\\x", "C:\\", true},
        {"C:\\Acme", "", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isBelowPath(c.path, c.root), c.below) << c.path << " in " << c.root;
}

const Array<String> kKnownFolders = {"C:\\Windows", "C:\\Program Files", "C:\\Users\\me\\Desktop",
                                     "", "C:\\Users\\me\\Documents"};

TEST(UninstallPaths, RecordedDirectoriesGoUpToTheInstallDirectoryOnly) {
    struct Case {
        const char* directory;
        Paths chain;
    } cases[] = {
        {"C:\\Acme\\a\\b", {"C:\\Acme\\a\\b", "C:\\Acme\\a"}},
        {"c:\\acme\\A\\", {"c:\\acme\\A"}},
        {"C:\\Acme", {}},
        {"C:\\Acme\\a\\..\\b", {"C:\\Acme\\b"}},
        // Outside the install directory the walk stops before a known folder
        // or a drive root.
        {"C:\\Users\\me\\Desktop\\Acme\\Tools",
         {"C:\\Users\\me\\Desktop\\Acme\\Tools", "C:\\Users\\me\\Desktop\\Acme"}},
        {"D:\\Elsewhere\\x", {"D:\\Elsewhere\\x", "D:\\Elsewhere"}},
        {"C:\\Windows", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(strs(recordedDirectoryChain(c.directory, "C:\\Acme\\", kKnownFolders)), c.chain)
            << c.directory;
}

TEST(UninstallPaths, TheStartMenuFolderIsRemovedUpToThePrograms) {
    const String programs = "C:\\Users\\me\\Start Menu\\Programs";
    EXPECT_EQ(strs(startMenuChain(programs, "Acme\\Notes")),
              (Paths{"C:\\Users\\me\\Start Menu\\Programs\\Acme\\Notes",
                     "C:\\Users\\me\\Start Menu\\Programs\\Acme"}));
    EXPECT_EQ(strs(startMenuChain(programs, "Acme")),
              Paths{"C:\\Users\\me\\Start Menu\\Programs\\Acme"});
    for (const char* name : {"", " ", "..", "..\\..", "Acme\\..\\..", "."})
        EXPECT_EQ(strs(startMenuChain(programs, name)), Paths{}) << name;
    EXPECT_EQ(strs(startMenuChain("", "Acme")), Paths{});

    std::string deep;
    for (int i = 0; i < 25; ++i)
        deep += "d\\";
    EXPECT_EQ(startMenuChain(programs, deep.c_str()).count(), kMaxStartMenuLevels);
}

TEST(UninstallPaths, TheWholeInstallTreeGoesOnlyWhenItHoldsNoKnownFolder) {
    struct Case {
        const char* installDir;
        bool removable;
    } cases[] = {
        {"C:\\Program Files\\Acme", true},
        {"C:\\Users\\me\\Documents\\Acme", true},
        {"C:\\Program Files", false},
        {"c:\\program files\\", false},
        {"C:\\Windows", false},
        {"C:\\Program Files\\Acme\\..\\..\\Windows", false},
        {"C:\\Users\\me", false}, // holds the desktop and the documents
        {"C:\\Users\\me\\Documents", false},
        {"C:\\", false},
        {"C:\\Acme\\..", false},
        {"Acme", false},
        {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(mayRemoveInstallTree(c.installDir, kKnownFolders), c.removable) << c.installDir;
}

TEST(UninstallPaths, TheEntrysPlacesMustStayPlaces) {
    // A product installed at a drive root can be removed; its tree never goes whole.
    for (const char* dir :
         {"C:\\Acme", "\\\\srv\\share\\Acme", "C:\\Program Files\\Acme Notes", "D:\\", "C:\\"})
        EXPECT_TRUE(isUsableInstallLocation(dir)) << dir;
    for (const char* dir :
         {"", "   ", "Acme", "C:Acme", "D:", "C:\\Acme\\..", "C:\\Ac*me", "\\\\srv\\share\\", "\\"})
        EXPECT_FALSE(isUsableInstallLocation(dir)) << dir;
    for (const char* subdir : {"", "Uninstall", "a\\b", ".", "a\\..\\b"})
        EXPECT_TRUE(isUsableSubdir(subdir)) << subdir;
    for (const char* subdir : {"..", "..\\Windows", "a\\..\\..", "C:\\Windows", "\\Windows", "a*"})
        EXPECT_FALSE(isUsableSubdir(subdir)) << subdir;
}

// The folders made on the way to the install directory go, deepest first;
// never one above what the installation made, a known folder or a root.
TEST(UninstallPaths, OnlyTheParentsTheInstallationCreatedAreRemoved) {
    struct Case {
        const char* installDir;
        const char* created;
        Paths chain;
    } cases[] = {
        {"C:\\Program Files\\Acme\\Notes", "C:\\Program Files\\Acme", {"C:\\Program Files\\Acme"}},
        {"C:\\Tools\\Acme\\Notes", "c:\\tools", {"C:\\Tools\\Acme", "C:\\Tools"}},
        {"C:\\Tools\\Acme\\Notes\\", "C:\\Tools\\Acme\\", {"C:\\Tools\\Acme"}},
        {"C:\\Program Files\\Acme", "C:\\Program Files\\Acme", {}}, // the install directory alone
        {"C:\\Program Files\\Acme", "", {}},
        {"C:\\Program Files\\Acme", "C:\\Program Files", {}}, // a known folder
        {"C:\\Acme\\Notes", "C:\\", {"C:\\Acme"}},            // never the root
        {"C:\\Acme\\Notes", "D:\\Acme", {}},                  // not a parent
        {"C:\\Acme\\Notes", "C:\\Other", {}},
        {"C:\\Acme\\Notes", "C:\\Acme\\Notes\\..\\..", {"C:\\Acme"}},
        {"D:\\", "D:\\", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(strs(createdParentChain(c.installDir, c.created, kKnownFolders)), c.chain)
            << c.installDir << " / " << c.created;
}

TEST(CleanupBatch, TheCreatedParentsFollowTheInstallDirectory) {
    Array<String> parents;
    parents.append("C:\\Tools\\Acme");
    parents.append("C:\\Tools");
    EXPECT_EQ(str(cleanupBatchText("", "C:\\Tools\\Acme\\Notes", "", "T:\\u.bat", parents)),
              "rd \"C:\\Tools\\Acme\\Notes\"\r\nrd \"C:\\Tools\\Acme\"\r\nrd \"C:\\Tools\"\r\n"
              "del \"T:\\u.bat\"\r\n");
}

TEST(UninstallPaths, OnlyTheProductsOwnKeysAreDeleted) {
    for (const char* path : {"Acme", "Acme\\Notes", "Acme\\Notes\\", "MicrosoftAcme"})
        EXPECT_TRUE(isProductKeyPath(path)) << path;
    for (const char* path :
         {"", "\\", "\\Acme", "Acme\\\\Notes", "Microsoft", "microsoft\\Windows\\CurrentVersion",
          "Classes\\.txt", "Policies", "Wow6432Node\\Acme"})
        EXPECT_FALSE(isProductKeyPath(path)) << path;
}

TEST(UninstallPaths, ParentKeysAreWalkedUpToTheTopComponent) {
    String path = "Acme\\Notes\\Settings\\";
    Paths walk;
    while (parentKeyPath(path))
        walk.push_back(str(path));
    EXPECT_EQ(walk, (Paths{"Acme\\Notes", "Acme"}));
    EXPECT_EQ(str(path), "Acme");
}

TEST(CleanupBatch, DeletesTheUninstallerThenTheEmptiedDirectoriesThenItself) {
    EXPECT_EQ(str(cleanupBatchText("C:\\Acme\\Uninstall\\Uninstall.exe", "C:\\Acme", "Uninstall",
                                   "c:\\delunins.bat")),
              ":Repeat\r\n"
              "del \"C:\\Acme\\Uninstall\\Uninstall.exe\"\r\n"
              "if exist \"C:\\Acme\\Uninstall\\Uninstall.exe\" goto Repeat\r\n"
              "rd \"C:\\Acme\\Uninstall\"\r\n"
              "rd \"C:\\Acme\"\r\n"
              "del \"c:\\delunins.bat\"\r\n");
    EXPECT_EQ(str(cleanupBatchText("", "C:\\Acme", "", "c:\\delunins.bat")),
              "rd \"C:\\Acme\"\r\ndel \"c:\\delunins.bat\"\r\n");
    // The command processor would expand "%Acme%".
    EXPECT_EQ(str(cleanupBatchText("C:\\100%\\%Acme%\\u.exe", "C:\\100%", "", "c:\\d.bat")),
              ":Repeat\r\ndel \"C:\\100%%\\%%Acme%%\\u.exe\"\r\n"
              "if exist \"C:\\100%%\\%%Acme%%\\u.exe\" goto Repeat\r\n"
              "rd \"C:\\100%%\"\r\ndel \"c:\\d.bat\"\r\n");
}

} // namespace
