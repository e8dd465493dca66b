#pragma once
// Whole-file operations: each opens its own File and closes it again.

#include "core/String.h"
#include "core/TimeStamp.h"

#include <cstdint>

// Creates or replaces the file with `length` bytes of `data` (kWholeText: up
// to its zero byte). Null or empty data make an empty file.
bool writeFile(const String& path, const void* data, int length);
bool writeFile(const String& path, const String& data);

// A new file in the temporary directory holding the data; `name` gets its
// path (empty when none could be made).
bool writeTempFile(const void* data, int length, String& name);

// The file holds exactly these `length` bytes.
bool fileEquals(const String& path, const void* data, int length);

// Modes of appendToFile.
inline constexpr int kAppendOnNewLine = 0x1; // end the file with a line break first
inline constexpr int kAppendNoRetry = 0x2;   // a failed write is final at once
inline constexpr int kAppendMustExist = 0x4; // do not create the file
// Writes `text` (null writes nothing) at the end of the file; a write that
// fails is tried again, up to ten times 100 ms apart. False for a blank path
// or a file that cannot be opened.
bool appendToFile(const String& path, const char* text, int mode);

// The local last-write time of the first entry `path` finds.
bool lastWriteTime(const String& path, TimeStamp& time);
