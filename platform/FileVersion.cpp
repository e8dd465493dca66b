#include "platform/FileVersion.h"

#include "platform/DynamicLibrary.h"

#include <windows.h>

namespace {

using SizeFunction = DWORD WINAPI(const char*, DWORD*);
using InfoFunction = BOOL WINAPI(const char*, DWORD, DWORD, void*);
using QueryFunction = BOOL WINAPI(const void*, const char*, void**, UINT*);

// version.dll is not in the import table: Windows would look for it beside
// the installer first.
struct VersionLibrary {
    DynamicLibrary library;
    SizeFunction* size = nullptr;
    InfoFunction* info = nullptr;
    QueryFunction* query = nullptr;
    bool complete = false;

    VersionLibrary() {
        if (!library.load("version.dll"))
            return;
        const DynamicEntry rows[] = {
            {"GetFileVersionInfoSizeA", reinterpret_cast<void**>(&size), false},
            {"GetFileVersionInfoA", reinterpret_cast<void**>(&info), false},
            {"VerQueryValueA", reinterpret_cast<void**>(&query), false},
        };
        complete = library.resolveAll(rows, 3);
    }
};

VersionLibrary& versionLibrary() {
    static VersionLibrary library;
    return library;
}

// The bytes a query answers, kept within the block.
bool query(const String& block, const String& path, const char*& bytes, int& length) {
    VersionLibrary& library = versionLibrary();
    void* pointer = nullptr;
    UINT size = 0;
    if (block.isEmpty() || !library.complete ||
        !library.query(block.c_str(), path.c_str(), &pointer, &size) || !pointer)
        return false;
    const char* start = block.c_str();
    bytes = static_cast<const char*>(pointer);
    if (bytes < start || bytes > start + block.length())
        return false;
    const int room = static_cast<int>(start + block.length() - bytes);
    length = static_cast<int>(size) < room ? static_cast<int>(size) : room;
    return true;
}

} // namespace

String readVersionBlock(const String& path) {
    VersionLibrary& library = versionLibrary();
    if (!library.complete || path.isEmpty())
        return String();
    DWORD handle = 0;
    DWORD size = library.size(path.c_str(), &handle);
    String block;
    if (static_cast<int32_t>(size) <= 0 || !block.setLengthNoFail(static_cast<int>(size)))
        return String();
    if (!library.info(path.c_str(), 0, size, block.writablePointer(0)))
        return String();
    return block;
}

String versionTranslation(const String& block) {
    const char* bytes = nullptr;
    int length = 0;
    uint32_t translation = 0x04E40409;
    if (query(block, String("\\VarFileInfo\\Translation"), bytes, length) && length >= 4)
        CopyMemory(&translation, bytes, 4);
    return String::formatted("%04x%04x", static_cast<unsigned>(translation & 0xFFFF),
                             static_cast<unsigned>(translation >> 16));
}

String versionValue(const String& block, const String& translation, const String& name) {
    const char* bytes = nullptr;
    int length = 0;
    String path = String("\\StringFileInfo\\") + translation + "\\" + name;
    if (!query(block, path, bytes, length))
        return String();
    // The value is a text: what follows its first zero byte is padding.
    String value(bytes, length);
    value.truncateAtChar('\0');
    return value;
}

String normalizeVersionText(const String& fileVersion, bool padded) {
    String text(fileVersion);
    text.replaceChar(',', '.');
    text.removeChars(" \r\n\t");
    if (!padded || text.isEmpty())
        return text;
    text.toUpper();
    String result;
    int start = 0;
    for (;;) {
        int end = text.findChar('.', start);
        const int partEnd = end < 0 ? text.length() : end;
        const int partLength = partEnd - start;
        if (partLength < 10)
            result.append(String("0000000000", 10 - partLength));
        result.appendBytes(text.c_str() + start, partLength);
        if (end < 0)
            break;
        result.append('.');
        start = end + 1;
    }
    return result;
}

String fileVersionText(const String& path, bool padded) {
    String block = readVersionBlock(path);
    if (block.isEmpty())
        return String();
    String value = versionValue(block, versionTranslation(block), String("FileVersion"));
    return normalizeVersionText(value, padded);
}
