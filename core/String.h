#pragma once
// The one text and byte-buffer type. Holds 8-bit ANSI characters with an
// explicit length, so it carries binary data too (the scrambled settings
// block, whole files, stream records). Case folding touches ASCII letters only.
//
// Storage: a String of length 0 has no buffer. Otherwise the buffer always
// holds a zero byte at index length(), and c_str() can be handed to any C
// function; content with embedded zero bytes then reads short. A buffer grows
// to length + 33 bytes (32 spare after the terminator) and is shrunk only
// when more than 512 bytes would be spare, so appending character by
// character does not reallocate each time.
//
// Nothing here throws: searches return -1 for "not found", edits that cannot
// apply return false, and a failed allocation ends the program (except in the
// NoFail forms, which return false and leave the string as it was).

#include <cstdarg>
#include <cstdint>

// A length that means "up to the terminating zero byte" (and, as a maximum,
// "no limit").
inline constexpr int kWholeText = 0x7FFFFFFF;

// Flags of find, findChar, findLastChar, removeChars and replaceAll.
inline constexpr int kFindNoCase = 0x1;       // fold ASCII case
inline constexpr int kFindWholeWord = 0x2;    // no letter, digit or '_' on either side
inline constexpr int kFindWildcard = 0x4;     // '?' in the pattern matches any one character
inline constexpr int kReplaceFirstOnly = 0x8; // replaceAll: the first occurrence; returns its index
inline constexpr int kFindSkipQuoted = 0x10;  // text between double quotes is not searched
inline constexpr int kFindBackward = 0x20;    // search backward from start - 1
inline constexpr int kFindEndIndex = 0x2000;  // return the index just after the match
inline constexpr int kFindCharSet = 0x4000; // the pattern is a set: match any one of its characters
// Flags of removeChars besides kFindNoCase, kFindSkipQuoted and kFindBackward.
inline constexpr int kRemoveCharsFirstOnly = 0x8;    // stop after the first removal
inline constexpr int kRemoveCharsLeadingOnly = 0x40; // stop at the first character kept
inline constexpr int kRemoveCharsNotInSet = 0x80;    // remove the characters not in the set

class String {
public:
    String() = default;
    String(const char* text); // null means empty
    String(const char* bytes, int count);
    String(const String& other);
    String(String&& other) noexcept;
    ~String();
    String& operator=(const String& other);
    String& operator=(String&& other) noexcept;
    String& operator=(const char* text);

    // --- Storage -----------------------------------------------------------
    // n <= 0 frees the buffer. New bytes beyond the old length are not cleared.
    void setLength(int n);
    // As setLength, but returns false and leaves the string unchanged when the
    // memory cannot be had; for sizes read from files.
    bool setLengthNoFail(int n);
    bool assignBytesNoFail(const void* bytes, int count);
    int capacity() const { return capacity_; }

    // Replaces removeCount bytes at pos by sourceLength bytes of source (null
    // counts as no bytes). False, with nothing changed, when pos lies outside
    // 0..length(), or when there is nothing to do (removeCount <= 0 and
    // sourceLength < 1), or when removeCount > 0 and sourceLength < 0.
    // removeCount is clamped to the end. Source may lie inside this string.
    bool splice(int pos, int removeCount, const char* source, int sourceLength);

    // --- Assignment --------------------------------------------------------
    void assign(const char* text);
    void assign(const String& other);
    // count < 1 or null bytes clears; count == kWholeText takes up to the zero byte.
    void assignBytes(const void* bytes, int count);
    // At most count characters, stopping at a zero byte.
    void assignPrefix(const char* text, int count);
    void clear() { setLength(0); }
    // Takes ownership of a malloc'd buffer holding count bytes; count < 1 frees it.
    void adopt(char* buffer, int count);
    // Hands the buffer (malloc'd, zero-terminated; null when empty) to the
    // caller, who frees it with free(). The string becomes empty.
    char* detach();

