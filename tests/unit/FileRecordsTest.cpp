#include "installer/FileRecords.h"
#include "installer/Installation.h"

#include "tests/unit/FileRecordBytes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string str(const String& s) {
    return std::string(s.c_str(), size_t(s.length()));
}

std::vector<uint8_t> record(const std::string& name, int32_t options, const std::string& data) {
    FileRecordFields f;
    f.name = name;
    f.kind = VersionedFile;
    f.options = options;
    f.data = data;
    f.detail = "1.2.3";
    f.icon = "notes.ico";
    f.arguments = "/x";
    f.target = "%SystemDir%\\";
    f.workingDirectory = "%InstallDir%";
    return f.bytes();
}

TEST(FileRecords, ReadsRecordAfterRecordWithTheIconOnlyForShortcuts) {
    std::vector<uint8_t> area = record("bin\\a.exe", DesktopShortcut, "AAAA");
    const std::vector<uint8_t> second = record("b.txt", Permanent, "");
    area.insert(area.end(), second.begin(), second.end());
    ArchiveCursor cursor;
    cursor.set(area.data(), int64_t(area.size()));

    FileEntry entry;
    ASSERT_EQ(readFileEntry(cursor, 4, entry), NotCorrupt);
    EXPECT_EQ(str(entry.name), "bin\\a.exe");
    EXPECT_EQ(entry.kind, VersionedFile);
    EXPECT_EQ(entry.attributes, -1);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(entry.data), size_t(entry.length)), "AAAA");
    EXPECT_EQ(entry.time.year, 2024);
    EXPECT_EQ(entry.time.second, 9);
    EXPECT_EQ(str(entry.detail), "1.2.3");
    EXPECT_EQ(str(entry.icon), "notes.ico");
    EXPECT_EQ(str(entry.arguments), "/x");
    EXPECT_EQ(str(entry.target), "%SystemDir%\\");
    EXPECT_EQ(str(entry.workingDirectory), "%InstallDir%");

    ASSERT_EQ(readFileEntry(cursor, 0, entry), NotCorrupt);
    EXPECT_EQ(str(entry.name), "b.txt");
    EXPECT_EQ(str(entry.icon), "");
    EXPECT_EQ(str(entry.arguments), "/x");
    EXPECT_TRUE(entry.permanent());
    EXPECT_EQ(cursor.remaining(), 0);
}

TEST(FileRecords, DamagedRecordsGiveTheirCodes) {
    const std::vector<uint8_t> good = record("a.exe", 0, "data");
    std::vector<uint8_t> badChecksum = good;
    badChecksum[6 + 12] ^= 1; // the first data byte
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        int32_t length;
        CorruptionCode code;
    } cases[] = {
        {"empty name", record("", 0, "data"), 4, EmptyFileName},
        {"negative length", good, -1, NegativeStoredLength},
        {"length above 1 GB", good, 0x40000001, StoredLengthTooLarge},
        {"data changed", badChecksum, 4, FileChecksumMismatch},
        {"length one too long", good, 5, FileChecksumMismatch},
        {"nothing at all", {}, 0, FileChecksumMismatch},
    };
    for (const Case& c : cases) {
        ArchiveCursor cursor;
        cursor.set(c.bytes.data(), int64_t(c.bytes.size()));
        FileEntry entry;
        EXPECT_EQ(readFileEntry(cursor, c.length, entry), c.code) << c.what;
    }
    // Cut anywhere, the record never reads past its bytes and is refused.
    for (size_t cut = 0; cut < good.size(); ++cut) {
        const std::vector<uint8_t> part(good.begin(), good.begin() + long(cut));
        ArchiveCursor cursor;
        cursor.set(part.data(), int64_t(part.size()));
        FileEntry entry;
        EXPECT_NE(readFileEntry(cursor, 4, entry), NotCorrupt) << "cut at " << cut;
    }
}

TEST(FileRecords, VersionsCompareNumberByNumberThenByLetter) {
    struct Case {
        const char* a;
        const char* b;
        int sign;
    } cases[] = {
        {"1.10", "1.9", 1},     {"2.0", "2", 1},
        {"2", "2.0", -1},       {"1.2b", "1.2a", 1},
        {"1.2", "1.2a", -1},    {"1.2.3.4", "1.2.3.4", 0},

        {".5", "0.5", 0},       {"1, 2, 0, 7", "1.2.0.7", 0},
        {"3.0", "10.0", -1},    {"", "", 0},
        {"", "1", -1},          {"99999999999", "1", 1},
        {"1.2 rc", "1.2 b", 1},
    };
    for (const Case& c : cases) {
        const int result = compareVersionStrings(c.a, c.b);
        EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.a << " vs " << c.b;
    }
}

