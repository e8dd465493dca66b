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

void stripDirectory(String& path) {
    path.erase(0, nameStart(path));
}

bool keepDirectory(String& path) {
    int start = nameStart(path);
    if (start == 0)
        return false;
    path.truncate(start);
    return true;
}

int extensionPosition(const String& path) {
    for (int i = path.length() - 1; i >= 0; --i) {
        char c = path.charAt(i);
        if (isSeparator(c))
            return -1;
        if (c == '.')
            return i;
    }
    return -1;
}

bool stripExtension(String& path) {
    int dot = extensionPosition(path);
    return dot >= 0 && path.truncate(dot);
}

bool addExtension(String& path, const char* extension) {
    if (!extension || path.isBlank() || extensionPosition(path) >= 0)
        return false;
    if (*extension != '.')
        path.append('.');
    path.append(extension);
    return true;
}

String splitDirectory(String& path) {
    int sep = path.findLastChar('\\');
    if (sep <= 0)
        return String();
    bool driveRoot = sep == 2 && path.charAt(1) == ':';
    String directory(path.c_str(), driveRoot ? sep + 1 : sep);
    path.erase(0, sep + 1);
    return directory;
}

bool splitPath(const String& path, String& directory, String& name) {
    int sep = path.findLastChar('\\');
    int cut = sep >= 0 ? sep + 1 : (path.charAt(1) == ':' ? 2 : 0);
    directory.assignBytes(path.c_str(), cut);
    name.assignBytes(path.c_str() + cut, path.length() - cut);
    return cut > 0 || !name.isEmpty();
}
