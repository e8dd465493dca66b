#include "installer/win32/Registration.h"

#include "core/Path.h"
#include "installer/Installation.h"
#include "installer/win32/ComResult.h"
#include "platform/DynamicLibrary.h"
#include "platform/ErrorText.h"

#include <windows.h>

#include <oleauto.h>

namespace {

using LoadTypeLibFunction = HRESULT WINAPI(const OLECHAR*, ITypeLib**);
using RegisterTypeLibFunction = HRESULT WINAPI(ITypeLib*, const OLECHAR*, const OLECHAR*);
using UnRegisterTypeLibFunction = HRESULT WINAPI(REFGUID, WORD, WORD, LCID, SYSKIND);
using RegisterServerFunction = HRESULT WINAPI();

// oleaut32 is not in the import table: it is loaded from the system
// directory on first use and stays loaded.
struct TypeLibraryFunctions {
    DynamicLibrary library{"oleaut32.dll"};
    void* load = nullptr;
    void* registerLibrary = nullptr;
    void* unregisterLibrary = nullptr;
};

TypeLibraryFunctions& oleAutomation() {
    static TypeLibraryFunctions functions;
    return functions;
}

template <class Function> Function* lookUp(const char* name, void*& pointer) {
    oleAutomation().library.entryLazy(name, pointer);
    return reinterpret_cast<Function*>(pointer);
}

// The library in the file, or null with the reason as the last error.
ITypeLib* loadTypeLibrary(const String& path) {
    WCHAR widePath[MAX_PATH];
    auto* load = lookUp<LoadTypeLibFunction>("LoadTypeLib", oleAutomation().load);
    if (!load || !toWidePath(path, widePath))
        return nullptr;
    ITypeLib* library = nullptr;
    const HRESULT result = load(widePath, &library);
    if (FAILED(result) || !library) {
        failedWith(result);
        return nullptr;
    }
    return library;
}

} // namespace

bool registerTypeLibrary(const String& path) {
    auto* registerLibrary =
        lookUp<RegisterTypeLibFunction>("RegisterTypeLib", oleAutomation().registerLibrary);
    if (!registerLibrary)
        return false;
    ITypeLib* library = loadTypeLibrary(path);
    if (!library)
        return false;
    WCHAR widePath[MAX_PATH];
    toWidePath(path, widePath);
    const HRESULT result = registerLibrary(library, widePath, nullptr);
    library->Release();
    return SUCCEEDED(result) || failedWith(result);
}

bool unregisterTypeLibrary(const String& path) {
    auto* unregisterLibrary =
        lookUp<UnRegisterTypeLibFunction>("UnRegisterTypeLib", oleAutomation().unregisterLibrary);
    if (!unregisterLibrary)
        return false;
    ITypeLib* library = loadTypeLibrary(path);
    if (!library)
        return false;
    TLIBATTR* attributes = nullptr;
    HRESULT result = library->GetLibAttr(&attributes);
    if (SUCCEEDED(result) && attributes) {
        result = unregisterLibrary(attributes->guid, attributes->wMajorVerNum,
                                   attributes->wMinorVerNum, attributes->lcid, attributes->syskind);
        library->ReleaseTLibAttr(attributes);
    }
    library->Release();
    return SUCCEEDED(result) || failedWith(result);
}

void registerComServers() {
    String& log = installation().installLog;
    for (const String& path : installation().comServerList) {
        log.appendFormat("Registering COM File \"%s\"...", path.c_str());
        // The server's own folder comes first in the search for the DLLs it
        // needs, before the folder the installer was started from.
        HMODULE module =
            LoadLibraryExA(path.c_str(), nullptr,
                           isAbsolutePath(path.c_str()) ? LOAD_WITH_ALTERED_SEARCH_PATH : 0);
        if (reinterpret_cast<UINT_PTR>(module) < 32) {
            log += "LoadLibrary() Failed\r\n";
            continue;
        }
        auto* registerServer = reinterpret_cast<RegisterServerFunction*>(
            reinterpret_cast<void*>(GetProcAddress(module, "DllRegisterServer")));
        if (registerServer) {
            // What the server answers is not examined.
            registerServer();
            log += "OK\r\n";
        } else {
            log += "GetProcAddress() Failed\r\n";
        }
        FreeLibrary(module);
    }
}

void registerTypeLibraries() {
    String& log = installation().installLog;
    for (const String& path : installation().typeLibraryList) {
        log.appendFormat("Registering Type Library \"%s\"...", path.c_str());
        if (registerTypeLibrary(path)) {
            log += "OK\r\n";
            continue;
        }
        log += "FAILED\r\n";
        log += lastErrorText();
        log.appendLineBreakIfMissing();
    }
}
