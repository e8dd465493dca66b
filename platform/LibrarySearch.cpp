#include "platform/LibrarySearch.h"

#include "platform/DynamicLibrary.h"

#include <windows.h>

LibrarySearch restrictLibrarySearch() {
    // kernel32 is in every process: looking it up loads nothing.
    HMODULE kernel = GetModuleHandleA(kKernelLibrary);
    if (!kernel)
        return LibrarySearch::Unchanged;
    using SetDefaultDirectories = BOOL(WINAPI*)(DWORD);
    using SetDirectory = BOOL(WINAPI*)(LPCSTR);
    // 0x800: LOAD_LIBRARY_SEARCH_SYSTEM32, which older headers lack.
    constexpr DWORD kSearchSystem32 = 0x00000800;
    auto setDefault = reinterpret_cast<SetDefaultDirectories>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (setDefault && setDefault(kSearchSystem32))
        return LibrarySearch::SystemDirectoryOnly;
    auto setDirectory = reinterpret_cast<SetDirectory>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "SetDllDirectoryA")));
    if (setDirectory && setDirectory(""))
        return LibrarySearch::NoCurrentDirectory;
    return LibrarySearch::Unchanged;
}