    // --- Access ------------------------------------------------------------
    const char* c_str() const { return data_ ? data_ : ""; }
    int length() const { return length_; }
    bool isEmpty() const { return length_ <= 0; }
    // Empty, or nothing but space, CR, LF and tab.
    bool isBlank() const;
    // 0 when i lies outside the string.
    char charAt(int i) const {
        return static_cast<unsigned>(i) < static_cast<unsigned>(length_) ? data_[i] : '\0';
    }
    char firstChar() const { return charAt(0); }
    char lastChar() const { return charAt(length_ - 1); }
    // A pointer to byte i, 0 <= i <= length() of a non-empty string (the last
    // being the terminator). Any other index is a fatal error.
    char* writablePointer(int i);

    // Raises the length to n without reallocating while n fits the buffer;
    // never shortens then. Otherwise setLength(n).
    void ensureLength(int n);
    // Lengthens by n; returns a pointer to the old end (n <= 0 changes nothing).
    char* grow(int n);
    // Shortens by n (clamped to the length).
    void shrink(int n);

    // --- Appending and inserting -------------------------------------------
    void append(char ch);
    void append(const char* text);
    void append(const String& other);
    void appendBytes(const void* bytes, int count);
    String& operator+=(char ch) { return append(ch), *this; }
    String& operator+=(const char* text) { return append(text), *this; }
    String& operator+=(const String& other) { return append(other), *this; }

    void prepend(const char* text);
    // At most maxCount characters of text, stopping at its zero byte.
    bool insert(int pos, const char* text, int maxCount = kWholeText);
    // count copies of ch at pos.
    bool insertChars(char ch, int pos, int count);
    // Puts ch in front unless the string already starts with it.
    void prependCharOnce(char ch);
    // Unless the last character is CR or LF, appends "\r\n" and returns true.
    bool appendLineBreakIfMissing();

    // --- Erasing and cutting -----------------------------------------------
    bool erase(int pos, int count);
    // Erases from pos to the end.
    bool truncate(int pos);
    // Both clamp n to 0..length() and return the count removed.
    int removeFirst(int n);
    int removeLast(int n);
    bool removeLeadingChar(char ch);
    bool removeTrailingChar(char ch);
    // Removes every trailing ch; returns the count.
    int removeTrailingRun(char ch);
    // Cuts at the first ch; false when there is none.
    bool truncateAtChar(char ch);
    // Removes every ch from max(start, 0) to the end; returns the count.
    // Removes nothing when min(maxLength, length() - start) < 1.
    int removeChar(char ch, int start = 0, int maxLength = kWholeText);
    // Removes up to count occurrences of pattern; returns how many went.
    int removeSubstrings(const char* pattern, int count, bool caseSensitive);
    // Removes the characters of set met walking from max(start, 0) to the end
    // (backward to the front with kFindBackward); kFindNoCase folds,
    // kFindSkipQuoted keeps quoted stretches, and the kRemoveChars flags stop
    // early or invert the set. Returns the count.
    int removeChars(const char* set, int start = 0, int flags = 0);

    // --- Trimming and quoting (white space: space, CR, LF, tab) -------------
    int trimLeft();
    int trimRight();
    int trim();
    int trimLeftSet(const char* set);
    int trimRightSet(const char* set);
    // When the string (of at least two characters) starts and ends with ch,
    // removes both; stripEnclosing('"') is the program's unquoting.
    bool stripEnclosing(char ch);
    // Trims, strips one pair of enclosing double quotes, trims again.
    void trimAndUnquote();
    // Adds a double quote at both ends, unconditionally.
    void quote();
    bool containsWhiteSpace() const;

    // --- Searching (indices; -1 when nothing is found) ----------------------
    // Forward from max(start, 0). kFindNoCase; kFindSkipQuoted skips from a
    // double quote to the next one.
    int findChar(char ch, int start = 0, int flags = 0) const;
    // Backward from min(start, length() - 1). kFindNoCase; kFindSkipQuoted
    // leaves out characters between double quotes, counted from the start.
    int findLastChar(char ch, int start = kWholeText, int flags = 0) const;
    // First character in (not in) set from max(start, 0); -1 for an empty set.
    int findAnyOf(const char* set, int start = 0) const;
    int findNotOf(const char* set, int start = 0) const;
    // First digit, '+', '-' or '.'.
    int findNumberStart(int start = 0) const;
    // The general search; patternLength kWholeText means up to the pattern's
    // zero byte. Flags kFind*.
    int find(const char* pattern, int start = 0, int flags = 0,
             int patternLength = kWholeText) const;

