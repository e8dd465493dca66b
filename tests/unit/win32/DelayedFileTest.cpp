#include "FileScratch.h"
#include "PendingRenames.h"

#include "platform/DelayedFile.h"
#include "platform/OsVersion.h"

#include <algorithm>

namespace {

std::string shortName(const std::string& path) {
    char buffer[MAX_PATH];
    DWORD length = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
    return length > 0 && length < sizeof buffer ? std::string(buffer, length) : path;
}

// The pending renames are the machine's: whatever a test adds is taken out again.
class DelayedFiles : public FileScratch {
protected:
    void SetUp() override {
        ASSERT_TRUE(turn_.take());
        FileScratch::SetUp();
    }
    void TearDown() override {
        overrideOsVersion(nullptr);
        FileScratch::TearDown();
        turn_.giveBack();
    }

    // What this test added to the pending renames, lower case.
    std::string added() const { return turn_.added(); }
    bool pendingChanged() const { return pendingRenames() != turn_.before(); }

    void standInWindows98() {
        windows98_.platform = kPlatformWindows;
        windows98_.major = 4;
        windows98_.minor = 10;
        overrideOsVersion(&windows98_);
    }

    std::string wininit() const { return contentOf("windows\\wininit.ini"); }

private:
    PendingRenamesTurn turn_;
    OsVersion windows98_;
};

TEST_F(DelayedFiles, DeleteNowClearsReadOnlyFirst) {
    makeFile("ro.txt", "x");
    SetFileAttributesA(path("ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(deleteFile(at("ro.txt"), false));
    EXPECT_FALSE(exists("ro.txt"));
    EXPECT_FALSE(deleteFile(at("ro.txt"), false));
    EXPECT_FALSE(deleteFile(String(), false));
    EXPECT_FALSE(deleteFile(String(), true));
    EXPECT_FALSE(pendingChanged());
}

TEST_F(DelayedFiles, AFileInUseStaysWithTheReasonWhetherReadOnlyOrNot) {
    for (const DWORD attributes : {DWORD(FILE_ATTRIBUTE_NORMAL), DWORD(FILE_ATTRIBUTE_READONLY)}) {
        makeFile("busy.txt", "x");
        SetFileAttributesA(path("busy.txt").c_str(), attributes);
        const HANDLE held = CreateFileA(path("busy.txt").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                        nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        EXPECT_FALSE(deleteFile(at("busy.txt"), false)) << attributes;
        EXPECT_EQ(GetLastError(), DWORD(ERROR_SHARING_VIOLATION)) << attributes;
        CloseHandle(held);
        EXPECT_TRUE(exists("busy.txt")) << attributes;
        // As before the deletion was tried, the bit is cleared whatever the outcome.
        EXPECT_EQ(GetFileAttributesA(path("busy.txt").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
        EXPECT_TRUE(deleteFile(at("busy.txt"), false));
    }
}

TEST_F(DelayedFiles, DeleteAtRestartOnWindowsNtIsAPendingRename) {
    makeFile("old.dll", "x");
    SetFileAttributesA(path("old.dll").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(deleteFile(at("old.dll"), true));
    EXPECT_TRUE(exists("old.dll"));
    EXPECT_EQ(GetFileAttributesA(path("old.dll").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    const std::string source = lowerCase(path("old.dll"));
    // The source, then an empty destination: delete.
    EXPECT_NE(added().find(source + std::string(2, '\0')), std::string::npos) << added();
    EXPECT_EQ(wininit(), "<missing>");
}

TEST_F(DelayedFiles, MoveAtRestartOnWindowsNtIsAPendingRename) {
    makeFile("new.dll", "new");
    makeFile("target.dll", "old");
    EXPECT_TRUE(moveFile(at("new.dll"), at("target.dll")));
    EXPECT_TRUE(exists("new.dll"));
    EXPECT_FALSE(exists("target.dll")) << "a target not in use goes at once";
    const std::string pending = added();
    const size_t source = pending.find(lowerCase(path("new.dll")));
    const size_t target = pending.find(lowerCase(path("target.dll")));
    ASSERT_NE(source, std::string::npos) << pending;
    ASSERT_NE(target, std::string::npos) << pending;
    EXPECT_LT(source, target);
    EXPECT_EQ(wininit(), "<missing>");
}

TEST_F(DelayedFiles, ATargetInUseStaysUntilTheRestart) {
    makeFile("new.dll", "new");
    makeFile("busy.dll", "old");
    HANDLE busy =
        CreateFileA(path("busy.dll").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(busy, INVALID_HANDLE_VALUE);
    const bool moved = moveFile(at("new.dll"), at("busy.dll"));
    CloseHandle(busy);
    EXPECT_TRUE(moved);
    EXPECT_EQ(contentOf("busy.dll"), "old");
    EXPECT_NE(added().find(lowerCase(path("busy.dll"))), std::string::npos);
}

TEST_F(DelayedFiles, MovesThatRegisterNothing) {
    makeFile("a.dll", "a");
    const struct {
        String source, destination;
        bool result;
        DWORD error; // checked when not 0
    } cases[] = {
        {at("a.dll"), at("a.dll"), true, ERROR_INVALID_PARAMETER},
        {String(), at("b.dll"), false, ERROR_INVALID_PARAMETER},
        {at("a.dll"), String(" \t"), false, ERROR_INVALID_PARAMETER},
        {at("missing.dll"), at("b.dll"), false, 0},
    };
    standInWindows98();
    for (int road = 0; road < 2; ++road) {
        for (const auto& c : cases) {
            SetLastError(0);
            EXPECT_EQ(moveFile(c.source, c.destination), c.result) << str(c.source);
            if (c.error) {
                EXPECT_EQ(GetLastError(), c.error) << str(c.source);
            }
        }
        overrideOsVersion(nullptr);
    }
    EXPECT_TRUE(exists("a.dll"));
    EXPECT_FALSE(pendingChanged());
    EXPECT_EQ(wininit(), "<missing>");
}

TEST_F(DelayedFiles, OnWindows9xDeleteAtRestartGoesToWininit) {
    standInWindows98();
    makeFile("old.dll", "x");
    EXPECT_TRUE(deleteFile(at("old.dll"), true));
    EXPECT_TRUE(exists("old.dll"));
    EXPECT_EQ(wininit(), "\r\n[rename]\r\nNUL=" + shortName(path("old.dll")));
    EXPECT_FALSE(pendingChanged());
}

TEST_F(DelayedFiles, OnWindows9xTheLatestMoveComesFirst) {
    standInWindows98();
    makeFile("one.new", "1");
    makeFile("two.new", "2");
    EXPECT_TRUE(moveFile(at("one.new"), at("one.dll")));
    EXPECT_TRUE(moveFile(at("two.new"), at("two.dll")));
    // The targets do not exist: their short names are the long ones.
    const std::string one = path("one.dll") + "=" + shortName(path("one.new"));
    const std::string two = path("two.dll") + "=" + shortName(path("two.new"));
    EXPECT_EQ(wininit(), "\r\n[rename]\r\n" + two + "\r\n" + one);
    EXPECT_FALSE(pendingChanged());
}

TEST_F(DelayedFiles, RenameEntriesGoFirstInTheirSection) {
    const struct {
        const char* before; // null: no wininit.ini
        const char* after;
    } cases[] = {
        {nullptr, "\r\n[rename]\r\nD=S"},
        {"", "\r\n[rename]\r\nD=S"},
        {"[boot]\r\nx=1", "[boot]\r\nx=1\r\n[rename]\r\nD=S"},
        {"[boot]\r\n", "[boot]\r\n[rename]\r\nD=S"},
        {"[boot]\n", "[boot]\n[rename]\r\nD=S"},
        {"[Rename]\r\nNUL=a", "[Rename]\r\nD=S\r\nNUL=a"},
        {"[a]\r\n[RENAME]\r\n[b]\r\n", "[a]\r\n[RENAME]\r\nD=S\r\n[b]\r\n"},
    };
    for (const auto& c : cases) {
        DeleteFileA(path("windows\\wininit.ini").c_str());
        if (c.before)
            makeFile("windows\\wininit.ini", c.before);
        EXPECT_TRUE(addRenameEntry("D", "S")) << (c.before ? c.before : "(none)");
        EXPECT_EQ(wininit(), c.after) << (c.before ? c.before : "(none)");
    }
    DeleteFileA(path("windows\\wininit.ini").c_str());
    // A blank name is no system failure: the last error says nothing.
    SetLastError(5);
    EXPECT_FALSE(addRenameEntry("", "S"));
    EXPECT_EQ(GetLastError(), 0u);
    EXPECT_FALSE(addRenameEntry("D", " "));
    EXPECT_EQ(wininit(), "<missing>");
}

TEST_F(DelayedFiles, AWininitInUseFails) {
    makeFile("windows\\wininit.ini", "[rename]\r\n");
    HANDLE busy = CreateFileA(path("windows\\wininit.ini").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(busy, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(addRenameEntry("D", "S"));
    CloseHandle(busy);
    EXPECT_EQ(wininit(), "[rename]\r\n");
}

// A path longer than the system takes makes MoveFileExA fail: then Windows
// NT goes on through wininit.ini only where wininit.exe exists.
TEST_F(DelayedFiles, OnWindowsNtWininitIsTheFallbackOnlyWithWininitExe) {
    const std::string tooLong = "C:\\" + std::string(300, 'x');
    EXPECT_FALSE(deleteFile(tooLong.c_str(), true));
    EXPECT_EQ(wininit(), "<missing>");

    makeFile("windows\\wininit.exe");
    EXPECT_TRUE(deleteFile(tooLong.c_str(), true));
    EXPECT_EQ(wininit(), "\r\n[rename]\r\nNUL=" + tooLong);
    EXPECT_FALSE(pendingChanged());
}

} // namespace
