#include "FileScratch.h"

#include "platform/Directory.h"
#include "platform/ErrorText.h"

#include <winioctl.h>

#include <cstring>
#include <vector>

namespace {

using Directories = FileScratch;

// A drive letter of its own for a scratch directory, through Wine's mount
// manager, so that drive roots can be tried without risking a real drive.
class ScratchDrive {
public:
    explicit ScratchDrive(const std::string& directory) {
        using UnixName = char*(CDECL*)(const WCHAR*);
        auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
        DWORD used = GetLogicalDrives();
        char free = 0;
        for (int i = 16; i < 26 && !free; ++i)
            if (!(used & (1u << i)))
                free = static_cast<char>('A' + i);
        if (!unixName || !free)
            return;
        WCHAR wide[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, directory.c_str(), -1, wide, MAX_PATH);
        char* target = unixName(wide);
        if (target && define(free, target))
            letter_ = free;
        HeapFree(GetProcessHeap(), 0, target);
    }
    ~ScratchDrive() {
        if (letter_)
            define(letter_, nullptr);
    }
    // 0 when no drive could be made (not running under Wine).
    char letter() const { return letter_; }

private:
    // Wine's request to point a drive letter at a Unix directory, or to drop it.
    struct UnixDrive {
        ULONG size;
        ULONG type;
        ULONG fsType;
        DWORD serial;
        ULONGLONG unixDevice;
        WCHAR letter;
        USHORT mountPointOffset;
        USHORT deviceOffset;
        USHORT labelOffset;
    };

    static bool define(char letter, const char* unixPath) {
        const size_t length = unixPath ? std::strlen(unixPath) + 1 : 0;
        std::vector<char> buffer(sizeof(UnixDrive) + length);
        UnixDrive request = {};
        request.size = static_cast<ULONG>(buffer.size());
        request.type = unixPath ? DRIVE_FIXED : DRIVE_NO_ROOT_DIR;
        request.letter = static_cast<WCHAR>(letter - 'A' + 'a');
        if (unixPath) {
            request.mountPointOffset = sizeof(UnixDrive);
            std::memcpy(buffer.data() + sizeof(UnixDrive), unixPath, length);
        }
        std::memcpy(buffer.data(), &request, sizeof request);
        HANDLE manager =
            CreateFileA("\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (manager == INVALID_HANDLE_VALUE)
            return false;
        DWORD returned = 0;
        BOOL done = DeviceIoControl(
            manager, CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS),
            buffer.data(), request.size, nullptr, 0, &returned, nullptr);
        CloseHandle(manager);
        return done;
    }

