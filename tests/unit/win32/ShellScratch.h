#pragma once
// A scratch machine for the shell integration: the current user's, the
// machine's and the classes root's registry trees are stood in for by scratch
// keys (so no real association, count or folder value is read or changed),
// and the shell folders those keys name lie in the scratch directory. The
// installation state and settings are put back afterwards.

#include "FileScratch.h"

#include "installer/InstallSettings.h"
#include "installer/Installation.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <objidl.h>
#include <shlobj.h>

#include <string>

inline const char kShellFoldersKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// What a shell link file holds, read back through the shell's own object.
struct LinkContents {
    bool loaded = false;
    std::string target;
    std::string arguments;
    std::string workingDirectory;
    std::string iconPath;
    int iconIndex = -1;
};

inline LinkContents readLink(const std::string& path) {
    static const CLSID shellLinkClass = {0x00021401, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    static const IID shellLinkInterface = {0x000214EE, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    static const IID persistFileInterface = {0x0000010B, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    LinkContents contents;
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(shellLinkClass, nullptr, CLSCTX_INPROC_SERVER, shellLinkInterface,
                                reinterpret_cast<void**>(&link))))
        return contents;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(persistFileInterface, reinterpret_cast<void**>(&file)))) {
        WCHAR wide[MAX_PATH] = {};
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
        if (SUCCEEDED(file->Load(wide, STGM_READ))) {
            contents.loaded = true;
            char text[1024] = {};
            link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH);
            contents.target = text;
            text[0] = '\0';
            link->GetArguments(text, sizeof text);
            contents.arguments = text;
            text[0] = '\0';
            link->GetWorkingDirectory(text, sizeof text);
            contents.workingDirectory = text;
            text[0] = '\0';
            link->GetIconLocation(text, sizeof text, &contents.iconIndex);
            contents.iconPath = text;
        }
        file->Release();
    }
    link->Release();
    return contents;
}

class ShellScratch : public FileScratch {
protected:
    void SetUp() override {
        FileScratch::SetUp();
        CoInitialize(nullptr);
        savedInstallation_ = installation();
        savedSettings_ = installSettings();
        installation() = Installation();
        installSettings() = InstallSettings();

        static unsigned serial = 0;
        String name = String::formatted(
            "Software\\VarnokeShell%08lx%04lx%u", static_cast<unsigned long>(GetTickCount()),
            static_cast<unsigned long>(GetCurrentProcessId() & 0xFFFF), ++serial);
        keyPath_ = name.c_str();
        user_ = createKey(HKEY_CURRENT_USER, keyPath_ + "\\user");
        machine_ = createKey(HKEY_CURRENT_USER, keyPath_ + "\\machine");
        classes_ = createKey(HKEY_CURRENT_USER, keyPath_ + "\\classes");
        ASSERT_TRUE(user_ && machine_ && classes_);

        const char* folders[][3] = {
            {"Desktop", "Common Desktop", "Desktop"},
            {"Programs", "Common Programs", "Programs"},
            {"Startup", "Common Startup", "Startup"},
        };
        makeDir("user");
        makeDir("all");
        for (const auto& folder : folders) {
            makeDir(std::string("user\\") + folder[2]);
            makeDir(std::string("all\\") + folder[2]);
            setText(user_, kShellFoldersKey, folder[0], path(std::string("user\\") + folder[2]));
            setText(machine_, kShellFoldersKey, folder[1], path(std::string("all\\") + folder[2]));
        }
        ASSERT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, user_), ERROR_SUCCESS);
        ASSERT_EQ(RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine_), ERROR_SUCCESS);
        ASSERT_EQ(RegOverridePredefKey(HKEY_CLASSES_ROOT, classes_), ERROR_SUCCESS);
    }

    void TearDown() override {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
        RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
        for (HKEY key : {user_, machine_, classes_, gone_})
            if (key)
                RegCloseKey(key);
        RegDeleteTreeA(HKEY_CURRENT_USER, keyPath_.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, keyPath_.c_str());
        installation() = savedInstallation_;
        installSettings() = savedSettings_;
        CoUninitialize();
        FileScratch::TearDown();
    }

    // Makes `root` a key that refuses to open or make anything below it:
    // one deleted after it was opened.
    void makeInaccessible(HKEY root) {
        if (!gone_) {
            gone_ = createKey(user_, "gone");
            RegDeleteKeyA(user_, "gone");
        }
        ASSERT_EQ(RegOverridePredefKey(root, gone_), ERROR_SUCCESS);
    }

    HKEY user() const { return user_; }
    HKEY machine() const { return machine_; }
    HKEY classes() const { return classes_; }

    static HKEY createKey(HKEY root, const std::string& subKey) {
        HKEY key = nullptr;
        if (RegCreateKeyExA(root, subKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            return nullptr;
        return key;
    }
    static void setText(HKEY root, const std::string& subKey, const char* name,
                        const std::string& value) {
        HKEY key = createKey(root, subKey);
        ASSERT_NE(key, nullptr) << subKey;
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
        RegCloseKey(key);
    }
    static void setNumber(HKEY root, const std::string& subKey, const char* name, DWORD value) {
        HKEY key = createKey(root, subKey);
        ASSERT_NE(key, nullptr) << subKey;
        RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
        RegCloseKey(key);
    }
    static bool keyExists(HKEY root, const std::string& subKey) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }
    // A text value, or "<none>" when the key or the value is missing.
    static std::string textOf(HKEY root, const std::string& subKey, const char* name = "") {
        HKEY key = nullptr;
        if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return "<none>";
        char buffer[1024] = {};
        DWORD size = sizeof buffer - 1;
        DWORD type = 0;
        LONG result =
            RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
        RegCloseKey(key);
        return result == ERROR_SUCCESS ? std::string(buffer) : "<none>";
    }
    // A number value, or -1 when the value is missing.
    static long numberOf(HKEY root, const std::string& subKey, const char* name) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return -1;
        DWORD value = 0;
        DWORD size = sizeof value;
        LONG result =
            RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
        RegCloseKey(key);
        return result == ERROR_SUCCESS ? static_cast<long>(value) : -1;
    }

    std::string log() const { return str(installation().installLog); }
    std::string problems() const { return str(installation().problemReport); }
    std::string uninstallList() const { return str(installation().uninstallList); }

private:
    Installation savedInstallation_;
    InstallSettings savedSettings_;
    std::string keyPath_;
    HKEY user_ = nullptr;
    HKEY machine_ = nullptr;
    HKEY classes_ = nullptr;
    HKEY gone_ = nullptr;
};
