#include "FileScratch.h"

#include "core/Path.h"
#include "platform/DynamicLibrary.h"

namespace {

using DynamicLibraries = FileScratch;

std::string systemDirectory() {
    char buffer[MAX_PATH];
    UINT length = GetSystemDirectoryA(buffer, sizeof buffer);
    return std::string(buffer, length);
}

// Where the module that holds `address` was loaded from.
String moduleFile(void* address) {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       static_cast<const char*>(address), &module);
    char buffer[MAX_PATH];
    DWORD length = GetModuleFileNameA(module, buffer, sizeof buffer);
    return String(buffer, static_cast<int>(length));
}

TEST_F(DynamicLibraries, LoadsFromTheSystemDirectory) {
    DynamicLibrary library;
    ASSERT_TRUE(library.load("version.dll"));
    void* entry = nullptr;
    ASSERT_TRUE(library.entry("GetFileVersionInfoSizeA", entry));
    EXPECT_TRUE(samePath(directoryPart(moduleFile(entry)), String(systemDirectory().c_str())))
        << str(moduleFile(entry));
    EXPECT_FALSE(library.entry("NoSuchEntryPoint", entry));
    EXPECT_EQ(entry, nullptr);
}

// A library of a name the system directory does not hold, planted in the
// current directory: a bare-name load would find it, ours never looks there.
TEST_F(DynamicLibraries, IgnoresALibraryPlantedInTheCurrentDirectory) {
    makeFile("vkplant.dll", "not a library, but found if looked for");
    char current[MAX_PATH];
    GetCurrentDirectoryA(sizeof current, current);
    ASSERT_TRUE(SetCurrentDirectoryA(root().c_str()));

    SetLastError(0);
    HMODULE bare = LoadLibraryA("vkplant.dll");
    DWORD bareError = GetLastError();
    DynamicLibrary library;
    SetLastError(0);
    bool loaded = library.load("vkplant.dll");
    DWORD ourError = GetLastError();
    SetCurrentDirectoryA(current);

    EXPECT_EQ(bare, nullptr);
    EXPECT_NE(bareError, static_cast<DWORD>(ERROR_MOD_NOT_FOUND)) << "the plant was not found";
    EXPECT_FALSE(loaded);
    EXPECT_EQ(ourError, static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

TEST_F(DynamicLibraries, RefusesAnythingButAPlainName) {
    makeFile("vkplant.dll", "x");
    DynamicLibrary library;
    for (const std::string& name :
         {path("vkplant.dll"), std::string(".\\vkplant.dll"), std::string("C:vkplant.dll"),
          std::string("sub/x.dll"), std::string()}) {
        EXPECT_FALSE(library.load(name.c_str())) << name;
        EXPECT_FALSE(library.isLoaded());
        EXPECT_EQ(str(systemLibraryPath(name.c_str())), "") << name;
    }
    EXPECT_FALSE(library.load(nullptr));
    EXPECT_EQ(str(systemLibraryPath("kernel32.dll")), systemDirectory() + "\\kernel32.dll");
}

TEST_F(DynamicLibraries, NothingLoadedGivesNoEntries) {
    DynamicLibrary library;
    void* entry = reinterpret_cast<void*>(1);
    EXPECT_FALSE(library.entry("GetDiskFreeSpaceExA", entry));
    EXPECT_EQ(entry, nullptr);
}

TEST_F(DynamicLibraries, EntryLazyLoadsTheDefaultLibrary) {
    DynamicLibrary library("kernel32.dll");
    void* entry = nullptr;
    EXPECT_TRUE(library.entryLazy("GetDiskFreeSpaceExA", entry));
    EXPECT_TRUE(library.isLoaded());
    EXPECT_NE(entry, nullptr);
    // An entry already set is not looked up again.
    void* kept = reinterpret_cast<void*>(&systemDirectory);
    EXPECT_TRUE(library.entryLazy("NoSuchEntryPoint", kept));
    EXPECT_EQ(kept, reinterpret_cast<void*>(&systemDirectory));

    DynamicLibrary none;
    void* missing = nullptr;
    EXPECT_FALSE(none.entryLazy("GetDiskFreeSpaceExA", missing));
}

TEST_F(DynamicLibraries, ResolveAllNeedsEveryRequiredRow) {
    DynamicLibrary library;
    ASSERT_TRUE(library.load("kernel32.dll"));
    void* moveEx = nullptr;
    void* freeSpaceEx = nullptr;
    void* absent = reinterpret_cast<void*>(1);
    DynamicEntry optionalMissing[] = {
        {"MoveFileExA", &moveEx, false},
        {"GetDiskFreeSpaceExA", &freeSpaceEx, false},
        {"NoSuchEntryPoint", &absent, true},
    };
    EXPECT_TRUE(library.resolveAll(optionalMissing, 3));
    EXPECT_NE(moveEx, nullptr);
    EXPECT_NE(freeSpaceEx, nullptr);
    EXPECT_EQ(absent, nullptr);

    DynamicEntry requiredMissing[] = {
        {"NoSuchEntryPoint", &absent, false},
        {"MoveFileExA", &moveEx, false},
    };
    EXPECT_FALSE(library.resolveAll(requiredMissing, 2));
    EXPECT_NE(moveEx, nullptr);
}

} // namespace
