#include "installer/Startup.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string str(const String& s) {
    return std::string(s.c_str(), s.length());
}

TEST(StartupValues, SplitTheInstallerPath) {
    struct Case {
        const char* path;
        const char* name;
        const char* dir;
        char drive;
    } cases[] = {
        {"C:\\Downloads\\setup.exe", "setup.exe", "C:\\Downloads", 'C'},
        {"d:\\setup.exe", "setup.exe", "d:\\", 'D'},
        {"\\\\server\\share\\setup.exe", "setup.exe", "\\\\server\\share", 0},
        {"setup.exe", "setup.exe", "", 0},
        {"", "", "", 0},
    };
    for (const Case& c : cases) {
        StartupValues values;
        values.installerPath.assign(c.path);
        deriveInstallerParts(values);
        EXPECT_EQ(str(values.installerFileName), c.name) << c.path;
        EXPECT_EQ(str(values.installerDir), c.dir) << c.path;
        EXPECT_EQ(values.installerDrive, c.drive) << c.path;
    }
}

TEST(StartupValues, CommandProcessorFallsBackAndIsQuoted) {
    struct Case {
        const char* expanded;
        bool ok;
        const char* windowsDir;
        const char* result;
    } cases[] = {
        {"C:\\WINDOWS\\system32\\cmd.exe", true, "C:\\WINDOWS", "C:\\WINDOWS\\system32\\cmd.exe"},
        {"", true, "C:\\WINDOWS", "C:\\WINDOWS\\command.com"},
        {"  \t", true, "C:\\WINDOWS", "C:\\WINDOWS\\command.com"},
        {"%comspec%", true, "C:\\WINDOWS", "C:\\WINDOWS\\command.com"},
        {"C:\\x.exe", false, "C:\\WIN 98\\", "\"C:\\WIN 98\\command.com\""},
        {"C:\\Program Files\\shell.exe", true, "C:\\WINDOWS", "\"C:\\Program Files\\shell.exe\""},
    };
    for (const Case& c : cases) {
        String result = commandProcessorFrom(String(c.expanded), c.ok, String(c.windowsDir));
        EXPECT_EQ(str(result), c.result) << c.expanded;
    }
}

TEST(StartupValues, TempDirLosesItsSeparatorOrFallsBack) {
    EXPECT_EQ(str(tempDirFrom(String("C:\\TEMP\\"))), "C:\\TEMP");
    EXPECT_EQ(str(tempDirFrom(String("C:\\TEMP"))), "C:\\TEMP");
    EXPECT_EQ(str(tempDirFrom(String(""))), "c:\\temp");
}

} // namespace
