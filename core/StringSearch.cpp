// Searching: single characters, character sets and the general substring search.
#include "core/String.h"

#include "core/StringChars.h"

#include <cstring>

namespace {
// One candidate position tested against the pattern, under the find flags.
class Matcher {
public:
    Matcher(const char* text, int textLength, const char* pattern, int patternLength, int flags)
        : text_(text), textLength_(textLength), pattern_(pattern), flags_(flags),
          fold_(flags & kFindNoCase), wildcard_(flags & kFindWildcard),
          set_(pattern, (flags & kFindCharSet) ? patternLength : 0, fold_),
          length_((flags & kFindCharSet) ? 1 : patternLength) {}

    int length() const { return length_; }

    // The first position from pos on whose first character could start a
    // match, or a double quote when those matter; last + 1 when none.
    int nextCandidate(int pos, int last, bool stopAtQuotes) const {
        if ((flags_ & kFindCharSet) || (wildcard_ && pattern_[0] == '?'))
            return pos;
        const char lower = fold_ ? foldCase(pattern_[0]) : pattern_[0];
        const char upper = fold_ ? upperCase(pattern_[0]) : pattern_[0];
        while (pos <= last) {
            const char c = text_[pos];
            if (c == lower || c == upper || (stopAtQuotes && c == '"'))
                break;
            ++pos;
        }
        return pos;
    }

    bool matchesAt(int pos) const {
        if (flags_ & kFindCharSet) {
            if (!set_.contains(text_[pos]))
                return false;
        } else {
            for (int j = 0; j < length_; ++j) {
                const char p = pattern_[j];
                if (!(wildcard_ && p == '?') && !sameChar(text_[pos + j], p, fold_))
                    return false;
            }
        }
        if (flags_ & kFindWholeWord) {
            if (pos > 0 && isWordChar(text_[pos - 1]))
                return false;
            if (pos + length_ < textLength_ && isWordChar(text_[pos + length_]))
                return false;
        }
        return true;
    }

private:
    const char* text_;
    int textLength_;
    const char* pattern_;
    int flags_;
    bool fold_;
    bool wildcard_;
    CharSet set_;
    int length_;
};

// The plain case: exact bytes, forward.
int findExact(const char* text, int textLength, const char* pattern, int patternLength, int start) {
    const int last = textLength - patternLength;
    int pos = start;
    while (pos <= last) {
        const void* hit = std::memchr(text + pos, pattern[0], static_cast<size_t>(last - pos) + 1);
        if (!hit)
            return -1;
        pos = static_cast<int>(static_cast<const char*>(hit) - text);
        if (std::memcmp(text + pos, pattern, static_cast<size_t>(patternLength)) == 0)
            return pos;
        ++pos;
    }
    return -1;
}
} // namespace

int String::find(const char* pattern, int start, int flags, int patternLength) const {
    if (!pattern)
        return -1;
    if (patternLength == kWholeText)
        patternLength = static_cast<int>(std::strlen(pattern));
    if (patternLength < 1 || length_ == 0)
        return -1;
    const Matcher matcher(data_, length_, pattern, patternLength, flags);
    const int last = length_ - matcher.length();
    if (last < 0)
        return -1;
    const bool skipQuoted = flags & kFindSkipQuoted;
    int found = -1;
    if (flags & kFindBackward) {
        bool quoted = false;
        for (int pos = start - 1 < last ? start - 1 : last; pos >= 0; --pos) {
            if (!quoted && matcher.matchesAt(pos)) {
                found = pos;
                break;
            }
            if (skipQuoted && data_[pos] == '"')
                quoted = !quoted;
        }
    } else if ((flags & ~kFindEndIndex) == 0) {
        found = findExact(data_, length_, pattern, patternLength, start < 0 ? 0 : start);
    } else {
        for (int pos = start < 0 ? 0 : start; pos <= last; ++pos) {
            pos = matcher.nextCandidate(pos, last, skipQuoted);
            if (pos > last)
                break;
            if (matcher.matchesAt(pos)) {
                found = pos;
                break;
            }
            if (skipQuoted && data_[pos] == '"') {
                const void* close =
                    std::memchr(data_ + pos + 1, '"', static_cast<size_t>(length_ - pos - 1));
                if (!close)
                    break;
                pos = static_cast<int>(static_cast<const char*>(close) - data_);
            }
        }
    }
    if (found >= 0 && (flags & kFindEndIndex))
        found += matcher.length();
    return found;
}

int String::findChar(char ch, int start, int flags) const {
    if (start < 0)
        start = 0;
    if (start >= length_)
        return -1;
    if (flags == 0) {
        const void* hit = std::memchr(data_ + start, ch, static_cast<size_t>(length_ - start));
        return hit ? static_cast<int>(static_cast<const char*>(hit) - data_) : -1;
    }
    const bool fold = flags & kFindNoCase;
    const bool skipQuoted = flags & kFindSkipQuoted;
    for (int i = start; i < length_; ++i) {
        if (sameChar(data_[i], ch, fold))
            return i;
        if (skipQuoted && data_[i] == '"') {
            const void* close =
                std::memchr(data_ + i + 1, '"', static_cast<size_t>(length_ - i - 1));
            if (!close)
                return -1;
            i = static_cast<int>(static_cast<const char*>(close) - data_);
        }
    }
    return -1;
}

int String::findLastChar(char ch, int start, int flags) const {
    if (start > length_ - 1)
        start = length_ - 1;
    const bool fold = flags & kFindNoCase;
    const bool skipQuoted = flags & kFindSkipQuoted;
    bool quoted = false;
    for (int i = start; i >= 0; --i) {
        if (!quoted && sameChar(data_[i], ch, fold))
            return i;
        if (skipQuoted && data_[i] == '"')
            quoted = !quoted;
    }
    return -1;
}

namespace {
int findInSet(const char* text, int length, const char* set, int start, bool wanted) {
    if (!set || !*set)
        return -1;
    const CharSet members(set, static_cast<int>(std::strlen(set)), false);
    for (int i = start < 0 ? 0 : start; i < length; ++i) {
        if (members.contains(text[i]) == wanted)
            return i;
    }
    return -1;
}
} // namespace

int String::findAnyOf(const char* set, int start) const {
    return findInSet(data_, length_, set, start, true);
}

int String::findNotOf(const char* set, int start) const {
    return findInSet(data_, length_, set, start, false);
}

int String::findNumberStart(int start) const {
    return findInSet(data_, length_, "0123456789+-.", start, true);
}

int findFirstLineBreak(const char* text) {
    if (!text)
        return -1;
    for (int i = 0; text[i]; ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            const char next = text[i + 1];
            return (next == '\r' || next == '\n') && next != c ? i + 2 : i + 1;
        }
    }
    return -1;
}
