#include "FileScratch.h"

#include "platform/File.h"
#include "platform/FileFinder.h"
#include "platform/FileList.h"

#include <vector>

namespace {

// tree\b.txt (3 bytes), tree\A.log (10), tree\c.txt (1), tree\sub\d.txt (4),
// tree\sub\deeper\e.txt (5), tree\Zed\ (empty).
class FileList : public FileScratch {
protected:
    void SetUp() override {
        FileScratch::SetUp();
        makeDir("tree");
        makeDir("tree\\sub");
        makeDir("tree\\sub\\deeper");
        makeDir("tree\\Zed");
        makeFile("tree\\b.txt", "bbb");
        makeFile("tree\\A.log", "aaaaaaaaaa");
        makeFile("tree\\c.txt", "c");
        makeFile("tree\\sub\\d.txt", "dddd");
        makeFile("tree\\sub\\deeper\\e.txt", "eeeee");
    }

    // The entries with the scratch directory's path cut to "~".
    std::vector<std::string> list(const std::string& pattern, uint32_t flags,
                                  uint64_t* total = nullptr) {
        Array<String> found;
        uint64_t bytes = listFiles(at(pattern), flags | kListNoPump, found);
        if (total)
            *total = bytes;
        std::vector<std::string> names;
        for (const String& entry : found) {
            std::string name = str(entry);
            if (name.compare(0, root().size(), root()) == 0)
                name.replace(0, root().size(), "~");
            names.push_back(name);
        }
        return names;
    }

    void stamp(const std::string& relative, int day) {
        File file;
        ASSERT_EQ(file.open(path(relative).c_str(), OpenExisting), FileOpened);
        TimeStamp time;
        time.year = 2001;
        time.month = 3;
        time.day = day;
        time.hour = 12;
        ASSERT_TRUE(file.setLastWriteTime(time));
    }

