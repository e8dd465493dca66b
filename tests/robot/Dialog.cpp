#include "Dialog.h"

#include <commctrl.h>

#include <cstdlib>

namespace robot {
namespace {

// Calls that cross into the program under test give up after this long, so that a
// hung program shows as a timeout and never hangs the robot.
const UINT kSendTimeoutMs = 2000;

std::string toUtf8(const std::wstring& wide) {
    if (wide.empty())
        return std::string();
    int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                   0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &out[0], size,
                        nullptr, nullptr);
    return out;
}

std::string className(HWND hwnd) {
    wchar_t name[256];
    int length = GetClassNameW(hwnd, name, 256);
    return toUtf8(std::wstring(name, length > 0 ? static_cast<size_t>(length) : 0));
}

// The text of a window of another process. GetWindowText does not ask another
// process's controls for their text, so WM_GETTEXT is sent.
std::string windowText(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                             &length))
        return std::string();
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                             SMTO_ABORTIFHUNG, kSendTimeoutMs, &copied))
        return std::string();
    text.resize(copied < length ? copied : length);
    return toUtf8(text);
}

// The text a window keeps for itself (captions, static controls), read without a
// message: it is what the screen shows even while the program is busy between two
// message pumps, when WM_GETTEXT would wait for the next one.
std::string internalText(HWND hwnd) {
    wchar_t text[4096];
    const int length = InternalGetWindowText(hwnd, text, 4096);
    return toUtf8(std::wstring(text, length > 0 ? static_cast<size_t>(length) : 0));
}

std::string withoutAmpersands(const std::string& label) {
    std::string out;
    for (size_t i = 0; i < label.size(); ++i) {
        // "&&" shows a literal ampersand.
        if (label[i] == '&' && i + 1 < label.size() && label[i + 1] == '&') {
            out += '&';
            ++i;
        } else if (label[i] != '&') {
            out += label[i];
        }
    }
    return out;
}

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameLabel(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    }
    return true;
}

struct ProcessWindows {
    DWORD pid;
    bool dialogsOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK collectTopLevel(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<ProcessWindows*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != search->pid || !IsWindowVisible(hwnd))
        return TRUE;
    if (search->dialogsOnly && className(hwnd) != "#32770")
        return TRUE;
    search->found.push_back(hwnd);
    return TRUE;
}

BOOL CALLBACK collectChild(HWND hwnd, LPARAM param) {
    auto* dialog = reinterpret_cast<Dialog*>(param);
    // Only direct children: a property sheet's pages are read as dialogs of their own.
    if (GetParent(hwnd) != dialog->hwnd || !IsWindowVisible(hwnd))
        return TRUE;
    std::string cls = className(hwnd);
    LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    if (sameLabel(cls, "Static")) {
        // The message box's icon is a static too; it has no text to read.
        LONG kind = style & SS_TYPEMASK;
        if (kind == SS_ICON || kind == SS_BITMAP || kind == SS_ENHMETAFILE)
            return TRUE;
        std::string text = internalText(hwnd);
        if (text.empty())
            return TRUE;
        if (!dialog->text.empty())
            dialog->text += '\n';
        dialog->text += text;
    } else if (sameLabel(cls, "msctls_progress32")) {
        dialog->hasProgressBar = true;
        DWORD_PTR position = 0;
        if (SendMessageTimeoutW(hwnd, PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                                &position))
            dialog->progress = static_cast<int>(position);
    } else if (sameLabel(cls, "Button")) {
        LONG kind = style & BS_TYPEMASK;
        if (kind != BS_PUSHBUTTON && kind != BS_DEFPUSHBUTTON)
            return TRUE;
        Button button;
        button.id = GetDlgCtrlID(hwnd);
        button.label = withoutAmpersands(windowText(hwnd));
        button.enabled = IsWindowEnabled(hwnd) != FALSE;
        button.isDefault = kind == BS_DEFPUSHBUTTON;
        dialog->buttons.push_back(button);
    }
    return TRUE;
}

} // namespace

