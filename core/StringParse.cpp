#include "core/StringParse.h"

#include "core/String.h"
#include "core/StringChars.h"

#include <cstring>
#include <utility>

namespace {

bool endsLine(char c) {
    return c == '\r' || c == '\n' || c == '\0';
}

// Index of the first line break and its length (2 for a CR LF or LF CR pair);
// the length is 0 when there is no break.
int findLineBreak(const String& s, int& breakLength) {
    const char* text = s.c_str();
    const int length = s.length();
    for (int i = 0; i < length; ++i) {
        if (!endsLine(text[i]))
            continue;
        const char pair = text[i] == '\r' ? '\n' : text[i] == '\n' ? '\r' : 1;
        breakLength = i + 1 < length && text[i + 1] == pair ? 2 : 1;
        return i;
    }
    breakLength = 0;
    return length;
}

String takeLineKeeping(String& s, bool keepBreak) {
    int breakLength = 0;
    const int end = findLineBreak(s, breakLength);
    String line(s.c_str(), keepBreak ? end + breakLength : end);
    s.removeFirst(end + breakLength);
    return line;
}

} // namespace

String takeLine(String& s) {
    return takeLineKeeping(s, false);
}

String takeLineWithBreak(String& s) {
    return takeLineKeeping(s, true);
}

String takeUntil(String& s, char ch) {
    const int end = s.findChar(ch);
    if (end < 0) {
        String all = std::move(s);
        s.clear();
        return all;
    }
    String before(s.c_str(), end);
    s.removeFirst(end + 1);
    return before;
}

String takeFrom(String& s, const char* pattern, int flags) {
    const int start = pattern && *pattern ? s.find(pattern, 0, flags) : -1;
    if (start < 0)
        return String();
    String tail(s.c_str() + start, s.length() - start);
    s.truncate(start);
    return tail;
}

namespace {

// Clamps start to 0 and count to what is left; false when nothing is.
bool clampRange(const String& s, int& start, int& count) {
    if (start < 0)
        start = 0;
    if (start >= s.length() || count <= 0)
        return false;
    if (count > s.length() - start)
        count = s.length() - start;
    return true;
}

} // namespace

String cut(String& s, int start, int count) {
    if (!clampRange(s, start, count))
        return String();
    String range(s.c_str() + start, count);
    s.erase(start, count);
    return range;
}

String substring(const String& s, int start, int count) {
    if (!clampRange(s, start, count))
        return String();
    return String(s.c_str() + start, count);
}

bool copyRange(const String& s, String& out, int start, int count) {
    out = substring(s, start, count);
    return !out.isEmpty();
}

char takeFirstChar(String& s) {
    const char first = s.firstChar();
    s.removeFirst(1);
    return first;
}

bool removeLeadingCharOf(String& s, const char* set) {
    if (s.isEmpty() || !set || !std::strchr(set, s.firstChar()) || s.firstChar() == '\0')
        return false;
    s.removeFirst(1);
    return true;
}

String takeDelimited(String& s, char delimiter, int pos) {
    if (pos < 0 || pos >= s.length() || s.charAt(pos) != delimiter)
        return String();
    const char* text = s.c_str();
    const int length = s.length();
    String content;
    int i = pos + 1;
    while (i < length) {
        if (text[i] == delimiter) {
            if (i + 1 < length && text[i + 1] == delimiter) {
                content += delimiter;
                i += 2;
                continue;
            }
            ++i;
            break;
        }
        const int start = i;
        while (i < length && text[i] != delimiter)
            ++i;
        content.appendBytes(text + start, i - start);
    }
    s.erase(pos, i - pos);
    return content;
}

String takeArgument(String& s) {
    s.trimLeft();
    String argument;
    int pos = 0;
    while (pos < s.length()) {
        const char c = s.charAt(pos);
        if (isWhiteSpace(c)) {
            s.erase(0, pos + 1);
            return argument;
        }
        if (c == '"') {
            argument += '"';
            argument += takeDelimited(s, '"', pos);
            argument += '"';
            continue;
        }
        argument += c;
        ++pos;
    }
    s.clear();
    return argument;
}
