#include "core/Path.h"

namespace {
bool isSeparator(char c) {
    return c == '\\';
}
} // namespace

String joinPath(const String& directory, const String& name) {
    if (directory.isEmpty())
        return name;
    if (name.isEmpty())
        return directory;
    String result(directory);
    if (isSeparator(name.firstChar())) {
        result.removeTrailingChar('\\');
    } else {
        char last = result.lastChar();
        if (last != ':' && !isSeparator(last))
            result.append('\\');
    }
    result.append(name);
    return result;
}

int lastSeparator(const String& path) {
    int limit = path.findChar(';', 0, 0x10);
    if (limit < 0)
        limit = path.length();
    for (int i = limit - 1; i >= 0; --i) {
        if (isSeparator(path.charAt(i)))
            return i;
    }
    return path.findChar(':', 0, 0);
}

String directoryPart(const String& path) {
    int sep = lastSeparator(path);
    if (sep < 0)
        return String();
    bool keep = path.charAt(sep) == ':' || (sep > 0 && path.charAt(sep - 1) == ':');
    String result;
    result.assignBytes(path.c_str(), keep ? sep + 1 : sep);
    return result;
}

int nameStart(const String& path) {
    for (int i = path.length() - 1; i >= 0; --i) {
        if (isSeparator(path.charAt(i)))
            return i + 1;
    }
    int colon = path.findChar(':', 0, 0);
    return colon < 0 ? 0 : colon + 1;
}

String fileNamePart(const String& path) {
    return String(path.c_str() + nameStart(path), path.length() - nameStart(path));
}
