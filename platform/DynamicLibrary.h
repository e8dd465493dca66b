#pragma once
// A system library loaded at run time, for entry points that older Windows
// lacks. Only the system directory is ever searched: a library of the same
// name planted beside the installer (a download folder) is never loaded.

#include "core/String.h"

// Where the newer kernel entry points are looked for; one copy of the name
// for every user.
inline constexpr char kKernelLibrary[] = "kernel32.dll";

// A row of resolveAll: `pointer` receives the entry point named `name`.
struct DynamicEntry {
    const char* name;
    void** pointer;
    bool optional;
};

class DynamicLibrary {
public:
    // `defaultName` is what entryLazy loads when nothing is loaded yet.
    explicit DynamicLibrary(const char* defaultName = nullptr) : defaultName_(defaultName) {}
    ~DynamicLibrary();
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    // Frees what was loaded, then loads the plain file name `name` from the
    // system directory. A null name loads nothing; a name holding a directory
    // or drive is refused.
    bool load(const char* name);
    void free();
    bool isLoaded() const { return module_ != nullptr; }

    // The entry point, or false with `pointer` null (also without a library).
    bool entry(const char* name, void*& pointer);
    template <class Function> bool entry(const char* name, Function*& function) {
        void* pointer = nullptr;
        bool found = entry(name, pointer);
        function = reinterpret_cast<Function*>(pointer);
        return found;
    }
    // True at once when `pointer` is already set; else loads the default
    // library first when none is loaded, and looks the entry point up.
    bool entryLazy(const char* name, void*& pointer);
    // Fills every row; false when a row that is not optional stays null.
    bool resolveAll(const DynamicEntry* rows, int count);

private:
    const char* defaultName_;
    void* module_ = nullptr;
};

// The full path of `name` in the system directory; empty when `name` is not
// a plain file name or the directory is unknown.
String systemLibraryPath(const char* name);
