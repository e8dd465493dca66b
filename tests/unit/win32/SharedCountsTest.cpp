#include "ShellScratch.h"

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

} // namespace
