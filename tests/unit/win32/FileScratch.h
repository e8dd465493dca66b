#pragma once
// A scratch directory under the test prefix's temporary folder, removed with
// everything in it when the test ends. It also stands in for the installer's
// temporary and Windows directories, which are restored afterwards.

#include "core/Path.h"
#include "core/String.h"
#include "installer/Startup.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

inline std::string str(const String& s) {
    return std::string(s.c_str(), static_cast<size_t>(s.length()));
}

// The fixture libraries lie beside the test program.
inline String besideTests(const char* name) {
    char self[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
    return joinPath(directoryPart(String(self, static_cast<int>(length))), String(name));
}

class FileScratch : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = startupValues();
        char temp[MAX_PATH];
        DWORD length = GetTempPathA(sizeof temp, temp);
        ASSERT_GT(length, 0u);
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        root_ = std::string(temp) + "varnoke-" + test->test_suite_name() + "-" + test->name() +
                "-" + std::to_string(GetCurrentProcessId());
        removeTree(root_);
        ASSERT_TRUE(CreateDirectoryA(root_.c_str(), nullptr)) << root_;
        makeDir("temp");
        makeDir("windows");
        startupValues().tempDir = String(path("temp").c_str());
        startupValues().windowsDir = String(path("windows").c_str());
    }

    void TearDown() override {
        startupValues() = saved_;
        removeTree(root_);
    }

    // A path inside the scratch directory.
    std::string path(const std::string& relative) const { return root_ + "\\" + relative; }
    String at(const std::string& relative) const { return String(path(relative).c_str()); }
    const std::string& root() const { return root_; }

    void makeDir(const std::string& relative) const {
        ASSERT_TRUE(CreateDirectoryA(path(relative).c_str(), nullptr)) << relative;
    }

    void makeFile(const std::string& relative, const std::string& content = "") const {
        HANDLE h = CreateFileA(path(relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE) << relative;
        DWORD written = 0;
        WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        CloseHandle(h);
        ASSERT_EQ(written, content.size());
    }

    // The content, or "<missing>".
    std::string contentOf(const std::string& relative) const { return fileContent(path(relative)); }
    static std::string fileContent(const std::string& fullPath) {
        HANDLE h = CreateFileA(fullPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return "<missing>";
        std::string content;
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0)
            content.append(buffer, got);
        CloseHandle(h);
        return content;
    }

    bool exists(const std::string& relative) const {
        return GetFileAttributesA(path(relative).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    // The test's own clean-up, independent of the code under test.
    static void removeTree(const std::string& directory) {
        WIN32_FIND_DATAA data;
        HANDLE h = FindFirstFileA((directory + "\\*").c_str(), &data);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                std::string name = data.cFileName;
                if (name == "." || name == "..")
                    continue;
                std::string full = directory + "\\" + name;
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                    !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                    removeTree(full);
                else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveDirectoryA(full.c_str());
                else
                    DeleteFileA(full.c_str());
            } while (FindNextFileA(h, &data));
            FindClose(h);
        }
        RemoveDirectoryA(directory.c_str());
    }

private:
    StartupValues saved_;
    std::string root_;
};
