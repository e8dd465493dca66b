// varnoke.exe started with a command line it cannot use: every such start ends in one
// "FATAL ERROR" box that names the problem and shows the usage, and exit code 1.
#include "Wine.h"

#include <gtest/gtest.h>

#include <ostream>

namespace e2e {
namespace {

struct BadCommandLine {
    const char* name;
    std::string argument;
    std::string textStart;
};

const std::string kUsageStart = "\r\n\r\nUsage:\r\nvarnoke.exe [/a] [/b1:\"commands\"] "
                                "[/b2:\"commands\"] [/b3:\"commands\"] [/d:\"dir\"] [/n:\"name\"] "
                                "[/u:\"name\"] [/r:\"program\"]\r\n\r\n/a";

void PrintTo(const BadCommandLine& c, std::ostream* out) {
    *out << c.argument;
}

class CommandLineTest : public ::testing::TestWithParam<BadCommandLine> {};

TEST_P(CommandLineTest, EndsWithTheUsageBoxAndExitCodeOne) {
    const BadCommandLine& c = GetParam();
    RunResult run = runUnderRobot({varnokeExe(), c.argument}, {}, 30);
    ASSERT_EQ(run.error, "") << run.output;
    ASSERT_EQ(run.windows.size(), 1u);
    const Window& box = run.windows[0];
    EXPECT_EQ(box.caption, "FATAL ERROR");
    EXPECT_EQ(box.text.substr(0, c.textStart.size()), c.textStart);
    ASSERT_EQ(box.buttons.size(), 1u);
    EXPECT_EQ(box.buttons[0].label, "OK");
    EXPECT_EQ(run.exitCode, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Atoms, CommandLineTest,
    ::testing::Values(
        BadCommandLine{"UnknownSwitch", "/x", "Illegal command line atom:\nx" + kUsageStart},
        BadCommandLine{"LongerWordForASwitch", "/auto",
                       "Illegal command line atom:\nauto" + kUsageStart},
        BadCommandLine{"UninstallWithoutName", "/u", "Product name required" + kUsageStart},
        BadCommandLine{"UninstallWordWithoutName", "-uninstall",
                       "Product name required" + kUsageStart},
        BadCommandLine{"NoSwitchCharacter", "hello",
                       "Unexpected command line parameter:\nhello" + kUsageStart}),
    [](const ::testing::TestParamInfo<BadCommandLine>& param) {
        return std::string(param.param.name);
    });

} // namespace
} // namespace e2e
