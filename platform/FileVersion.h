#pragma once
// The "FileVersion" text of a file's version resource, in a form that the
// file-replacement rules can compare as plain text.

#include "core/String.h"

// "5, 1, 2600, 0" reads as "5.1.2600.0"; padded, each period-separated part
// gets leading zeros to 10 characters ("0000000005.0000000001.0000002600.
// 0000000000"), so that versions with as many parts compare as bytes. Empty
// when the file has no readable version.
String fileVersionText(const String& path, bool padded);

// The same rules on a text already read.
String normalizeVersionText(const String& fileVersion, bool padded);

// The whole version resource; empty when there is none or version.dll is missing.
String readVersionBlock(const String& path);
// "%04x%04x" of the first language and code page; "040904e4" when the
// block has no translation table.
String versionTranslation(const String& block);
// The string value `name` of that translation, without its terminator;
// empty when it is missing.
String versionValue(const String& block, const String& translation, const String& name);
