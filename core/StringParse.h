#pragma once
// Taking a String apart: lines, tokens and quoted arguments off the front,
// splitting into a list, and reading numbers and truth values. White space
// is exactly space, tab, CR and LF. Lines end at CR, LF or a zero byte; a
// CR LF or LF CR pair is one break.
//
// Extractions that find nothing return an empty String and leave the source
// as it was, unless said otherwise.

#include <cstdint>

class String;
template <class T> class Array;

// The first line without (with) its break; the source loses line and break.
// Without a break the whole content is taken.
String takeLine(String& s);
String takeLineWithBreak(String& s);

// The text before the first ch; the source loses it and the ch. Without a
// ch, the whole content.
String takeUntil(String& s, char ch);

// The text from the first match of pattern (String::find flags) to the end;
// the source keeps what was before it.
String takeFrom(String& s, const char* pattern, int flags = 0);

// A range, with start clamped to 0 and count to what is left. cut removes
// it from the source. copyRange is false, with out empty, when nothing is
// left.
String cut(String& s, int start, int count);
String substring(const String& s, int start, int count);
bool copyRange(const String& s, String& out, int start, int count);

// Removes and returns the first character; 0 when there is none.
char takeFirstChar(String& s);

// When the first character is one of set, removes it.
bool removeLeadingCharOf(String& s, const char* set);

// Skips white space, then takes characters up to the next white space
// (which goes too). A double-quoted stretch is one unit, kept with its
// quotes, its doubled quotes made single.
String takeArgument(String& s);

// When s[pos] is the delimiter: removes the token up to the closing
// delimiter (or the end), both included, and returns its content with each
// doubled delimiter made single.
String takeDelimited(String& s, char delimiter, int pos);

// Flags of split.
inline constexpr int kSplitKeepEmpty = 0x1;      // a delimiter at the end gives a last empty token
inline constexpr int kSplitAtZero = 0x2;         // a zero byte ends a token
inline constexpr int kSplitAtLineBreak = 0x4;    // CR, LF, CR LF and LF CR end a token
inline constexpr int kSplitTrim = 0x8;           // trim each token
inline constexpr int kSplitQuotesProtect = 0x10; // delimiters between double quotes do not split
inline constexpr int kSplitKeepDelimiter = 0x20; // a token keeps what ended it
inline constexpr int kSplitUnquote = 0x100;      // strip one pair of enclosing double quotes
inline constexpr int kSplitUndoubleQuotes = 0x200;   // with kSplitUnquote: "" becomes "
inline constexpr int kSplitDoubledIsLiteral = 0x400; // a delimiter written twice is one character
inline constexpr int kSplitBackslashEscapes = 0x800; // a backslash makes the next character plain

// Appends the tokens of s to list; returns how many were appended. A null
// delimiter set is empty.
int split(const String& s, Array<String>& list, const char* delimiters, int flags);
// split with no delimiters and kSplitKeepEmpty | kSplitAtZero | kSplitAtLineBreak.
int splitLines(const String& s, Array<String>& list);

// From the first digit, sign or point: the signed decimal number there, with
// every comma ignored ("1,234 words" is 1234); 0 when there is none.
int32_t toInt(const String& s);
int64_t toInt64(const String& s);

// An optional sign and digits at pos; pos moves past them. INT32_MIN for a
// pos outside the string; 0 when no digits are there.
int32_t parseIntAt(const String& s, int& pos);

// Flags of parseInt.
inline constexpr int kParseSkipBefore = 0x1; // skip white space before the number
inline constexpr int kParseSkipAfter = 0x2;  // and after it
inline constexpr int kParseNoSign = 0x4;     // a sign is not part of the number
inline constexpr int kParseRequired = 0x8;   // no digits gives INT32_MIN instead of 0
inline constexpr int kParseEatComma = 0x10;  // one comma after the number goes too

// The number at the cursor, which moves past what was read. Without digits
// the cursor stays. Digits beyond 32 bits wrap.
int32_t parseInt(const char*& cursor, int flags = 0);
int32_t parseInt(const String& s, int flags = 0);

// False for blank text and, trimmed and ignoring case, "0", "n", "no", "f"
// and "false"; true for everything else.
bool toBool(const String& s);
