#include "installer/win32/BackgroundWindow.h"

#include "core/Fatal.h"
#include "installer/DisplaySettings.h"
#include "installer/win32/BackgroundPaint.h"
#include "installer/win32/Program.h"

namespace {

const char kCannotCreate[] =
    "Failed to create the installer's window.  Please reboot your machine and try again.";

LRESULT CALLBACK backgroundWindowProcedure(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(window, &client);
        paintBackground(reinterpret_cast<HDC>(wParam), client, displaySettings(),
                        systemGradientFill());
        return 1;
    }
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        if (dc) {
            RECT client;
            GetClientRect(window, &client);
            paintTitle(dc, client, displaySettings());
        }
        EndPaint(window, &paint);
        return 0;
    }
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

void registerWindowClass(HINSTANCE instance) {
    ProgramState& state = programState();
    if (state.backgroundClassRegistered)
        return;
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = backgroundWindowProcedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kBackgroundWindowClass;
    if (!RegisterClassA(&windowClass))
        fatalError(kCannotCreate);
    state.backgroundClassRegistered = true;
}

} // namespace

HWND createBackgroundWindow(HINSTANCE instance) {
    ProgramState& state = programState();
    if (state.backgroundWindow)
        return state.backgroundWindow;
    registerWindowClass(instance);

    DisplaySettings& display = displaySettings();
    RECT area = {0, 0, 0, 0};
    if (!display.maximizeBackground && !SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0)) {
        area = RECT{0, 0, 0, 0};
        display.maximizeBackground = true;
    }
    HWND window = CreateWindowExA(0, kBackgroundWindowClass, "", WS_POPUP, area.left, area.top,
                                  area.right - area.left, area.bottom - area.top, nullptr, nullptr,
                                  instance, nullptr);
    if (!window)
        fatalError(kCannotCreate);
    state.backgroundWindow = window;

    setWindowText(window, display.taskbarText.c_str());
    ShowWindow(window, SW_HIDE);
    ShowWindow(window, display.maximizeBackground ? SW_MAXIMIZE : SW_SHOW);
    SetForegroundWindow(window);
    SetActiveWindow(window);
    InvalidateRect(window, nullptr, TRUE);
    return window;
}

void invalidateBackgroundWindow() {
    if (HWND window = programState().backgroundWindow)
        InvalidateRect(window, nullptr, TRUE);
}

void showTaskbarText() {
    if (HWND window = programState().backgroundWindow)
        setWindowText(window, displaySettings().taskbarText.c_str());
}
