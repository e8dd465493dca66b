#include "FileScratch.h"

#include "installer/Installation.h"
#include "installer/win32/Batch.h"
#include "installer/win32/Program.h"
#include "platform/KnownFolders.h"

#include <cstdlib>

namespace {

class Batch : public FileScratch {
protected:
    void SetUp() override {
        FileScratch::SetUp();
        savedInstallation_ = installation();
        const char* comspec = std::getenv("COMSPEC");
        ASSERT_NE(comspec, nullptr);
        startupValues().commandProcessor = comspec;
        installation().installDir = at("");
        installation().installDir.removeTrailingChar('\\');
        installation().uninstallDir = at("uninstall");
        makeDir("uninstall");
    }
    void TearDown() override {
        programState().automaticMode = false;
        installation() = savedInstallation_;
        FileScratch::TearDown();
    }

    String dir() const { return installation().installDir; }

private:
    Installation savedInstallation_;
};

TEST_F(Batch, RunsInTheDirectoryWithThePlacesSetAndIsDeletedAfterwards) {
    runBatch(dir(), true,
             "echo %InstallDir%>where.txt\n"
             "echo %InstallDrive%>>where.txt\n"
             "echo %UninstallDir%>>where.txt\n"
             "cd>>where.txt\n");
    const std::string root = dir().c_str();
    EXPECT_EQ(contentOf("where.txt"), root + "\r\n" + root.substr(0, 2) + "\r\n" + root +
                                          "\\uninstall\r\n" + root + "\r\n");
    EXPECT_FALSE(exists("KELDBAT.BAT"));
}

TEST_F(Batch, HiddenOrAutomaticBatchesLoseTheirPauseLines) {
    // The batch copies itself while it runs.
    const String commands = "@echo off\r\n  @PAUSE  \r\ntype KELDBAT.BAT>copy.txt\r\n";
    struct Case {
        bool hide;
        bool automatic;
    };
    for (const Case c : {Case{true, false}, Case{false, true}}) {
        SCOPED_TRACE(c.hide ? "hidden" : "automatic");
        programState().automaticMode = c.automatic;
        runBatch(dir(), c.hide, commands);
        const std::string copy = contentOf("copy.txt");
        EXPECT_EQ(copy.rfind("@echo off\r\n", 0), 0u) << copy;
        EXPECT_NE(copy.find("SET InstallDir=" + std::string(dir().c_str()) + "\r\n"),
                  std::string::npos)
            << copy;
        EXPECT_EQ(copy.find("PAUSE"), std::string::npos) << copy;
        EXPECT_NE(copy.find("SET CommonDir=" + std::string(commonDir().c_str()) +
                            "\r\n@echo off\r\ntype KELDBAT.BAT>copy.txt\r\n"),
                  std::string::npos)
            << copy;
    }
}

TEST_F(Batch, BlankOrUnwritableBatchesRunNothing) {
    // A batch file already there shows that nothing was written or deleted.
    makeFile("KELDBAT.BAT", "keep");
    runBatch(dir(), true, " \r\n\t\n");
    EXPECT_EQ(contentOf("KELDBAT.BAT"), "keep");

    const String ran = at("ran.txt");
    runBatch(at("missing\\folder"), true, String::formatted("echo x>\"%s\"\r\n", ran.c_str()));
    EXPECT_FALSE(exists("ran.txt"));
    EXPECT_FALSE(exists("missing"));
}

// autoexec.bat is the machine's: the tests take turns and put it back.
class Autoexec : public Batch {
protected:
    void SetUp() override {
        lock_ = CreateMutexA(nullptr, FALSE, "VarnokeTestAutoexec");
        ASSERT_NE(lock_, nullptr);
        const DWORD waited = WaitForSingleObject(lock_, 60000);
        ASSERT_TRUE(waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) << waited;
        Batch::SetUp();
        file_ = std::string(1, bootDrive()) + ":\\autoexec.bat";
        saved_ = read();
        SetFileAttributesA(file_.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    void TearDown() override {
        SetFileAttributesA(file_.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (saved_ == "<missing>")
            DeleteFileA(file_.c_str());
        else
            write(saved_);
        Batch::TearDown();
        if (lock_ != nullptr) {
            ReleaseMutex(lock_);
            CloseHandle(lock_);
        }
    }

    std::string read() const { return fileContent(file_); }
    void write(const std::string& content) const {
        HANDLE h = CreateFileA(file_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(h, content.data(), DWORD(content.size()), &written, nullptr);
        CloseHandle(h);
    }
    std::string line() const {
        char shortName[MAX_PATH];
        const DWORD n = GetShortPathNameA(dir().c_str(), shortName, sizeof shortName);
        return "PATH=%PATH%;" + std::string(shortName, n) + "\r\n";
    }

    std::string file_;

private:
    HANDLE lock_ = nullptr;
    std::string saved_;
};

TEST_F(Autoexec, AddingTwiceGivesOneLineAndRemovingPutsTheFileBack) {
    write("@echo off\r\nPROMPT $p$g");
    EXPECT_EQ(updateAutoexecPath(true), "");
    EXPECT_EQ(updateAutoexecPath(true), "");
    EXPECT_EQ(read(), "@echo off\r\nPROMPT $p$g\r\n" + line());
    EXPECT_EQ(updateAutoexecPath(false), "");
    EXPECT_EQ(read(), "@echo off\r\nPROMPT $p$g\r\n");
}

TEST_F(Autoexec, AMissingFileIsMadeWhenAddingAndReportedWhenRemoving) {
    DeleteFileA(file_.c_str());
    const std::string problem = "Unable to modify " + file_ +
                                ".  You will need to manually remove " + dir().c_str() +
                                " from the PATH environment variable.\r\n\r\n";
    EXPECT_EQ(updateAutoexecPath(false), problem.c_str());
    EXPECT_EQ(read(), "<missing>");
    EXPECT_EQ(updateAutoexecPath(true), "");
    EXPECT_EQ(read(), "\r\n" + line());
}

// A directory in its place stands for a file that cannot be opened (a
// read-only file would not do: Wine lets root write it).
TEST_F(Autoexec, AFileThatCannotBeOpenedIsReportedAndLeftAlone) {
    DeleteFileA(file_.c_str());
    ASSERT_TRUE(CreateDirectoryA(file_.c_str(), nullptr));
    const std::string problem = "Unable to modify " + file_ + ".  You will need to manually add " +
                                dir().c_str() + " to the PATH environment variable.\r\n\r\n";
    EXPECT_EQ(updateAutoexecPath(true), problem.c_str());
    EXPECT_NE(GetFileAttributesA(file_.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    RemoveDirectoryA(file_.c_str());
}

} // namespace
