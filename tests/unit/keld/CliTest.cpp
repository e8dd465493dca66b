#include "keld/Cli.h"
#include "keld/Files.h"
#include "tests/unit/keld/ProjectTestFolder.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using keld::CliEnvironment;

class CliTest : public ::testing::Test {
protected:
    CliTest() {
        const keld::Bytes stub = testStub();
        env_.defaultStub = folder_.write("varnoke.exe", std::string(stub.begin(), stub.end()));
        env_.sourceDateEpoch = nullptr;
        folder_.write("a.txt", "a file");
        folder_.write("good.toml", "[product]\nname = \"C\"\n[[files]]\nsource = \"a.txt\"\n");
        folder_.write("bad.toml", "[product]\nname = \"C\"\nflags = [\"Nope\"]\n");
    }

    int run(const std::vector<std::string>& args) {
        out_.str("");
        err_.str("");
        return keld::runKeld(args, env_, out_, err_);
    }

    ProjectTestFolder folder_;
    CliEnvironment env_;
    std::ostringstream out_, err_;
};

TEST_F(CliTest, ExitStatusSaysDoneProblemsOrUsage) {
    const std::string setup = folder_.path("setup.exe");
    struct Case {
        std::vector<std::string> args;
        int code;
    };
    const Case cases[] = {
        {{}, keld::ExitUsage},
        {{"--help"}, keld::ExitOk},
        {{"--version"}, keld::ExitOk},
        {{"make", "x.toml"}, keld::ExitUsage},
        {{"build"}, keld::ExitUsage},
        {{"build", folder_.path("good.toml"), "-o"}, keld::ExitUsage},
        {{"build", folder_.path("good.toml"), "--json"}, keld::ExitUsage},
        {{"verify", "a", "b"}, keld::ExitUsage},
        {{"build", folder_.path("bad.toml"), "-o", setup}, keld::ExitProblems},
        {{"build", folder_.path("none.toml"), "-o", setup}, keld::ExitProblems},
        {{"build", folder_.path("good.toml"), "-o", setup, "--stub", folder_.path("no.exe")},
         keld::ExitProblems},
        {{"build", folder_.path("good.toml"), "-q", "-o", setup}, keld::ExitOk},
        {{"verify", setup}, keld::ExitOk},
        {{"inspect", setup, "--json"}, keld::ExitOk},
        {{"verify", folder_.path("varnoke.exe")}, keld::ExitProblems},
    };
    for (const Case& c : cases) {
        std::string line;
        for (const std::string& arg : c.args)
            line += arg + " ";
        SCOPED_TRACE(line);
        EXPECT_EQ(run(c.args), c.code) << err_.str();
    }
}

TEST_F(CliTest, ProblemsNameTheProjectLineAndColumn) {
    EXPECT_EQ(run({"build", folder_.path("bad.toml"), "-o", folder_.path("s.exe")}),
              keld::ExitProblems);
    EXPECT_EQ(err_.str().rfind(folder_.path("bad.toml") + ":3:10: unknown flag \"Nope\"", 0), 0u)
        << err_.str();
    EXPECT_FALSE(keld::fileInfo(folder_.path("s.exe")));
}

TEST_F(CliTest, QuietBuildPrintsNothingAndInspectShowsTheFiles) {
    const std::string setup = folder_.path("setup.exe");
    ASSERT_EQ(run({"-q", "build", folder_.path("good.toml"), "-o", setup}), keld::ExitOk);
    EXPECT_EQ(out_.str(), "");
    EXPECT_EQ(err_.str(), "");
    ASSERT_EQ(run({"inspect", "--json", setup}), keld::ExitOk);
    EXPECT_NE(out_.str().find("\"name\": \"a.txt\""), std::string::npos) << out_.str();
    EXPECT_NE(out_.str().find("\"accepted\": true"), std::string::npos);
}

TEST_F(CliTest, SourceDateEpochSetsThePackageTime) {
    const std::string setup = folder_.path("setup.exe");
    env_.sourceDateEpoch = "86400";
    ASSERT_EQ(run({"build", folder_.path("good.toml"), "-o", setup}), keld::ExitOk);
    ASSERT_EQ(run({"inspect", "--json", setup}), keld::ExitOk);
    EXPECT_NE(out_.str().find("\"PackageTime\": \"1970-01-02 00:00:00\""), std::string::npos)
        << out_.str();
}

// A product of some megabytes shows how far its compression has come, on a
// terminal only, and not with -q.
TEST_F(CliTest, CompressingALargeProductShowsItsProgressOnATerminal) {
    std::string big;
    for (int i = 0; big.size() < (3u << 20); ++i)
        big += "line " + std::to_string(i * 7919 % 100003) + " of the big file\n";
    folder_.write("big.txt", big);
    folder_.write("big.toml", "[product]\nname = \"B\"\n[[files]]\nsource = \"big.txt\"\n"
                              "[output]\ncompression = \"fast\"\n");
    const std::string setup = folder_.path("big.exe");
    struct Case {
        bool terminal;
        bool quiet;
        bool shown;
    };
    for (const Case c :
         {Case{true, false, true}, Case{false, false, false}, Case{true, true, false}}) {
        SCOPED_TRACE(std::string(c.terminal ? "terminal" : "pipe") + (c.quiet ? " -q" : ""));
        env_.terminal = c.terminal;
        std::vector<std::string> args = {"build", folder_.path("big.toml"), "-o", setup};
        if (c.quiet)
            args.push_back("-q");
        ASSERT_EQ(run(args), keld::ExitOk) << err_.str();
        const std::string shown = err_.str();
        EXPECT_EQ(shown.find("Compressing 1 file, 3 MB: 100%\r") != std::string::npos, c.shown)
            << shown;
    }
}

} // namespace
