#include "installer/SharedFilesText.h"

String sharedFilePath(const String& entry) {
    String path = entry;
    const char last = path.lastChar();
    if (last == kCountOnlyMarker || last == kComServerMarker || last == kTypeLibraryMarker)
        path.removeLast(1);
    return path;
}

void appendSharedFileEntry(String& text, const String& entry) {
    if (!text.isEmpty())
        text += ';';
    text += '"';
    for (int i = 0; i < entry.length(); ++i) {
        if (entry.charAt(i) == '"')
            text += '"';
        text += entry.charAt(i);
    }
    text += '"';
}

bool takeSharedFileEntry(String& text, String& path) {
    String entry;
    int i = 0;
    const int length = text.length();
    if (text.firstChar() == '"') {
        for (i = 1; i < length; ++i) {
            const char c = text.charAt(i);
            if (c == '"') {
                if (text.charAt(i + 1) != '"') {
                    ++i;
                    break;
                }
                ++i;
            }
            entry += c;
        }
    } else {
        for (; i < length && text.charAt(i) != ';'; ++i)
            entry += text.charAt(i);
    }
    if (text.charAt(i) == ';')
        ++i;
    text.removeFirst(i);
    path = sharedFilePath(entry);
    return !path.isEmpty();
}
