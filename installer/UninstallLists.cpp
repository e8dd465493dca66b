#include "installer/UninstallLists.h"

#include "core/Path.h"
#include "installer/UninstallRecord.h"

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\r' || c == '\n' || c == '\t';
}

void skipSpace(const String& text, int& pos) {
    while (pos < text.length() && isSpace(text.charAt(pos)))
        ++pos;
}

// The double-quoted token at `pos` without its quotes; empty when none starts there.
String takeQuoted(const String& text, int& pos) {
    String token;
    if (text.charAt(pos) != '"' || pos >= text.length())
        return token;
    const int length = text.length();
    int i = pos + 1;
    for (; i < length; ++i) {
        const char c = text.charAt(i);
        if (c == '"') {
            if (text.charAt(i + 1) != '"') {
                ++i;
                break;
            }
            ++i;
        }
        token += c;
    }
    pos = i;
    return token;
}

bool hasControlCharacter(const String& text) {
    for (int i = 0; i < text.length(); ++i)
        if (static_cast<unsigned char>(text.charAt(i)) < 0x20)
            return true;
    return false;
}

} // namespace

RecordedItem recordedItem(const String& line) {
    RecordedItem item;
    if (line.isEmpty())
        return item;
    RecordedItemKind kind = RecordedItemKind::File;
    item.value = line;
    if (line.firstChar() == '~')
        kind = RecordedItemKind::Directory;
    else if (line.firstChar() == '!')
        kind = RecordedItemKind::ClassesKey;
    if (kind != RecordedItemKind::File)
        item.value.removeFirst(1);
    const bool usable =
        kind == RecordedItemKind::ClassesKey ? isKeyPath(item.value) : isRemovablePath(item.value);
    item.kind = usable ? kind : RecordedItemKind::None;
    return item;
}

int lineCount(const String& text) {
    LineReader lines(text);
    String line;
    int count = 0;
    while (lines.next(line))
        ++count;
    return count;
}

int fileListProgress(int index, int count) {
    if (count <= 0)
        return 10;
    return 10 + int(int64_t(80) * index / count);
}

bool isRemovablePath(const String& path) {
    return isAbsolutePath(path.c_str()) && !isSpace(path.firstChar()) && isValidPath(path, 0) &&
           !hasControlCharacter(path);
}

bool isKeyPath(const String& path) {
    if (path.isBlank() || hasControlCharacter(path))
        return false;
    return path.firstChar() != '\\' && path.lastChar() != '\\' && path.find("\\\\") < 0;
}

bool nextProductFont(const String& text, int& pos, ProductFont& font) {
    skipSpace(text, pos);
    font.registryName = takeQuoted(text, pos);
    if (font.registryName.isEmpty())
        return false;
    skipSpace(text, pos);
    font.fileName = takeQuoted(text, pos);
    return !font.fileName.isEmpty();
}

bool isPlainFileName(const String& name) {
    return !name.isBlank() && name.findAnyOf("\\/:") < 0 && !hasControlCharacter(name) &&
           name != "." && name != "..";
}
