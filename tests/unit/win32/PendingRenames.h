#pragma once
// The machine's list of renames pending for the next start. Tests that add to
// it take turns (ctest runs them as parallel processes in one prefix) and put
// the value back as they found it.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>

inline const char kSessionManagerKey[] = "System\\CurrentControlSet\\Control\\Session Manager";
inline const char kPendingRenamesValue[] = "PendingFileRenameOperations";

// The raw bytes of the value; empty when there is none.
inline std::string pendingRenames() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManagerKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::string();
    DWORD size = 0;
    std::string bytes;
    if (RegQueryValueExA(key, kPendingRenamesValue, nullptr, nullptr, nullptr, &size) ==
            ERROR_SUCCESS &&
        size > 0) {
        bytes.assign(size, '\0');
        RegQueryValueExA(key, kPendingRenamesValue, nullptr, nullptr,
                         reinterpret_cast<BYTE*>(&bytes[0]), &size);
        bytes.resize(size);
    }
    RegCloseKey(key);
    return bytes;
}

inline std::string lowerCase(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return s;
}

class PendingRenamesTurn {
public:
    // Waits for the turn and keeps the value as it is now.
    ::testing::AssertionResult take() {
        lock_ = CreateMutexA(nullptr, FALSE, "VarnokeTestPendingRenames");
        if (lock_ == nullptr)
            return ::testing::AssertionFailure() << "no mutex";
        const DWORD waited = WaitForSingleObject(lock_, 60000);
        if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED)
            return ::testing::AssertionFailure() << "waited " << waited;
        before_ = pendingRenames();
        taken_ = true;
        return ::testing::AssertionSuccess();
    }
    // Puts the value back and ends the turn.
    void giveBack() {
        if (!taken_)
            return;
        taken_ = false;
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManagerKey, 0, KEY_SET_VALUE, &key) ==
            ERROR_SUCCESS) {
            if (!before_.empty())
                RegSetValueExA(key, kPendingRenamesValue, 0, REG_MULTI_SZ,
                               reinterpret_cast<const BYTE*>(before_.data()),
                               static_cast<DWORD>(before_.size()));
            else
                RegDeleteValueA(key, kPendingRenamesValue);
            RegCloseKey(key);
        }
        EXPECT_EQ(pendingRenames(), before_);
        if (lock_ != nullptr) {
            ReleaseMutex(lock_);
            CloseHandle(lock_);
            lock_ = nullptr;
        }
    }
    const std::string& before() const { return before_; }
    // What was added during the turn, lower case.
    std::string added() const { return lowerCase(pendingRenames().substr(before_.size())); }

private:
    HANDLE lock_ = nullptr;
    bool taken_ = false;
    std::string before_;
};
