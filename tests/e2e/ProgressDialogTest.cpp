// The progress dialog as a person watches it while the data area loads:
// each status is up before the work it names and stays for the step pause,
// and the bar never runs back.
#include "ArchiveFixture.h"
#include "Wine.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <string>

namespace e2e {
namespace {

TEST(ProgressDialogTest, TheLoadingStepsShowInOrderStayForTheirPauseAndNeverGoBack) {
    ASSERT_EQ(wineEnvironmentProblem(), "");
    const int pause = 1500;
    InstallSettings settings = archiveTestSettings();
    settings.productName = ("Progress " + std::to_string(getpid())).c_str();
    settings.productFlags |= CompressedData;
    settings.stepPause = pause;
    // No licence or readme page before the progress dialog.
    settings.messageTable.set(63, 0, "");
    settings.messageTable.set(64, 0, "");
    BuiltSetup setup = buildSetup(settings, keld::ArchiveOptions());
    RunResult run = runUnderRobot({setup.exe, "/d:" + toWinePath(installedDir(setup))},
                                  {"follow:Message 54", "OK"}, 60);
    ASSERT_EQ(run.error, "") << run.output << windowsSeen(run);
    ASSERT_FALSE(run.updates.empty());

    std::string seen;
    for (const Update& u : run.updates)
        seen +=
            "[" + u.text + " " + std::to_string(u.progress) + " @" + std::to_string(u.ms) + "] ";
    for (size_t i = 1; i < run.updates.size(); ++i)
        EXPECT_GE(run.updates[i].progress, run.updates[i - 1].progress) << seen;

    // When each loading status first showed, and when the next one replaced it.
    const char* const steps[] = {"Message 8", "Message 62", "Message 29"};
    long long shown[3] = {-1, -1, -1};
    long long replaced[3] = {-1, -1, -1};
    for (const Update& u : run.updates) {
        for (int s = 0; s < 3; ++s) {
            const bool has = u.text.find(steps[s]) != std::string::npos;
            if (has && shown[s] < 0)
                shown[s] = u.ms;
            if (!has && shown[s] >= 0 && replaced[s] < 0)
                replaced[s] = u.ms;
        }
    }
    for (int s = 0; s < 3; ++s) {
        SCOPED_TRACE(steps[s]);
        ASSERT_GE(shown[s], 0) << seen;
        ASSERT_GE(replaced[s], 0) << seen;
        if (s > 0) {
            EXPECT_GT(shown[s], shown[s - 1]) << seen;
        }
        // The robot looks every 50 ms or so: allow it that much on either side.
        EXPECT_GE(replaced[s] - shown[s], pause - 200) << seen;
    }
}

} // namespace
} // namespace e2e
