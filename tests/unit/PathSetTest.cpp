#include "installer/PathSet.h"

#include <gtest/gtest.h>

namespace {

TEST(PathSet, HoldsEachPathOnceWhateverItsCase) {
    PathSet set;
    const struct {
        const char* path;
        bool added;
    } steps[] = {
        {"C:\\Acme", true},
        {"c:\\acme", false},
        {"C:\\ACME", false},
        {"C:\\Acme\\bin", true},
        {"C:\\Acme\\bin\\", true},
        {"C:\\Acme\\BIN", false},
        {"D:\\Acme", true},
        // Only ASCII letters fold: the ANSI code page's others are compared as they are.
        {"C:\\Acm\xC9", true},
        {"C:\\acm\xE9", true},
    };
    for (const auto& step : steps)
        EXPECT_EQ(set.insert(step.path), step.added) << step.path;
    EXPECT_EQ(set.count(), 6);
    EXPECT_TRUE(set.contains("c:\\acme\\bin\\"));
    EXPECT_FALSE(set.contains("C:\\Acm"));
    EXPECT_FALSE(set.contains(""));
}

// Thousands of folders push the table through many rehashes: every folder
// must still be found, and none found twice, in any case.
TEST(PathSet, KeepsEveryPathAcrossGrowth) {
    PathSet set;
    for (int i = 0; i < 5000; ++i)
        ASSERT_TRUE(set.insert(String::formatted("C:\\Product\\Dir%d", i))) << i;
    for (int i = 0; i < 5000; ++i) {
        ASSERT_TRUE(set.contains(String::formatted("c:\\PRODUCT\\dir%d", i))) << i;
        ASSERT_FALSE(set.insert(String::formatted("C:\\product\\DIR%d", i))) << i;
    }
    EXPECT_FALSE(set.contains("C:\\Product\\Dir5000"));
    EXPECT_EQ(set.count(), 5000);
}

TEST(PathSet, ClearForgetsEverything) {
    PathSet set;
    set.insert("C:\\Acme");
    set.clear();
    EXPECT_EQ(set.count(), 0);
    EXPECT_FALSE(set.contains("C:\\Acme"));
    EXPECT_TRUE(set.insert("c:\\acme"));
}

} // namespace
