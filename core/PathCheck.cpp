// The path helpers that judge and complete paths: absolute or not, valid
// characters, completion against a base directory, comparison and drives.

#include "core/Path.h"

#include <cstring>

namespace {

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isWhite(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

const char* skipWhite(const char* text) {
    while (isWhite(*text))
        ++text;
    return text;
}

bool hasDrive(const char* text) {
    return isLetter(text[0]) && text[1] == ':';
}

} // namespace

bool isAbsolutePath(const char* text) {
    if (!text)
        return false;
    text = skipWhite(text);
    if (text[0] == '\\' && text[1] == '\\')
        return true;
    return text[0] && text[1] == ':' && text[2] == '\\';
}

bool isValidPath(const String& path, int flags) {
    String text(path);
    if (flags & kPathTrim)
        text.trim();
    if (text.isEmpty())
        return false;
    text.stripEnclosing('"');
    // A pair of quotes round nothing names no file either.
    if (text.isEmpty())
        return false;
    int start = 0;
    if (text.charAt(1) == ':') {
        if (!isLetter(text.charAt(0)))
            return false;
        start = 2;
    }
    const char* forbidden = "/\"<>|:;*?";
    if (flags & kPathAllowWildcards)
        forbidden = "/\"<>|:;";
    else if (flags & kPathAllowStar)
        forbidden = "/\"<>|:;?";
    for (int i = start; i < text.length(); ++i) {
        char c = text.charAt(i);
        if (c && std::strchr(forbidden, c))
            return false;
    }
    return true;
}

bool makeAbsolute(String& path, const char* base) {
    path.trim();
    if (path.isEmpty() || !base)
        return false;
    base = skipWhite(base);
    if (!isAbsolutePath(base) || path.startsWith("\\\\"))
        return false;
    const bool baseEndsInSeparator = base[std::strlen(base) - 1] == '\\';
    if (path.firstChar() == '\\') {
        if (!hasDrive(base))
            return false;
        path.insert(0, base, 2);
        return true;
    }
    if (path.charAt(1) == ':') {
        // "D:x" takes the base's directory below its drive; a base without a
        // drive (a network path) has none to give.
        if (path.charAt(2) == '\\' || !hasDrive(base))
            return false;
        String middle(base + 2);
        if (!baseEndsInSeparator)
            middle.append('\\');
        path.insert(2, middle.c_str());
        return true;
    }
    if (!baseEndsInSeparator)
        path.prepend("\\");
    path.prepend(base);
    return true;
}

bool samePath(const String& a, const String& b) {
    String left(a), right(b);
    left.removeTrailingRun('\\');
    right.removeTrailingRun('\\');
    return left.compare(right.c_str(), false) == 0;
}

String driveSpec(const String& path) {
    if (!isLetter(path.firstChar()))
        return String();
    return String(path.c_str(), 1) + ":";
}

char driveLetter(const String& path) {
    if (!hasDrive(path.c_str()))
        return 0;
    char c = path.firstChar();
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

String driveRoot(const String& path) {
    if (!hasDrive(path.c_str()))
        return String();
    return String(path.c_str(), path.charAt(2) == '\\' ? 3 : 2);
}
