// keld.exe, the Windows build of keld, under Wine against the native keld: the same
// project, sources and stub give the same setup.exe, byte for byte, whichever
// system builds it. keld.exe is given Windows paths (a drive letter, backslashes),
// and both run in a time zone far from UTC, so that a file time read as local
// time, a file written in text mode or sources listed in another order show.
#include "ArchiveFixture.h"
#include "Process.h"
#include "Wine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace e2e {
namespace {

namespace fs = std::filesystem;

const char kProject[] = VARNOKE_SOURCE_DIR "/examples/acme-notes/acme-notes.toml";
// UTC+05:30 as a POSIX TZ rule, which glibc and Wine read without a zone database.
const char kTimeZone[] = "TZ=KELD-5:30";
const char kEpoch[] = "SOURCE_DATE_EPOCH=1714564800";

std::string keldExe() {
    return windowsBuildDir() + "/keld/keld.exe";
}

class KeldOnWindows : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string problem = wineEnvironmentProblem();
        ASSERT_EQ(problem, "");
        ASSERT_TRUE(fs::exists(keldExe())) << keldExe() << ": build the windows preset first";
        char folder[] = "/tmp/varnoke-keld-XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        dir_ = folder;
    }
    void TearDown() override {
        std::error_code ec;
        if (!dir_.empty())
            fs::remove_all(dir_, ec);
    }

    // setup.exe from the native keld, in `folder` under the test's folder.
    keld::Bytes buildNatively(const std::string& folder, const std::string& stub) {
        const std::string out = dir_ + "/" + folder + "/setup.exe";
        fs::create_directories(dir_ + "/" + folder);
        const ProcessResult run = runProcess(
            {"env", kTimeZone, kEpoch, VARNOKE_KELD, "build", kProject, "-o", out, "--stub", stub},
            120);
        EXPECT_EQ(run.status, 0) << run.startError << run.err;
        return readBytes(out);
    }

    // setup.exe from `keld` (a keld.exe) under Wine, every path in Windows form.
    keld::Bytes buildUnderWine(const std::string& keld, const std::string& folder,
                               const std::vector<std::string>& stubArgs) {
        const std::string out = dir_ + "/" + folder + "/setup.exe";
        fs::create_directories(dir_ + "/" + folder);
        std::vector<std::string> argv = {
            "env", kTimeZone,      kEpoch, "wine", keld, "build", toWinePath(kProject),
            "-o",  toWinePath(out)};
        argv.insert(argv.end(), stubArgs.begin(), stubArgs.end());
        const ProcessResult run = runProcess(argv, 120);
        EXPECT_EQ(run.status, 0) << run.startError << run.out << run.err;
        EXPECT_NE(run.out.find(toWinePath(out) + ": "), std::string::npos) << run.out;
        return readBytes(out);
    }

    std::string dir_;
};

// Where two builds part, for the failure message.
std::string firstDifference(const keld::Bytes& a, const keld::Bytes& b) {
    size_t at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at])
        ++at;
    return "sizes " + std::to_string(a.size()) + " and " + std::to_string(b.size()) +
           ", first difference at byte " + std::to_string(at);
}

TEST_F(KeldOnWindows, BuildsTheExampleByteForByteAsNativeKeldDoes) {
    const keld::Bytes native = buildNatively("native", varnokeExe());
    const keld::Bytes windows =
        buildUnderWine(keldExe(), "wine", {"--stub", toWinePath(varnokeExe())});
    ASSERT_GT(native.size(), 0u);
    EXPECT_TRUE(native == windows) << firstDifference(native, windows);
}

// Installed as bin\keld.exe with share\keld\varnoke.exe (cmake --install), keld.exe
// finds that stub without --stub. The installed copy differs from the build's
// varnoke.exe by one byte of its DOS message, so that the build's cannot pass for it.
TEST_F(KeldOnWindows, InstalledKeldFindsTheStubInstalledBesideIt) {
    keld::Bytes stub = readBytes(varnokeExe());
    const std::string message = "DOS mode";
    const auto found = std::search(stub.begin(), stub.end(), message.begin(), message.end());
    ASSERT_NE(found, stub.end()) << "no DOS message in varnoke.exe";
    *found = 'd';
    fs::create_directories(dir_ + "/prefix/bin");
    fs::create_directories(dir_ + "/prefix/share/keld");
    fs::copy_file(keldExe(), dir_ + "/prefix/bin/keld.exe");
    writeBytes(dir_ + "/prefix/share/keld/varnoke.exe", stub);

    const keld::Bytes native = buildNatively("native", dir_ + "/prefix/share/keld/varnoke.exe");
    const keld::Bytes installed = buildUnderWine(dir_ + "/prefix/bin/keld.exe", "installed", {});
    ASSERT_GT(native.size(), 0u);
    EXPECT_TRUE(native == installed) << firstDifference(native, installed);
}

} // namespace
} // namespace e2e
