// The example product as a publisher ships it: keld builds setup.exe from the
// project, and a silent installation under Wine puts the program, its Start
// Menu shortcut, its file association and its uninstall entry in place; its
// uninstallation takes them all away again.
#include "ArchiveFixture.h"
#include "Process.h"
#include "Wine.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace e2e {
namespace {

namespace fs = std::filesystem;

const char kExample[] = VARNOKE_SOURCE_DIR "/examples/acme-notes";
const char kEntry[] = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Acme Notes";

std::string fileText(const std::string& path) {
    const keld::Bytes bytes = readBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

std::string lowerCase(std::string s) {
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// The shortcut files of that name, in any case, anywhere in the prefix's user
// folders.
std::vector<fs::path> shortcutsNamed(const std::string& name) {
    std::vector<fs::path> found;
    const char* prefix = std::getenv("WINEPREFIX");
    if (!prefix)
        return found;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(std::string(prefix) + "/drive_c/users", ec), end;
         it != end; it.increment(ec)) {
        if (lowerCase(it->path().filename().string()) == lowerCase(name))
            found.push_back(it->path());
    }
    return found;
}

TEST(ExampleTest, KeldBuildsItAndItInstallsWithShortcutAssociationAndEntry) {
    ASSERT_EQ(wineEnvironmentProblem(), "");
    char folder[] = "/tmp/varnoke-example-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string dir = folder;
    const std::string setup = dir + "/setup.exe";
    const ProcessResult built =
        runProcess({VARNOKE_KELD, "build", std::string(kExample) + "/acme-notes.toml", "-o", setup,
                    "--stub", varnokeExe(), "-q"},
                   120);
    ASSERT_EQ(built.status, 0) << built.err;
    forgetEarlierExampleRuns();
    for (const fs::path& link : shortcutsNamed("Acme Notes.lnk"))
        fs::remove(link);

    const std::string target = dir + "/Acme Notes";
    // The folder name holds a blank: /d takes it in quotes.
    RunResult run = runUnderRobotRaw(setup, "/a /d:\"" + toWinePath(target) + "\"",
                                     {"watch:Installing Acme Notes"}, 60);
    ASSERT_EQ(run.error, "") << run.output;
    for (const Window& w : run.windows) {
        if (w.caption != "Installing Acme Notes")
            ADD_FAILURE() << "unexpected window: " << w.caption << ": " << w.text;
    }
    EXPECT_EQ(run.exitCode, 1);

    EXPECT_TRUE(readBytes(target + "/notes.exe") ==
                readBytes(std::string(kExample) + "/dist/notes.exe"));
    EXPECT_TRUE(fs::exists(target + "/Notes/welcome.acmenote"));
    EXPECT_TRUE(fs::exists(target + "/Uninstall/Uninstall.exe"));

    const auto type = readRegistry32("HKCR\\.acmenote", "");
    ASSERT_TRUE(type.has_value());
    EXPECT_EQ(type->data, "AcmeNotes.Note");
    const auto command = readRegistry32("HKCR\\AcmeNotes.Note\\shell\\open\\command", "");
    ASSERT_TRUE(command.has_value());
    EXPECT_EQ(command->data, "\"" + toWinePath(target) + "\\notes.exe\" \"%1\"");

    const auto name = readRegistry32(kEntry, "DisplayName");
    ASSERT_TRUE(name.has_value());
    EXPECT_EQ(name->data, "Acme Notes");
    const auto location = readRegistry32(kEntry, "InstallLocation");
    ASSERT_TRUE(location.has_value());
    EXPECT_EQ(location->data, toWinePath(target));

    const std::vector<fs::path> links = shortcutsNamed("Acme Notes.lnk");
    ASSERT_EQ(links.size(), 1u);
    EXPECT_NE(lowerCase(links[0].string()).find("/programs/acme/acme notes/acme notes.lnk"),
              std::string::npos)
        << links[0];
    // The uninstaller learns of the link, so that it can take it away again.
    const std::string data = fileText(target + "/Uninstall/Uninstall.DAT");
    EXPECT_NE(lowerCase(data).find("\\acme notes.lnk\r\n"), std::string::npos) << data;
    // Every key of the association was the installation's own.
    EXPECT_NE(data.find("[Associations]\r\n.acmenote~!~AcmeNotes.Note~!~open~!~ETISVetisc\r\n"),
              std::string::npos)
        << data;

    // Removed as Add/Remove Programs removes it, nothing of it is left.
    const auto quiet = readRegistry32(kEntry, "QuietUninstallString");
    ASSERT_TRUE(quiet.has_value());
    RunResult removal =
        runCommandLineUnderRobot(quiet->data, {"progress:Uninstall Acme Notes"}, 60);
    ASSERT_EQ(removal.error, "") << removal.output;
    ASSERT_TRUE(cleanupBatchesFinished());
    EXPECT_FALSE(fs::exists(target));
    EXPECT_TRUE(fs::exists(setup));
    EXPECT_FALSE(registryKeyExists32(kEntry));
    EXPECT_FALSE(registryKeyExists32("HKCR\\.acmenote"));
    EXPECT_FALSE(registryKeyExists32("HKCR\\AcmeNotes.Note"));
    for (const char* left : {"Acme Notes.lnk", "Read Me.lnk", "Acme Notes"})
        EXPECT_TRUE(shortcutsNamed(left).empty()) << left;

    std::error_code ec;
    fs::remove_all(dir, ec);
}

// A publisher signs the finished setup.exe (Authenticode, here with a key made
// for the test): keld verify accepts it, it installs, and the Uninstall.exe made
// from it removes the product again.
TEST(ExampleTest, ASignedInstallerVerifiesInstallsAndUninstalls) {
    ASSERT_EQ(wineEnvironmentProblem(), "");
    char folder[] = "/tmp/varnoke-signed-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string dir = folder;
    const std::string setup = dir + "/setup.exe";
    const std::string signedSetup = dir + "/signed.exe";
    ASSERT_EQ(runProcess({VARNOKE_KELD, "build", std::string(kExample) + "/acme-notes.toml", "-o",
                          setup, "--stub", varnokeExe(), "-q"},
                         120)
                  .status,
              0);
    const ProcessResult key = runProcess(
        {"openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", dir + "/key.pem",
         "-out", dir + "/cert.pem", "-days", "2", "-subj", "/CN=Acme Test Signing"},
        60);
    ASSERT_EQ(key.status, 0) << key.err;
    const ProcessResult sign =
        runProcess({"osslsigncode", "sign", "-certs", dir + "/cert.pem", "-key", dir + "/key.pem",
                    "-n", "Acme Notes", "-in", setup, "-out", signedSetup},
                   60);
    ASSERT_EQ(sign.status, 0) << sign.out << sign.err;
    ASSERT_GT(readBytes(signedSetup).size(), readBytes(setup).size());
    const ProcessResult verified = runProcess({VARNOKE_KELD, "verify", signedSetup}, 60);
    EXPECT_EQ(verified.status, 0) << verified.out << verified.err;
    const ProcessResult checked = runProcess(
        {"osslsigncode", "verify", "-CAfile", dir + "/cert.pem", "-in", signedSetup}, 60);
    EXPECT_EQ(checked.status, 0) << checked.out << checked.err;

    forgetEarlierExampleRuns();
    const std::string target = dir + "/Acme Notes";
    RunResult run = runUnderRobotRaw(signedSetup, "/a /d:\"" + toWinePath(target) + "\"",
                                     {"watch:Installing Acme Notes"}, 60);
    ASSERT_EQ(run.error, "") << run.output;
    for (const Window& w : run.windows)
        if (w.caption != "Installing Acme Notes")
            ADD_FAILURE() << "unexpected window: " << w.caption << ": " << w.text;
    EXPECT_TRUE(readBytes(target + "/notes.exe") ==
                readBytes(std::string(kExample) + "/dist/notes.exe"));
    const std::string uninstaller = target + "/Uninstall/Uninstall.exe";
    ASSERT_TRUE(fs::exists(uninstaller));

    // Its progress is watched, not answered: a slow machine shows it long
    // enough to be seen.
    RunResult removed =
        runUnderRobotRaw(uninstaller, "/a /u:\"Acme Notes\"", {"watch:Uninstall Acme Notes"}, 60);
    ASSERT_EQ(removed.error, "") << removed.output;
    for (const Window& w : removed.windows)
        if (w.caption == "FATAL ERROR")
            ADD_FAILURE() << "the uninstaller failed: " << w.text;
    EXPECT_FALSE(fs::exists(target + "/notes.exe"));
    EXPECT_FALSE(readRegistry32(kEntry, "DisplayName").has_value());
    std::error_code ec;
    fs::remove_all(dir, ec);
}

} // namespace
} // namespace e2e
