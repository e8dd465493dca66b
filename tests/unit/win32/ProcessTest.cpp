#include "FileScratch.h"

#include "platform/DelayedFile.h"
#include "platform/Process.h"
#include "platform/Restart.h"
#include "platform/SystemNames.h"

#include <map>

namespace {

int gPumps = 0;

bool countPump() {
    ++gPumps;
    return false;
}

class Processes : public FileScratch {
protected:
    // "<command processor> /c <batch>" for a batch holding `lines`.
    String batch(const std::string& name, const std::string& lines) {
        makeFile(name, "@echo off\r\n" + lines);
        String comspec("%comspec%");
        bool expanded = expandEnvironment(comspec);
        String line = commandProcessorFrom(comspec, expanded, String(""));
        line += " /c ";
        line += at(name);
        return line;
    }

    // Waits up to ten seconds for a file that a process writes.
    bool appears(const std::string& name) {
        for (int i = 0; i < 200 && !exists(name); ++i)
            Sleep(50);
        return exists(name);
    }
};

TEST_F(Processes, NothingStarted) {
    EXPECT_EQ(runProcess(String(), kRunWait, String()), kRunNotStarted);
    EXPECT_EQ(runProcess(at("no-such-program.exe"), kRunWait, String()), kRunNotStarted);
    EXPECT_EQ(runProcess(batch("b.bat", "exit 0\r\n"), kRunWait, at("no-such-dir")),
              kRunNotStarted);
}

TEST_F(Processes, WaitingForABatchGivesItsExitCode) {
    const struct {
        uint32_t options;
        const char* exitCode;
        uint32_t result;
    } cases[] = {
        {kRunWait, "7", 7},
        {kRunWait | kRunHidden, "0", 0},
        {kRunWait | kRunPumpMessages, "3", 3},
        {kRunWait | kRunHidden | kRunPumpMessages, "250", 250},
    };
    for (const auto& c : cases) {
        gPumps = 0;
        setProcessWaitPump(countPump);
        uint32_t result = runProcess(batch("exit.bat", std::string("exit ") + c.exitCode + "\r\n"),
                                     c.options, String());
        setProcessWaitPump(nullptr);
        EXPECT_EQ(result, c.result) << c.options;
        // Starting the command processor takes longer than one 1 ms wait.
        EXPECT_EQ(gPumps > 0, (c.options & kRunPumpMessages) != 0) << c.options;
    }
}

TEST_F(Processes, StartedWithoutWaiting) {
    EXPECT_EQ(
        runProcess(batch("mark.bat", "echo done> " + path("marker.txt") + "\r\n"), 0, String()),
        kRunNoExitCode);
    EXPECT_TRUE(appears("marker.txt"));
}

TEST_F(Processes, RunsInTheWorkingDirectory) {
    makeDir("work");
    EXPECT_EQ(runProcess(batch("cd.bat", "cd> here.txt\r\n"), kRunWait, at("work")), 0u);
    EXPECT_EQ(contentOf("work\\here.txt"), path("work") + "\r\n");
}

TEST_F(Processes, OpenWithShellNeedsADocument) {
    EXPECT_FALSE(openWithShell(String(" ")));
    EXPECT_FALSE(openWithShell(at("missing.txt")));
}

TEST_F(Processes, PresenceAndInfo) {
    makeFile("here.txt", "12345");
    makeFile("locked.txt", "x");
    makeDir("dir");
    HANDLE lock = CreateFileA(path("locked.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    const struct {
        const char* name;
        bool present;
    } cases[] = {{"here.txt", true}, {"locked.txt", true}, {"missing.txt", false}};
    for (const auto& c : cases)
        EXPECT_EQ(filePresent(at(c.name)), c.present) << c.name;
    EXPECT_FALSE(filePresent(String()));

    FileInfo info;
    EXPECT_TRUE(fileInfo(at("here.txt"), info));
    EXPECT_EQ(str(info.name), "here.txt");
    EXPECT_EQ(info.size, 5u);
    EXPECT_TRUE(fileInfo(at("dir"), info));
    EXPECT_TRUE(info.isDirectory());
    EXPECT_FALSE(fileInfo(at("missing.txt"), info));

    String text("stale");
    EXPECT_EQ(readFileText(at("locked.txt"), text), FileLocked);
    EXPECT_EQ(str(text), "");
    CloseHandle(lock);
}

TEST_F(Processes, ReadFileText) {
    makeFile("text.txt", std::string("a\0b\r\n", 5));
    makeFile("empty.txt");
    const struct {
        String path;
        FileOpenResult result;
        std::string text;
    } cases[] = {
        {at("text.txt"), FileOpened, std::string("a\0b\r\n", 5)},
        {at("empty.txt"), FileOpened, ""},
        {at("missing.txt"), FileNotFound, ""},
        {at("nodir\\x.txt"), FileDirectoryMissing, ""},
        {String(), FileInvalidName, ""},
    };
    for (const auto& c : cases) {
        String text("stale");
        EXPECT_EQ(readFileText(c.path, text), c.result) << str(c.path);
        EXPECT_EQ(str(text), c.text) << str(c.path);
    }
}

// The enabled state of every privilege of the process token, by LUID.
std::map<DWORD, bool> enabledPrivileges() {
    std::map<DWORD, bool> enabled;
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return enabled;
    char buffer[4096];
    DWORD size = 0;
    if (GetTokenInformation(token, TokenPrivileges, buffer, sizeof buffer, &size)) {
        const TOKEN_PRIVILEGES* list = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer);
        for (DWORD i = 0; i < list->PrivilegeCount; ++i)
            enabled[list->Privileges[i].Luid.LowPart] =
                (list->Privileges[i].Attributes & SE_PRIVILEGE_ENABLED) != 0;
    }
    CloseHandle(token);
    return enabled;
}

TEST(Privileges, OnlyTheNamedPrivilegeChanges) {
    LUID shutdown;
    ASSERT_TRUE(LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &shutdown));
    LUID changeNotify;
    ASSERT_TRUE(LookupPrivilegeValueA(nullptr, "SeChangeNotifyPrivilege", &changeNotify));
    const std::map<DWORD, bool> before = enabledPrivileges();
    ASSERT_TRUE(before.count(shutdown.LowPart));

    setPrivilege("SeShutdownPrivilege", true);
    std::map<DWORD, bool> on = enabledPrivileges();
    EXPECT_TRUE(on[shutdown.LowPart]);

    setPrivilege("SeShutdownPrivilege", false);
    std::map<DWORD, bool> off = enabledPrivileges();
    EXPECT_FALSE(off[shutdown.LowPart]);
    on[shutdown.LowPart] = false;
    EXPECT_EQ(off, on) << "the token's other privileges stay as they were";
    EXPECT_TRUE(off[changeNotify.LowPart]);

    setPrivilege("NoSuchPrivilege", true);
    EXPECT_EQ(enabledPrivileges(), off);
}

} // namespace
