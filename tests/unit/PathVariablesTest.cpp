#include "installer/PathVariables.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string str(const String& s) {
    return std::string(s.c_str(), size_t(s.length()));
}

PathVariableValues sampleValues() {
    PathVariableValues v;
    v.set(PathVariable::BootDrive, "C:");
    v.set(PathVariable::InstallDir, "C:\\Acme");
    v.set(PathVariable::InstallDrive, "C:");
    v.set(PathVariable::UninstallDir, "C:\\Acme\\Uninstall");
    v.set(PathVariable::InstallerDir, "D:\\");
    v.set(PathVariable::InstallerDrive, "D");
    v.set(PathVariable::InstallerFilename, "SETUP.EXE");
    v.set(PathVariable::InstallerFilepath, "D:\\SETUP.EXE");
    v.set(PathVariable::SystemDir, "C:\\WINDOWS\\SYSTEM");
    v.set(PathVariable::Temp, "C:\\TEMP");
    v.set(PathVariable::WinDir, "C:\\WINDOWS");
    return v;
}

TEST(PathVariables, ExpandInTableOrderWithoutRegardToCase) {
    struct Case {
        const char* text;
        const char* expanded;
    } cases[] = {
        {"%InstallDir%\\bin\\notes.exe", "C:\\Acme\\bin\\notes.exe"},
        {"%installdir%|%INSTALLDIR%|%InStAlLdIr%", "C:\\Acme|C:\\Acme|C:\\Acme"},
        {"%InstallDrive%\\x %InstallerDrive%", "C:\\x D"},
        {"%InstallerFilepath% from %InstallerDir%", "D:\\SETUP.EXE from D:\\"},
        // Variables without a value disappear; other tokens stay.
        {"%SharedDir%lib %FontDir%", "lib "},
        {"%Unknown%\\%Temp%\\100%", "%Unknown%\\C:\\TEMP\\100%"},
        {"no variables", "no variables"},
        {"%WinDir%%SystemDir%", "C:\\WINDOWSC:\\WINDOWS\\SYSTEM"},
        {"", ""},
    };
    const PathVariableValues values = sampleValues();
    for (const Case& c : cases) {
        String text = c.text;
        expandPathVariables(text, values);
        EXPECT_EQ(str(text), c.expanded) << c.text;
    }

    // A value that holds a later variable is expanded again, an earlier one not.
    PathVariableValues chained = values;
    chained.set(PathVariable::InstallDir, "%WinDir%\\Acme");
    chained.set(PathVariable::WinDir, "%BootDrive%\\WINDOWS");
    String text = "%InstallDir%";
    expandPathVariables(text, chained);
    EXPECT_EQ(str(text), "%BootDrive%\\WINDOWS\\Acme");
}

