// Whole installations under Wine, as a person sees them: the pages and the
// directory dialog in order, the questions, the finishing box, and what the
// installation leaves on disk and in the registry.
#include "ArchiveFixture.h"
#include "Wine.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

namespace e2e {
namespace {

const char kWatchProgress[] = "watch:Message 54";
const char kEntryRoot[] = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

std::string fileText(const std::string& path) {
    const keld::Bytes bytes = readBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

bool exists(const std::string& path) {
    return std::filesystem::exists(path);
}

// Settings of an uninstallable product whose entry no other test shares.
InstallSettings productSettings(const std::string& name) {
    InstallSettings s = archiveTestSettings();
    s.productName = name.c_str();
    s.uninstallKey = (name + "-" + std::to_string(getpid())).c_str();
    s.uninstallerName = "Uninstall.exe";
    s.uninstallSubdir = "Uninstall";
    s.productFlags |= Uninstallable | AlwaysWriteLog | DetailedLog;
    s.messageTable.set(42, 0, "All done");
    s.messageTable.set(43, 0, "Finished");
    s.messageTable.set(63, 0, "");
    s.messageTable.set(64, 0, "");
    return s;
}

std::string entryKey(const InstallSettings& s) {
    return kEntryRoot + std::string(s.uninstallKey.c_str());
}

void dropProgress(RunResult& run) {
    run.windows.erase(std::remove_if(run.windows.begin(), run.windows.end(),
                                     [](const Window& w) { return w.caption == "Message 54"; }),
                      run.windows.end());
}

std::string captions(const RunResult& run) {
    std::string all;
    for (const Window& w : run.windows)
        all += "[" + w.caption + ": " + w.text + "] ";
    return all;
}

TEST(InstallTest, ASilentInstallationLeavesFilesUninstallerLogAndEntry) {
    const InstallSettings settings = productSettings("Silent Product");
    BuiltSetup setup = buildSetup(settings, keld::ArchiveOptions());
    RunResult run = runUnderRobot(silentInstall(setup), {kWatchProgress}, 30);
    ASSERT_EQ(run.error, "") << run.output;
    dropProgress(run);
    EXPECT_TRUE(run.windows.empty()) << captions(run);
    EXPECT_EQ(run.exitCode, 1);

    const std::string dir = installedDir(setup);
    EXPECT_EQ(fileText(dir + "/readme.txt"), std::string(5000, 'r'));
    // The uninstaller is the stub again, ready to run without its archive,
    // with the zeros that padded it out to the archive's page of the file.
    const keld::Bytes uninstaller = readBytes(dir + "/Uninstall/Uninstall.exe");
    const size_t stubSize = readBytes(varnokeExe()).size();
    EXPECT_EQ(uninstaller.size(), (stubSize + 4095) / 4096 * 4096);

    const std::string windowsDir = toWinePath(dir);
    const auto uninstallString = readRegistry32(entryKey(settings), "UninstallString");
    ASSERT_TRUE(uninstallString.has_value());
    EXPECT_EQ(uninstallString->data, "\"" + windowsDir + "\\Uninstall\\Uninstall.exe\" /u:\"" +
                                         settings.uninstallKey.c_str() + "\"");
    const auto location = readRegistry32(entryKey(settings), "InstallLocation");
    ASSERT_TRUE(location.has_value());
    EXPECT_EQ(location->data, windowsDir);

    const std::string log = fileText(dir + "/Uninstall/Install.LOG");
    EXPECT_NE(log.find("Installation log for: Silent Product\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("readme.txt -> " + windowsDir + "\\readme.txt\r\n"), std::string::npos)
        << log;
    EXPECT_EQ(log.substr(log.size() - 12), "Finished\r\n\r\n");
    const std::string data = fileText(dir + "/Uninstall/Uninstall.DAT");
    EXPECT_EQ(data.rfind(windowsDir + "\\readme.txt\r\n" + windowsDir + "\\tool.exe\r\n", 0), 0u)
        << data;
}

TEST(InstallTest, AnInteractiveInstallationWalksThroughItsDialogsInOrder) {
    InstallSettings settings = productSettings("Dialog Product");
    settings.productFlags |= AskInstallDir | ConfirmInstallDir;
    settings.licenseTexts = {"The licence of <product>"};
    settings.readmeTexts = {"  ", "Read me"};
    BuiltSetup setup = buildSetup(settings, keld::ArchiveOptions());
    RunResult run =
        runUnderRobot({setup.exe, "/d:" + toWinePath(installedDir(setup))},
                      {kWatchProgress, "id:1001", "id:1001", "id:1001", "Yes", "OK"}, 30);
    ASSERT_EQ(run.error, "") << run.output;
    dropProgress(run);
    ASSERT_EQ(run.windows.size(), 5u) << captions(run);
    EXPECT_EQ(run.windows[0].caption, "Message 44"); // the licence page
    EXPECT_EQ(run.windows[0].text, "Message 47");
    EXPECT_EQ(run.windows[1].caption, "Message 50"); // one readme page, the blank one skipped
    EXPECT_EQ(run.windows[2].caption, "Message 24"); // the directory
    EXPECT_EQ(run.windows[2].text, "Message 11");
    EXPECT_EQ(run.windows[3].caption, "Message 24"); // the confirmation
    EXPECT_EQ(run.windows[3].text, "Message 23");
    EXPECT_EQ(run.windows[4].caption, "Finished");
    EXPECT_EQ(run.windows[4].text, "All done");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(exists(installedDir(setup) + "/tool.exe"));
}

TEST(InstallTest, DeclinedLicenceInstallsNothing) {
    InstallSettings settings = productSettings("Declined Product");
    settings.licenseTexts = {"Terms"};
    BuiltSetup setup = buildSetup(settings, keld::ArchiveOptions());
    RunResult run = runUnderRobot({setup.exe, "/d:" + toWinePath(installedDir(setup))},
                                  {kWatchProgress, "id:1003"}, 30);
    ASSERT_EQ(run.error, "") << run.output;
    ASSERT_EQ(run.windows.size(), 1u) << captions(run);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(exists(installedDir(setup)));
    EXPECT_FALSE(readRegistry32(entryKey(settings), "UninstallString").has_value());
}

TEST(InstallTest, ADriveRootIsRefusedAndTheDirectoryDialogComesBack) {
    InstallSettings settings = productSettings("Root Product");
    settings.productFlags |= AskInstallDir;
    settings.messageTable.set(17, 0, "Not a drive root");
    BuiltSetup setup = buildSetup(settings, keld::ArchiveOptions());
    RunResult run =
        runUnderRobot({setup.exe, "/d:C:\\"}, {kWatchProgress, "id:1001", "OK", "id:1003"}, 30);
    ASSERT_EQ(run.error, "") << run.output;
    ASSERT_EQ(run.windows.size(), 3u) << captions(run);
    EXPECT_EQ(run.windows[0].caption, "Message 24");
    EXPECT_EQ(run.windows[1].caption, "Message 21");
    EXPECT_EQ(run.windows[1].text, "Not a drive root");
    EXPECT_EQ(run.windows[2].caption, "Message 24");
    EXPECT_EQ(run.exitCode, 1);
}

TEST(InstallTest, AnExistingInstallationIsOfferedAgainAndKeepsItsPlace) {
    const InstallSettings settings = productSettings("Again Product");
    BuiltSetup first = buildSetup(settings, keld::ArchiveOptions());
    ASSERT_EQ(runUnderRobot(silentInstall(first), {kWatchProgress}, 30).exitCode, 1);
    const std::string place = toWinePath(installedDir(first));
    std::filesystem::remove(installedDir(first) + "/tool.exe");

    BuiltSetup second = buildSetup(settings, keld::ArchiveOptions());
    const std::string elsewhere = installedDir(second);
    RunResult declined =
        runUnderRobot({second.exe, "/d:" + toWinePath(elsewhere)}, {kWatchProgress, "No"}, 30);
    ASSERT_EQ(declined.error, "") << declined.output;
    ASSERT_EQ(declined.windows.size(), 1u) << captions(declined);
    EXPECT_EQ(declined.windows[0].caption, "Message 2");
    EXPECT_EQ(declined.windows[0].text, "Message 3\r\n" + place + "\r\n\r\nMessage 7");
    EXPECT_FALSE(exists(installedDir(first) + "/tool.exe"));

    RunResult accepted = runUnderRobot({second.exe, "/d:" + toWinePath(elsewhere)},
                                       {kWatchProgress, "Yes", "OK"}, 30);
    ASSERT_EQ(accepted.error, "") << accepted.output;
    dropProgress(accepted);
    EXPECT_EQ(accepted.windows.size(), 2u) << captions(accepted);
    // The /d folder is ignored: the product goes where it already is.
    EXPECT_TRUE(exists(installedDir(first) + "/tool.exe"));
    EXPECT_FALSE(exists(elsewhere));
    const std::string log = fileText(installedDir(first) + "/Uninstall/Install.LOG");
    EXPECT_NE(log.find("Install type: Reinstall\r\n"), std::string::npos) << log;
}

// The program named with /r runs only after an installation without problems.
TEST(InstallTest, AProblemShowsTheLogQuestionAndKeepsTheProgramFromRunning) {
    for (bool problem : {false, true}) {
        SCOPED_TRACE(problem ? "with a problem" : "without");
        InstallSettings settings = productSettings(problem ? "Problem Product" : "Fine Product");
        settings.messageTable.set(31, 0, "Cannot write");
        settings.messageTable.set(40, 0, "There were problems; see %s");
        settings.messageTable.set(41, 0, "Problems");
        BuiltSetup setup = buildSetup(settings, keld::ArchiveOptions());
        const std::string dir = installedDir(setup);
        // A folder where a file should go cannot be written over.
        if (problem)
            std::filesystem::create_directories(dir + "/readme.txt");
        const std::string marker = setup.dir + "/ran.txt";
        const std::string arguments =
            "/d:" + toWinePath(dir) + " /r:\"cmd /c echo ran>" + toWinePath(marker) + "\"";
        RunResult run =
            runUnderRobotRaw(setup.exe, arguments, {kWatchProgress, problem ? "No" : "OK"}, 30);
        ASSERT_EQ(run.error, "") << run.output;
        dropProgress(run);
        ASSERT_EQ(run.windows.size(), 1u) << captions(run);
        EXPECT_EQ(run.exitCode, 1);
        for (int i = 0; i < 50 && !exists(marker); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (problem) {
            EXPECT_EQ(run.windows[0].caption, "Problems");
            EXPECT_EQ(run.windows[0].text,
                      "There were problems; see " + toWinePath(dir) + "\\Uninstall\\Install.LOG");
            EXPECT_FALSE(exists(marker));
            const std::string log = fileText(dir + "/Uninstall/Install.LOG");
            EXPECT_NE(log.find("Cannot write " + toWinePath(dir) + "\\readme.txt\r\n"),
                      std::string::npos)
                << log;
        } else {
            EXPECT_EQ(run.windows[0].caption, "Finished");
            EXPECT_TRUE(exists(marker));
        }
    }
}

} // namespace
} // namespace e2e
