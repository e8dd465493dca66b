// The robot against a small message-box program: what the end-to-end tests read from a
// window must be what the program showed, and the button pressed must be the one asked.
#include "Wine.h"

#include <gtest/gtest.h>

#include <ostream>

namespace e2e {
namespace {

std::string selftestExe() {
    return windowsBuildDir() + "/tests/robot/robot_selftest.exe";
}

// MessageBox styles and results.
const char* kOk = "0x0";
const char* kYesNoCancel = "0x3";
const char* kYesNoCancelSecondDefault = "0x103";
const char* kErrorIconOk = "0x10";
const int kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7;

TEST(RobotTest, ReadsCaptionTextAndButtonsOfAMessageBox) {
    RunResult run = runUnderRobot({selftestExe(), "box", kErrorIconOk, "FATAL ERROR",
                                   "Illegal:\\x0ax\\x0d\\x0a\\x0d\\x0aUsage:\\x09\"q\" \\x5c"},
                                  {}, 20);
    ASSERT_EQ(run.error, "");
    ASSERT_EQ(run.windows.size(), 1u);
    EXPECT_EQ(run.windows[0].caption, "FATAL ERROR");
    // The icon is not text; the message comes back byte for byte.
    EXPECT_EQ(run.windows[0].text, "Illegal:\nx\r\n\r\nUsage:\t\"q\" \\");
    ASSERT_EQ(run.windows[0].buttons.size(), 1u);
    EXPECT_EQ(run.windows[0].buttons[0].label, "OK");
    EXPECT_EQ(run.windows[0].buttons[0].id, kIdOk);
    EXPECT_EQ(run.windows[0].pressed, "OK");
    EXPECT_EQ(run.exitCode, kIdOk);
    EXPECT_EQ(run.robotStatus, 0);
    EXPECT_EQ(run.strayText, "");
}

TEST(RobotTest, ControlCharactersAndAnsiTextSurviveTheJson) {
    RunResult run = runUnderRobot({selftestExe(), "box", kOk, "caf\\xe9", "a\\x01b\\x1fc"}, {}, 20);
    ASSERT_EQ(run.error, "");
    ASSERT_EQ(run.windows.size(), 1u);
    EXPECT_EQ(run.windows[0].caption, "caf\xc3\xa9");
    EXPECT_EQ(run.windows[0].text, "a\x01"
                                   "b\x1f"
                                   "c");
}

struct PressCase {
    const char* name;
    const char* style;
    std::vector<std::string> presses;
    std::string pressed;
    int result;
};

void PrintTo(const PressCase& c, std::ostream* out) {
    *out << c.name;
}

class RobotPressTest : public ::testing::TestWithParam<PressCase> {};

TEST_P(RobotPressTest, PressesTheButtonAskedFor) {
    const PressCase& c = GetParam();
    RunResult run =
        runUnderRobot({selftestExe(), "box", c.style, "Question", "Go on?"}, c.presses, 20);
    ASSERT_EQ(run.error, "");
    ASSERT_EQ(run.windows.size(), 1u);
    ASSERT_EQ(run.windows[0].buttons.size(), 3u);
    EXPECT_EQ(run.windows[0].buttons[0].label, "Yes");
    EXPECT_EQ(run.windows[0].buttons[1].label, "No");
    EXPECT_EQ(run.windows[0].buttons[2].label, "Cancel");
    EXPECT_EQ(run.windows[0].pressed, c.pressed);
    EXPECT_EQ(run.exitCode, c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Presses, RobotPressTest,
    ::testing::Values(
        PressCase{"ByLabel", kYesNoCancel, {"No"}, "No", kIdNo},
        PressCase{"LabelWithoutCaseOrAmpersand", kYesNoCancel, {"c&ANCEL"}, "Cancel", kIdCancel},
        PressCase{"ById", kYesNoCancel, {"id:7"}, "No", kIdNo},
        PressCase{"DefaultButton", kYesNoCancel, {}, "Yes", kIdYes},
        PressCase{"MovedDefaultButton", kYesNoCancelSecondDefault, {}, "No", kIdNo}),
    [](const ::testing::TestParamInfo<PressCase>& param) { return std::string(param.param.name); });

TEST(RobotTest, UsesThePressesInTheOrderOfTheWindows) {
    RunResult run = runUnderRobot({selftestExe(), "box", kYesNoCancel, "First", "1", kYesNoCancel,
                                   "Second", "2", kOk, "Third", "3"},
                                  {"No", "Cancel"}, 20);
    ASSERT_EQ(run.error, "");
    ASSERT_EQ(run.windows.size(), 3u);
    EXPECT_EQ(run.windows[0].caption, "First");
    EXPECT_EQ(run.windows[0].pressed, "No");
    EXPECT_EQ(run.windows[1].caption, "Second");
    EXPECT_EQ(run.windows[1].pressed, "Cancel");
    EXPECT_EQ(run.windows[2].caption, "Third");
    EXPECT_EQ(run.windows[2].pressed, "OK");
    // One hexadecimal digit per box, the first box's the highest.
    EXPECT_EQ(run.exitCode, kIdNo * 256 + kIdCancel * 16 + kIdOk);
}

TEST(RobotTest, AMissingLabelPressesNothingAndEndsTheProgram) {
    RunResult run =
        runUnderRobot({selftestExe(), "box", kYesNoCancel, "Question", "Go on?"}, {"Maybe"}, 20);
    EXPECT_EQ(run.robotStatus, 3);
    EXPECT_NE(run.error.find("no button \"Maybe\""), std::string::npos) << run.error;
    ASSERT_EQ(run.windows.size(), 1u);
    EXPECT_EQ(run.windows[0].pressed, "");
    EXPECT_EQ(run.exitCode, -1);
}

// A dialog caught while it is being destroyed reads without its caption and with
// nothing to press: it is no window to answer, and the labels wait for the next.
TEST(RobotTest, ADialogThatVanishesWhileItIsReadIsPassedOver) {
    RunResult run = runUnderRobot({selftestExe(), "flash", "150"},
                                  {std::string(kWatchProgressPrefix) + "Working", "OK"}, 20);
    ASSERT_EQ(run.error, "") << run.output;
    ASSERT_EQ(run.windows.size(), 1u);
    EXPECT_EQ(run.windows[0].caption, "Done");
    EXPECT_EQ(run.windows[0].pressed, "OK");
    EXPECT_EQ(run.exitCode, kIdOk);
}

TEST(RobotTest, AProgramThatShowsNothingTimesOutAndIsEnded) {
    RunResult run = runUnderRobot({selftestExe(), "sleep", "600"}, {}, 2);
    EXPECT_EQ(run.robotStatus, 2);
    EXPECT_EQ(run.error.rfind("timeout", 0), 0u) << run.error;
    EXPECT_TRUE(run.windows.empty());
    EXPECT_EQ(run.exitCode, -1);
}

TEST(RobotTest, ACrashEndsWithItsExceptionCodeInsteadOfADialog) {
    RunResult run = runUnderRobot({selftestExe(), "crash"}, {}, 20);
    ASSERT_EQ(run.error, "");
    EXPECT_TRUE(run.windows.empty());
    // An access violation; qemu's user-mode emulator, which runs Wine on kernels
    // without 32-bit support, hands it to Wine as an illegal instruction.
    EXPECT_TRUE(run.exitCode == 0xC0000005LL || run.exitCode == 0xC000001DLL)
        << std::hex << run.exitCode;
}

TEST(RobotTest, QuotesArgumentsSoThatTheProgramGetsThemBack) {
    // Blanks, double quotes and backslashes before quotes and at the end.
    std::string text = "C:\\dir with blanks\\ say \"hi\" \\\"q\\\\";
    RunResult run = runUnderRobot({selftestExe(), "box", kOk, "", text}, {}, 20);
    ASSERT_EQ(run.error, "");
    ASSERT_EQ(run.windows.size(), 1u);
    EXPECT_EQ(run.windows[0].text, text);
}

TEST(RobotTest, HandsTheArgumentTextOverVerbatim) {
    // The program's C runtime splits "a b" in double quotes into one argument; the
    // robot must not quote or escape what it was given.
    RunResult run = runUnderRobotRaw(selftestExe(), "box 0 \"Two words\" \"x\\x09y\"", {}, 20);
    ASSERT_EQ(run.error, "");
    ASSERT_EQ(run.windows.size(), 1u);
    EXPECT_EQ(run.windows[0].caption, "Two words");
    EXPECT_EQ(run.windows[0].text, "x\ty");
}

} // namespace
} // namespace e2e
