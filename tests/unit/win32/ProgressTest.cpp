#include "FileScratch.h"

#include "installer/InstallSettings.h"
#include "installer/win32/Program.h"
#include "installer/win32/Progress.h"

namespace {

std::string textOf(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

class ProgressDialog : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = installSettings();
        InstallSettings& s = installSettings();
        s = InstallSettings();
        s.languages = {"English"};
        s.messageTable.resize(72, 1);
        for (int id = 0; id < 72; ++id)
            s.messageTable.set(id, 0, String::formatted("Message %d", id));
    }
    void TearDown() override {
        closeProgressDialog();
        programState().uninstallMode = false;
        installSettings() = saved_;
    }

    HWND dialog() const { return programState().progressDialog; }

private:
    InstallSettings saved_;
};

TEST_F(ProgressDialog, ShowsItsTextsAndOwnsTheBoxesWhileOpen) {
    openProgressDialog();
    ASSERT_NE(dialog(), nullptr);
    EXPECT_EQ(ownerWindow(), dialog());
    EXPECT_EQ(textOf(dialog()), "Message 54");
    EXPECT_EQ(textOf(GetDlgItem(dialog(), 1009)), "Message 39");
    EXPECT_EQ(textOf(GetDlgItem(dialog(), 1003)), "Message 49");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog(), 1003)));
    // Status texts are shown as they are, percent signs and all.
    setStatusText("100% of %s done");
    EXPECT_EQ(textOf(GetDlgItem(dialog(), 1011)), "100% of %s done");
    progressStep(36, 40);
    EXPECT_EQ(textOf(GetDlgItem(dialog(), 1011)), "Message 36");
    HWND bar = FindWindowExA(dialog(), nullptr, "msctls_progress32", nullptr);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(SendMessageA(bar, WM_USER + 8 /* PBM_GETPOS */, 0, 0), 40);
    closeProgressDialog();
    EXPECT_EQ(dialog(), nullptr);
    EXPECT_EQ(ownerWindow(), programState().backgroundWindow);
}

// A long loop shows only some of its texts, but always ends on its last one
// and its last position.
TEST_F(ProgressDialog, APacedLoopEndsOnItsLastTextAndPosition) {
    openProgressDialog();
    ASSERT_NE(dialog(), nullptr);
    PacedProgress paced;
    for (int i = 0; i < 2000; ++i) {
        paced.progress(45 + i * 40 / 2000);
        paced.status(String::formatted("file%d", i));
    }
    paced.finish();
    pumpMessages();
    EXPECT_EQ(textOf(GetDlgItem(dialog(), 1011)), "file1999");
    HWND bar = FindWindowExA(dialog(), nullptr, "msctls_progress32", nullptr);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(SendMessageA(bar, WM_USER + 8 /* PBM_GETPOS */, 0, 0), 84);
}

// Counts the positions the bar is given, then hands each on.
WNDPROC gBarProc = nullptr;
int gPositionsGiven = 0;
LRESULT CALLBACK countingBarProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_USER + 2 /* PBM_SETPOS */)
        ++gPositionsGiven;
    return CallWindowProcA(gBarProc, window, msg, wParam, lParam);
}

// Every position of a bar repaints it, which costs more than placing a small
// file: a loop moves the bar at most once per pump, not at every percent.
TEST_F(ProgressDialog, APacedLoopMovesTheBarOncePerPumpAtMost) {
    openProgressDialog();
    ASSERT_NE(dialog(), nullptr);
    HWND bar = FindWindowExA(dialog(), nullptr, "msctls_progress32", nullptr);
    ASSERT_NE(bar, nullptr);
    gBarProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(countingBarProc)));
    gPositionsGiven = 0;
    const DWORD start = GetTickCount();
    PacedProgress paced;
    for (int i = 0; i < 4000; ++i)
        paced.progress(i / 40);
    const DWORD elapsed = GetTickCount() - start;
    paced.finish();
    pumpMessages();
    SetWindowLongPtrA(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gBarProc));
    EXPECT_EQ(SendMessageA(bar, WM_USER + 8 /* PBM_GETPOS */, 0, 0), 99);
    // One at the start, one per tenth of a second, one at the end.
    EXPECT_GE(gPositionsGiven, 1);
    EXPECT_LE(gPositionsGiven, int(elapsed / 100) + 2) << "in " << elapsed << " ms";
}

TEST_F(ProgressDialog, CancelIsOffWhileUninstallingOrWithNoCancel) {
    struct Case {
        bool uninstalling;
        uint64_t flags;
        const char* title;
    } cases[] = {{true, 0, "Message 55"}, {false, NoCancel, "Message 54"}};
    for (const Case& c : cases) {
        programState().uninstallMode = c.uninstalling;
        installSettings().productFlags = c.flags;
        openProgressDialog();
        ASSERT_NE(dialog(), nullptr);
        EXPECT_EQ(textOf(dialog()), c.title);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog(), 1003))) << c.title;
        closeProgressDialog();
    }
}

} // namespace
