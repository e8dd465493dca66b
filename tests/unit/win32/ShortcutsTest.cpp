#include "ShellScratch.h"

#include "installer/win32/Shortcuts.h"
#include "platform/ErrorText.h"
#include "platform/OsVersion.h"

namespace {

class ShortcutPass : public ShellScratch {
protected:
    void SetUp() override {
        ShellScratch::SetUp();
        InstallSettings& s = installSettings();
        s.languages = {"English"};
        s.messageTable.resize(40, 1);
        s.messageTable.set(31, 0, "Cannot write");
        s.messageTable.set(33, 0, "Uninstall Acme");
        s.productStartMenu = "Acme\\Notes";
        s.uninstallerName = "unacme.exe";
        s.uninstallKey = "AcmeNotes";
        makeDir("app");
        makeDir("app\\Uninstall");
        installation().installDir = at("app");
        installation().uninstallDir = at("app\\Uninstall");
    }

    ShortcutRecord record(const char* caption, bool desktop, bool startMenu, bool startup,
                          bool permanent = false) const {
        ShortcutRecord r;
        r.desktop = desktop;
        r.startMenu = startMenu;
        r.startup = startup;
        r.permanent = permanent;
        r.target = at(std::string("app\\") + caption + ".exe");
        r.caption = caption;
        return r;
    }
    void add(const ShortcutRecord& r) { installation().shortcutList.append(r); }
};

TEST_F(ShortcutPass, EveryRecordGetsItsLinksLoggedAndListed) {
    installSettings().productFlags |= DetailedLog;
    ShortcutRecord notes = record("Notes", true, true, false);
    notes.arguments = "/fresh";
    notes.icon = at("app\\Uninstall\\notes.ico");
    add(notes);
    add(record("Tray", false, false, true));
    add(record("Tools\\Kept", true, true, false, true));
    createShortcuts();

    const std::string desktop = path("user\\Desktop\\");
    const std::string programs = path("user\\Programs\\Acme\\Notes\\");
    const std::string startup = path("user\\Startup\\");
    EXPECT_EQ(log(), "Desktop Shortcut(Notes) -> " + desktop + "Notes.LNK\r\n" +
                         "Start Menu Shortcut(Notes) -> " + programs + "Notes.LNK\r\n" +
                         "Startup Shortcut(Tray) -> " + startup + "Tray.LNK\r\n" +
                         "Desktop Shortcut(Tools\\Kept) -> " + desktop + "Tools\\Kept.LNK\r\n" +
                         "Start Menu Shortcut(Tools\\Kept) -> " + programs + "Tools\\Kept.LNK\r\n");
    // The permanent record's links are made but never listed.
    EXPECT_EQ(uninstallList(),
              desktop + "Notes.LNK\r\n" + programs + "Notes.LNK\r\n" + startup + "Tray.LNK\r\n");
    EXPECT_TRUE(exists("user\\Desktop\\Tools\\Kept.LNK"));
    const LinkContents contents = readLink(programs + "Notes.LNK");
    EXPECT_EQ(contents.target, path("app\\Notes.exe"));
    EXPECT_EQ(contents.arguments, "/fresh");
    EXPECT_EQ(contents.iconPath, path("app\\Uninstall\\notes.ico"));
    EXPECT_TRUE(installation().desktopChanged);
    EXPECT_EQ(problems(), "");
}

TEST_F(ShortcutPass, WithoutDetailedLogOrDesktopLinksNothingIsLoggedOrAnnounced) {
    add(record("Notes", false, true, true));
    createShortcuts();
    EXPECT_EQ(log(), "");
    EXPECT_FALSE(installation().desktopChanged);
    EXPECT_TRUE(exists("user\\Programs\\Acme\\Notes\\Notes.LNK"));
    EXPECT_TRUE(exists("user\\Startup\\Notes.LNK"));
}

TEST_F(ShortcutPass, AllUsersModeUsesEveryonesFolders) {
    installSettings().shortcutMode = 1;
    add(record("Notes", true, true, true));
    createShortcuts();
    EXPECT_TRUE(exists("all\\Desktop\\Notes.LNK"));
    EXPECT_TRUE(exists("all\\Programs\\Acme\\Notes\\Notes.LNK"));
    EXPECT_TRUE(exists("all\\Startup\\Notes.LNK"));
    EXPECT_FALSE(exists("user\\Desktop\\Notes.LNK"));
}

TEST_F(ShortcutPass, AFailedLinkIsReportedAndThePassGoesOn) {
    const std::string tooLong(260, 'x');
    add(record(tooLong.c_str(), true, false, false));
    add(record("Notes", false, true, false));
    createShortcuts();
    const std::string link = path("user\\Desktop\\" + tooLong + ".LNK");
    EXPECT_EQ(problems(), "Cannot write " + link + "\r\n" +
                              str(systemErrorText(ERROR_FILENAME_EXCED_RANGE)) + "\r\n");
    EXPECT_EQ(uninstallList(), path("user\\Programs\\Acme\\Notes\\Notes.LNK") + "\r\n");
    // The desktop was asked for, so the shell is still told.
    EXPECT_TRUE(installation().desktopChanged);
}

TEST_F(ShortcutPass, DesktopLinksGoIntoTheDesktopFolderMadeOnceWithItsIcon) {
    installSettings().productFlags |= DetailedLog;
    installSettings().desktopFolder = "Acme Notes";
    installSettings().desktopFolderIcon = String("ICO\0data", 8);
    add(record("Notes", true, false, false));
    add(record("Help", true, false, false));
    createShortcuts();

    const std::string folder = path("user\\Desktop\\Acme Notes");
    const std::string icon = path("app\\Uninstall\\Desktop Icon.ico");
    EXPECT_EQ(contentOf("app\\Uninstall\\Desktop Icon.ico"), std::string("ICO\0data", 8));
    EXPECT_EQ(contentOf("user\\Desktop\\Acme Notes\\Desktop.ini"),
              "[.ShellClassInfo]\r\nIconFile=" + icon + "\r\nIconIndex=0\r\n");
    EXPECT_NE(GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_SYSTEM, 0u);
    const DWORD ini = GetFileAttributesA((folder + "\\Desktop.ini").c_str());
    EXPECT_EQ(ini & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM),
              DWORD(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    EXPECT_EQ(uninstallList(), folder + "\\Desktop.ini\r\n~" + folder + "\r\n" + icon + "\r\n" +
                                   folder + "\\Notes.LNK\r\n" + folder + "\\Help.LNK\r\n");
    EXPECT_EQ(log(), "Desktop Folder Shortcut(Notes) -> " + folder + "\\Notes.LNK\r\n" +
                         "Desktop Folder Shortcut(Help) -> " + folder + "\\Help.LNK\r\n");
    EXPECT_FALSE(exists("user\\Desktop\\Notes.LNK"));
    EXPECT_EQ(problems(), "");
}

// A reinstallation finds the Desktop.ini it left hidden and system.
TEST_F(ShortcutPass, AReinstallationRewritesItsHiddenDesktopIni) {
    installSettings().desktopFolder = "Acme Notes";
    installSettings().desktopFolderIcon = "ICO";
    add(record("Notes", true, false, false));
    createShortcuts();
    const Installation first = installation();
    installation() = Installation();
    installation().installDir = first.installDir;
    installation().uninstallDir = at("app\\Uninstall2");
    makeDir("app\\Uninstall2");
    add(record("Notes", true, false, false));
    createShortcuts();
    EXPECT_EQ(contentOf("user\\Desktop\\Acme Notes\\Desktop.ini"),
              "[.ShellClassInfo]\r\nIconFile=" + path("app\\Uninstall2\\Desktop Icon.ico") +
                  "\r\nIconIndex=0\r\n");
    EXPECT_EQ(problems(), "");
}

TEST_F(ShortcutPass, WithoutADesktopLinkNoDesktopFolderIsMade) {
    installSettings().desktopFolder = "Acme Notes";
    installSettings().desktopFolderIcon = "ICO";
    add(record("Notes", false, true, true));
    createShortcuts();
    EXPECT_FALSE(exists("user\\Desktop\\Acme Notes"));
    EXPECT_FALSE(exists("app\\Uninstall\\Desktop Icon.ico"));
}

TEST_F(ShortcutPass, ADesktopFolderOrIconThatCannotBeMadeIsReported) {
    installSettings().desktopFolder = "Acme Notes";
    installSettings().desktopFolderIcon = "ICO";
    // A file where the folder should be, and no uninstall directory for the icon.
    makeFile("user\\Desktop\\Acme Notes", "in the way");
    installation().uninstallDir = at("app\\missing");
    add(record("Notes", true, false, false));
    createShortcuts();
    const std::string folder = path("user\\Desktop\\Acme Notes");
    const std::string report = problems();
    EXPECT_EQ(report.find("Failed to create directory " + folder + ": "), 0u) << report;
    EXPECT_NE(report.find("Failed to create desktop shortcut folder icon \"" +
                          path("app\\missing\\Desktop Icon.ico") + "\"\r\n"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("Cannot write " + folder + "\\Notes.LNK\r\n"), std::string::npos)
        << report;
    // Listed all the same, so that the uninstaller tries.
    EXPECT_EQ(uninstallList().find(folder + "\\Desktop.ini\r\n~" + folder + "\r\n"), 0u);
}

TEST_F(ShortcutPass, TheUninstallersShortcutsStartItForThisProduct) {
    InstallSettings& s = installSettings();
    s.productFlags |= Uninstallable | UninstallerDesktopShortcut | UninstallerStartMenuShortcut |
                      UninstallerShortcutInUninstallDir | DetailedLog;
    s.desktopFolder = "Acme Notes";
    add(record("Notes", false, true, false));
    addUninstallerDesktopShortcut();
    createShortcuts();
    createUninstallerShortcuts();

    const std::string uninstaller = path("app\\Uninstall\\unacme.exe");
    const std::string inFolder = path("user\\Desktop\\Acme Notes\\Uninstall Acme.LNK");
    const std::string inMenu = path("user\\Programs\\Acme\\Notes\\Uninstall Acme.LNK");
    const std::string inUninstallDir = path("app\\Uninstall\\Uninstall Acme.LNK");
    for (const std::string& link : {inFolder, inMenu, inUninstallDir}) {
        const LinkContents contents = readLink(link);
        ASSERT_TRUE(contents.loaded) << link;
        EXPECT_EQ(contents.target, uninstaller);
        EXPECT_EQ(contents.arguments, "/u:\"AcmeNotes\"");
        EXPECT_EQ(contents.iconPath, uninstaller);
        EXPECT_EQ(contents.workingDirectory, "");
    }
    const std::string listed = uninstallList();
    for (const std::string& link : {inFolder, inMenu, inUninstallDir})
        EXPECT_NE(listed.find(link + "\r\n"), std::string::npos) << link;
    EXPECT_NE(log().find("Desktop Folder Shortcut(Uninstall Acme) -> " + inFolder + "\r\n"),
              std::string::npos)
        << log();
    EXPECT_NE(log().find("Uninstaller Shortcut -> " + inMenu + "\r\nUninstaller Shortcut -> " +
                         inUninstallDir + "\r\n"),
              std::string::npos)
        << log();
    EXPECT_EQ(problems(), "");
}

// Windows 95 and 98 with user profiles get a copy of each of everyone's Start
// Menu links in the user's own Programs folder: the copies are the product's
// too, so they are listed (and logged) like the links they copy, or they would
// outlive the uninstallation, one of them pointing at the deleted uninstaller.
TEST_F(ShortcutPass, TheUsersCopiesOfEveryonesStartMenuLinksAreListedOn95And98) {
    InstallSettings& s = installSettings();
    s.productFlags |= Uninstallable | UninstallerStartMenuShortcut | DetailedLog;
    s.shortcutMode = 1;
    setNumber(machine(), "Network\\Logon", "UserProfiles", 1);
    for (uint32_t minor : {0u, 10u}) {
        installation().uninstallList.clear();
        installation().installLog.clear();
        installation().shortcutList.clear();
        add(record("Notes", false, true, false));
        add(record("Kept", false, true, false, true));
        OsVersion version;
        version.platform = kPlatformWindows;
        version.major = 4;
        version.minor = minor;
        overrideOsVersion(&version);
        createShortcuts();
        createUninstallerShortcuts();
        overrideOsVersion(nullptr);

        const std::string listed = uninstallList();
        for (const char* folder : {"all", "user"}) {
            const std::string programs = path(std::string(folder) + "\\Programs\\Acme\\Notes\\");
            for (const char* name : {"Notes.LNK", "Uninstall Acme.LNK"}) {
                EXPECT_TRUE(exists(std::string(folder) + "\\Programs\\Acme\\Notes\\" + name))
                    << minor << folder << name;
                EXPECT_NE(listed.find(programs + name + "\r\n"), std::string::npos)
                    << minor << " " << programs << name << "\n"
                    << listed;
            }
            EXPECT_NE(log().find("Start Menu Shortcut(Notes) -> " + programs + "Notes.LNK\r\n"),
                      std::string::npos)
                << log();
            EXPECT_NE(log().find("Uninstaller Shortcut -> " + programs + "Uninstall Acme.LNK\r\n"),
                      std::string::npos)
                << log();
            // A permanent record's links stay, copy and all.
            EXPECT_TRUE(exists(std::string(folder) + "\\Programs\\Acme\\Notes\\Kept.LNK"));
            EXPECT_EQ(listed.find("Kept.LNK"), std::string::npos) << listed;
        }
    }
    EXPECT_EQ(problems(), "");
}

TEST_F(ShortcutPass, AProductThatCannotBeUninstalledGetsNoUninstallerShortcuts) {
    installSettings().productFlags |= UninstallerDesktopShortcut | UninstallerStartMenuShortcut |
                                      UninstallerShortcutInUninstallDir;
    addUninstallerDesktopShortcut();
    createShortcuts();
    createUninstallerShortcuts();
    EXPECT_EQ(installation().shortcutList.count(), 0);
    EXPECT_EQ(uninstallList(), "");
    EXPECT_FALSE(exists("app\\Uninstall\\Uninstall Acme.LNK"));
    EXPECT_FALSE(installation().desktopChanged);
}

} // namespace
