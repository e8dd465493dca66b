#include "platform/Registry.h"

#include "core/Path.h"
#include "platform/ErrorText.h"

#include <windows.h>

#include "platform/RegistryInternal.h"

namespace {

void showBox(const String& text) {
    MessageBoxA(nullptr, text.c_str(), "Registry Error", MB_OK | MB_ICONERROR);
}

void (*gErrorBox)(const String&) = showBox;

struct RootName {
    HKEY root;
    const char* name;
};

const char* predefinedRootName(HKEY root) {
    static const RootName names[] = {
        {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT\\"},     {HKEY_CURRENT_USER, "HKEY_CURRENT_USER\\"},
        {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE\\"},   {HKEY_USERS, "HKEY_USERS\\"},
        {HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG\\"},
    };
    for (const RootName& entry : names)
        if (entry.root == root)
            return entry.name;
    return nullptr;
}

} // namespace

String softwarePath(const String& subPath) {
    return subPath.isEmpty() ? String("Software") : String("Software\\") + subPath;
}

HKEY softwareRoot(bool currentUser) {
    return currentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

// The registry functions return their error instead of setting the thread's
// last error; it is set here so that the box and the callers' reports quote
// this failure and not an older one.
void registryFailed(LONG error, uint32_t flags) {
    SetLastError(static_cast<DWORD>(error));
    if (!(flags & kRegErrorBox))
        return;
    String text = systemErrorText(static_cast<uint32_t>(error));
    if (!text.isEmpty())
        gErrorBox(text);
}

void setRegistryErrorBox(void (*show)(const String& text)) {
    gErrorBox = show ? show : showBox;
}

int RegistryKey::open(RegistryHandle root, const String& subKeyPath, uint32_t flags) {
    HKEY key = nullptr;
    DWORD disposition = REG_OPENED_EXISTING_KEY;
    LONG result;
    if (flags & kRegReadOnly)
        result = RegOpenKeyExA(root, subKeyPath.c_str(), 0, KEY_READ, &key);
    else if (flags & kRegOpenExisting)
        result = RegOpenKeyExA(root, subKeyPath.c_str(), 0, KEY_ALL_ACCESS, &key);
    else
        result =
            RegCreateKeyExA(root, subKeyPath.c_str(), 0, const_cast<char*>(""),
                            REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, &disposition);
    if (result != ERROR_SUCCESS) {
        registryFailed(result, flags);
        return kRegOpenFailed;
    }
    String name;
    if (const char* rootName = predefinedRootName(root))
        name = String(rootName) + subKeyPath;
    else if (root == handle_ && handle_)
        name = name_ + "\\" + subKeyPath;
    else
        name = subKeyPath;
    handles_.push(handle_);
    names_.push(name_);
    handle_ = key;
    name_ = name;
    return disposition == REG_CREATED_NEW_KEY ? kRegCreated : kRegOpened;
}

int RegistryKey::openRelative(const String& subKeyPath, uint32_t flags) {
    if (!handle_)
        return kRegOpenFailed;
    return open(handle_, subKeyPath, flags);
}

int RegistryKey::openSoftware(const String& subPath, bool currentUser, uint32_t flags) {
    return open(softwareRoot(currentUser), softwarePath(subPath), flags);
}

bool RegistryKey::softwareKeyExists(const String& subPath, bool currentUser) {
    if (subPath.isEmpty())
        return false;
    HKEY key = nullptr;
    if (RegOpenKeyExA(softwareRoot(currentUser), softwarePath(subPath).c_str(), 0, KEY_ALL_ACCESS,
                      &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void RegistryKey::close() {
    if (handle_)
        RegCloseKey(handle_);
    handle_ = handles_.isEmpty() ? nullptr : handles_.pop();
    name_ = names_.isEmpty() ? String() : names_.pop();
}

RegistryKey::~RegistryKey() {
    closeAll();
}

void RegistryKey::closeAll() {
    while (handle_ || !handles_.isEmpty())
        close();
}

bool RegistryKey::transferValue(const String& name, Variant& value) {
    return writing() ? writeValue(name, value, 0) : readValue(name, value, 0);
}

bool RegistryKey::enter(const String& component) {
    return openRelative(component, 0) != kRegOpenFailed;
}

bool writeProfileString(const String& section, const String& key, const String& value,
                        const String& file) {
    const char* target = file.isBlank() ? "WIN.INI" : file.c_str();
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), target);
}

void clearLastError() {
    SetLastError(0);
}

void setLastErrorInvalidParameter() {
    SetLastError(ERROR_INVALID_PARAMETER);
}