    using Names = std::vector<std::string>;
};

TEST_F(FileList, SortingAndReduction) {
    stamp("tree\\b.txt", 5);
    stamp("tree\\A.log", 9);
    stamp("tree\\c.txt", 1);
    struct Case {
        uint32_t flags;
        Names names;
    } cases[] = {
        {kListSortByName, {"~\\tree\\A.log", "~\\tree\\b.txt", "~\\tree\\c.txt"}},
        {kListSortByName | kListDescending, {"~\\tree\\c.txt", "~\\tree\\b.txt", "~\\tree\\A.log"}},
        {kListSortByTime, {"~\\tree\\c.txt", "~\\tree\\b.txt", "~\\tree\\A.log"}},
        {kListSortByTime | kListDescending, {"~\\tree\\A.log", "~\\tree\\b.txt", "~\\tree\\c.txt"}},
        {kListSortByName | kListNamesOnly, {"A.log", "b.txt", "c.txt"}},
        {kListSortByTime | kListNamesOnly | kListNoExtensions, {"c", "b", "A"}},
        {kListSortByName | kListNoExtensions, {"~\\tree\\A", "~\\tree\\b", "~\\tree\\c"}},
        {kListSortByName | kListDirectories | kListNamesOnly,
         {"A.log", "b.txt", "c.txt", "sub", "Zed"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(list("tree\\*.*", c.flags), c.names) << c.flags;
}

// Sorting after the reduction orders by what is left: "x-1.txt" sorts
// before "x.txt", but "x" before "x-1".
TEST_F(FileList, SortingAfterReduction) {
    makeDir("dashes");
    makeFile("dashes\\x.txt");
    makeFile("dashes\\x-1.txt");
    EXPECT_EQ(list("dashes\\*", kListSortByName | kListNoExtensions | kListNamesOnly),
              (Names{"x-1", "x"}));
    EXPECT_EQ(list("dashes\\*", kListSortByShortName | kListNoExtensions | kListNamesOnly),
              (Names{"x", "x-1"}));
    EXPECT_EQ(list("dashes\\*", kListSortByShortName | kListNoExtensions | kListDescending),
              (Names{"~\\dashes\\x-1", "~\\dashes\\x"}));
}

TEST_F(FileList, RecursionFollowsEachDirectory) {
    uint64_t total = 0;
    Names byFlag = list("tree\\*.txt", kListRecursive | kListSortByName, &total);
    EXPECT_EQ(byFlag, (Names{"~\\tree\\b.txt", "~\\tree\\c.txt", "~\\tree\\sub\\d.txt",
                             "~\\tree\\sub\\deeper\\e.txt"}));
    EXPECT_EQ(total, 3u + 1u + 4u + 5u);
    EXPECT_EQ(list("tree\\*.txt /S", kListSortByName), byFlag);
    EXPECT_EQ(list("tree\\*.txt /s", kListSortByName | kListNamesOnly),
              (Names{"b.txt", "c.txt", "d.txt", "e.txt"}));
    EXPECT_EQ(list("tree\\*.txt", kListSortByName, &total),
              (Names{"~\\tree\\b.txt", "~\\tree\\c.txt"}));
    EXPECT_EQ(total, 4u);
}

TEST_F(FileList, DirectoriesOnRequestWithoutDotEntries) {
    EXPECT_EQ(list("tree\\sub\\*", kListDirectories | kListSortByName),
              (Names{"~\\tree\\sub\\d.txt", "~\\tree\\sub\\deeper"}));
    EXPECT_EQ(list("tree\\sub\\*", 0), (Names{"~\\tree\\sub\\d.txt"}));
    EXPECT_EQ(list("tree\\Zed\\*", kListDirectories), Names{});
    EXPECT_EQ(list("tree\\nothing\\*", kListDirectories), Names{});
}

TEST_F(FileList, KeepAddsToTheList) {
    Array<String> found{String("first")};
    listFiles(at("tree\\c.txt"), kListKeep | kListNoPump | kListNamesOnly, found);
    ASSERT_EQ(found.count(), 2);
    EXPECT_EQ(str(found[0]), "first");
    EXPECT_EQ(str(found[1]), "c.txt");
    listFiles(at("tree\\c.txt"), kListNoPump | kListNamesOnly, found);
    EXPECT_EQ(found.count(), 1);
}

int gPumped = 0;
bool countPump() {
    ++gPumped;
    return false;
}

TEST_F(FileList, PumpsOncePerDirectoryUnlessToldNot) {
    setFileListPump(countPump);
    Array<String> found;
    gPumped = 0;
    listFiles(at("tree\\*.txt /s"), 0, found);
    EXPECT_EQ(gPumped, 4); // tree, sub, deeper, Zed
    gPumped = 0;
    listFiles(at("tree\\*.txt /s"), kListNoPump, found);
    EXPECT_EQ(gPumped, 0);
    setFileListPump(nullptr);
}

TEST_F(FileList, FinderReportsEntries) {
    FileFinder finder;
    FileInfo info;
    ASSERT_TRUE(finder.findFirst(at("tree\\A.log"), info));
    EXPECT_EQ(str(info.name), "A.log");
    EXPECT_EQ(info.size, 10u);
    EXPECT_FALSE(info.isDirectory());
    EXPECT_EQ(str(finder.directory()), path("tree"));
    EXPECT_FALSE(finder.findNext(info));

    ASSERT_TRUE(finder.findFirst(at("tree\\s*"), info));
    EXPECT_EQ(str(info.name), "sub");
    EXPECT_TRUE(info.isDirectory());
    EXPECT_FALSE(finder.findFirst(at("tree\\none*"), info));

    int dots = 0;
    for (bool found = finder.findFirst(at("tree\\sub\\*"), info); found;
         found = finder.findNext(info))
        dots += info.isDotEntry();
    EXPECT_EQ(dots, 2);
}

} // namespace
