#include "platform/DynamicLibrary.h"

#include "core/Path.h"

#include <windows.h>

#include <cstring>

String systemLibraryPath(const char* name) {
    if (!name || !*name || std::strpbrk(name, "\\/:"))
        return String();
    char directory[MAX_PATH];
    UINT length = GetSystemDirectoryA(directory, sizeof directory);
    if (length == 0 || length >= sizeof directory)
        return String();
    return joinPath(String(directory, static_cast<int>(length)), String(name));
}

DynamicLibrary::~DynamicLibrary() {
    free();
}

void DynamicLibrary::free() {
    if (module_)
        FreeLibrary(static_cast<HMODULE>(module_));
    module_ = nullptr;
}

bool DynamicLibrary::load(const char* name) {
    free();
    String path = systemLibraryPath(name);
    if (path.isEmpty())
        return false;
    // The library's own dependencies are then looked for beside it, in the
    // system directory, before the program's directory.
    module_ = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    return module_ != nullptr;
}

bool DynamicLibrary::entry(const char* name, void*& pointer) {
    pointer = nullptr;
    if (!module_ || !name)
        return false;
    pointer = reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module_), name));
    return pointer != nullptr;
}

bool DynamicLibrary::entryLazy(const char* name, void*& pointer) {
    if (pointer)
        return true;
    if (!module_)
        load(defaultName_);
    return entry(name, pointer);
}

bool DynamicLibrary::resolveAll(const DynamicEntry* rows, int count) {
    bool complete = true;
    for (int i = 0; i < count; ++i) {
        entry(rows[i].name, *rows[i].pointer);
        if (!*rows[i].pointer && !rows[i].optional)
            complete = false;
    }
    return complete;
}
