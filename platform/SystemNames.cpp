#include "platform/SystemNames.h"

#include <windows.h>

namespace {

constexpr DWORD kExpandBuffer = 32000;

} // namespace

bool expandEnvironment(String& text) {
    String expanded;
    expanded.setLength(static_cast<int>(kExpandBuffer));
    DWORD length =
        ExpandEnvironmentStringsA(text.c_str(), expanded.writablePointer(0), kExpandBuffer - 1);
    if (length == 0 || length > kExpandBuffer - 1)
        return false;
    text.assign(expanded.c_str());
    return true;
}

String shortPathName(const String& path) {
    if (path.isEmpty())
        return String();
    const int size = path.length() * 2 > 260 ? path.length() * 2 : 260;
    String shortName;
    shortName.setLength(size);
    DWORD length =
        GetShortPathNameA(path.c_str(), shortName.writablePointer(0), static_cast<DWORD>(size));
    if (length == 0 || length >= static_cast<DWORD>(size))
        return path;
    shortName.setLength(static_cast<int>(length));
    return shortName;
}
