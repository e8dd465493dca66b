#include "platform/Restart.h"

#include "platform/DynamicLibrary.h"

#include <windows.h>

namespace {

using OpenTokenFunction = BOOL WINAPI(HANDLE, DWORD, HANDLE*);
using LookupFunction = BOOL WINAPI(const char*, const char*, LUID*);
using AdjustFunction = BOOL WINAPI(HANDLE, BOOL, TOKEN_PRIVILEGES*, DWORD, TOKEN_PRIVILEGES*,
                                   DWORD*);

// Windows 9x has no token calls: they are looked up, and skipped when missing.
struct TokenCalls {
    DynamicLibrary library;
    OpenTokenFunction* openToken = nullptr;
    LookupFunction* lookup = nullptr;
    AdjustFunction* adjust = nullptr;
    bool complete = false;

    TokenCalls() {
        if (!library.load("advapi32.dll"))
            return;
        const DynamicEntry rows[] = {
            {"OpenProcessToken", reinterpret_cast<void**>(&openToken), true},
            {"LookupPrivilegeValueA", reinterpret_cast<void**>(&lookup), true},
            {"AdjustTokenPrivileges", reinterpret_cast<void**>(&adjust), true},
        };
        library.resolveAll(rows, 3);
        complete = openToken && lookup && adjust;
    }
};

} // namespace

void setPrivilege(const char* name, bool enable) {
    static TokenCalls calls;
    if (!calls.complete)
        return;
    HANDLE token = nullptr;
    if (!calls.openToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return;
    TOKEN_PRIVILEGES privileges;
    ZeroMemory(&privileges, sizeof privileges);
    if (calls.lookup(nullptr, name, &privileges.Privileges[0].Luid)) {
        privileges.PrivilegeCount = 1;
        // Only the named privilege changes: the token's others stay as they are.
        privileges.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
        calls.adjust(token, FALSE, &privileges, sizeof privileges, nullptr, nullptr);
    }
    CloseHandle(token);
}

bool restartSystem() {
    setPrivilege("SeShutdownPrivilege", true);
    bool accepted = ExitWindowsEx(EWX_REBOOT | EWX_FORCEIFHUNG, 0);
    setPrivilege("SeShutdownPrivilege", false);
    return accepted;
}
