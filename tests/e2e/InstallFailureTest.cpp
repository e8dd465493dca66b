// Installations that cannot go the whole way, as a user meets them: a folder
// that cannot be made, a disk that fills up midway, a licence declined or a
// Cancel. What they leave must be true: nothing registered for a product that
// is not there, no part of a file, no empty folder of ours, and a report
// that says what failed.
#include "ArchiveFixture.h"
#include "Process.h"
#include "Wine.h"

#include <gtest/gtest.h>

#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace e2e {
namespace {

namespace fs = std::filesystem;

const char kWatchProgress[] = "watch:Message 54";
const char kEntryRoot[] = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const char kVersionKey[] = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion";

std::string fileText(const std::string& path) {
    const keld::Bytes bytes = readBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

std::string lowerCase(std::string s) {
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string captions(const RunResult& run) {
    std::string all;
    for (const Window& w : run.windows)
        all += "[" + w.caption + ": " + w.text + "] ";
    return all;
}

void dropProgress(RunResult& run) {
    run.windows.erase(std::remove_if(run.windows.begin(), run.windows.end(),
                                     [](const Window& w) { return w.caption == "Message 54"; }),
                      run.windows.end());
}

// A path on the prefix's drive C ("C:\...") as the test sees it.
std::string driveCPath(const std::string& windowsPath) {
    std::string rest = windowsPath.substr(2);
    std::replace(rest.begin(), rest.end(), '\\', '/');
    return std::string(std::getenv("WINEPREFIX")) + "/drive_c" + rest;
}

std::string unique(const std::string& name) {
    return name + " " + std::to_string(getpid());
}

// An uninstallable product with shortcuts and an association, so that
// anything registered for it would show.
InstallSettings productSettings(const std::string& name) {
    InstallSettings s = archiveTestSettings();
    s.productName = name.c_str();
    s.uninstallKey = name.c_str();
    s.uninstallerName = "Uninstall.exe";
    s.uninstallSubdir = "Uninstall";
    s.productFlags |= Uninstallable | UninstallerStartMenuShortcut;
    s.productStartMenu = name.c_str();
    s.messageTable.set(31, 0, "Cannot write");
    s.messageTable.set(40, 0, "There were problems; see %s");
    s.messageTable.set(41, 0, "Problems");
    s.messageTable.set(63, 0, "");
    s.messageTable.set(64, 0, "");
    return s;
}

bool anyShortcutNamed(const std::string& name) {
    std::error_code ec;
    for (fs::recursive_directory_iterator
             it(std::string(std::getenv("WINEPREFIX")) + "/drive_c/users", ec),
         end;
         it != end; it.increment(ec)) {
        if (lowerCase(it->path().filename().string()) == lowerCase(name))
            return true;
    }
    return false;
}

// The temporary copies a replacement makes beside its target.
std::vector<std::string> leftoverCopies(const std::string& dir) {
    std::vector<std::string> found;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(dir, ec), end; it != end; it.increment(ec)) {
        const std::string name = lowerCase(it->path().filename().string());
        if (name.rfind("qxt", 0) == 0 && name.size() > 4 &&
            name.compare(name.size() - 4, 4, ".tmp") == 0)
            found.push_back(it->path().string());
    }
    return found;
}

TEST(InstallFailureTest, AFolderThatCannotBeMadeEndsTheInstallationAndRegistersNothing) {
    ASSERT_EQ(wineEnvironmentProblem(), "");
    struct Case {
        const char* name;
        bool automatic;
        bool fileInTheWay; // else a name no folder may have
    };
    const Case cases[] = {
        {"File Silent", true, true},
        {"File Shown", false, true},
        {"Name Silent", true, false},
        {"Name Shown", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string name = unique(std::string("No Folder ") + c.name);
        InstallSettings settings = productSettings(name);
        const std::string extension = ".vkf" + std::to_string(getpid()) + c.name[0] + c.name[5];
        FileAssociation association;
        association.extension = extension.c_str();
        association.fileType = ("Varnoke.NoFolder" + extension).c_str();
        association.verb = "open";
        association.commandLine = "\"%InstallDir%\\tool.exe\" \"%1\"";
        settings.fileAssociations = {association};
        std::vector<keld::FileRecord> files = standardFiles();
        files[1].detail = name;
        BuiltSetup setup = buildSetupWithFiles(settings, files);

        std::string target = toWinePath(installedDir(setup));
        if (c.fileInTheWay)
            writeBytes(installedDir(setup), keld::Bytes(10, 'x'));
        else
            target += "\\bad|name";
        std::vector<std::string> args = {setup.exe, "/d:" + target};
        if (c.automatic)
            args.insert(args.begin() + 1, "/a");
        RunResult run = runUnderRobot(args, {kWatchProgress, "OK"}, 30);
        ASSERT_EQ(run.error, "") << run.output;
        EXPECT_EQ(run.exitCode, 1);
        dropProgress(run);
        if (c.automatic) {
            EXPECT_TRUE(run.windows.empty()) << captions(run);
        } else {
            ASSERT_EQ(run.windows.size(), 1u) << captions(run);
            EXPECT_EQ(run.windows[0].caption, "Message 21");
            EXPECT_EQ(run.windows[0].text.rfind("Message 25\r\n" + target + "\r\n\r\n", 0), 0u)
                << run.windows[0].text;
        }
        EXPECT_FALSE(registryKeyExists32(kEntryRoot + name));
        EXPECT_FALSE(registryKeyExists32("HKCR\\" + extension));
        EXPECT_FALSE(anyShortcutNamed(name + ".lnk"));
        if (c.fileInTheWay) {
            EXPECT_EQ(readBytes(installedDir(setup)), keld::Bytes(10, 'x'));
        }
    }
}

// A small filesystem of its own, seen by the installer as drive letter `letter`
// of the prefix: a disk that can be filled. Needs root for the mount.
class SmallDrive {
public:
    SmallDrive() {
        char folder[] = "/tmp/varnoke-drive-XXXXXX";
        if (!mkdtemp(folder))
            return;
        mountPoint_ = folder;
        const ProcessResult mounted =
            runProcess({"mount", "-t", "tmpfs", "-o", "size=4m", "tmpfs", mountPoint_}, 30);
        if (mounted.status != 0) {
            problem_ = "mount: " + mounted.err;
            return;
        }
        mounted_ = true;
        const std::string devices = std::string(std::getenv("WINEPREFIX")) + "/dosdevices/";
        for (char c : std::string("qrstuvwxy")) {
            const std::string link = devices + c + ":";
            std::error_code ec;
            if (fs::symlink_status(link, ec).type() != fs::file_type::not_found)
                continue;
            fs::create_directory_symlink(mountPoint_, link, ec);
            if (!ec) {
                link_ = link;
                letter_ = char(std::toupper(static_cast<unsigned char>(c)));
                return;
            }
        }
        problem_ = "no free drive letter in " + devices;
    }
    ~SmallDrive() {
        std::error_code ec;
        if (!link_.empty())
            fs::remove(link_, ec);
        if (mounted_)
            runProcess({"umount", mountPoint_}, 30);
        if (!mountPoint_.empty())
            fs::remove_all(mountPoint_, ec);
    }
    const std::string& problem() const { return problem_; }
    const std::string& root() const { return mountPoint_; }
    std::string windowsRoot() const { return std::string(1, letter_) + ":"; }

    // Fills the disk until `left` bytes are free.
    void fillLeaving(uint64_t left) {
        struct statvfs info {};
        ASSERT_EQ(statvfs(mountPoint_.c_str(), &info), 0);
        const uint64_t free = uint64_t(info.f_bavail) * info.f_frsize;
        ASSERT_GT(free, left);
        std::ofstream filler(mountPoint_ + "/filler", std::ios::binary);
        const std::string block(4096, '\0');
        for (uint64_t done = 0; done + block.size() <= free - left; done += block.size())
            filler.write(block.data(), std::streamsize(block.size()));
        filler.close();
    }

private:
    std::string mountPoint_;
    std::string link_;
    std::string problem_;
    bool mounted_ = false;
    char letter_ = 0;
};

TEST(InstallFailureTest, AFullDiskLeavesNoPartOfAFileAndTheReportSaysWhatFailed) {
    ASSERT_EQ(wineEnvironmentProblem(), "");
    if (geteuid() != 0)
        GTEST_SKIP() << "mounting the small disk needs root";
    const keld::Bytes previous(10000, 'o');
    const keld::Bytes stub = readBytes(varnokeExe());
    struct Case {
        const char* name;
        uint64_t left; // bytes free when the installation starts
        bool automatic;
    };
    // Midway: the two small files fit, the large one and the uninstaller do not.
    // From the start: not even the log fits, so the report itself says so.
    const Case cases[] = {{"midway", 64 * 1024, true}, {"from the start", 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmallDrive drive;
        ASSERT_EQ(drive.problem(), "");
        const std::string dir = drive.root() + "/product";
        fs::create_directories(dir);
        writeBytes(dir + "/large.dat", previous);

        InstallSettings settings = productSettings(unique(std::string("Full Disk ") + c.name));
        std::vector<keld::FileRecord> files = standardFiles();
        keld::FileRecord large;
        large.name = "large.dat";
        large.data.assign(400000, 'n');
        files.push_back(large);
        BuiltSetup setup = buildSetupWithFiles(settings, files);
        drive.fillLeaving(c.left);

        const std::string target = drive.windowsRoot() + "\\product";
        std::vector<std::string> args = {setup.exe, "/d:" + target};
        if (c.automatic)
            args.insert(args.begin() + 1, "/a");
        RunResult run = runUnderRobot(args, {kWatchProgress, "OK"}, 60);
        ASSERT_EQ(run.error, "") << run.output;
        EXPECT_EQ(run.exitCode, 1);

        // The user's previous file is as it was; no copy of ours is left.
        EXPECT_EQ(readBytes(dir + "/large.dat"), previous);
        EXPECT_EQ(leftoverCopies(drive.root()), std::vector<std::string>());
        // Every file there is whole.
        const std::string uninstaller = dir + "/Uninstall/Uninstall.exe";
        if (fs::exists(uninstaller)) {
            EXPECT_EQ(readBytes(uninstaller).size(), stub.size());
        }
        for (const keld::FileRecord& file : files) {
            if (file.name != "large.dat" && fs::exists(dir + "/" + file.name)) {
                EXPECT_EQ(readBytes(dir + "/" + file.name), file.data) << file.name;
            }
        }
        const std::string logPath = dir + "/Uninstall/Install.LOG";
        const std::string failure = "Cannot write " + target + "\\large.dat\r\n";
        if (c.automatic) {
            const std::string log = fileText(logPath);
            EXPECT_NE(log.find(failure), std::string::npos) << log;
        } else {
            EXPECT_TRUE(!fs::exists(logPath) || fs::file_size(logPath) > 0);
            dropProgress(run);
            ASSERT_EQ(run.windows.size(), 1u) << captions(run);
            EXPECT_EQ(run.windows[0].caption, "Problems");
            const std::string& text = run.windows[0].text;
            EXPECT_NE(text.find(failure), std::string::npos) << text;
            EXPECT_NE(text.find("The installation log could not be written:\r\n" + target +
                                "\\Uninstall\\Install.LOG"),
                      std::string::npos)
                << text;
        }
    }
}

// The shared folder is made before the first file needs it; a run that ends
// before any file is placed must not leave it behind, empty.
TEST(InstallFailureTest, NoEmptySharedFolderIsLeftWhenTheInstallationStopsEarly) {
    ASSERT_EQ(wineEnvironmentProblem(), "");
    const auto common = readRegistry32(kVersionKey, "CommonFilesDir");
    ASSERT_TRUE(common.has_value());
    struct Case {
        const char* name;
        std::vector<std::string> presses;
        bool automatic;
    };
    const Case cases[] = {
        {"Declined", {kWatchProgress, "id:1003"}, false},
        {"Excluded", {kWatchProgress}, true},
        {"Cancelled", {"id:1003", "Yes"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string name = unique(std::string("Shared ") + c.name);
        InstallSettings settings = productSettings(name);
        settings.sharedPath = (name + " Shared\\Inner").c_str();
        if (std::string(c.name) == "Declined")
            settings.licenseTexts = {"Terms"};
        if (std::string(c.name) == "Excluded")
            settings.excludedSystems = 0x7FFFFFFF;
        if (std::string(c.name) == "Cancelled")
            settings.stepPause = 9000;
        BuiltSetup setup = buildSetup(settings, keld::ArchiveOptions());
        std::vector<std::string> args = {setup.exe, "/d:" + toWinePath(installedDir(setup))};
        if (c.automatic)
            args.insert(args.begin() + 1, "/a");
        RunResult run = runUnderRobot(args, c.presses, 30);
        ASSERT_EQ(run.error, "") << run.output;
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_FALSE(fs::exists(driveCPath(common->data) + "/" + name + " Shared"));
        EXPECT_FALSE(fs::exists(installedDir(setup) + "/tool.exe"));
    }
}

} // namespace
} // namespace e2e
