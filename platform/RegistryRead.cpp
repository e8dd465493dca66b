#include "core/Fatal.h"
#include "core/Path.h"
#include "core/ProgramName.h"
#include "platform/Registry.h"

#include <windows.h>

#include "platform/RegistryInternal.h"

namespace {

// Most values fit: one query does for them.
constexpr DWORD kFirstQueryBytes = 32;

bool isText(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ || type == REG_BINARY;
}

// The text types are stored with a terminating zero, which is not part of
// the text; a value written without one loses nothing.
int textLength(DWORD type, const char* bytes, DWORD size) {
    int length = static_cast<int>(size);
    if (type != REG_BINARY && length > 0 && bytes[length - 1] == '\0')
        --length;
    return length;
}

[[noreturn]] void requiredValueMissing(const String& key, const String& value) {
    fatalErrorf("The following registry key is required by %s, but is invalid or does not "
                "exist:\n\n%s%s\n\nIf you have tried moving this program to a different "
                "computer by copying files, this will not work.  This program must be "
                "reinstalled.",
                programName(), key.c_str(), value.c_str());
}

} // namespace

bool RegistryKey::readValue(const String& name, Variant& out, uint32_t flags) {
    if (!handle_)
        return false;
    char buffer[kFirstQueryBytes];
    DWORD type = REG_NONE;
    DWORD size = sizeof buffer;
    LONG result = RegQueryValueExA(handle_, name.c_str(), nullptr, &type,
                                   reinterpret_cast<BYTE*>(buffer), &size);
    if (result == ERROR_SUCCESS) {
        if (isText(type)) {
            out.setTextBytes(buffer, textLength(type, buffer, size));
            return true;
        }
        if (type == REG_DWORD && size == 4) {
            int32_t value;
            CopyMemory(&value, buffer, 4);
            out.setInt32(value);
            return true;
        }
        return false;
    }
    if (result == ERROR_MORE_DATA) {
        if (!isText(type))
            return false;
        out.setText(String());
        if (size == 0)
            return true;
        String& text = out.text();
        // A size the system reports; memory that cannot be had fails the read
        // rather than the program.
        if (!text.setLengthNoFail(static_cast<int>(size)))
            return false;
        DWORD got = size;
        result = RegQueryValueExA(handle_, name.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(text.writablePointer(0)), &got);
        if (result != ERROR_SUCCESS || !isText(type) || got > size) {
            text.clear();
            return false;
        }
        text.setLength(textLength(type, text.c_str(), got));
        return true;
    }
    if ((result == ERROR_FILE_NOT_FOUND || result == ERROR_BADKEY) && (flags & kRegRequired))
        requiredValueMissing(name_, name);
    return false;
}

bool RegistryKey::readBool(const String& name, bool fallback, uint32_t flags) {
    Variant value;
    return readValue(name, value, flags) ? value.toBool() : fallback;
}

int32_t RegistryKey::readInt(const String& name, int32_t fallback, uint32_t flags) {
    Variant value;
    return readValue(name, value, flags) ? value.toInt32() : fallback;
}

String RegistryKey::readString(const String& name, const String& fallback, uint32_t flags) {
    Variant value;
    return readValue(name, value, flags) ? value.toText() : fallback;
}

String RegistryKey::readString(const char* name, const String& fallback, uint32_t flags) {
    return readString(String(name), fallback, flags);
}

String RegistryKey::readString(const char* name) {
    return readString(String(name), String(), 0);
}

bool RegistryKey::readBoolAt(RegistryHandle root, const String& subKeyPath, const String& name,
                             bool fallback, uint32_t flags) {
    if (!open(root, subKeyPath, flags & ~(kRegOpenExisting | kRegReadOnly)))
        return fallback;
    bool value = readBool(name, fallback, flags);
    close();
    return value;
}

bool RegistryKey::readStringAt(RegistryHandle root, const String& subKeyPath, const String& name,
                               String& out, uint32_t flags) {
    out.clear();
    if (!open(root, subKeyPath, flags))
        return false;
    out = readString(name, String(), flags);
    close();
    return true;
}

String RegistryKey::readStringByPath(RegistryHandle root, const String& keyAndValuePath,
                                     const String& fallback, uint32_t flags) {
    String keyPath;
    String valueName;
    splitPath(keyAndValuePath, keyPath, valueName);
    keyPath.removeTrailingChar('\\');
    String value;
    if (keyPath.isEmpty() || !readStringAt(root, keyPath, valueName, value, flags))
        return fallback;
    return value;
}

bool RegistryKey::valueExists(const String& name) {
    return handle_ && RegQueryValueExA(handle_, name.c_str(), nullptr, nullptr, nullptr, nullptr) ==
                          ERROR_SUCCESS;
}

int RegistryKey::subKeyCount() {
    DWORD subKeys = 0;
    if (!handle_ || RegQueryInfoKeyA(handle_, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr,
                                     nullptr, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return -1;
    return static_cast<int>(subKeys);
}

bool RegistryKey::isEmptyKey() {
    DWORD subKeys = 0;
    DWORD values = 0;
    if (!handle_ || RegQueryInfoKeyA(handle_, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr,
                                     &values, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return true;
    return subKeys == 0 && values == 0;
}

int RegistryKey::enumerateSubKeys(Array<String>& out) {
    if (!handle_)
        return 0;
    // Room for the longest name a key can have (255 characters).
    char buffer[256];
    int count = 0;
    LONG result;
    for (DWORD index = 0;; ++index) {
        result = RegEnumKeyA(handle_, index, buffer, sizeof buffer);
        if (result != ERROR_SUCCESS)
            break;
        out.append(String(buffer));
        ++count;
    }
    SetLastError(result == ERROR_NO_MORE_ITEMS ? 0 : static_cast<DWORD>(result));
    return count;
}
