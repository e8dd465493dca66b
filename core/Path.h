#pragma once
// Path-string helpers. The separator is the backslash; drive letters end in ':'.
// Pure text work, so the rules are tested on any host.

#include "core/String.h"

// Directory and name joined by exactly one separator; either side may be empty.
String joinPath(const String& directory, const String& name);

// Index of the last separator before the first ';' outside double quotes;
// without a separator the index of the first ':'; else -1.
int lastSeparator(const String& path);

// The path cut before its last separator, kept through it after a drive
// ("C:\x" -> "C:\", "C:x" -> "C:", "C:\d\x" -> "C:\d"); empty without one.
String directoryPart(const String& path);

// Index just after the last separator, or after the first ':' (0 without either).
int nameStart(const String& path);
String fileNamePart(const String& path);

// Erases everything before nameStart.
void stripDirectory(String& path);
// Cuts the path just after its directory (the separator or drive colon kept);
// false, with the path unchanged, when it has no directory.
bool keepDirectory(String& path);

// Index of the last '.' that no separator follows; -1 when none.
int extensionPosition(const String& path);
bool stripExtension(String& path);
// Appends "." (unless `extension` starts with one) and `extension`; false,
// doing nothing, for a null extension, a blank path or one that has an extension.
bool addExtension(String& path, const char* extension);

// When the last separator lies after index 0, takes the directory out of
// `path` and returns it without that separator (a drive root "X:\" keeps it);
// else returns empty and leaves `path` alone.
String splitDirectory(String& path);
// `directory` gets everything through the last separator (or "X:" of a path
// without one), `name` the rest. Without either, `name` is the whole text and
// the result is whether it is non-empty.
bool splitPath(const String& path, String& directory, String& name);

// After leading white space: "\\" or "X:\" (any character in front of the colon).
bool isAbsolutePath(const char* text);

// Flags of isValidPath: which wildcards a path may hold, and trimming.
inline constexpr int kPathAllowStar = 0x1;      // '*' allowed, '?' not
inline constexpr int kPathAllowWildcards = 0x2; // '*' and '?' allowed
inline constexpr int kPathTrim = 0x4;
// No character a Windows file name cannot hold (a drive colon excepted),
// after one pair of enclosing double quotes is removed.
bool isValidPath(const String& path, int flags);

// Completes a relative `path` against the absolute directory `base`: "\x"
// takes the base's drive, "D:x" the base's directory after its drive, any
// other relative path the whole base. False, with the path only trimmed, when
// it was empty, already absolute, or cannot be completed against `base`.
bool makeAbsolute(String& path, const char* base);

// The same path without regard to case or trailing separators.
bool samePath(const String& a, const String& b);

// "X:" for a path that starts with a letter, else empty.
String driveSpec(const String& path);
// The upper-case drive letter of a path starting "X:", else 0.
char driveLetter(const String& path);
// "X:" or "X:\" as the path starts, empty without a drive.
String driveRoot(const String& path);