TEST(FileRecords, TargetsFollowKindOptionsAndOverride) {
    PathVariableValues variables;
    variables.set(PathVariable::SystemDir, "C:\\WINDOWS\\SYSTEM32");
    variables.set(PathVariable::InstallDir, "C:\\Acme");
    TargetPlaces places;
    places.installDir = "C:\\Acme";
    places.uninstallDir = "C:\\Acme\\Uninstall";
    places.sharedDir = "C:\\Program Files\\Common Files\\Acme";
    places.fontDir = "C:\\WINDOWS\\Fonts";
    places.systemDir = "C:\\WINDOWS\\SYSTEM32";
    struct Case {
        const char* name;
        int32_t kind;
        int32_t options;
        const char* target;
        const char* path;
        bool inInstallTree;
        const char* nameAfter;
    } cases[] = {
        {"bin\\notes.exe", InstallDirFile, 0, "", "C:\\Acme\\bin\\notes.exe", true, nullptr},
        {"notes.exe", StartupFile, 0, "", "C:\\Acme\\notes.exe", true, nullptr},
        {"lib.dll", VersionedFile, 0, "", "C:\\Acme\\lib.dll", true, nullptr},
        {"s.dll", SharedFile, 0, "", "C:\\Program Files\\Common Files\\Acme\\s.dll", false,
         nullptr},
        {"f.ttf", FontFile, 0, "", "C:\\WINDOWS\\Fonts\\f.ttf", false, nullptr},
        {"c.dll", ComServerFile, 0, "", "C:\\WINDOWS\\SYSTEM32\\c.dll", false, nullptr},
        {"icon.ico", SystemFile, InUninstallDir, "", "C:\\Acme\\Uninstall\\icon.ico", false,
         nullptr},
        // An override without a backslash renames the file in its kind's place.
        {"old.exe", InstallDirFile, 0, "new.exe", "C:\\Acme\\new.exe", true, "new.exe"},
        {"t.tlb", TypeLibraryFile, 0, "x.tlb", "C:\\WINDOWS\\SYSTEM32\\x.tlb", false, "x.tlb"},
        {"sub\\v.dll", SystemFile, 0, "%SystemDir%\\", "C:\\WINDOWS\\SYSTEM32\\v.dll", true,
         nullptr},
        {"x.dll", SharedFile, 0, "sub\\x.dll", "C:\\Program Files\\Common Files\\Acme\\sub\\x.dll",
         true, nullptr},
        {"x.dll", VersionedFile, 0, "sub\\y.dll", "C:\\Acme\\sub\\y.dll", true, nullptr},
        {"x.dll", InstallDirFile, 0, "%installdir%\\lib\\", "C:\\Acme\\lib\\x.dll", true, nullptr},
        {"x.dll", InstallDirFile, InUninstallDir, "D:\\x.dll", "D:\\x.dll", true, nullptr},
    };
    for (const Case& c : cases) {
        FileEntry entry;
        entry.name = c.name;
        entry.kind = c.kind;
        entry.options = c.options;
        entry.target = c.target;
        const FileTarget target = fileTarget(entry, places, variables);
        EXPECT_EQ(target.code, NotCorrupt) << c.name;
        EXPECT_EQ(str(target.path), c.path) << c.name << " " << c.target;
        EXPECT_EQ(target.inInstallTree, c.inInstallTree) << c.name << " " << c.target;
        EXPECT_EQ(str(entry.name), c.nameAfter ? c.nameAfter : c.name);
    }
    // Unknown kinds matter only where the kind picks the directory.
    for (int32_t kind : {2, 3, -1, 10}) {
        FileEntry entry;
        entry.name = "a";
        entry.kind = kind;
        EXPECT_EQ(fileTarget(entry, places, variables).code, UnknownFileKind) << kind;
        entry.target = "b";
        EXPECT_EQ(fileTarget(entry, places, variables).code, UnknownFileKind) << kind;
        entry.target = "sub\\b";
        EXPECT_EQ(fileTarget(entry, places, variables).code, NotCorrupt) << kind;
    }
}

TEST(FileRecords, SharedFilesCarryTheirMarkers) {
    struct Case {
        int32_t kind;
        int32_t options;
        bool listed;
        const char* entry;
    } cases[] = {
        {SharedFile, 0, true, "C:\\f"},
        {SharedFile, Permanent, true, "C:\\f "},
        {SystemFile, 0, true, "C:\\f "},
        {ComServerFile, 0, true, "C:\\f^"},
        {ComServerFile, Permanent, true, "C:\\f "},
        {TypeLibraryFile, 0, true, "C:\\f\xA9"},
        {TypeLibraryFile, Permanent, true, "C:\\f "},
        {InstallDirFile, 0, false, ""},
        {FontFile, 0, false, ""},
        {VersionedFile, 0, false, ""},
    };
    for (const Case& c : cases) {
        FileEntry entry;
        entry.kind = c.kind;
        entry.options = c.options;
        String listed;
        EXPECT_EQ(sharedFileEntry(entry, "C:\\f", listed), c.listed) << c.kind;
        EXPECT_EQ(str(listed), c.entry) << c.kind << " " << c.options;
    }
}

