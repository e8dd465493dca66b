#include "installer/InstallRecords.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string str(const String& s) {
    return std::string(s.c_str(), size_t(s.length()));
}

InstallLogHead sampleHead() {
    InstallLogHead head;
    head.productName = "Acme Notes";
    head.installDate = "5-Dec-2026 3:04:05p";
    head.installDir = "C:\\Program Files\\Acme";
    return head;
}

TEST(InstallRecords, LogBlockHeadSaysWhatWasInstalledWhere) {
    InstallLogHead head = sampleHead();
    EXPECT_EQ(str(installLogHeadText(head)), "\r\nInstallation log for: Acme Notes\r\n"
                                             "Install date: 5-Dec-2026 3:04:05p\r\n"
                                             "Install location: C:\\Program Files\\Acme\r\n"
                                             "Installer version: 13.3\r\n"
                                             "\r\n");
    head.uninstallable = true;
    head.reinstall = true;
    head.displayVersion = "2.1";
    EXPECT_EQ(str(installLogHeadText(head)), "\r\nInstallation log for: Acme Notes\r\n"
                                             "Install date: 5-Dec-2026 3:04:05p\r\n"
                                             "Install type: Reinstall\r\n"
                                             "Install location: C:\\Program Files\\Acme\r\n"
                                             "Installer version: 13.3\r\n"
                                             "Product version: 2.1\r\n"
                                             "\r\n");
    head.reinstall = false;
    head.displayVersion = "  ";
    const std::string fresh = str(installLogHeadText(head));
    EXPECT_NE(fresh.find("Install type: New\r\n"), std::string::npos);
    EXPECT_EQ(fresh.find("Product version"), std::string::npos);
}

TEST(InstallRecords, LogBlockCarriesTheLogOnlyWhenThereIsOne) {
    const std::string head = str(installLogHeadText(sampleHead()));
    EXPECT_EQ(str(installLogBlock(sampleHead(), "Deleted file: x\r\n", "All done\r\n\r\n")),
              head + "Deleted file: x\r\n\r\nAll done\r\n\r\n");
    EXPECT_EQ(str(installLogBlock(sampleHead(), " \r\n", "Cannot write x\r\n")),
              head + "Cannot write x\r\n");
}

TEST(InstallRecords, UninstallDataHoldsTheListTheStringsAndTheAssociations) {
    Array<String> strings;
    for (int i = 0; i < kUninstallStringCount; ++i)
        strings.append(String::formatted("text %d", kUninstallStringIds[i]));
    strings[1] = "two\r\nlines";
    const std::string list = "C:\\Acme\\a.txt\r\n~C:\\Acme\r\n";
    std::string expected = list + "\r\n\r\n[Strings]\r\n~10\r\ntext 10\r\n~15\r\ntwo\r\nlines\r\n";
    for (int i = 2; i < kUninstallStringCount; ++i)
        expected += "~" + std::to_string(kUninstallStringIds[i]) + "\r\ntext " +
                    std::to_string(kUninstallStringIds[i]) + "\r\n";
    EXPECT_EQ(str(uninstallDataText(list.c_str(), strings, "")), expected);
    EXPECT_EQ(str(uninstallDataText(list.c_str(), strings, ".acn~!~AcmeNote~!~open\r\n")),
              expected + "\r\n\r\n[Associations]\r\n.acn~!~AcmeNote~!~open\r\n");
    EXPECT_EQ(kUninstallStringIds[kUninstallStringCount - 1], 71);
}

TEST(InstallRecords, VersionNumbersComeFromAroundTheFirstPoint) {
    struct Case {
        const char* version;
        bool numbers;
        int32_t major;
        int32_t minor;
    } cases[] = {
        {"2.05", true, 2, 5},       {"2", false, 0, 0},         {"", false, 0, 0},
        {"2.", true, 2, INT32_MIN}, {"1.2.3", true, 1, 2},      {"10.-4", true, 10, -4},
        {"3.x", true, 3, 0},        {"1,234.5", true, 1234, 5},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(hasVersionNumbers(c.version), c.numbers) << c.version;
        if (!c.numbers)
            continue;
        EXPECT_EQ(versionMajor(c.version), c.major) << c.version;
        EXPECT_EQ(versionMinor(c.version), c.minor) << c.version;
    }
}

// The viewer is Notepad of the Windows directory by its full path: a bare
// "notepad.exe" would be looked for beside the installer first.
TEST(InstallRecords, TheLogViewerIsNotepadOfTheWindowsDirectory) {
    EXPECT_EQ(str(logViewerCommand("C:\\WINDOWS", "C:\\Acme\\Install.LOG")),
              "\"C:\\WINDOWS\\notepad.exe\" C:\\Acme\\Install.LOG");
    EXPECT_EQ(str(logViewerCommand("D:\\My Win\\", "C:\\A B\\Install.LOG")),
              "\"D:\\My Win\\notepad.exe\" C:\\A B\\Install.LOG");
}

TEST(InstallRecords, AReportWithoutItsLogCarriesTheProblemsAndWhyTheLogFailed) {
    EXPECT_EQ(str(unwrittenLogReport("Cannot write C:\\a\\b.dat\r\nDisk full\r\n\r\n",
                                     "C:\\a\\Install.LOG", "Disk full")),
              "Cannot write C:\\a\\b.dat\r\nDisk full\r\n\r\n"
              "The installation log could not be written:\r\nC:\\a\\Install.LOG\r\nDisk full");
    // A long report is cut, and says so, so that the box still fits the screen.
    const String longReport(std::string(kShownReportLength + 50, 'x').c_str());
    const std::string cut = str(unwrittenLogReport(longReport, "L", ""));
    EXPECT_EQ(cut, std::string(kShownReportLength, 'x') +
                       "...\r\n\r\nThe installation log could not be written:\r\nL");
}

} // namespace