    char letter_ = 0;
};

TEST_F(Directories, CreateDirectoryPathMakesEveryParent) {
    EXPECT_TRUE(createDirectoryPath(at("a\\b\\c")));
    EXPECT_TRUE(directoryExists(at("a\\b\\c")));
    EXPECT_TRUE(createDirectoryPath(at("a\\b\\c")));
    EXPECT_TRUE(createDirectoryPath(at("a\\x\\")));
    EXPECT_TRUE(directoryExists(at("a\\x")));
    EXPECT_FALSE(createDirectoryPath(String(" \t")));
    EXPECT_FALSE(createDirectoryPath(String()));

    makeFile("file.txt", "x");
    EXPECT_FALSE(createDirectoryPath(at("file.txt\\below")));
    EXPECT_FALSE(createDirectoryPath(at("file.txt")));
}

TEST_F(Directories, DirectoryExistsLeavesTheCurrentDirectory) {
    makeDir("here");
    makeFile("file.txt");
    String before = currentDirectory();
    EXPECT_TRUE(directoryExists(at("here")));
    EXPECT_FALSE(directoryExists(at("file.txt")));
    EXPECT_FALSE(directoryExists(at("missing")));
    EXPECT_FALSE(directoryExists(String("  ")));
    EXPECT_EQ(str(currentDirectory()), str(before));
}

TEST_F(Directories, CurrentDirectoryLongerThanTheFirstBuffer) {
    std::string deep = "a-directory-name-of-some-length";
    std::string relative = deep + "\\" + deep + "\\" + deep + "\\" + deep;
    ASSERT_TRUE(createDirectoryPath(at(relative)));
    String before = currentDirectory();
    ASSERT_TRUE(SetCurrentDirectoryA(path(relative).c_str()));
    String inside = currentDirectory();
    SetCurrentDirectoryA(before.c_str());
    EXPECT_GT(inside.length(), 99);
    EXPECT_EQ(str(inside), path(relative));
}

TEST_F(Directories, RemoveDirectoryTakesOneTrailingSeparator) {
    makeDir("empty");
    makeDir("full");
    makeFile("full\\x.txt");
    EXPECT_TRUE(removeDirectory(at("empty\\")));
    EXPECT_FALSE(exists("empty"));
    EXPECT_FALSE(removeDirectory(at("full")));
    EXPECT_FALSE(removeDirectory(String("C:\\")));
}

TEST_F(Directories, RemoveDirectoryTreeTakesEverything) {
    makeDir("tree");
    makeDir("tree\\sub");
    makeDir("tree\\sub\\empty");
    makeFile("tree\\a.txt", "a");
    makeFile("tree\\sub\\b.txt", "b");
    makeFile("tree\\sub\\locked.txt", "r");
    SetFileAttributesA(path("tree\\sub\\locked.txt").c_str(),
                       FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(removeDirectoryTree(at("tree")));
    EXPECT_FALSE(exists("tree"));
}

TEST_F(Directories, RemoveDirectoryTreeGoesOnPastFailures) {
    makeDir("tree");
    makeDir("tree\\sub");
    makeFile("tree\\a.txt");
    makeFile("tree\\sub\\open.txt");
    makeFile("tree\\z.txt");
    HANDLE open = CreateFileA(path("tree\\sub\\open.txt").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(open, INVALID_HANDLE_VALUE);
    SetLastError(0);
    EXPECT_FALSE(removeDirectoryTree(at("tree")));
    EXPECT_NE(GetLastError(), 0u);
    EXPECT_FALSE(lastErrorText().isEmpty());
    CloseHandle(open);
    EXPECT_TRUE(exists("tree\\sub\\open.txt"));
    EXPECT_FALSE(exists("tree\\a.txt"));
    EXPECT_FALSE(exists("tree\\z.txt"));
}

TEST_F(Directories, RemoveDirectoryTreeRefusesTheWindowsDirectory) {
    makeFile("windows\\win.ini", "keep");
    for (const char* spelling :
         {"windows", "WINDOWS\\", "windows\\\\", "windows\\.", "windows\\sub\\.."}) {
        EXPECT_FALSE(removeDirectoryTree(at(spelling))) << spelling;
        EXPECT_EQ(contentOf("windows\\win.ini"), "keep") << spelling;
    }
    EXPECT_FALSE(removeDirectoryTree(at("missing")));
}

TEST_F(Directories, RemoveDirectoryTreeRefusesADriveRoot) {
    makeDir("drive");
    makeDir("drive\\sub");
    makeFile("drive\\keep.txt", "keep");
    makeFile("drive\\sub\\also.txt", "also");
    ScratchDrive drive(path("drive"));
    if (!drive.letter())
        GTEST_SKIP() << "no scratch drive letter (needs Wine's mount manager)";
    const std::string root = std::string(1, drive.letter()) + ":";
    ASSERT_EQ(GetFileAttributesA((root + "\\keep.txt").c_str()), FILE_ATTRIBUTE_ARCHIVE);
    for (const std::string& spelling :
         {root + "\\", root, root + "\\\\", root + "\\.", root + "\\sub\\..", root + "/"}) {
        EXPECT_FALSE(removeDirectoryTree(String(spelling.c_str()))) << spelling;
        EXPECT_EQ(contentOf("drive\\keep.txt"), "keep") << spelling;
        EXPECT_EQ(contentOf("drive\\sub\\also.txt"), "also") << spelling;
    }
    // The same drive below its root is fair game.
    EXPECT_TRUE(removeDirectoryTree(String((root + "\\sub").c_str())));
    EXPECT_FALSE(exists("drive\\sub"));
    EXPECT_EQ(contentOf("drive\\keep.txt"), "keep");
}

TEST_F(Directories, MakeAbsoluteToProgramDirectory) {
    startupValues().installerDir = at("prog");
    String path("setup.ini");
    EXPECT_TRUE(makeAbsoluteToProgramDirectory(path));
    EXPECT_EQ(str(path), this->path("prog\\setup.ini"));
}

} // namespace
