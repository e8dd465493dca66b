// A small GUI program for testing the robot itself:
//
//   robot_selftest.exe box STYLE CAPTION TEXT [STYLE CAPTION TEXT]...
//       shows the message boxes one after the other; the exit code holds their
//       results, one hexadecimal digit each, the first box's the highest
//   robot_selftest.exe sleep SECONDS     shows nothing and waits
//   robot_selftest.exe flash MS          shows a dialog without caption and with nothing to
//       press for MS milliseconds, as a dialog caught while it is destroyed looks, then
//       a message box "Done"; the exit code is the box's result
//   robot_selftest.exe crash             writes through a null pointer
//
// STYLE is a MessageBox style number (0x24 is MB_YESNO | MB_ICONQUESTION). In CAPTION
// and TEXT, "\xHH" stands for the byte HH, so that any byte can be shown.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string decode(const char* text) {
    std::string out;
    for (const char* p = text; *p; ++p) {
        if (p[0] == '\\' && p[1] == 'x' && std::strchr("0123456789abcdefABCDEF", p[2]) && p[2] &&
            std::strchr("0123456789abcdefABCDEF", p[3]) && p[3]) {
            char digits[3] = {p[2], p[3], '\0'};
            out += static_cast<char>(std::strtoul(digits, nullptr, 16));
            p += 3;
        } else {
            out += *p;
        }
    }
    return out;
}

int showBoxes(int count, char** args) {
    int code = 0;
    for (int i = 0; i + 2 < count; i += 3) {
        UINT style = static_cast<UINT>(std::strtoul(args[i], nullptr, 0));
        int result =
            MessageBoxA(nullptr, decode(args[i + 2]).c_str(), decode(args[i + 1]).c_str(), style);
        code = code * 16 + result;
    }
    return code;
}

INT_PTR CALLBACK flashProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

// A dialog from a template in memory: no caption, one disabled button.
HWND createFlash() {
    static WORD buffer[128];
    auto* dialog = reinterpret_cast<DLGTEMPLATE*>(buffer);
    dialog->style = WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_MODALFRAME;
    dialog->cdit = 1;
    dialog->cx = 150;
    dialog->cy = 60;
    WORD* p = reinterpret_cast<WORD*>(dialog + 1);
    *p++ = 0; // no menu
    *p++ = 0; // the dialog class
    *p++ = 0; // no caption
    p = reinterpret_cast<WORD*>((reinterpret_cast<ULONG_PTR>(p) + 3) & ~ULONG_PTR(3));
    auto* item = reinterpret_cast<DLGITEMTEMPLATE*>(p);
    item->style = WS_CHILD | WS_VISIBLE | WS_DISABLED | BS_PUSHBUTTON;
    item->x = 50;
    item->y = 40;
    item->cx = 50;
    item->cy = 14;
    item->id = IDCANCEL;
    p = reinterpret_cast<WORD*>(item + 1);
    *p++ = 0xFFFF;
    *p++ = 0x0080; // a button
    for (const wchar_t* c = L"Cancel"; *c; ++c)
        *p++ = static_cast<WORD>(*c);
    *p++ = 0;
    *p++ = 0; // no creation data
    return CreateDialogIndirectW(GetModuleHandleW(nullptr), dialog, nullptr, flashProc);
}

int flash(DWORD milliseconds) {
    HWND dialog = createFlash();
    if (!dialog)
        return 101;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    }
    DestroyWindow(dialog);
    return MessageBoxA(nullptr, "Done", "Done", MB_OK);
}

} // namespace

int main(int argc, char** argv) {
    std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "box" && argc >= 5)
        return showBoxes(argc - 2, argv + 2);
    if (mode == "sleep" && argc == 3) {
        Sleep(static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)) * 1000);
        return 0;
    }
    if (mode == "flash" && argc == 3)
        return flash(static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)));
    if (mode == "crash") {
        volatile int* nowhere = nullptr;
        *nowhere = 1;
        return 0;
    }
    return 100;
}
