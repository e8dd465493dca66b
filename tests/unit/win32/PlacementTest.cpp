#include "FileScratch.h"
#include "PendingRenames.h"
#include "tests/unit/FileRecordBytes.h"

#include "installer/Archive.h"
#include "installer/ArchiveCursor.h"
#include "installer/InstallSettings.h"
#include "installer/Installation.h"
#include "installer/win32/Placement.h"
#include "platform/FileHelpers.h"

#include <vector>

namespace {

class Placement : public FileScratch {
protected:
    void SetUp() override {
        FileScratch::SetUp();
        savedInstallation_ = installation();
        savedSettings_ = installSettings();
        savedHeader_ = archiveState().header;
        InstallSettings& s = installSettings();
        s = InstallSettings();
        s.languages = {"English"};
        s.messageTable.resize(72, 1);
        s.messageTable.set(13, 0, "Damaged installer, error %d");
        s.messageTable.set(25, 0, "Cannot create the folder");
        s.messageTable.set(31, 0, "Cannot write");
        s.messageTable.set(38, 0, "Shortcut to %s");
        s.sharedPath = at("shared");
        installation() = Installation();
        installation().installDir = at("app");
        installation().uninstallDir = at("app\\Uninstall");
        makeDir("app");
    }
    void TearDown() override {
        installation() = savedInstallation_;
        installSettings() = savedSettings_;
        archiveState().header = savedHeader_;
        FileScratch::TearDown();
    }

    // Lays the records out as a data area and runs the file loop over it.
    void place(const std::vector<FileRecordFields>& records) {
        area_.clear();
        sizes_.clear();
        for (const FileRecordFields& r : records) {
            const std::vector<uint8_t> bytes = r.bytes();
            area_.insert(area_.end(), bytes.begin(), bytes.end());
            for (int i = 0; i < 4; ++i)
                sizes_.push_back(uint8_t(uint32_t(r.data.size()) >> (8 * i)));
        }
        ArchiveHeader& header = archiveState().header;
        header.fileCount = int32_t(records.size());
        header.fileSizes = sizes_.data();
        archiveCursor().set(area_.data(), int64_t(area_.size()));
        placeFiles();
        EXPECT_EQ(archiveCursor().remaining(), 0);
    }

    static FileRecordFields file(const std::string& name, const std::string& data,
                                 int32_t kind = InstallDirFile, int32_t options = 0) {
        FileRecordFields f;
        f.name = name;
        f.data = data;
        f.kind = kind;
        f.options = options;
        return f;
    }

    std::string log() const { return str(installation().installLog); }
    std::string problems() const { return str(installation().problemReport); }
    std::string uninstallList() const { return str(installation().uninstallList); }

