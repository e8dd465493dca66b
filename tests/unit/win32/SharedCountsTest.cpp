#include "ShellScratch.h"

#include "installer/SharedFilesText.h"
#include "installer/win32/SharedCounts.h"

namespace {

const char kSharedDlls[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

class SharedCounts : public ShellScratch {
protected:
    void SetUp() override {
        ShellScratch::SetUp();
        installSettings().productFlags |= Uninstallable;
    }
    long count(const char* path) const { return numberOf(machine(), kSharedDlls, path); }
    void setCount(const char* path, DWORD value) const {
        setNumber(machine(), kSharedDlls, path, value);
    }
    static std::string sharedText() { return str(installation().sharedFilesText); }
};

TEST_F(SharedCounts, EachFileCountsOnceMoreAndIsListedWithItsMarker) {
    setCount("C:\\S\\a.dll", 2);
    installation().sharedFileList = {"C:\\S\\a.dll ", "C:\\S\\b.dll^", "C:\\S\\c.tlb\xA9",
                                     "C:\\S\\d.dll"};
    updateSharedFileCounts();
    EXPECT_EQ(count("C:\\S\\a.dll"), 3);
    EXPECT_EQ(count("C:\\S\\b.dll"), 1);
    EXPECT_EQ(count("C:\\S\\c.tlb"), 1);
    EXPECT_EQ(count("C:\\S\\d.dll"), 1);
    EXPECT_EQ(count("C:\\S\\b.dll^"), -1) << "the marker is no part of the name";
    EXPECT_EQ(sharedText(),
              "\"C:\\S\\a.dll \";\"C:\\S\\b.dll^\";\"C:\\S\\c.tlb\xA9\";\"C:\\S\\d.dll\"");
    EXPECT_EQ(problems(), "");
}

// The previous installation's counts are given back first, so reinstalling
// the same files changes nothing and dropped files lose their count.
TEST_F(SharedCounts, AReinstallationGivesBackWhatItCountedBefore) {
    setCount("C:\\S\\kept.dll", 1);
    setCount("C:\\S\\shared.dll", 3);
    setCount("C:\\S\\dropped.dll", 1);
    setCount("C:\\S\\others.dll", 2);
    installation().reinstall = true;
    installation().previousSharedFiles =
        "\"C:\\S\\kept.dll^\";\"C:\\S\\shared.dll \";\"C:\\S\\dropped.dll\";"
        "\"C:\\S\\others.dll\xA9\"";
    installation().sharedFileList = {"C:\\S\\kept.dll^", "C:\\S\\shared.dll "};
    updateSharedFileCounts();
    EXPECT_EQ(count("C:\\S\\kept.dll"), 1);
    EXPECT_EQ(count("C:\\S\\shared.dll"), 3);
    EXPECT_EQ(count("C:\\S\\dropped.dll"), -1);
    EXPECT_EQ(count("C:\\S\\others.dll"), 1);
    EXPECT_EQ(sharedText(), "\"C:\\S\\kept.dll^\";\"C:\\S\\shared.dll \"");
}

TEST_F(SharedCounts, OnlyAReinstallationGivesCountsBack) {
    setCount("C:\\S\\a.dll", 2);
    installation().previousSharedFiles = "\"C:\\S\\a.dll\"";
    installation().sharedFileList = {"C:\\S\\a.dll"};
    updateSharedFileCounts();
    EXPECT_EQ(count("C:\\S\\a.dll"), 3);
}

TEST_F(SharedCounts, AProductThatCannotBeUninstalledCountsNothing) {
    installSettings().productFlags &= ~uint64_t(Uninstallable);
    installation().sharedFileList = {"C:\\S\\a.dll"};
    updateSharedFileCounts();
    EXPECT_EQ(count("C:\\S\\a.dll"), -1);
    EXPECT_EQ(sharedText(), "");
}

// Nothing was counted, so the uninstaller must still find the previous list.
TEST_F(SharedCounts, AnInaccessibleKeyIsReportedAndKeepsThePreviousList) {
    makeInaccessible(HKEY_LOCAL_MACHINE);
    installation().reinstall = true;
    installation().previousSharedFiles = "\"C:\\S\\old.dll\"";
    installation().sharedFileList = {"C:\\S\\new.dll"};
    updateSharedFileCounts();
    EXPECT_EQ(problems(),
              "Registry error: unable to increment shared file reference counts.\r\n\r\n");
    EXPECT_EQ(sharedText(), "\"C:\\S\\old.dll\"");
}

// The uninstaller gives each count back; the file goes with its last count.
TEST_F(SharedCounts, ReleasingRemovesTheFilesNoProductCountsAnyMore) {
    struct File {
        const char* name;
        const char* marker;
        long long count; // before; -1: no value
        long long after; // -1: no value
        bool stays;
    } files[] = {
        {"used.dll", "", 3, 2, true},
        {"last.dll", "", 1, -1, false},
        {"uncounted.dll", "", -1, -1, false},
        {"counted.dll", " ", 1, -1, true},
        // A DWORD above 0x7FFFFFFF counts many products, not none.
        {"many.dll", "", 0x80000001LL, 0x80000000LL, true},
    };
    makeDir("shared");
    String text;
    for (const File& f : files) {
        const std::string file = path(std::string("shared\\") + f.name);
        makeFile(std::string("shared\\") + f.name, "x");
        if (f.count >= 0)
            setCount(file.c_str(), DWORD(f.count));
        appendSharedFileEntry(text, String((file + f.marker).c_str()));
    }
    EXPECT_TRUE(releaseSharedFiles(text));
    for (const File& f : files) {
        const std::string file = path(std::string("shared\\") + f.name);
        const long got = count(file.c_str());
        EXPECT_EQ(got == -1 ? -1LL : static_cast<long long>(static_cast<DWORD>(got)), f.after)
            << f.name;
        EXPECT_EQ(exists(std::string("shared\\") + f.name), f.stays) << f.name;
    }
}

TEST_F(SharedCounts, ReleasingStopsAtAnEmptyEntryAndTouchesNoRelativePath) {
    makeFile("victim.dll", "x");
    char saved[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, saved);
    SetCurrentDirectoryA(root().c_str());
    makeFile("after.dll", "x");
    const std::string after = path("after.dll");
    setCount(after.c_str(), 1);
    EXPECT_TRUE(releaseSharedFiles(String("\"victim.dll\";\"\";\"") + after.c_str() + "\""));
    EXPECT_TRUE(exists("victim.dll"));
    EXPECT_EQ(count(after.c_str()), 1);
    EXPECT_TRUE(exists("after.dll"));
    SetCurrentDirectoryA(saved);
}

TEST_F(SharedCounts, ReleasingWithAnInaccessibleKeyChangesNothing) {
    makeFile("a.dll", "x");
    makeInaccessible(HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(releaseSharedFiles(String("\"") + at("a.dll") + "\""));
    EXPECT_TRUE(exists("a.dll"));
}

} // namespace
