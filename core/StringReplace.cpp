// Replacing: substrings, single characters, and the line-break and case changes.
#include "core/String.h"

#include "core/OutOfMemory.h"
#include "core/StringChars.h"

#include <cstdlib>
#include <cstring>

namespace {
// The positions of the occurrences to replace, gathered before the string is rebuilt.
class PositionList {
public:
    PositionList() = default;
    PositionList(const PositionList&) = delete;
    PositionList& operator=(const PositionList&) = delete;
    ~PositionList() { std::free(items_); }

    void add(int pos) {
        if (count_ == capacity_) {
            const int wanted = capacity_ ? capacity_ * 2 : 16;
            const size_t bytes = static_cast<size_t>(wanted) * sizeof(int);
            int* grown = static_cast<int*>(std::realloc(items_, bytes));
            if (!grown)
                outOfMemory(static_cast<unsigned>(bytes));
            items_ = grown;
            capacity_ = wanted;
        }
        items_[count_++] = pos;
    }
    int count() const { return count_; }
    int operator[](int i) const { return items_[i]; }

private:
    int* items_ = nullptr;
    int count_ = 0;
    int capacity_ = 0;
};

// The replacement text for one match. With wildcards each '?' of the
// replacement takes the character the next '?' of the pattern matched; it is
// built aside, because the match itself may be overwritten by the time the
// replacement is written.
class Replacement {
public:
    Replacement(const char* pattern, int patternLength, const char* text, int length, bool wildcard)
        : pattern_(pattern), patternLength_(patternLength), text_(text), length_(length),
          wildcard_(wildcard && std::memchr(text, '?', static_cast<size_t>(length))) {
        if (wildcard_)
            scratch_.setLength(length);
    }

    const char* forMatch(const char* match) {
        if (!wildcard_)
            return text_;
        char* out = scratch_.writablePointer(0);
        int j = 0;
        for (int i = 0; i < length_; ++i) {
            out[i] = text_[i];
            if (text_[i] != '?')
                continue;
            while (j < patternLength_ && pattern_[j] != '?')
                ++j;
            if (j < patternLength_)
                out[i] = match[j++];
        }
        return out;
    }

private:
    const char* pattern_;
    int patternLength_;
    const char* text_;
    int length_;
    bool wildcard_;
    String scratch_;
};
} // namespace

int String::replaceAll(const char* pattern, const char* replacement, int flags, int start,
                       int maxCount, int skip) {
    return replaceBytes(pattern, pattern ? static_cast<int>(std::strlen(pattern)) : 0, replacement,
                        replacement ? static_cast<int>(std::strlen(replacement)) : 0, flags, start,
                        maxCount, skip);
}

int String::replaceAllWithChar(const char* pattern, char ch, int flags, int start) {
    return replaceBytes(pattern, pattern ? static_cast<int>(std::strlen(pattern)) : 0, &ch, 1,
                        flags, start, kWholeText, 0);
}