TEST(PathVariables, DriveIsALetterAndAColonOrNothing) {
    struct Case {
        const char* path;
        const char* drive;
    } cases[] = {
        {"C:\\Program Files\\Acme", "C:"},
        {"d:\\", "D:"},
        {"e:", "E:"},
        {"\\\\server\\share\\acme", ""},
        {"\\acme", ""},
        {"1:\\x", ""},
        {"C", ""},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(str(driveOf(c.path)), c.drive) << c.path;
}

TEST(PathVariables, PauseLinesGoAndEveryOtherLineEndsInCrLf) {
    struct Case {
        const char* commands;
        const char* kept;
    } cases[] = {
        {"pause", ""},
        {"  @pause  \r\necho done", "echo done\r\n"},
        {"PAUSE\nPause\n\t@ pause\t", ""},
        {"pause > nul\necho pause\n@@pause\npauses",
         "pause > nul\r\necho pause\r\n@@pause\r\npauses\r\n"},
        {"copy a b\rdel a\n", "copy a b\r\ndel a\r\n"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(str(withoutPauseLines(c.commands)), c.kept) << c.commands;
}

TEST(PathVariables, BatchFileSetsEveryPlaceThenRunsTheCommands) {
    const String text =
        batchFileText("c:\\Acme", "echo %InstallDir%\npause\n", false, sampleValues());
    EXPECT_EQ(str(text), "@echo off\r\n"
                         "SET InstallDir=c:\\Acme\r\n"
                         "SET InstallDrive=C:\r\n"
                         "SET UninstallDir=C:\\Acme\\Uninstall\r\n"
                         "SET SharedDir=\r\n"
                         "SET InstallerFilepath=D:\\SETUP.EXE\r\n"
                         "SET InstallerDir=D:\\\r\n"
                         "SET InstallerFilename=SETUP.EXE\r\n"
                         "SET InstallerDrive=D:\r\n"
                         "SET SystemDir=C:\\WINDOWS\\SYSTEM\r\n"
                         "SET DeviceDir=\r\n"
                         "SET MediaDir=\r\n"
                         "SET FavoritesDir=\r\n"
                         "SET FavoritesAllDir=\r\n"
                         "SET FontDir=\r\n"
                         "SET DesktopDir=\r\n"
                         "SET DesktopAllDir=\r\n"
                         "SET DocumentDir=\r\n"
                         "SET DocumentAllDir=\r\n"
                         "SET ProgramsDir=\r\n"
                         "SET StartMenuDir=\r\n"
                         "SET StartMenuAllDir=\r\n"
                         "SET SMProgramsDir=\r\n"
                         "SET SMProgramsAllDir=\r\n"
                         "SET StartupDir=\r\n"
                         "SET StartupAllDir=\r\n"
                         "SET BootDrive=C:\r\n"
                         "SET CommonDir=\r\n"
                         "echo %InstallDir%\r\n"
                         "pause\r\n");
}

TEST(PathVariables, BatchFileHeaderFollowsTheDirectory) {
    PathVariableValues noDrive;
    const String network = batchFileText("\\\\srv\\acme", "x", true, noDrive);
    EXPECT_NE(str(network).find("SET InstallDir=\\\\srv\\acme\r\nSET InstallDrive=\r\n"),
              std::string::npos)
        << str(network);
    // An installer without a drive sets an empty drive, not a lone colon.
    EXPECT_NE(str(network).find("SET InstallerDrive=\r\n"), std::string::npos);

    const String nowhere = batchFileText("", "pause\necho x", true, noDrive);
    EXPECT_EQ(str(nowhere).find("InstallDir="), std::string::npos);
    EXPECT_EQ(str(nowhere).find("InstallDrive="), std::string::npos);
    EXPECT_EQ(str(nowhere).rfind("SET CommonDir=\r\necho x\r\n"),
              size_t(nowhere.length()) - std::string("SET CommonDir=\r\necho x\r\n").size());
}

TEST(PathVariables, AutoexecGainsThePathLineOnce) {
    const String line = autoexecPathLine("C:\\PROGRA~1\\ACME");
    EXPECT_EQ(str(line), "PATH=%PATH%;C:\\PROGRA~1\\ACME\r\n");
    struct Case {
        const char* content;
        const char* addition;
    } cases[] = {
        {"", "\r\nPATH=%PATH%;C:\\PROGRA~1\\ACME\r\n"},
        {"@echo off\r\n", "PATH=%PATH%;C:\\PROGRA~1\\ACME\r\n"},
        {"@echo off", "\r\nPATH=%PATH%;C:\\PROGRA~1\\ACME\r\n"},
        {"a\r\npath=%path%;c:\\progra~1\\acme\r\nb\r\n", ""},
        // Saved by an editor with LF line ends: the line is there all the same.
        {"a\nPATH=%PATH%;C:\\PROGRA~1\\ACME\nb\n", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(str(autoexecAddition(c.content, line)), c.addition) << c.content;
}

TEST(PathVariables, AutoexecLosesOnlyThePathLine) {
    const String line = autoexecPathLine("C:\\ACME");
    struct Case {
        const char* content;
        bool removed;
        const char* after;
    } cases[] = {
        {"a\r\nPATH=%PATH%;C:\\ACME\r\nb\r\n", true, "a\r\nb\r\n"},
        {"a\r\npath=%path%;c:\\acme\r\n", true, "a\r\n"},
        {"a\r\nPATH=%PATH%;C:\\ACME", true, "a\r\n"},
        {"PATH=%PATH%;C:\\ACME", true, ""},
        {"a\r\n", false, "a\r\n"},
        {"", false, ""},
        // Another directory's line that begins with the same text stays whole.
        {"PATH=%PATH%;C:\\ACMEX\r\nb\r\n", false, "PATH=%PATH%;C:\\ACMEX\r\nb\r\n"},
        {"SET OLDPATH=%PATH%;C:\\ACME", false, "SET OLDPATH=%PATH%;C:\\ACME"},
        // Line ends of LF alone, and blanks an editor left around the line.
        {"a\nPATH=%PATH%;C:\\ACME\nb\n", true, "a\nb\n"},
        {"a\nPATH=%PATH%;C:\\ACME\n", true, "a\n"},
        {"a\r\nPATH=%PATH%;C:\\ACME \r\nb\r\n", true, "a\r\nb\r\n"},
        {"a\n  path=%path%;c:\\acme\t\nb", true, "a\nb"},
        {"PATH=%PATH%;C:\\ACMEX\nPATH=%PATH%;C:\\ACME\n", true, "PATH=%PATH%;C:\\ACMEX\n"},
        {"PATH=%PATH%;C:\\ACME\\BIN\n", false, "PATH=%PATH%;C:\\ACME\\BIN\n"},
    };
    for (const Case& c : cases) {
        String content = c.content;
        EXPECT_EQ(removeAutoexecPathLine(content, line), c.removed) << c.content;
        EXPECT_EQ(str(content), c.after) << c.content;
    }
}

TEST(PathVariables, AutoexecProblemNamesTheFileAndTheWay) {
    EXPECT_EQ(str(autoexecProblem("C:\\autoexec.bat", true, "C:\\Program Files\\Acme")),
              "Unable to modify C:\\autoexec.bat.  You will need to manually add "
              "C:\\Program Files\\Acme to the PATH environment variable.\r\n\r\n");
    EXPECT_EQ(str(autoexecProblem("C:\\autoexec.bat", false, "C:\\Acme")),
              "Unable to modify C:\\autoexec.bat.  You will need to manually remove "
              "C:\\Acme from the PATH environment variable.\r\n\r\n");
}

} // namespace
