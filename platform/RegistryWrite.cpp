#include "core/Path.h"
#include "platform/Registry.h"

#include <windows.h>

#include "platform/RegistryInternal.h"

namespace {

bool setValue(HKEY key, const String& name, DWORD type, const void* data, int size) {
    return RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data),
                          static_cast<DWORD>(size)) == ERROR_SUCCESS;
}

// REG_SZ and REG_EXPAND_SZ are stored with their terminating zero.
bool setText(HKEY key, const String& name, const String& text, uint32_t flags) {
    if (flags & kRegBinary)
        return setValue(key, name, REG_BINARY, text.c_str(), text.length());
    DWORD type = (flags & kRegExpandText) ? REG_EXPAND_SZ : REG_SZ;
    return setValue(key, name, type, text.c_str(), text.length() + 1);
}

} // namespace

bool RegistryKey::writeValue(const String& name, const Variant& value, uint32_t flags) {
    if (!handle_)
        return false;
    if (value.kind() == VariantKind::None || ((flags & kRegEmptyDeletes) && value.isEmpty())) {
        deleteValue(name);
        return true;
    }
    if (value.storage() == VariantStorage::Integer) {
        int32_t number = value.toInt32();
        return setValue(handle_, name, REG_DWORD, &number, 4);
    }
    return setText(handle_, name, value.toText(), flags);
}

bool RegistryKey::writeInt(const String& name, int32_t value, uint32_t flags) {
    if (!handle_)
        return false;
    if ((flags & kRegEmptyDeletes) && value == 0) {
        deleteValue(name);
        return true;
    }
    return setValue(handle_, name, REG_DWORD, &value, 4);
}

bool RegistryKey::writeText(const String& name, const String& text, uint32_t flags) {
    if ((flags & kRegEmptyDeletes) && text.isEmpty())
        return deleteValue(name) == kRegDeleted;
    return handle_ && setText(handle_, name, text, flags);
}

bool RegistryKey::writeInt(const char* name, int32_t value, uint32_t flags) {
    return writeInt(String(name), value, flags);
}

bool RegistryKey::writeText(const char* name, const String& text, uint32_t flags) {
    return writeText(String(name), text, flags);
}

int RegistryKey::deleteValue(const String& name) {
    if (!handle_)
        return kRegNothingToDelete;
    LONG result = RegDeleteValueA(handle_, name.c_str());
    if (result == ERROR_SUCCESS)
        return kRegDeleted;
    SetLastError(static_cast<DWORD>(result));
    return kRegDeleteFailed;
}

int RegistryKey::deleteSubKey(const String& subKeyName, uint32_t flags) {
    if (!handle_ || subKeyName.isEmpty())
        return kRegNothingToDelete;
    if (flags & kRegOnlyIfEmpty) {
        if (openRelative(subKeyName, kRegOpenExisting)) {
            bool empty = isEmptyKey();
            close();
            if (!empty)
                return kRegKeyNotEmpty;
        }
    }
    // Windows NT deletes only keys without sub-keys: empty it first.
    if (openRelative(subKeyName, kRegOpenExisting | (flags & kRegErrorBox))) {
        Array<String> children;
        enumerateSubKeys(children);
        for (const String& child : children)
            deleteSubKey(child, flags);
        close();
    }
    LONG result = RegDeleteKeyA(handle_, subKeyName.c_str());
    if (result == ERROR_SUCCESS)
        return kRegDeleted;
    registryFailed(result, flags);
    return kRegDeleteFailed;
}

int RegistryKey::deleteKeyAt(RegistryHandle root, const String& parentPath,
                             const String& subKeyName, uint32_t flags) {
    // A parent that is not there holds nothing to delete: no box for it.
    if (!open(root, parentPath, kRegOpenExisting))
        return kRegNothingToDelete;
    int result = deleteSubKey(subKeyName, flags);
    close();
    return result;
}

int RegistryKey::deleteKeyByPath(RegistryHandle root, const String& path, uint32_t flags) {
    String parent;
    String key;
    splitPath(path, parent, key);
    parent.removeTrailingChar('\\');
    if (parent.isEmpty() || key.isEmpty())
        return kRegNothingToDelete;
    return deleteKeyAt(root, parent, key, flags);
}

int RegistryKey::deleteSoftwareKey(const String& parentSubPath, const String& subKeyName,
                                   bool currentUser, uint32_t flags) {
    return deleteKeyAt(softwareRoot(currentUser), softwarePath(parentSubPath), subKeyName, flags);
}

int RegistryKey::deleteSoftwareKeyByPath(const String& subPath, bool currentUser, uint32_t flags) {
    return deleteKeyByPath(softwareRoot(currentUser), softwarePath(subPath), flags);
}