TEST(FileRecords, DeletionConditionsByDateAndSize) {
    const TimeStamp noon{2024, 3, 15, 12, 0, 0};
    struct Case {
        int condition;
        const char* value;
        uint64_t size;
        bool holds;
    } cases[] = {
        {0, "", 0, true},
        {-1, "x", 0, true},
        {7, "x", 0, true},
        {1, "3/15/2024 12:00:00", 0, true},
        {1, "3/15/2024 12:00:01", 0, false},
        {1, "12:00:00", 0, false},
        {2, "3/15/2024 11:59:59", 0, true},
        {2, "3/16/2024 0:00", 0, false},
        {3, "3/15/2024, 12:00", 0, true},
        {3, "3/14/2024 23:59:59", 0, false},
        {4, "1024", 1024, true},
        {4, "1024", 1025, false},
        {5, "1,024", 1024, true},
        {5, "1,024", 1023, false},
        {6, "1,024", 1023, true},
        {6, "-1", 0, false},
        {5, "-1", 0, true},
        {6, "10", uint64_t(1) << 40, false},
    };
    for (const Case& c : cases) {
        CorruptionCode code = NotCorrupt;
        EXPECT_EQ(deletionConditionHolds(c.condition, c.value, noon, c.size, code), c.holds)
            << c.condition << " " << c.value << " " << c.size;
        EXPECT_EQ(code, NotCorrupt);
    }
    for (int condition : {1, 2, 3}) {
        for (const char* value : {"not a date", "3/15/2024", ""}) {
            CorruptionCode code = NotCorrupt;
            EXPECT_FALSE(deletionConditionHolds(condition, value, noon, 0, code));
            EXPECT_EQ(code, BadDeletionDate) << condition << " " << value;
        }
    }
}

TEST(FileRecords, SpecificationLinesBecomeAbsolutePatterns) {
    struct Case {
        const char* specification;
        std::vector<std::string> patterns;
    } cases[] = {
        {"*.tmp", {"C:\\Acme\\*.tmp"}},
        {"old\\a.txt;b.txt", {"C:\\Acme\\old\\a.txt", "C:\\Acme\\old\\b.txt"}},
        {"C:\\x;y", {"C:\\x", "C:\\y"}},
        {"D:\\data\\*.log;;D:\\other\\z.log /s", {"D:\\data\\*.log", "D:\\other\\z.log /s"}},
        {"  a.txt  \r\n\r\nlogs\\*.log\nb.txt",
         {"C:\\Acme\\a.txt", "C:\\Acme\\logs\\*.log", "C:\\Acme\\b.txt"}},
        {"\\root.txt", {"C:\\root.txt"}},
        {"", {}},
    };
    for (const Case& c : cases) {
        Array<String> patterns;
        fileSpecificationPatterns(c.specification, "C:\\Acme", patterns);
        std::vector<std::string> got;
        for (const String& p : patterns)
            got.push_back(str(p));
        EXPECT_EQ(got, c.patterns) << c.specification;
    }
}

TEST(FileRecords, UninstallListHasEachDirectoryOnceAndEveryFile) {
    Installation state;
    state.recordForUninstall("C:\\Acme", true);
    state.recordForUninstall("C:\\Acme\\a.txt", false);
    state.recordForUninstall("c:\\acme", true);
    state.recordForUninstall("C:\\Acme\\a.txt", false);
    state.recordForUninstall("C:\\", true);
    state.recordForUninstall("C:\\", false);
    state.recordForUninstall("", false);
    state.recordForUninstall("C:\\Acme\\bin", true);
    EXPECT_EQ(str(state.uninstallList),
              "~C:\\Acme\r\nC:\\Acme\\a.txt\r\nC:\\Acme\\a.txt\r\n~C:\\Acme\\bin\r\n");
}

// A reinstallation keeps what the earlier version recorded and this one does
// not carry, once each, whatever its case; a file now permanent stays.
TEST(FileRecords, AReinstallationKeepsWhatTheEarlierVersionRecorded) {
    Installation state;
    state.recordForUninstall("C:\\Acme", true);
    state.recordForUninstall("C:\\Acme\\both.txt", false);
    state.permanentFiles.insert("C:\\Acme\\data.db");
    state.previousFileList = "~C:\\Acme\r\nc:\\acme\\BOTH.txt\r\n\r\n~C:\\Acme\\Old\r\n"
                             "C:\\Acme\\Old\\gone.txt\nC:\\Acme\\data.db\r\n"
                             "!Acme.Document\r\nC:\\Acme\\Old\\gone.txt\r\n";
    state.keepPreviousFiles();
    EXPECT_EQ(str(state.uninstallList), "~C:\\Acme\r\nC:\\Acme\\both.txt\r\n~C:\\Acme\\Old\r\n"
                                        "C:\\Acme\\Old\\gone.txt\r\n!Acme.Document\r\n");
}

} // namespace
