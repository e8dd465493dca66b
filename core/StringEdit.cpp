// Erasing, cutting, trimming and quoting.
#include "core/String.h"

#include "core/StringChars.h"

#include <cstring>

bool String::erase(int pos, int count) {
    return splice(pos, count, nullptr, 0);
}

bool String::truncate(int pos) {
    if (pos < 0 || pos >= length_)
        return false;
    setLength(pos);
    return true;
}

int String::removeFirst(int n) {
    if (n <= 0)
        return 0;
    if (n > length_)
        n = length_;
    erase(0, n);
    return n;
}

int String::removeLast(int n) {
    if (n <= 0)
        return 0;
    if (n > length_)
        n = length_;
    setLength(length_ - n);
    return n;
}

bool String::removeLeadingChar(char ch) {
    if (length_ == 0 || data_[0] != ch)
        return false;
    erase(0, 1);
    return true;
}

bool String::removeTrailingChar(char ch) {
    if (length_ == 0 || data_[length_ - 1] != ch)
        return false;
    setLength(length_ - 1);
    return true;
}

int String::removeTrailingRun(char ch) {
    int n = length_;
    while (n > 0 && data_[n - 1] == ch)
        --n;
    const int removed = length_ - n;
    setLength(n);
    return removed;
}

bool String::truncateAtChar(char ch) {
    const int at = findChar(ch, 0, 0);
    if (at < 0)
        return false;
    setLength(at);
    return true;
}

int String::removeChar(char ch, int start, int maxLength) {
    if (start < 0)
        start = 0;
    const int span = length_ - start;
    if ((maxLength < span ? maxLength : span) < 1)
        return 0;
    int out = start;
    for (int i = start; i < length_; ++i) {
        if (data_[i] != ch)
            data_[out++] = data_[i];
    }
    const int removed = length_ - out;
    setLength(out);
    return removed;
}

int String::removeChars(const char* set, int start, int flags) {
    const bool invert = flags & kRemoveCharsNotInSet;
    if (!set || (!*set && !invert) || length_ <= 0)
        return 0;
    const bool backward = flags & kFindBackward;
    if (start < 0)
        start = 0;
    if (backward && start >= length_)
        start = length_ - 1;
    if (start >= length_)
        return 0;
    const CharSet members(set, static_cast<int>(std::strlen(set)), flags & kFindNoCase);
    // Marks the characters to remove first, so that a backward walk and a
    // forward one share the compaction below.
    String marks;
    marks.setLength(length_);
    std::memset(marks.data_, 0, static_cast<size_t>(length_));
    bool quoted = false;
    int removed = 0;
    const int step = backward ? -1 : 1;
    for (int i = start; i >= 0 && i < length_; i += step) {
        const char c = data_[i];
        if ((flags & kFindSkipQuoted) && c == '"') {
            quoted = !quoted;
        } else if (!quoted && members.contains(c) != invert) {
            marks.data_[i] = 1;
            ++removed;
            if (flags & kRemoveCharsFirstOnly)
                break;
            continue;
        }
        if (flags & kRemoveCharsLeadingOnly)
            break;
    }
    if (removed == 0)
        return 0;
    int out = 0;
    for (int i = 0; i < length_; ++i) {
        if (!marks.data_[i])
            data_[out++] = data_[i];
    }
    setLength(out);
    return removed;
}

int String::removeSubstrings(const char* pattern, int count, bool caseSensitive) {
    if (!pattern || !*pattern || count < 1)
        return 0;
    return replaceAll(pattern, "", caseSensitive ? 0 : kFindNoCase, 0, count, 0);
}

namespace {
const char kWhiteSpace[] = " \r\n\t";
} // namespace

int String::trimLeft() {
    return trimLeftSet(kWhiteSpace);
}

int String::trimRight() {
    return trimRightSet(kWhiteSpace);
}

int String::trim() {
    return trimRight() + trimLeft();
}

int String::trimLeftSet(const char* set) {
    if (!set || !*set)
        return 0;
    const CharSet members(set, static_cast<int>(std::strlen(set)), false);
    int n = 0;
    while (n < length_ && members.contains(data_[n]))
        ++n;
    return removeFirst(n);
}

int String::trimRightSet(const char* set) {
    if (!set || !*set)
        return 0;
    const CharSet members(set, static_cast<int>(std::strlen(set)), false);
    int n = length_;
    while (n > 0 && members.contains(data_[n - 1]))
        --n;
    return removeLast(length_ - n);
}

bool String::stripEnclosing(char ch) {
    // A lone ch both starts and ends the string, but is not a pair.
    if (length_ < 2 || data_[0] != ch || data_[length_ - 1] != ch)
        return false;
    std::memmove(data_, data_ + 1, static_cast<size_t>(length_) - 2);
    setLength(length_ - 2);
    return true;
}

void String::trimAndUnquote() {
    trim();
    stripEnclosing('"');
    trim();
}

void String::quote() {
    const int n = length_;
    grow(2);
    std::memmove(data_ + 1, data_, static_cast<size_t>(n));
    data_[0] = '"';
    data_[n + 1] = '"';
}

bool String::containsWhiteSpace() const {
    for (int i = 0; i < length_; ++i) {
        if (isWhiteSpace(data_[i]))
            return true;
    }
    return false;
}
