// Path variables in the texts a publisher writes, as the installed machine
// shows them: the default folder and the shortcuts' arguments and working
// folders name real places, never the variables.
#include "ArchiveFixture.h"
#include "Wine.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>

namespace e2e {
namespace {

namespace fs = std::filesystem;

const char kWatchProgress[] = "watch:Message 54";
const char kEntryRoot[] = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const char kVersionKey[] = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion";

std::string lowerCase(std::string s) {
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// A path on the prefix's drive C ("C:\...") as the test sees it.
std::string unixPath(const std::string& windowsPath) {
    std::string rest = windowsPath.substr(2);
    for (char& c : rest)
        if (c == '\\')
            c = '/';
    return std::string(std::getenv("WINEPREFIX")) + "/drive_c" + rest;
}

InstallSettings productSettings(const std::string& name) {
    InstallSettings s = archiveTestSettings();
    s.productName = name.c_str();
    s.uninstallKey = name.c_str();
    s.uninstallerName = "Uninstall.exe";
    s.uninstallSubdir = "Uninstall";
    s.productFlags |= Uninstallable;
    return s;
}

// The text as the link holds it: Wine's links keep their strings in UTF-16,
// older writers in the ANSI code page.
bool linkHolds(const keld::Bytes& link, const std::string& text) {
    const std::string bytes(link.begin(), link.end());
    std::string wide;
    for (char c : text) {
        wide += c;
        wide += '\0';
    }
    return bytes.find(text) != std::string::npos || bytes.find(wide) != std::string::npos;
}

std::vector<fs::path> shortcutsNamed(const std::string& name) {
    std::vector<fs::path> found;
    std::error_code ec;
    for (fs::recursive_directory_iterator
             it(std::string(std::getenv("WINEPREFIX")) + "/drive_c/users", ec),
         end;
         it != end; it.increment(ec)) {
        if (lowerCase(it->path().filename().string()) == lowerCase(name))
            found.push_back(it->path());
    }
    return found;
}

TEST(PathVariablesInstallTest, TheDefaultFolderNamesThePlaceItsVariableStandsFor) {
    ASSERT_EQ(wineEnvironmentProblem(), "");
    const auto programs = readRegistry32(kVersionKey, "ProgramFilesDir");
    ASSERT_TRUE(programs.has_value());
    for (const char* variable : {"%ProgramsDir%", "%programsdir%"}) {
        SCOPED_TRACE(variable);
        const std::string name = "Vars Folder " + std::to_string(getpid()) + variable[1];
        InstallSettings settings = productSettings(name);
        settings.defaultInstallDir = (std::string(variable) + "\\" + name).c_str();
        BuiltSetup setup = buildSetup(settings, keld::ArchiveOptions());
        RunResult run = runUnderRobot({setup.exe, "/a"}, {kWatchProgress}, 30);
        ASSERT_EQ(run.error, "") << run.output;
        const std::string expected = programs->data + "\\" + name;
        const auto location = readRegistry32(kEntryRoot + name, "InstallLocation");
        ASSERT_TRUE(location.has_value());
        EXPECT_EQ(location->data, expected);
        EXPECT_TRUE(fs::exists(unixPath(expected) + "/readme.txt"));
        EXPECT_FALSE(fs::exists(unixPath(programs->data) + "/" + variable));
        std::error_code ec;
        fs::remove_all(unixPath(expected), ec);
    }
}

TEST(PathVariablesInstallTest, ShortcutArgumentsAndWorkingFoldersNameRealPlaces) {
    ASSERT_EQ(wineEnvironmentProblem(), "");
    const std::string name = "Vars Links " + std::to_string(getpid());
    InstallSettings settings = productSettings(name);
    std::vector<keld::FileRecord> files = standardFiles();
    files[1].detail = name;
    files[1].arguments = "\"%InstallDir%\\readme.txt\" /log:%UninstallDir%";
    files[1].workingDirectory = "%installdir%";
    BuiltSetup setup = buildSetupWithFiles(settings, files);
    RunResult run = runUnderRobot(silentInstall(setup), {kWatchProgress}, 30);
    ASSERT_EQ(run.error, "") << run.output;

    const std::string dir = toWinePath(installedDir(setup));
    const std::vector<fs::path> links = shortcutsNamed(name + ".lnk");
    ASSERT_FALSE(links.empty());
    for (const fs::path& link : links) {
        SCOPED_TRACE(link.string());
        const keld::Bytes bytes = readBytes(link.string());
        EXPECT_TRUE(linkHolds(bytes, "\"" + dir + "\\readme.txt\" /log:" + dir + "\\Uninstall"));
        EXPECT_FALSE(linkHolds(bytes, "%InstallDir%"));
        EXPECT_FALSE(linkHolds(bytes, "%installdir%"));
        EXPECT_FALSE(linkHolds(bytes, "%UninstallDir%"));
        std::error_code ec;
        fs::remove(link, ec);
    }
}

} // namespace
} // namespace e2e
