#pragma once
// A scratch key HKEY_CURRENT_USER\Software\VarnokeTest<random>, deleted with
// everything below it when the test ends. The tests' own reads and writes go
// straight to the system, independent of the code under test.

#include "core/String.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

class RegistryScratch : public ::testing::Test {
protected:
    void SetUp() override {
        static unsigned serial = 0;
        String name = String::formatted(
            "Software\\VarnokeTest%08lx%04lx%u", static_cast<unsigned long>(GetTickCount()),
            static_cast<unsigned long>(GetCurrentProcessId() & 0xFFFF), ++serial);
        path_ = name.c_str();
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key_, nullptr),
                  ERROR_SUCCESS);
    }

    void TearDown() override {
        RegCloseKey(key_);
        RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, path_.c_str());
        EXPECT_FALSE(exists("")) << "scratch key left behind";
    }

    // "Software\VarnokeTest..." and, when given, a path below it.
    std::string below(const std::string& relative) const {
        return relative.empty() ? path_ : path_ + "\\" + relative;
    }
    String at(const std::string& relative) const { return String(below(relative).c_str()); }
    // The scratch key without "Software\", as openSoftware takes it.
    String softwarePart(const std::string& relative) const {
        return String(below(relative).c_str() + 9);
    }

    bool exists(const std::string& relative) const {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, below(relative).c_str(), 0, KEY_READ, &key) !=
            ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }

    void makeKey(const std::string& relative) const {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, below(relative).c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS)
            << relative;
        RegCloseKey(key);
    }

    void setRaw(const std::string& relative, const char* name, DWORD type,
                const std::string& bytes) const {
        makeKey(relative);
        ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, below(relative).c_str(), name, type,
                                  bytes.data(), static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS)
            << name;
    }
    void setRaw(const char* name, DWORD type, const std::string& bytes) const {
        setRaw("", name, type, bytes);
    }

    // The stored type and bytes; false when there is no such value.
    bool raw(const std::string& relative, const char* name, DWORD& type, std::string& bytes) const {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, below(relative).c_str(), 0, KEY_READ, &key) !=
            ERROR_SUCCESS)
            return false;
        DWORD size = 0;
        LONG result = RegQueryValueExA(key, name, nullptr, &type, nullptr, &size);
        bytes.assign(size, '\0');
        if (result == ERROR_SUCCESS && size > 0)
            result = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&bytes[0]),
                                      &size);
        RegCloseKey(key);
        return result == ERROR_SUCCESS;
    }
    bool hasValue(const char* name) const {
        DWORD type;
        std::string bytes;
        return raw("", name, type, bytes);
    }

    const std::string& path() const { return path_; }

private:
    std::string path_;
    HKEY key_ = nullptr;
};

inline std::string text(const String& s) {
    return std::string(s.c_str(), static_cast<size_t>(s.length()));
}
