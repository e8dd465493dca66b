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

bool nextSharedFileEntry(const String& text, int& pos, String& entry) {
    entry.clear();
    const int length = text.length();
    if (pos < 0 || pos >= length)
        return false;
    int i = pos;
    if (text.charAt(i) == '"') {
        for (++i; i < length; ++i) {
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
    pos = i;
    return true;
}

bool takeSharedFileEntry(String& text, String& path) {
    int pos = 0;
    String entry;
    nextSharedFileEntry(text, pos, entry);
    text.removeFirst(pos);
    path = sharedFilePath(entry);
    return !path.isEmpty();
}

SharedFileRemoval sharedFileRemoval(const String& entry) {
    SharedFileRemoval removal;
    removal.path = entry;
    removal.comServer = removal.path.removeTrailingChar(kComServerMarker);
    removal.countOnly = removal.path.removeTrailingChar(kCountOnlyMarker);
    removal.typeLibrary = removal.path.removeTrailingChar(kTypeLibraryMarker);
    return removal;
}
