#pragma once
// Whole-file operations: each opens its own File and closes it again.

#include "core/String.h"
#include "core/TimeStamp.h"

#include <cstdint>

// Creates or replaces the file with `length` bytes of `data` (kWholeText: up
// to its zero byte). Null or empty data make an empty file. Whole or not at
// all, as writeFileWhole.
bool writeFile(const String& path, const void* data, int length);
bool writeFile(const String& path, const String& data);

// Writes the file whole or leaves no trace of the attempt, so that a full
// disk never leaves a part of it: a new file that cannot be written whole is
// removed again; an existing one must open for writing as before (a file in
// use or read-only fails untouched), then a copy made beside it replaces it
// only once complete. `time`, when given, becomes the local last-write time.
// False with the system's error as the last error.
bool writeFileWhole(const String& path, const void* data, int length,
                    const TimeStamp* time = nullptr);

// A new file in the temporary directory holding the data; `name` gets its
// path (empty when none could be made; one not written whole is removed).
bool writeTempFile(const void* data, int length, String& name);

// The file holds exactly these `length` bytes.
bool fileEquals(const String& path, const void* data, int length);

// Modes of appendToFile.
inline constexpr int kAppendOnNewLine = 0x1; // end the file with a line break first
inline constexpr int kAppendNoRetry = 0x2;   // a failed write is final at once
inline constexpr int kAppendMustExist = 0x4; // do not create the file
// Writes `text` (null writes nothing) at the end of the file; a write that
// fails is tried again, up to ten times 100 ms apart. False for a blank path
// or a file that cannot be opened; a failed append leaves the file as it was
// (a file it made is removed again), with the system's error kept.
bool appendToFile(const String& path, const char* text, int mode);

// The local last-write time of the first entry `path` finds.
bool lastWriteTime(const String& path, TimeStamp& time);