std::vector<HWND> findDialogs(DWORD pid) {
    ProcessWindows search{pid, true, {}};
    EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<WindowInfo> visibleWindows(DWORD pid) {
    ProcessWindows search{pid, false, {}};
    EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&search));
    std::vector<WindowInfo> out;
    for (HWND hwnd : search.found)
        out.push_back(WindowInfo{className(hwnd), windowText(hwnd)});
    return out;
}

Dialog readDialog(HWND hwnd) {
    Dialog dialog;
    dialog.hwnd = hwnd;
    dialog.readTick = GetTickCount();
    dialog.caption = internalText(hwnd);
    EnumChildWindows(hwnd, collectChild, reinterpret_cast<LPARAM>(&dialog));
    // The dialog's own idea of its default button wins over the button styles, but only
    // when it names a button it has: a dialog that never set one answers IDOK.
    DWORD_PTR result = 0;
    if (SendMessageTimeoutW(hwnd, DM_GETDEFID, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result) &&
        HIWORD(result) == DC_HASDEFID) {
        int id = LOWORD(result);
        bool known = false;
        for (const Button& button : dialog.buttons)
            known = known || button.id == id;
        for (Button& button : dialog.buttons) {
            if (known)
                button.isDefault = button.id == id;
        }
    }
    return dialog;
}

namespace {

bool sameShape(const Dialog& a, const Dialog& b) {
    if (a.caption != b.caption || a.hasProgressBar != b.hasProgressBar ||
        a.buttons.size() != b.buttons.size())
        return false;
    for (size_t i = 0; i < a.buttons.size(); ++i) {
        const Button& x = a.buttons[i];
        const Button& y = b.buttons[i];
        if (x.id != y.id || x.label != y.label || x.enabled != y.enabled)
            return false;
    }
    return true;
}

bool stillShown(HWND hwnd) {
    return IsWindow(hwnd) && IsWindowVisible(hwnd);
}

} // namespace

bool readSettledDialog(HWND hwnd, Dialog& out) {
    const int kReads = 20;
    // A message box is shown while it still lays out its buttons; on a busy
    // machine that takes long enough to be read with none.
    const int kReadsWithoutButtons = 200;
    const DWORD kGapMs = 25;
    Dialog last = readDialog(hwnd);
    for (int i = 0; i < kReadsWithoutButtons; ++i) {
        Sleep(kGapMs);
        if (!stillShown(hwnd))
            return false;
        Dialog again = readDialog(hwnd);
        const bool settled = sameShape(last, again);
        last = again;
        if (!last.buttons.empty() && (settled || i + 1 >= kReads))
            break;
    }
    // A progress dialog's status text changes all the time: the last read stands.
    out = last;
    return stillShown(hwnd);
}

const Button* findButton(const Dialog& dialog, const std::string& spec) {
    if (spec.compare(0, 3, "id:") == 0) {
        char* end = nullptr;
        long id = std::strtol(spec.c_str() + 3, &end, 0);
        if (end == spec.c_str() + 3 || *end != '\0')
            return nullptr;
        for (const Button& button : dialog.buttons) {
            if (button.id == id)
                return &button;
        }
        return nullptr;
    }
    std::string wanted = withoutAmpersands(spec);
    for (const Button& button : dialog.buttons) {
        if (sameLabel(button.label, wanted))
            return &button;
    }
    return nullptr;
}

const Button* defaultButton(const Dialog& dialog) {
    for (const Button& button : dialog.buttons) {
        if (button.isDefault)
            return &button;
    }
    return dialog.buttons.size() == 1 ? &dialog.buttons[0] : nullptr;
}

void pressButton(const Dialog& dialog, const Button& button) {
    HWND control = GetDlgItem(dialog.hwnd, button.id);
    PostMessageW(dialog.hwnd, WM_COMMAND, MAKEWPARAM(button.id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(control));
}

} // namespace robot
