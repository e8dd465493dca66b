#include "installer/InstallSequence.h"

#include "format/ArchiveHeader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(InstallSequence, BatchCommandsGetALineBreakBeforeTheExtraOnes) {
    struct Case {
        const char* setting;
        const char* extra;
        const char* commands;
    } cases[] = {
        {"", "", "\r\n"},
        {"echo a", "", "echo a\r\n"},
        {"echo a\n", "echo b", "echo a\necho b"},
        {"echo a\r", "echo b\r\n", "echo a\recho b\r\n"},
        {"", "echo b", "\r\necho b"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(batchCommands(c.setting, c.extra).c_str(), c.commands) << c.setting;
}

TEST(InstallSequence, ReinstallQuestionFollowsTheVersions) {
    struct Case {
        bool compare;
        const char* installed;
        const char* offered;
        int id;
    } cases[] = {
        {false, "1.0", "2.0", 3}, {true, "", "2.0", 3},     {true, "1.0", " ", 3},
        {true, "2.0", "2.0", 4},  {true, "1.9", "1.10", 5}, {true, "2.1", "2.0", 6},
    };
    for (const Case& c : cases)
        EXPECT_EQ(reinstallMessageId(c.compare, c.installed, c.offered), c.id)
            << c.installed << " " << c.offered;
}

TEST(InstallSequence, NeededSpaceCountsWholeClusters) {
    std::vector<uint8_t> sizes;
    for (int32_t size : {0, 1, 4096, 4097}) {
        for (int i = 0; i < 4; ++i)
            sizes.push_back(uint8_t(uint32_t(size) >> (8 * i)));
    }
    ArchiveHeader header;
    header.fileCount = 4;
    header.fileSizes = sizes.data();
    EXPECT_EQ(neededSpace(header, 4096), 0 + 4096 + 4096 + 8192);
    EXPECT_EQ(neededSpace(header, 1), 0 + 1 + 4096 + 4097);
    EXPECT_EQ(neededSpace(header, 0), 8194);
}

TEST(InstallSequence, OnlyDirectoriesBelowADriveRootAreRemovable) {
    EXPECT_STREQ(removableDirectory("C:\\Acme\\").c_str(), "C:\\Acme");
    EXPECT_STREQ(removableDirectory("C:\\Acme").c_str(), "C:\\Acme");
    EXPECT_STREQ(removableDirectory("C:\\").c_str(), "");
    EXPECT_STREQ(removableDirectory("C:\\a\\").c_str(), "C:\\a");
    EXPECT_STREQ(removableDirectory("\\\\").c_str(), "");
    EXPECT_STREQ(removableDirectory("").c_str(), "");
}

} // namespace
