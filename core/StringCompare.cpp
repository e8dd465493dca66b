// Comparing: exact equality, the ordering compare, prefixes and suffixes.
#include "core/String.h"

#include "core/StringChars.h"

#include <cstring>

namespace {
int textLength(const char* text) {
    return text ? static_cast<int>(std::strlen(text)) : 0;
}

// Sign of the first difference of n bytes, compared as unsigned values.
int compareBytes(const char* a, const char* b, int n, bool fold) {
    if (n <= 0)
        return 0;
    if (!fold) {
        const int r = std::memcmp(a, b, static_cast<size_t>(n));
        return r < 0 ? -1 : r > 0;
    }
    for (int i = 0; i < n; ++i) {
        const unsigned char x = static_cast<unsigned char>(foldCase(a[i]));
        const unsigned char y = static_cast<unsigned char>(foldCase(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}

int compareLength(int a, int b, int maxLength) {
    const int n = (a < b ? a : b) + 1;
    return maxLength < n ? maxLength : n;
}

int prefixLength(const char* text, int maxLength) {
    const int n = textLength(text);
    return maxLength < n ? maxLength : n;
}
} // namespace

bool String::equals(const char* text) const {
    const int n = textLength(text);
    return n == length_ && std::memcmp(c_str(), text ? text : "", static_cast<size_t>(n)) == 0;
}

bool String::equalsString(const String& other) const {
    return length_ == other.length_ &&
           std::memcmp(c_str(), other.c_str(), static_cast<size_t>(length_)) == 0;
}

int String::compare(const char* text, bool caseSensitive, int maxLength) const {
    const int n = textLength(text);
    if (n == 0)
        return length_ == 0 ? 0 : 1;
    if (length_ == 0)
        return -1;
    return compareBytes(data_, text, compareLength(length_, n, maxLength), !caseSensitive);
}

int String::compare(const String& other, bool caseSensitive, int maxLength) const {
    if (length_ == 0)
        return -1;
    if (other.length_ == 0)
        return 1;
    return compareBytes(data_, other.data_, compareLength(length_, other.length_, maxLength),
                        !caseSensitive);
}

bool String::startsWith(const char* text, int maxLength) const {
    const int n = prefixLength(text, maxLength);
    return n >= 1 && n <= length_ && std::memcmp(data_, text, static_cast<size_t>(n)) == 0;
}

bool String::removePrefix(const char* text, int maxLength) {
    const int n = prefixLength(text, maxLength);
    if (n < 1 || n > length_ || compareBytes(data_, text, n, true) != 0)
        return false;
    removeFirst(n);
    return true;
}

bool String::removeSuffix(const char* text, int maxLength) {
    const int n = prefixLength(text, maxLength);
    if (n < 1 || n > length_ || compareBytes(data_ + length_ - n, text, n, true) != 0)
        return false;
    removeLast(n);
    return true;
}
