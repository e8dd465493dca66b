// The fixture's readers of the robot's lines and of reg.exe's output.
#include "Wine.h"

#include <gtest/gtest.h>

namespace e2e {
namespace {

TEST(FixtureTest, ReadsTheRobotLinesAndKeepsAnythingElseApart) {
    RunResult result;
    parseRobotOutput("{\"window\":1,\"caption\":\"C\",\"text\":\"a\\r\\nb\",\"buttons\":"
                     "[{\"id\":6,\"label\":\"Yes\",\"default\":true},{\"id\":7,\"label\":\"No\"}],"
                     "\"pressed\":\"No\"}\n"
                     "wine: something\n"
                     "{\"exit\":3221225477}\n",
                     result);
    ASSERT_EQ(result.windows.size(), 1u);
    EXPECT_EQ(result.windows[0].text, "a\r\nb");
    ASSERT_EQ(result.windows[0].buttons.size(), 2u);
    EXPECT_EQ(result.windows[0].buttons[1].id, 7);
    EXPECT_EQ(result.windows[0].pressed, "No");
    EXPECT_EQ(result.exitCode, 3221225477LL);
    EXPECT_EQ(result.strayText, "wine: something\n");
    EXPECT_EQ(result.error, "");
}

TEST(FixtureTest, FindsARegistryValueByItsWholeName) {
    const std::string output = "\r\nHKEY_LOCAL_MACHINE\\Software\\Acme\r\n"
                               "    Install Dir    REG_SZ    C:\\Program Files\\Acme    x\r\n"
                               "    Install    REG_DWORD    0x1\r\n"
                               "    (Default)    REG_SZ    \r\n\r\n";
    auto dir = parseRegQuery(output, "Install Dir");
    ASSERT_TRUE(dir.has_value());
    EXPECT_EQ(dir->type, "REG_SZ");
    EXPECT_EQ(dir->data, "C:\\Program Files\\Acme    x");
    auto flag = parseRegQuery(output, "Install");
    ASSERT_TRUE(flag.has_value());
    EXPECT_EQ(flag->type, "REG_DWORD");
    EXPECT_EQ(flag->data, "0x1");
    auto byDefault = parseRegQuery(output, "");
    ASSERT_TRUE(byDefault.has_value());
    EXPECT_EQ(byDefault->data, "");
    EXPECT_FALSE(parseRegQuery(output, "Dir").has_value());
}

TEST(FixtureTest, MakesWinePathsOnDriveZ) {
    EXPECT_EQ(toWinePath("/work/a b/../c.exe"), "Z:\\work\\c.exe");
}

} // namespace
} // namespace e2e
