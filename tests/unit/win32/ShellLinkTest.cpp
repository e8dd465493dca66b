#include "ShellScratch.h"

#include "installer/win32/ShellLink.h"
#include "platform/ErrorText.h"
#include "platform/OsVersion.h"

namespace {

using ShellLinks = ShellScratch;

TEST_F(ShellLinks, ALinkReadsBackAsItWasAskedFor) {
    struct Case {
        const char* name;
        const char* arguments;
        const char* workingDirectory;
        const char* icon;
        const char* written;   // the link path as it comes back
        const char* shownIcon; // the icon the link names
    } cases[] = {
        {"links\\sub\\Notes", "/fresh \"x y\"", "C:\\work", "C:\\app\\notes.ico",
         "links\\sub\\Notes.LNK", "C:\\app\\notes.ico"},
        {"links\\Plain.lnk", "", "", "", "links\\Plain.lnk", "C:\\app\\notes.exe"},
    };
    for (const Case& c : cases) {
        String link = at(c.name);
        ASSERT_TRUE(
            createShellLink(link, "C:\\app\\notes.exe", c.arguments, c.workingDirectory, c.icon))
            << c.name << ": " << str(lastErrorText());
        EXPECT_EQ(str(link), path(c.written));
        const LinkContents contents = readLink(path(c.written));
        ASSERT_TRUE(contents.loaded) << c.written;
        EXPECT_EQ(contents.target, "C:\\app\\notes.exe");
        EXPECT_EQ(contents.arguments, c.arguments);
        EXPECT_EQ(contents.workingDirectory, c.workingDirectory);
        EXPECT_EQ(contents.iconPath, c.shownIcon);
        EXPECT_EQ(contents.iconIndex, 0);
    }
}

TEST_F(ShellLinks, APathTheShellCannotTakeFailsWithItsReason) {
    String link = at("links\\" + std::string(260, 'n'));
    EXPECT_FALSE(createShellLink(link, "C:\\app\\notes.exe", "", "", ""));
    EXPECT_EQ(str(lastErrorText()), str(systemErrorText(ERROR_FILENAME_EXCED_RANGE)));
    EXPECT_FALSE(exists("links\\" + std::string(260, 'n') + ".LNK"));
}

TEST_F(ShellLinks, DesktopAndProgramsLinksGoToTheUsersOrEveryonesFolder) {
    for (bool allUsers : {false, true}) {
        const std::string folder = allUsers ? "all\\" : "user\\";
        String link;
        ASSERT_TRUE(
            createDesktopShortcut("Notes", "C:\\app\\notes.exe", "", "", "", allUsers, link));
        EXPECT_EQ(str(link), path(folder + "Desktop\\Notes.LNK"));
        EXPECT_TRUE(exists(folder + "Desktop\\Notes.LNK"));
        String copy = "stale";
        ASSERT_TRUE(createProgramsShortcut("Acme\\Notes", "C:\\app\\notes.exe", "", "", "",
                                           allUsers, link, copy));
        EXPECT_EQ(str(link), path(folder + "Programs\\Acme\\Notes.LNK"));
        EXPECT_EQ(str(copy), "");
        EXPECT_TRUE(exists(folder + "Programs\\Acme\\Notes.LNK"));
    }
}

// Windows 95 and 98 with user profiles show each user only their own Start
// Menu, so an all-users link gets a copy there; its failure is never reported,
// but the copy made is handed back for the uninstaller.
TEST_F(ShellLinks, Windows98WithProfilesGetsAUserCopyOfEveryonesProgramsLink) {
    struct Case {
        uint32_t minor; // 4.10 is Windows 98, 4.90 Windows ME
        DWORD profiles;
        bool copied;
    } cases[] = {{10, 1, true}, {0, 1, true}, {10, 0, false}, {90, 1, false}};
    OsVersion version;
    version.platform = kPlatformWindows;
    version.major = 4;
    int serial = 0;
    for (const Case& c : cases) {
        version.minor = c.minor;
        setNumber(machine(), "Network\\Logon", "UserProfiles", c.profiles);
        overrideOsVersion(&version);
        const std::string name = "Acme\\Notes" + std::to_string(++serial);
        String link;
        String copy;
        const bool made = createProgramsShortcut(name.c_str(), "C:\\app\\notes.exe", "", "", "",
                                                 true, link, copy);
        overrideOsVersion(nullptr);
        EXPECT_TRUE(made) << c.minor;
        EXPECT_EQ(str(link), path("all\\Programs\\" + name + ".LNK"));
        EXPECT_EQ(exists("user\\Programs\\" + name + ".LNK"), c.copied) << c.minor;
        EXPECT_EQ(str(copy), c.copied ? path("user\\Programs\\" + name + ".LNK") : "") << c.minor;
    }
}

} // namespace