    TimeStamp writeTime(const std::string& relative) const {
        TimeStamp t;
        EXPECT_TRUE(lastWriteTime(at(relative), t)) << relative;
        return t;
    }
    void setWriteTime(const std::string& relative, int year) const {
        HANDLE h = CreateFileA(path(relative).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                               nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        SYSTEMTIME st = {};
        st.wYear = WORD(year);
        st.wMonth = 6;
        st.wDay = 1;
        FILETIME ft;
        SystemTimeToFileTime(&st, &ft);
        SetFileTime(h, nullptr, nullptr, &ft);
        CloseHandle(h);
    }

private:
    Installation savedInstallation_;
    InstallSettings savedSettings_;
    ArchiveHeader savedHeader_;
    std::vector<uint8_t> area_;
    std::vector<uint8_t> sizes_;
};

TEST_F(Placement, FilesLandWithTheirFoldersTimesAttributesAndLists) {
    installSettings().productFlags |= DetailedLog;
    FileRecordFields readme = file("readme.txt", "hello");
    readme.attributes = FILE_ATTRIBUTE_READONLY;
    readme.time[0] = 2020;
    FileRecordFields notes =
        file("bin\\notes.exe", "MZ", InstallDirFile, DesktopShortcut | StartMenuShortcut);
    notes.icon = "notes.ico";
    notes.arguments = "/fresh";
    FileRecordFields startup = file("bin\\tray.exe", "MZ", StartupFile);
    startup.detail = "Acme Tray";
    place({readme, notes, file("bin\\lib.dll", "lib", VersionedFile), startup,
           file("keep\\perm.txt", "p", InstallDirFile, Permanent)});

    EXPECT_EQ(contentOf("app\\readme.txt"), "hello");
    EXPECT_EQ(contentOf("app\\bin\\notes.exe"), "MZ");
    EXPECT_EQ(contentOf("app\\keep\\perm.txt"), "p");
    const TimeStamp t = writeTime("app\\readme.txt");
    EXPECT_EQ(t.compare(TimeStamp{2020, 5, 6, 7, 8, 9}), 0)
        << t.year << "-" << t.month << "-" << t.day << " " << t.hour << ":" << t.minute;
    EXPECT_NE(GetFileAttributesA(path("app\\readme.txt").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);

    const std::string app = root() + "\\app";
    EXPECT_EQ(uninstallList(), app + "\\readme.txt\r\n~" + app + "\\bin\r\n" + app +
                                   "\\bin\\notes.exe\r\n" + app + "\\bin\\lib.dll\r\n" + app +
                                   "\\bin\\tray.exe\r\n");
    const Array<ShortcutRecord>& shortcuts = installation().shortcutList;
    ASSERT_EQ(shortcuts.count(), 2);
    EXPECT_TRUE(shortcuts[0].desktop && shortcuts[0].startMenu && !shortcuts[0].startup);
    EXPECT_EQ(str(shortcuts[0].caption), "Shortcut to notes.exe");
    EXPECT_EQ(str(shortcuts[0].target), app + "\\bin\\notes.exe");
    EXPECT_EQ(str(shortcuts[0].icon), app + "\\Uninstall\\notes.ico");
    EXPECT_EQ(str(shortcuts[0].arguments), "/fresh");
    EXPECT_TRUE(shortcuts[1].startup && !shortcuts[1].desktop);
    EXPECT_EQ(str(shortcuts[1].caption), "Acme Tray");
    EXPECT_EQ(str(shortcuts[1].icon), "");
    EXPECT_NE(log().find("readme.txt -> " + app + "\\readme.txt\r\n"), std::string::npos) << log();
    EXPECT_EQ(problems(), "");
}

// Files written with and without the check after writing get the record's
// time; files that go back and forth between folders make every folder and
// list each once.
TEST_F(Placement, EveryWayOfWritingStampsTheTimeAndMakesEachFolder) {
    for (const bool verify : {false, true}) {
        SCOPED_TRACE(verify ? "verified" : "unverified");
        installation().uninstallList.clear();
        installation().recordedDirectories.clear();
        if (verify)
            installSettings().productFlags |= VerifyWrites;
        const std::string sub = verify ? "v" : "u";
        std::vector<FileRecordFields> records;
        for (const char* folder : {"a", "a", "b", "a", "c\\d", "b"}) {
            FileRecordFields f = file(sub + "\\" + folder + "\\f" + std::to_string(records.size()),
                                      "data" + std::to_string(records.size()));
            f.time[0] = 2019;
            records.push_back(f);
        }
        place(records);
        std::string listed;
        std::vector<std::string> folders;
        for (size_t i = 0; i < records.size(); ++i) {
            const std::string relative = "app\\" + records[i].name;
            EXPECT_EQ(contentOf(relative), records[i].data);
            EXPECT_EQ(writeTime(relative).compare(TimeStamp{2019, 5, 6, 7, 8, 9}), 0) << relative;
            const std::string folder = root() + "\\" + relative.substr(0, relative.rfind('\\'));
            bool known = false;
            for (const std::string& seen : folders)
                known = known || seen == folder;
            if (!known) {
                folders.push_back(folder);
                listed += "~" + folder + "\r\n";
            }
            listed += root() + "\\" + relative + "\r\n";
        }
        EXPECT_EQ(uninstallList(), listed);
        EXPECT_EQ(problems(), "");
    }
}

TEST_F(Placement, ExistenceRulesDecideWhatIsWrittenAndListed) {
    makeFile("app\\present8.txt", "old");
    makeFile("app\\present12.txt", "old");
    makeFile("app\\never.txt", "old");
    place({file("never.txt", "new", InstallDirFile, NeverInstall),
           file("present8.txt", "new", InstallDirFile, InstallWhenPresent),
           file("absent8.txt", "new", InstallDirFile, InstallWhenPresent),
           file("present12.txt", "new", InstallDirFile, InstallWhenAbsent),
           file("absent12.txt", "new", InstallDirFile, InstallWhenAbsent)});
    EXPECT_EQ(contentOf("app\\never.txt"), "old");
    EXPECT_EQ(contentOf("app\\present8.txt"), "new");
    EXPECT_EQ(contentOf("app\\absent8.txt"), "<missing>");
    EXPECT_EQ(contentOf("app\\present12.txt"), "old");
    EXPECT_EQ(contentOf("app\\absent12.txt"), "new");
    const std::string app = root() + "\\app";
    // A file kept by rule 12 still belongs to the product.
    EXPECT_EQ(uninstallList(), app + "\\present8.txt\r\n" + app + "\\present12.txt\r\n" + app +
                                   "\\absent12.txt\r\n");
}

TEST_F(Placement, VersionedFilesNeedANewerVersionAndANewerDate) {
    const std::string library = std::string(besideTests("VersionFixture.dll").c_str());
    for (const char* name : {"older.dll", "sameday.dll", "newer.dll", "noversion.dll"}) {
        ASSERT_TRUE(CopyFileA(library.c_str(), path(std::string("app\\") + name).c_str(), FALSE));
        setWriteTime(std::string("app\\") + name, 2022);
    }
    FileRecordFields older = file("older.dll", "X", VersionedFile);
    older.detail = "5.1.2599";
    FileRecordFields sameDay = file("sameday.dll", "X", VersionedFile);
    sameDay.detail = "6.0";
    sameDay.time[0] = 2021; // newer version, older date
    FileRecordFields newer = file("newer.dll", "X", VersionedFile);
    newer.detail = "5.1.2600.1";
    newer.time[0] = 2023;
    FileRecordFields noVersion = file("noversion.dll", "X", VersionedFile);
    noVersion.time[0] = 2023;
    place({older, sameDay, newer, noVersion});

    const std::string app = root() + "\\app";
    EXPECT_NE(contentOf("app\\older.dll"), "X");
    EXPECT_NE(contentOf("app\\sameday.dll"), "X");
    EXPECT_EQ(contentOf("app\\newer.dll"), "X");
    EXPECT_EQ(contentOf("app\\noversion.dll"), "X");
    EXPECT_NE(log().find(app + "\\older.dll was not installed because its version is not newer."),
              std::string::npos)
        << log();
    EXPECT_NE(log().find(app + "\\sameday.dll was not installed because its date is not newer."),
              std::string::npos)
        << log();
    EXPECT_NE(log().find(app + "\\newer.dll is out of date and will be replaced."),
              std::string::npos);
    // Kept files of kind 9 still belong to the product.
    EXPECT_EQ(uninstallList(), app + "\\older.dll\r\n" + app + "\\sameday.dll\r\n" + app +
                                   "\\newer.dll\r\n" + app + "\\noversion.dll\r\n");
}

TEST_F(Placement, SharedFilesGoByDateAndAreCountedEvenWhenKept) {
    installSettings().productFlags |= Uninstallable;
    makeDir("shared");
    makeFile("shared\\current.dll", "old");
    setWriteTime("shared\\current.dll", 2030);
    makeFile("shared\\undated.dll", "old");
    setWriteTime("shared\\undated.dll", 2030);
    FileRecordFields undated = file("undated.dll", "new", SharedFile, Permanent);
    undated.time[3] = -1; // no time of day: always replaced
    FileRecordFields com = file("current.dll", "new", SharedFile);
    place({file("current.dll", "new", SharedFile), undated, file("sub\\x.dll", "x", SharedFile, 0),
           com});
    EXPECT_EQ(contentOf("shared\\current.dll"), "old");
    EXPECT_EQ(contentOf("shared\\undated.dll"), "new");
    const std::string shared = root() + "\\shared";
    EXPECT_NE(log().find(shared + "\\current.dll is up to date.\r\n"), std::string::npos) << log();
    const Array<String>& counted = installation().sharedFileList;
    ASSERT_EQ(counted.count(), 4);
    EXPECT_EQ(str(counted[0]), shared + "\\current.dll");
    EXPECT_EQ(str(counted[1]), shared + "\\undated.dll ");
    EXPECT_EQ(uninstallList(), "");
}

TEST_F(Placement, OverridesRenameOrRelocate) {
    FileRecordFields renamed = file("old.exe", "r");
    renamed.target = "new.exe";
    FileRecordFields moved = file("lib\\y.dll", "m", VersionedFile);
    moved.target = "%InstallDir%\\plugins\\";
    FileRecordFields uninstallDir = file("icon.ico", "i", SystemFile, InUninstallDir);
    place({renamed, moved, uninstallDir});
    EXPECT_EQ(contentOf("app\\new.exe"), "r");
    EXPECT_EQ(contentOf("app\\old.exe"), "<missing>");
    EXPECT_EQ(contentOf("app\\plugins\\y.dll"), "m");
    // The uninstall directory is not made here: the later step makes it.
    EXPECT_EQ(contentOf("app\\Uninstall\\icon.ico"), "<missing>");
    EXPECT_NE(problems().find("Cannot write " + root() + "\\app\\Uninstall\\icon.ico"),
              std::string::npos)
        << problems();
}

TEST_F(Placement, FoldersAndFilesThatCannotBeMadeAreReportedAndSkipped) {
    makeFile("app\\blocked", "a file where a folder should be");
    makeFile("app\\busy.txt", "old");
    HANDLE busy = CreateFileA(path("app\\busy.txt").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(busy, INVALID_HANDLE_VALUE);
    place({file("blocked\\x.txt", "x"), file("busy.txt", "new"), file("fine.txt", "f")});
    CloseHandle(busy);
    const std::string app = root() + "\\app";
    const std::string report = problems();
    EXPECT_NE(report.find("Cannot create the folder " + app + "\\blocked\r\n"), std::string::npos)
        << report;
    EXPECT_NE(report.find("\r\nNot installed: " + app + "\\blocked\\x.txt\r\n\r\n"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("\r\nCannot write " + app + "\\busy.txt\r\n"), std::string::npos)
        << report;
    EXPECT_EQ(contentOf("app\\busy.txt"), "old");
    EXPECT_EQ(contentOf("app\\fine.txt"), "f");
    // Never written, so never listed: the file is still the user's.
    EXPECT_EQ(uninstallList().find(app + "\\busy.txt\r\n"), std::string::npos);
    EXPECT_FALSE(installSettings().has(RestartRequired));
}

// A file in use that was there before is replaced at the next restart from a
// temporary copy, so the new data are never lost.
TEST_F(Placement, AFileInUseIsReplacedAtTheNextRestart) {
    PendingRenamesTurn turn;
    ASSERT_TRUE(turn.take());
    makeFile("app\\busy.dll", "old");
    HANDLE busy = CreateFileA(path("app\\busy.dll").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(busy, INVALID_HANDLE_VALUE);
    const bool written = writeInstalledFile(
        at("app\\busy.dll"), reinterpret_cast<const uint8_t*>("new"), 3, TimeStamp(), -1, true);
    CloseHandle(busy);
    const std::string added = turn.added();
    turn.giveBack();
    EXPECT_FALSE(written);
    EXPECT_EQ(contentOf("app\\busy.dll"), "old");
    EXPECT_TRUE(installSettings().has(RestartRequired));
    EXPECT_NE(log().find("\"" + root() +
                         "\\app\\busy.dll\" has been successfully registered for "
                         "replacement.\r\nTemporary file is \""),
              std::string::npos)
        << log();
    EXPECT_NE(added.find(lowerCase(root() + "\\app\\busy.dll")), std::string::npos) << added;
    EXPECT_EQ(problems(), "");
    // The temporary copy holds the new data until the restart.
    const size_t from = log().find("Temporary file is \"") + 19;
    const std::string temporary = log().substr(from, log().find('"', from) - from);
    HANDLE copy = CreateFileA(temporary.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(copy, INVALID_HANDLE_VALUE) << temporary;
    char data[8] = {};
    DWORD got = 0;
    ReadFile(copy, data, sizeof data, &got, nullptr);
    CloseHandle(copy);
    DeleteFileA(temporary.c_str());
    EXPECT_EQ(std::string(data, got), "new");
}

TEST_F(Placement, AttributesFromTheRecordTouchOnlyTheirBits) {
    makeFile("app\\a.txt", "old");
    SetFileAttributesA(path("app\\a.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    TimeStamp none;
    EXPECT_TRUE(writeInstalledFile(at("app\\a.txt"), reinterpret_cast<const uint8_t*>("abc"), 3,
                                   none, FILE_ATTRIBUTE_NORMAL, true));
    EXPECT_EQ(GetFileAttributesA(path("app\\a.txt").c_str()) &
                  (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY),
              0u);
    EXPECT_EQ(contentOf("app\\a.txt"), "abc");
}

TEST_F(Placement, DeletionListDeletesWhatMatchesItsCondition) {
    makeFile("app\\small.log", std::string(1023, 's'));
    makeFile("app\\big.log", std::string(1024, 'b'));
    makeFile("app\\keep.txt", "k");
    makeDir("app\\old");
    makeFile("app\\old\\a.tmp", "a");
    makeFile("app\\old\\b.tmp", "b");
    Array<FileDeletion> deletions;
    FileDeletion bigLogs;
    bigLogs.pattern = "*.log";
    bigLogs.condition = 5;
    bigLogs.conditionValue = "1,024";
    deletions.append(bigLogs);
    FileDeletion temps;
    temps.pattern = "%InstallDir%\\old\\a.tmp;b.tmp\r\nnothing-*.txt";
    deletions.append(temps);
    deleteFilesBeforeInstall(deletions);
    EXPECT_TRUE(exists("app\\small.log"));
    EXPECT_FALSE(exists("app\\big.log"));
    EXPECT_FALSE(exists("app\\old\\a.tmp"));
    EXPECT_FALSE(exists("app\\old\\b.tmp"));
    EXPECT_TRUE(exists("app\\keep.txt"));
    EXPECT_NE(log().find("Deleted file: " + root() + "\\app\\big.log\r\n"), std::string::npos)
        << log();
    EXPECT_EQ(problems(), "");
}

TEST_F(Placement, DamagedRecordsEndInTheCorruptionBox) {
    EXPECT_DEATH(place({file("a.txt", "x", 2)}), "Damaged installer, error 110");
    FileRecordFields empty = file("", "x");
    EXPECT_DEATH(place({empty}), "Damaged installer, error 70");
    FileDeletion dated;
    dated.pattern = "*.txt";
    dated.condition = 1;
    dated.conditionValue = "not a date";
    Array<FileDeletion> deletions;
    deletions.append(dated);
    makeFile("app\\x.txt", "x");
    EXPECT_DEATH(deleteFilesBeforeInstall(deletions), "Damaged installer, error 65");
}

} // namespace
