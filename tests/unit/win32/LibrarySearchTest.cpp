#include "platform/LibrarySearch.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

// VersionFixture.dll lies beside the test program, as a planted DLL lies
// beside setup.exe in a download folder.
constexpr const char* kPlanted = "VersionFixture.dll";

TEST(LibrarySearch, APlantedLibraryBesideTheProgramIsNoLongerFound) {
    HMODULE before = LoadLibraryA(kPlanted);
    ASSERT_NE(before, nullptr) << "the fixture must be found by bare name at first";
    FreeLibrary(before);

    EXPECT_EQ(restrictLibrarySearch(), LibrarySearch::SystemDirectoryOnly);
    HMODULE after = LoadLibraryA(kPlanted);
    EXPECT_EQ(after, nullptr);
    if (after)
        FreeLibrary(after);
    // Libraries of the system directory still load by bare name.
    HMODULE system = LoadLibraryA("version.dll");
    EXPECT_NE(system, nullptr);
    if (system)
        FreeLibrary(system);

    // The rest of this process searches as usual again.
    using SetDefault = BOOL(WINAPI*)(DWORD);
    auto setDefault = reinterpret_cast<SetDefault>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
    ASSERT_NE(setDefault, nullptr);
    setDefault(0x1000); // LOAD_LIBRARY_SEARCH_DEFAULT_DIRS
}

} // namespace
