#include "Canvas.h"

#include "installer/DisplaySettings.h"
#include "installer/win32/BackgroundWindow.h"
#include "installer/win32/Program.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class BackgroundWindow : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = displaySettings();
        displaySettings() = DisplaySettings();
    }
    void TearDown() override {
        ProgramState& state = programState();
        if (state.backgroundWindow)
            DestroyWindow(state.backgroundWindow);
        state.backgroundWindow = nullptr;
        pumpMessages();
        displaySettings() = saved_;
    }

    static HWND create() { return createBackgroundWindow(GetModuleHandleA(nullptr)); }

    static std::string textOf(HWND window) {
        char text[256] = {};
        GetWindowTextA(window, text, sizeof text);
        return text;
    }

    // What the window shows at a client point, read back from its device context.
    static COLORREF shownAt(HWND window, int x, int y) {
        UpdateWindow(window);
        HDC dc = GetDC(window);
        const COLORREF color = GetPixel(dc, x, y);
        ReleaseDC(window, dc);
        return color;
    }

private:
    DisplaySettings saved_;
};

TEST_F(BackgroundWindow, CoversTheWorkAreaWithItsTaskbarText) {
    displaySettings().maximizeBackground = false;
    displaySettings().taskbarText = "Acme Notes Setup";
    HWND window = create();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(programState().backgroundWindow, window);
    EXPECT_EQ(ownerWindow(), window);

    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    EXPECT_STREQ(className, "ZEP Window Class");
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(IsZoomed(window));
    EXPECT_EQ(textOf(window), "Acme Notes Setup");

    RECT work = {};
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    RECT placed = {};
    GetWindowRect(window, &placed);
    EXPECT_EQ(placed.left, work.left);
    EXPECT_EQ(placed.top, work.top);
    EXPECT_EQ(placed.right, work.right);
    EXPECT_EQ(placed.bottom, work.bottom);

    // Created once: a second call hands back the same window.
    EXPECT_EQ(create(), window);
}

TEST_F(BackgroundWindow, OpensMaximisedWhenAskedTo) {
    ASSERT_TRUE(displaySettings().maximizeBackground);
    HWND window = create();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsZoomed(window));
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT placed = {};
    GetWindowRect(window, &placed);
    EXPECT_GE(placed.right - placed.left, work.right - work.left);
    EXPECT_GE(placed.bottom - placed.top, work.bottom - work.top);
}

TEST_F(BackgroundWindow, PaintsTheDisplaySettingsAndRepaintsWhenTheyChange) {
    DisplaySettings& display = displaySettings();
    display.maximizeBackground = false;
    display.monoColor = true;
    display.topColor = RGB(0, 128, 0);
    HWND window = create();
    ASSERT_NE(window, nullptr);
    // Above the windows of tests running beside this one, so that what is
    // read back is this window's.
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    pumpMessages();
    EXPECT_EQ(shownAt(window, 200, 300), RGB(0, 128, 0));

    display.topColor = RGB(0, 0, 160);
    display.displayTitle = "Acme Notes";
    display.titleColor = RGB(255, 255, 0);
    display.titlePosition = TitleTopLeft;
    display.titleShadow = 0;
    display.titleFont = "Arial";
    invalidateBackgroundWindow();
    pumpMessages();
    EXPECT_EQ(shownAt(window, 200, 300), RGB(0, 0, 160));
    // The title in the top left corner.
    bool titleShown = false;
    for (int y = 1; y < 40 && !titleShown; ++y)
        for (int x = 2; x < 120 && !titleShown; ++x)
            titleShown = shownAt(window, x, y) == RGB(255, 255, 0);
    EXPECT_TRUE(titleShown);
}

TEST_F(BackgroundWindow, EraseMessagePaintsTheBackgroundIntoTheGivenContext) {
    displaySettings().maximizeBackground = false;
    displaySettings().monoColor = true;
    displaySettings().topColor = RGB(10, 20, 30);
    HWND window = create();
    ASSERT_NE(window, nullptr);
    Canvas canvas(64, 64);
    canvas.fill(RGB(255, 255, 255));
    EXPECT_EQ(SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc()), 0), 1);
    EXPECT_EQ(canvas.count(RGB(10, 20, 30)), 64 * 64);
}

TEST_F(BackgroundWindow, TaskbarTextFollowsTheSettings) {
    // Without a window there is nothing to change.
    showTaskbarText();
    invalidateBackgroundWindow();
    displaySettings().taskbarText = "Setup";
    HWND window = create();
    displaySettings().taskbarText = "Uninstall Acme Notes";
    showTaskbarText();
    EXPECT_EQ(textOf(window), "Uninstall Acme Notes");
}

TEST_F(BackgroundWindow, ClassThatCannotBeRegisteredEndsTheProgram) {
    const auto registerTwice = [] {
        // Someone else's class of the same name in this module.
        WNDCLASSA other = {};
        other.lpfnWndProc = DefWindowProcA;
        other.hInstance = GetModuleHandleA(nullptr);
        other.lpszClassName = kBackgroundWindowClass;
        programState().backgroundClassRegistered = false;
        UnregisterClassA(kBackgroundWindowClass, GetModuleHandleA(nullptr));
        RegisterClassA(&other);
        create();
    };
    EXPECT_DEATH(registerTwice(), "Failed to create the installer's window.  Please reboot "
                                  "your machine and try again.");
}

} // namespace
