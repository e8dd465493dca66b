#pragma once
// The search path for DLLs that Windows loads by bare name (those the shell,
// COM and the common dialogs load on their own) is narrowed to the system
// directory, so that a DLL planted beside setup.exe is never loaded.

enum class LibrarySearch {
    SystemDirectoryOnly, // SetDefaultDllDirectories (Windows 8, or 7 updated)
    NoCurrentDirectory,  // SetDllDirectoryA("") (XP SP1 to 7)
    Unchanged,           // older Windows, which has neither
};

// Called first at start-up; both functions are looked up in kernel32 at run
// time, since Windows 95 to XP do not export them.
LibrarySearch restrictLibrarySearch();
