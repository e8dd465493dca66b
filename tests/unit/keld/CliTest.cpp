#include "keld/Cli.h"
#include "keld/Files.h"
#include "tests/unit/keld/ProjectTestFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
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

// A folder where a file belongs is named as such, and nothing is written.
TEST_F(CliTest, AFolderWhereAFileBelongsIsRefusedWithItsName) {
    const std::string setup = folder_.path("setup.exe");
    folder_.write("dir/inside.txt", "x");
    folder_.write("page.toml", "[product]\nname = \"C\"\n[pages]\nreadme = \"dir\"\n"
                               "[[files]]\nsource = \"a.txt\"\n");
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {{"build", folder_.path("dir"), "-o", setup}, "it is a folder, not a file"},
        {{"build", folder_.path("good.toml"), "-o", setup, "--stub", folder_.path("dir")},
         "cannot read the installer stub \"" + folder_.path("dir") + "\": it is a folder"},
        {{"build", folder_.path("page.toml"), "-o", setup},
         folder_.path("page.toml") + ":4:10: cannot read the file \"" + folder_.path("dir") +
             "\": it is a folder, not a file"},
        {{"verify", folder_.path("dir")}, "it is a folder, not a file"},
        {{"inspect", folder_.path("dir")}, "it is a folder, not a file"},
        {{"build", folder_.path("good.toml"), "-o", folder_.path("dir")},
         "cannot write \"" + folder_.path("dir") + "\": it is a folder"},
        {{"build", folder_.path("good.toml"), "-o", folder_.path("none/setup.exe")},
         "cannot write \"" + folder_.path("none/setup.exe") + "\": there is no folder \"" +
             folder_.path("none") + "\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        EXPECT_EQ(run(c.args), keld::ExitProblems);
        EXPECT_NE((err_.str() + out_.str()).find(c.message), std::string::npos)
            << err_.str() << out_.str();
        EXPECT_FALSE(keld::fileInfo(setup));
    }
}

// An output that is one of the inputs is refused before it is overwritten.
TEST_F(CliTest, AnOutputThatIsAnInputIsRefusedAndLeftAlone) {
    folder_.write("license.txt", "the licence");
    folder_.write("inputs.toml", "[product]\nname = \"C\"\n[pages]\nlicense = \"license.txt\"\n"
                                 "[[files]]\nsource = \"a.txt\"\n");
    struct Case {
        std::string output;
        std::string message;
    };
    const Case cases[] = {
        {folder_.path("inputs.toml"), "is the input \"" + folder_.path("inputs.toml") + "\""},
        {env_.defaultStub, "is the input \"" + env_.defaultStub + "\""},
        {folder_.path("license.txt"), "is the input"},
        {folder_.path("a.txt"), folder_.path("inputs.toml") + ":6:10: the output"},
        // Another spelling of the same file.
        {folder_.dir() + "/./a.txt", "is the input"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.output);
        EXPECT_EQ(run({"build", folder_.path("inputs.toml"), "-o", c.output}), keld::ExitProblems);
        EXPECT_NE(err_.str().find(c.message), std::string::npos) << err_.str();
        EXPECT_NE(err_.str().find("writing it would destroy it"), std::string::npos);
    }
    EXPECT_EQ(folder_.read("a.txt"), "a file");
    EXPECT_EQ(folder_.read("license.txt"), "the licence");
    EXPECT_NE(folder_.read("inputs.toml").find("[product]"), std::string::npos);
    EXPECT_EQ(folder_.read("varnoke.exe").substr(0, 2), "MZ");
    EXPECT_GT(folder_.read("varnoke.exe").size(), 1000u);
}

// Files whose sizes together pass what the archive can hold are refused from
// their sizes alone; sparse files, so that reading them would show.
TEST_F(CliTest, DataBeyondTheArchivesLimitIsRefusedBeforeItIsRead) {
    std::string toml = "[product]\nname = \"C\"\n";
    for (const char* name : {"big1.bin", "big2.bin"}) {
        const std::string path = folder_.write(name, "");
        std::error_code ec;
        std::filesystem::resize_file(keld::toFsPath(path), uint64_t(1) << 30, ec);
        ASSERT_FALSE(ec) << ec.message();
        toml += std::string("[[files]]\nsource = \"") + name + "\"\n";
    }
    folder_.write("big.toml", toml);
    EXPECT_EQ(run({"build", folder_.path("big.toml"), "-o", folder_.path("big.exe")}),
              keld::ExitProblems);
    EXPECT_NE(err_.str().find(folder_.path("big.toml") + ": the files hold 2147483648 bytes, more "
                                                         "than the installer's data area takes"),
              std::string::npos)
        << err_.str();
    EXPECT_FALSE(keld::fileInfo(folder_.path("big.exe")));
}

} // namespace
