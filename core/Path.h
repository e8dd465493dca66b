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