int String::replaceBytes(const char* pattern, int patternLength, const char* replacement,
                         int replacementLength, int flags, int start, int maxCount, int skip) {
    const bool firstOnly = flags & kReplaceFirstOnly;
    if (!pattern || patternLength < 1 || length_ == 0)
        return firstOnly ? -1 : 0;
    if (!replacement || replacementLength < 0) {
        replacement = "";
        replacementLength = 0;
    }
    if (ownsPointer(pattern) || (replacementLength > 0 && ownsPointer(replacement))) {
        // The rebuild overwrites the buffer the arguments point into.
        const String ownPattern(pattern, patternLength);
        const String ownReplacement(replacement, replacementLength);
        return replaceBytes(ownPattern.c_str(), patternLength, ownReplacement.c_str(),
                            replacementLength, flags, start, maxCount, skip);
    }
    flags &= ~(kFindBackward | kFindEndIndex);
    if (firstOnly)
        maxCount = 1;
    const int matchLength = (flags & kFindCharSet) ? 1 : patternLength;
    Replacement replace(pattern, patternLength, replacement, replacementLength,
                        (flags & kFindWildcard) && !(flags & kFindCharSet));

    int found = 0;
    int firstIndex = -1;
    int replaced = 0;
    int pos = start;
    PositionList positions;
    while (replaced < maxCount) {
        const int at = find(pattern, pos, flags, patternLength);
        if (at < 0)
            break;
        ++found;
        pos = at + matchLength;
        if (found <= skip)
            continue;
        if (firstIndex < 0)
            firstIndex = at;
        ++replaced;
        if (matchLength == replacementLength)
            std::memcpy(data_ + at, replace.forMatch(data_ + at),
                        static_cast<size_t>(replacementLength));
        else
            positions.add(at);
    }
    const int count = positions.count();
    if (count > 0) {
        const char* source = data_;
        if (replacementLength < matchLength) {
            // Front to back: every piece moves left.
            int out = positions[0];
            for (int k = 0; k < count; ++k) {
                const int at = positions[k];
                std::memmove(data_ + out, replace.forMatch(source + at),
                             static_cast<size_t>(replacementLength));
                out += replacementLength;
                const int from = at + matchLength;
                const int to = k + 1 < count ? positions[k + 1] : length_;
                std::memmove(data_ + out, data_ + from, static_cast<size_t>(to - from));
                out += to - from;
            }
            setLength(out);
        } else {
            // Lengthen once, then back to front: every piece moves right.
            const int oldLength = length_;
            const int64_t newLength =
                oldLength + static_cast<int64_t>(count) * (replacementLength - matchLength);
            if (newLength > kWholeText - 33)
                outOfMemory(0xFFFFFFFFu);
            setLength(static_cast<int>(newLength));
            int end = length_;
            int tailEnd = oldLength;
            for (int k = count - 1; k >= 0; --k) {
                const int at = positions[k];
                const int from = at + matchLength;
                end -= tailEnd - from;
                std::memmove(data_ + end, data_ + from, static_cast<size_t>(tailEnd - from));
                end -= replacementLength;
                std::memmove(data_ + end, replace.forMatch(data_ + at),
                             static_cast<size_t>(replacementLength));
                tailEnd = at;
            }
        }
    }
    return firstOnly ? firstIndex : found;
}

int String::replaceChar(char from, char to, bool caseSensitive) {
    int count = 0;
    for (int i = 0; i < length_; ++i) {
        if (sameChar(data_[i], from, !caseSensitive)) {
            data_[i] = to;
            ++count;
        }
    }
    return count;
}

void String::toUpper() {
    for (int i = 0; i < length_; ++i)
        data_[i] = upperCase(data_[i]);
}

int String::normalizeLineBreaks() {
    int swaps = 0;
    int insertions = 0;
    for (int i = 0; i < length_; ++i) {
        const char c = data_[i];
        if (c != '\r' && c != '\n')
            continue;
        const char next = i + 1 < length_ ? data_[i + 1] : '\0';
        if (c == '\r' && next == '\n') {
            ++i;
        } else if (c == '\n' && next == '\r') {
            ++swaps;
            ++i;
        } else {
            ++insertions;
        }
    }
    if (swaps + insertions == 0)
        return 0;
    // With nothing to insert the swaps are done in place; otherwise each byte
    // is copied once into a buffer of the final size.
    String result;
    char* out = data_;
    if (insertions > 0) {
        result.setLength(length_ + insertions);
        out = result.data_;
    }
    int o = 0;
    for (int i = 0; i < length_; ++i) {
        const char c = data_[i];
        const char next = i + 1 < length_ ? data_[i + 1] : '\0';
        if ((c == '\r' && next == '\n') || (c == '\n' && next == '\r')) {
            out[o++] = '\r';
            out[o++] = '\n';
            ++i;
        } else if (c == '\r' || c == '\n') {
            out[o++] = '\r';
            out[o++] = '\n';
        } else {
            out[o++] = c;
        }
    }
    if (insertions > 0)
        *this = static_cast<String&&>(result);
    return swaps + insertions;
}