    // --- Comparing ---------------------------------------------------------
    // Exact content and length.
    bool equals(const char* text) const;
    bool differs(const char* text) const { return !equals(text); }
    bool equalsString(const String& other) const;
    bool differsString(const String& other) const { return !equalsString(other); }
    // Sign of the first difference over min(both lengths) + 1 bytes (the
    // terminator takes part), at most maxLength bytes. An empty argument gives
    // 0 when this is empty too, else 1; an empty this gives -1.
    // compare(text, false, kWholeText) == 0 is the case-insensitive equality.
    int compare(const char* text, bool caseSensitive, int maxLength = kWholeText) const;
    // The same, but an empty this gives -1 whatever the argument (two empty
    // strings are each "less" than the other: do not sort on that).
    int compare(const String& other, bool caseSensitive, int maxLength = kWholeText) const;
    // Case-sensitive over min(maxLength, strlen(text)) characters, which must be >= 1.
    bool startsWith(const char* text, int maxLength = kWholeText) const;
    // Removes the first min(maxLength, strlen(text)) characters of text (at
    // least one) from the front (end) when they are there, ignoring case.
    bool removePrefix(const char* text, int maxLength = kWholeText);
    bool removeSuffix(const char* text, int maxLength = kWholeText);

    // --- Replacing ---------------------------------------------------------
    // Replaces occurrences of pattern found from start (find flags; backward
    // and end-index are ignored), leaving the first skip alone and replacing
    // at most maxCount. Returns the number found (skipped ones included); with
    // kReplaceFirstOnly the index of the one replaced, or -1. With
    // kFindWildcard each '?' of the replacement takes the character that the
    // next '?' of the pattern matched. Every byte moves at most once.
    int replaceAll(const char* pattern, const char* replacement, int flags = 0, int start = 0,
                   int maxCount = kWholeText, int skip = 0);
    int replaceAllWithChar(const char* pattern, char ch, int flags = 0, int start = 0);
    // Returns the number of characters replaced.
    int replaceChar(char from, char to, bool caseSensitive = true);

    // --- Changing characters -----------------------------------------------
    void toUpper();
    // Every line break becomes CR LF: a lone LF or CR gets its partner, an
    // LF CR pair is swapped. Returns the number of changes.
    int normalizeLineBreaks();

    // --- Formatting (printf conventions; up to 65535 characters) -----------
    void format(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
    void appendFormat(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
    void appendFormatList(const char* fmt, va_list args) __attribute__((format(printf, 2, 0)));
    static String formatted(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

private:
    // Resizes per the storage rule; false only when noFail and memory ran out.
    bool resize(int n, bool noFail);
    // Moves the tail so that removeCount bytes at pos become insertCount
    // bytes (content undefined); pos and counts already checked.
    char* openGap(int pos, int removeCount, int insertCount);
    bool ownsPointer(const void* p) const;
    int replaceBytes(const char* pattern, int patternLength, const char* replacement,
                     int replacementLength, int flags, int start, int maxCount, int skip);

    char* data_ = nullptr;
    int32_t length_ = 0;
    int32_t capacity_ = 0;
};

String operator+(const String& left, char right);
String operator+(const String& left, const char* right);
String operator+(const String& left, const String& right);
String operator+(const char* left, const String& right);

inline bool operator==(const String& left, const String& right) {
    return left.equalsString(right);
}
inline bool operator!=(const String& left, const String& right) {
    return !left.equalsString(right);
}
inline bool operator==(const String& left, const char* right) {
    return left.equals(right);
}
inline bool operator!=(const String& left, const char* right) {
    return !left.equals(right);
}
inline bool operator==(const char* left, const String& right) {
    return right.equals(left);
}
inline bool operator!=(const char* left, const String& right) {
    return !right.equals(left);
}

// Index just after the first CR or LF of text (a CR LF or LF CR pair counts
// as one break); -1 when there is none.
int findFirstLineBreak(const char* text);
