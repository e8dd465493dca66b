// The example product under each Windows the installer is made for: Wine poses
// as that version for the programs the run starts (its per-program AppDefaults
// key), and the silent installation must put the files, the Start Menu links,
// the association and the uninstall entry in place, and the silent
// uninstallation take every one of them away again. scripts/test.sh runs these
// in the 64-bit prefix with the other end-to-end tests, and once more in a
// 32-bit one.
#include "ArchiveFixture.h"
#include "Process.h"
#include "Wine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

namespace e2e {
namespace {

namespace fs = std::filesystem;

const char kExample[] = VARNOKE_SOURCE_DIR "/examples/acme-notes";
const char kEntry[] = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Acme Notes";
// The programs a run starts: the installer, the uninstaller it leaves, and the
// command processor that runs the uninstaller's clean-up batch.
const char* const kPrograms[] = {"setup.exe", "Uninstall.exe", "cmd.exe"};
// How long the robot waits for each next window: generous, since where i386
// programs run through an emulator each Wine program takes minutes to start.
const int kWindowSeconds = 300;
// The product's Start Menu links, as the example names them.
const char* const kLinkNames[] = {"acme notes.lnk", "read me.lnk", "uninstall acme notes.lnk"};

struct WindowsCase {
    const char* version; // Wine's name for it
    const char* osName;  // how the installer names it, before any service pack
    bool allUsers;       // the example with its shortcuts for all users
    bool userProfiles;   // user profiles switched on (Windows 95 and 98)
};

std::string caseName(const testing::TestParamInfo<WindowsCase>& info) {
    std::string name = info.param.version;
    if (info.param.allUsers)
        name += "_AllUsers";
    if (info.param.userProfiles)
        name += "_Profiles";
    return name;
}

std::string lowerCase(std::string s) {
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string driveC() {
    return std::string(std::getenv("WINEPREFIX")) + "/drive_c";
}

// Every shell link on drive C:, as "c:\..." in lower case, the way the
// uninstall record names them.
std::set<std::string> shellLinks() {
    std::set<std::string> links;
    const std::string root = driveC();
    std::error_code ec;
    for (fs::recursive_directory_iterator it(root, ec), end; it != end; it.increment(ec)) {
        const std::string path = it->path().string();
        if (lowerCase(it->path().extension().string()) != ".lnk")
            continue;
        std::string windows = "c:" + path.substr(root.size());
        std::replace(windows.begin(), windows.end(), '/', '\\');
        links.insert(lowerCase(windows));
    }
    return links;
}

// Runs reg.exe with these arguments; the registry that cannot be changed
// fails the test.
void reg(const std::vector<std::string>& args) {
    std::vector<std::string> argv = {"wine", "reg"};
    argv.insert(argv.end(), args.begin(), args.end());
    const ProcessResult result = runProcess(argv, 120);
    EXPECT_EQ(result.status, 0) << "wine reg " << args[0] << " " << args[1] << ": "
                                << result.startError << result.err;
}

// The values of a key in the view a 32-bit program sees as reg.exe lists them; nothing when
// the key does not exist.
std::optional<std::string> keyValues(const std::string& key) {
    const ProcessResult result = runProcess({"wine", "reg", "query", key, registryView(key)}, 120);
    if (result.status == 1)
        return std::nullopt;
    EXPECT_EQ(result.status, 0) << key << ": " << result.startError << result.err;
    return result.out;
}

std::string valueOf(const std::optional<std::string>& values, const std::string& name) {
    if (!values)
        return "<no key>";
    const auto value = parseRegQuery(*values, name);
    return value ? value->data : "<no value>";
}

// The clean-up batch deletes the uninstaller once its process has ended, then
// itself: the uninstallation is over when the batch is gone.
bool cleanupFinished(const std::string& uninstaller) {
    // The batch removes Uninstall.exe first and the folders after it, so the
    // folders are only gone once the batch itself is.
    for (int i = 0; i < 1200 && fs::exists(uninstaller); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return !fs::exists(uninstaller) && cleanupBatchesFinished();
}

class PosedWine : public testing::TestWithParam<WindowsCase> {
protected:
    void SetUp() override {
        ASSERT_EQ(wineEnvironmentProblem(), "");
        // A run asked for a 32-bit prefix must have one: such a prefix has no
        // folder for 32-bit programs beside 64-bit ones.
        const char* arch = std::getenv("WINEARCH");
        if (arch && std::string(arch) == "win32") {
            ASSERT_FALSE(fs::exists(driveC() + "/windows/syswow64"));
        }
        char folder[] = "/tmp/varnoke-winver-XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        dir_ = folder;
        forgetEarlierExampleRuns();
        for (const std::string& link : shellLinks())
            if (isProductLink(link))
                fs::remove(unixPath(link));

        std::ostringstream poses;
        poses << "REGEDIT4\r\n";
        for (const char* program : kPrograms)
            poses << "\r\n[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\" << program
                  << "]\r\n\"Version\"=\"" << GetParam().version << "\"\r\n";
        if (GetParam().userProfiles)
            poses << "\r\n[HKEY_LOCAL_MACHINE\\Network\\Logon]\r\n\"UserProfiles\"=dword:"
                     "00000001\r\n";
        const std::string file = dir_ + "/poses.reg";
        std::ofstream(file, std::ios::binary) << poses.str();
        reg({"import", toWinePath(file)});
        posed_ = true;
    }

    void TearDown() override {
        // The other tests run their programs as themselves. One import takes
        // every pose away again, as each Wine program costs a start.
        if (posed_) {
            std::ostringstream undo;
            undo << "REGEDIT4\r\n";
            for (const char* program : kPrograms)
                undo << "\r\n[-HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\" << program
                     << "]\r\n";
            if (GetParam().userProfiles)
                undo << "\r\n[HKEY_LOCAL_MACHINE\\Network\\Logon]\r\n\"UserProfiles\"=-\r\n";
            const std::string file = dir_ + "/unpose.reg";
            std::ofstream(file, std::ios::binary) << undo.str();
            reg({"import", toWinePath(file)});
        }
        std::error_code ec;
        if (!dir_.empty())
            fs::remove_all(dir_, ec);
    }

    // The example's project, copied so that settings can be added to its
    // product; keld builds it into `exe` (named as a download would be).
    std::string buildExample(const std::string& name, const std::string& productLines,
                             const std::string& exe) {
        const std::string project = dir_ + "/" + name;
        fs::copy(kExample, project, fs::copy_options::recursive);
        std::string toml = fileText(project + "/acme-notes.toml");
        const size_t at = toml.find("[product]\n");
        EXPECT_NE(at, std::string::npos);
        toml.insert(at + 10, productLines);
        std::ofstream(project + "/acme-notes.toml", std::ios::binary) << toml;
        fs::create_directories(fs::path(exe).parent_path());
        const ProcessResult built = runProcess({VARNOKE_KELD, "build", project + "/acme-notes.toml",
                                                "-o", exe, "--stub", varnokeExe(), "-q"},
                                               120);
        EXPECT_EQ(built.status, 0) << built.err;
        return exe;
    }

    static bool isProductLink(const std::string& link) {
        for (const char* name : kLinkNames) {
            const std::string tail = std::string("\\acme\\acme notes\\") + name;
            if (link.size() > tail.size() &&
                link.compare(link.size() - tail.size(), tail.size(), tail) == 0)
                return true;
        }
        return false;
    }

    static std::string unixPath(const std::string& link) {
        std::string rest = link.substr(2);
        std::replace(rest.begin(), rest.end(), '\\', '/');
        // The names were folded to lower case; find each on disk as it is.
        fs::path found = driveC();
        std::istringstream parts(rest);
        std::string part;
        while (std::getline(parts, part, '/')) {
            if (part.empty())
                continue;
            std::error_code ec;
            fs::path next = found / part;
            for (const fs::directory_entry& entry : fs::directory_iterator(found, ec))
                if (lowerCase(entry.path().filename().string()) == part)
                    next = entry.path();
            found = next;
        }
        return found.string();
    }

    // The example's silent installation and uninstallation, and what each
    // leaves on the machine.
    void installAndUninstallExample();

    std::string dir_;
    bool posed_ = false;
};

void PosedWine::installAndUninstallExample() {
    const WindowsCase& c = GetParam();
    const std::string setup =
        buildExample("project", c.allUsers ? "all-users = true\n" : "", dir_ + "/setup.exe");
    const std::set<std::string> before = shellLinks();
    const std::string target = dir_ + "/Acme Notes";
    const std::string uninstaller = target + "/Uninstall/Uninstall.exe";

    RunResult install = runUnderRobotRaw(setup, "/a /d:\"" + toWinePath(target) + "\"",
                                         {"watch:Installing Acme Notes"}, kWindowSeconds);
    ASSERT_EQ(install.error, "") << install.output;
    for (const Window& w : install.windows)
        if (w.caption != "Installing Acme Notes")
            ADD_FAILURE() << "unexpected window: " << w.caption << ": " << w.text;
    EXPECT_EQ(install.exitCode, 1);

    // The files.
    EXPECT_TRUE(readBytes(target + "/notes.exe") ==
                readBytes(std::string(kExample) + "/dist/notes.exe"));
    EXPECT_TRUE(fs::exists(target + "/Notes/welcome.acmenote"));
    ASSERT_TRUE(fs::exists(uninstaller));

    // The links: each in the product's Start Menu folder, for the user or for
    // everyone; on Windows 95 and 98 with profiles everyone's get the user's
    // copies too. Each one is the uninstaller's to remove.
    std::set<std::string> made;
    for (const std::string& link : shellLinks())
        if (!before.count(link))
            made.insert(link);
    // Only Windows 95 and 98 heed the profiles switch; XP shows both menus anyway.
    const bool windows9x = std::string(c.version) == "win95" || std::string(c.version) == "win98";
    const bool userCopies = c.allUsers && c.userProfiles && windows9x;
    std::set<std::string> folders;
    for (const std::string& link : made) {
        EXPECT_TRUE(isProductLink(link)) << link;
        folders.insert(link.substr(0, link.rfind('\\')));
    }
    EXPECT_EQ(made.size(), userCopies ? 6u : 3u) << ::testing::PrintToString(made);
    for (const std::string& folder : folders) {
        const bool everyones = folder.rfind("c:\\programdata\\", 0) == 0;
        EXPECT_TRUE(everyones ? c.allUsers : (!c.allUsers || userCopies)) << folder;
    }
    const std::string record = "\n" + lowerCase(fileText(target + "/Uninstall/Uninstall.DAT"));
    for (const std::string& link : made)
        EXPECT_NE(record.find("\n" + link + "\r\n"), std::string::npos) << link << "\n" << record;

    // The association and the uninstall entry.
    const auto type = keyValues("HKCR\\.acmenote");
    EXPECT_EQ(valueOf(type, ""), "AcmeNotes.Note");
    const auto command = keyValues("HKCR\\AcmeNotes.Note\\shell\\open\\command");
    EXPECT_EQ(valueOf(command, ""), "\"" + toWinePath(target) + "\\notes.exe\" \"%1\"");
    const auto entry = keyValues(kEntry);
    EXPECT_EQ(valueOf(entry, "DisplayName"), "Acme Notes");
    EXPECT_EQ(valueOf(entry, "InstallLocation"), toWinePath(target));
    const std::string quiet = valueOf(entry, "QuietUninstallString");
    // Quoted: the folder holds a blank.
    EXPECT_EQ(quiet, "\"" + toWinePath(uninstaller) + "\" /a /u:\"Acme Notes\"");
    EXPECT_EQ(valueOf(entry, "ShortcutMode"), c.allUsers ? "0x1" : "<no value>");

    // Uninstalled the way the entry says it is done silently.
    RunResult uninstall = runUnderRobotRaw(uninstaller, "/a /u:\"Acme Notes\"",
                                           {"watch:Uninstall Acme Notes"}, kWindowSeconds);
    ASSERT_EQ(uninstall.error, "") << uninstall.output;
    for (const Window& w : uninstall.windows)
        if (w.caption != "Uninstall Acme Notes")
            ADD_FAILURE() << "unexpected window: " << w.caption << ": " << w.text;
    EXPECT_EQ(uninstall.exitCode, 1);
    ASSERT_TRUE(cleanupFinished(uninstaller));

    EXPECT_FALSE(fs::exists(target)) << "the install directory stays";
    for (const std::string& link : shellLinks())
        EXPECT_TRUE(before.count(link)) << "left behind: " << link;
    for (const std::string& folder : folders) {
        EXPECT_FALSE(fs::exists(unixPath(folder))) << folder;
        const std::string acme = folder.substr(0, folder.rfind('\\'));
        EXPECT_FALSE(fs::exists(unixPath(acme))) << acme;
    }
    EXPECT_FALSE(keyValues(kEntry).has_value());
    EXPECT_FALSE(keyValues("HKCR\\.acmenote").has_value());
    EXPECT_FALSE(keyValues("HKCR\\AcmeNotes.Note").has_value());
}

class WindowsVersions : public PosedWine {};

// First the version must reach our programs under both names they run by: a
// setup built for no Windows at all refuses, naming the Windows it was started
// on. Then the example's own installation and uninstallation.
TEST_P(WindowsVersions, TheExampleInstallsAndUninstallsSilentlyLeavingNothingBehind) {
    const std::string setup =
        buildExample("excluded",
                     "excluded-systems = [\"Other\", \"Win32s\", \"Windows 95\", \"Windows 98\", "
                     "\"Windows ME\", \"Windows NT 3\", \"Windows NT 4\", \"Windows 2000\", "
                     "\"Windows XP\", \"Windows Server 2003\"]\n",
                     dir_ + "/probe/setup.exe");
    fs::create_directories(dir_ + "/uninstaller");
    fs::copy_file(setup, dir_ + "/uninstaller/Uninstall.exe");
    const std::string refusal =
        "Acme Notes cannot be installed on " + std::string(GetParam().osName);
    for (const std::string& program : {setup, dir_ + "/uninstaller/Uninstall.exe"}) {
        RunResult run = runUnderRobot({program}, {"OK"}, kWindowSeconds);
        ASSERT_EQ(run.error, "") << program << ": " << run.output;
        ASSERT_EQ(run.windows.size(), 1u) << program << ": " << windowsSeen(run);
        const std::string& text = run.windows[0].text;
        // A service pack may follow the name.
        EXPECT_EQ(text.rfind(refusal, 0), 0u) << program << ": " << text;
        const char next = text.size() > refusal.size() ? text[refusal.size()] : '\0';
        EXPECT_TRUE(next == '.' || next == ' ') << program << ": " << text;
        EXPECT_EQ(run.exitCode, 1);
    }

    installAndUninstallExample();
}

INSTANTIATE_TEST_SUITE_P(Example, WindowsVersions,
                         testing::Values(WindowsCase{"win95", "Windows 95", false, false},
                                         WindowsCase{"win98", "Windows 98", false, false},
                                         WindowsCase{"nt40", "Windows NT 4.0", false, false},
                                         WindowsCase{"win2k", "Windows 2000", false, false},
                                         WindowsCase{"winxp", "Windows XP", false, false},
                                         WindowsCase{"win7", "Windows NT 6.1", false, false},
                                         WindowsCase{"win10", "Windows NT 10.0", false, false}),
                         caseName);

// Windows 95 and 98 with user profiles show each user only their own Start
// Menu, so the links for everyone are copied into the user's: those copies go
// with the product too. XP, which shows both menus, gets no copies.
class EveryonesLinks : public PosedWine {};

TEST_P(EveryonesLinks, TheExampleInstallsAndUninstallsSilentlyLeavingNothingBehind) {
    installAndUninstallExample();
}

INSTANTIATE_TEST_SUITE_P(Example, EveryonesLinks,
                         testing::Values(WindowsCase{"win95", "Windows 95", true, true},
                                         WindowsCase{"win98", "Windows 98", true, true},
                                         WindowsCase{"winxp", "Windows XP", true, true}),
                         caseName);

} // namespace
} // namespace e2e
