#include "installer/win32/Dialogs.h"

#include "installer/DisplaySettings.h"
#include "installer/InstallSettings.h"
#include "installer/Installation.h"
#include "installer/LanguageChoice.h"
#include "installer/win32/BackgroundWindow.h"
#include "installer/win32/Program.h"

#include <shlobj.h>

namespace {

constexpr int kOk = 1001;
constexpr int kCancel = 1003;
constexpr int kPageText = 1005;
constexpr int kHeading = 1009;
constexpr int kBrowse = 1013;
constexpr int kDirectoryEdit = 1015;
constexpr int kLanguageList = 1017;
constexpr int kMaxTypedPath = 259;

HWND gLanguageList = nullptr;

void setTexts(HWND dialog, int title, int heading, int ok, int cancel) {
    setWindowText(dialog, message(title).c_str());
    if (heading >= 0)
        setItemMessage(dialog, kHeading, heading);
    setItemMessage(dialog, kOk, ok);
    setItemMessage(dialog, kCancel, cancel);
}

String windowText(HWND window) {
    String text;
    // The messages GetWindowTextLengthA and GetWindowTextA send to the
    // program's own windows.
    const int length = int(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0));
    if (length > 0) {
        text.setLength(length);
        text.setLength(int(SendMessageA(window, WM_GETTEXT, WPARAM(length + 1),
                                        reinterpret_cast<LPARAM>(text.writablePointer(0)))));
    }
    return text;
}

int CALLBACK browseCallback(HWND browser, UINT msg, LPARAM, LPARAM start) {
    if (msg == BFFM_INITIALIZED) {
        centreWindow(browser);
        SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, start);
    }
    return 0;
}

// The shell's folder browser below My Computer; true with the chosen path.
bool browseForFolder(HWND owner, const String& start, String& chosen) {
    LPITEMIDLIST root = nullptr;
    if (SHGetSpecialFolderLocation(owner, CSIDL_DRIVES, &root) != S_OK || !root)
        return false;
    const String title = message(11);
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.pidlRoot = root;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = browseCallback;
    info.lParam = reinterpret_cast<LPARAM>(start.c_str());
    LPITEMIDLIST selection = SHBrowseForFolderA(&info);
    bool converted = false;
    if (selection) {
        char path[MAX_PATH] = {};
        converted = SHGetPathFromIDListA(selection, path) != FALSE;
        if (converted)
            chosen = path;
    }
    IMalloc* allocator = nullptr;
    if (SHGetMalloc(&allocator) == S_OK && allocator) {
        if (selection)
            allocator->Free(selection);
        allocator->Free(root);
        allocator->Release();
    }
    return converted;
}

INT_PTR CALLBACK directoryProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
    if (msg == WM_INITDIALOG) {
        centreWindow(dialog);
        setTexts(dialog, 24, 11, 48, 49);
        setItemMessage(dialog, kBrowse, 52);
        setItemText(dialog, kDirectoryEdit, installation().installDir.c_str());
        SendDlgItemMessageA(dialog, kDirectoryEdit, EM_LIMITTEXT, kMaxTypedPath, 0);
        return TRUE;
    }
    if (msg != WM_COMMAND)
        return FALSE;
    if (wParam == kOk) {
        installation().installDir = windowText(GetDlgItem(dialog, kDirectoryEdit));
        EndDialog(dialog, 1);
    } else if (wParam == kCancel) {
        EndDialog(dialog, 0);
    } else if (wParam == kBrowse) {
        String chosen;
        if (browseForFolder(dialog, windowText(GetDlgItem(dialog, kDirectoryEdit)), chosen))
            setItemText(dialog, kDirectoryEdit, chosen.c_str());
    } else {
        return FALSE;
    }
    return TRUE;
}

void applyLanguage(HWND dialog) {
    if (!installSettings().has(KeepDisplayTitle))
        displaySettings().displayTitle = message(0);
    setItemMessage(dialog, kOk, 48);
    setItemMessage(dialog, kCancel, 49);
    invalidateBackgroundWindow();
}

int listSelection() {
    return int(SendMessageA(gLanguageList, LB_GETCURSEL, 0, 0));
}

INT_PTR CALLBACK languageProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
    InstallSettings& settings = installSettings();
    const int count = settings.languages.count();
    if (msg == WM_INITDIALOG) {
        gLanguageList = GetDlgItem(dialog, kLanguageList);
        for (const String& name : settings.languages)
            SendMessageA(gLanguageList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        char locale[255] = {};
        GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SLANGUAGE, locale, sizeof locale);
        const int first = preselectedLanguage(settings.languages, languageOfLocaleName(locale));
        SendMessageA(gLanguageList, LB_SETCURSEL, WPARAM(first), 0);
        settings.currentLanguage = first;
        applyLanguage(dialog);
        centreWindow(dialog);
        return TRUE;
    }
    if (msg != WM_COMMAND)
        return FALSE;
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (id == kLanguageList && code == LBN_SELCHANGE) {
        const int selected = listSelection();
        if (selected >= 0 && selected < count) {
            settings.currentLanguage = selected;
            applyLanguage(dialog);
        }
        return TRUE;
    }
    if (id == kOk || (id == kLanguageList && code == LBN_DBLCLK)) {
        const int selected = listSelection();
        settings.currentLanguage = selected < 0 ? 0 : selected >= count ? count - 1 : selected;
        EndDialog(dialog, kOk);
        return TRUE;
    }
    if (id == kCancel) {
        EndDialog(dialog, kCancel);
        return TRUE;
    }
    return FALSE;
}

// Licence and readme pages differ only in their messages.
struct PageTexts {
    int title, heading, ok, cancel;
};
const PageTexts kLicenceTexts = {44, 47, 45, 46};
const PageTexts kReadmeTexts = {50, 51, 48, 49};
const PageTexts* gPage = nullptr;

INT_PTR CALLBACK pageProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        setItemText(dialog, kPageText, reinterpret_cast<const char*>(lParam));
        setTexts(dialog, gPage->title, gPage->heading, gPage->ok, gPage->cancel);
        centreWindow(dialog);
        return TRUE;
    }
    if (msg == WM_COMMAND && (LOWORD(wParam) == kOk || LOWORD(wParam) == kCancel)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

int showPage(const char* resource, const PageTexts& texts, const char* text) {
    gPage = &texts;
    return int(DialogBoxParamA(GetModuleHandleA(nullptr), resource, ownerWindow(), pageProc,
                               reinterpret_cast<LPARAM>(text ? text : "")));
}

} // namespace

void centreWindow(HWND window) {
    RECT r;
    if (!GetWindowRect(window, &r))
        return;
    const WindowPlace place =
        centredPlace(r.left, r.top, r.right, r.bottom, GetSystemMetrics(SM_CXSCREEN),
                     GetSystemMetrics(SM_CYSCREEN));
    MoveWindow(window, place.x, place.y, place.width, place.height, FALSE);
}

bool chooseDirectory() {
    return DialogBoxParamA(GetModuleHandleA(nullptr), "ChooseDirDlg",
                           programState().backgroundWindow, directoryProc, 0) != 0;
}

int chooseLanguage() {
    return int(
        DialogBoxParamA(GetModuleHandleA(nullptr), "LanguageDlg", ownerWindow(), languageProc, 0));
}

int showLicencePage(const char* text) {
    return showPage("LicenseDlg", kLicenceTexts, text);
}

int showReadmePage(const char* text) {
    return showPage("ReadmeDlg", kReadmeTexts, text);
}
