#include "ShellScratch.h"

#include "installer/win32/Associations.h"
#include "installer/win32/ShellNotify.h"

#include <vector>

namespace {

// A window that the shell tells of every change, and what it heard: the
// event and the path of its first item.
struct Heard {
    long event;
    std::string path;
};
std::vector<Heard> gHeard;
const UINT kShellMessage = WM_APP + 7;

LRESULT CALLBACK listen(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kShellMessage) {
        Heard heard{static_cast<long>(lParam), std::string()};
        const auto* items = reinterpret_cast<LPCITEMIDLIST*>(wParam);
        char text[MAX_PATH] = {};
        if (items && items[0] && SHGetPathFromIDListA(items[0], text))
            heard.path = text;
        gHeard.push_back(heard);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class ShellNotify : public ShellScratch {
protected:
    void SetUp() override {
        ShellScratch::SetUp();
        gHeard.clear();
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = listen;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "VarnokeShellListener";
        RegisterClassA(&windowClass);
        window_ = CreateWindowA("VarnokeShellListener", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                windowClass.hInstance, nullptr);
        ASSERT_NE(window_, nullptr);
        SHChangeNotifyEntry everything = {nullptr, TRUE};
        registration_ = SHChangeNotifyRegister(window_, SHCNRF_ShellLevel | SHCNRF_InterruptLevel,
                                               SHCNE_ALLEVENTS, kShellMessage, 1, &everything);
        ASSERT_NE(registration_, 0u);
    }
    void TearDown() override {
        SHChangeNotifyDeregister(registration_);
        DestroyWindow(window_);
        ShellScratch::TearDown();
    }

    // What the shell said since the last call.
    std::vector<Heard> heard() {
        MSG message;
        for (int i = 0; i < 20; ++i) {
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&message);
            Sleep(5);
        }
        std::vector<Heard> said;
        said.swap(gHeard);
        return said;
    }

private:
    HWND window_ = nullptr;
    ULONG registration_ = 0;
};

TEST_F(ShellNotify, TheDesktopThatChangedIsNamed) {
    for (bool allUsers : {false, true}) {
        notifyDesktopChanged(allUsers);
        const std::vector<Heard> said = heard();
        ASSERT_EQ(said.size(), 1u) << allUsers;
        EXPECT_EQ(said[0].event, SHCNE_UPDATEDIR);
        EXPECT_EQ(said[0].path, path(allUsers ? "all\\Desktop" : "user\\Desktop"));
    }
}

TEST_F(ShellNotify, AssociationsAreAnnouncedOnceAfterTheList) {
    FileAssociation a;
    a.extension = "acme";
    a.fileType = "Acme.Note";
    a.verb = "open";
    installSettings().fileAssociations = {a, a};
    createFileAssociations();
    std::vector<Heard> said = heard();
    ASSERT_EQ(said.size(), 1u);
    EXPECT_EQ(said[0].event, SHCNE_ASSOCCHANGED);

    installSettings().fileAssociations.clear();
    createFileAssociations();
    EXPECT_TRUE(heard().empty());
}

} // namespace
