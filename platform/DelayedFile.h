#pragma once
// The installer's only ways to ask whether a target is there and to delete
// or replace one, now or at the next restart. Windows NT keeps delayed
// operations through MoveFileExA; Windows 9x has none and reads the
// "[rename]" section of wininit.ini at its next start instead. Either takes
// effect only when Windows restarts.

#include "core/String.h"
#include "platform/File.h"
#include "platform/FileFinder.h"

// The file can be opened, or is there but locked by another program.
bool filePresent(const String& path);
// The first entry the path finds.
bool fileInfo(const String& path, FileInfo& out);
// The whole file; `out` is left empty unless the result is FileOpened.
// FileLoadFailed when it opened but could not be read.
FileOpenResult readFileText(const String& path, String& out);

// Clears the read-only attribute first. At restart on Windows NT the file is
// registered for deletion; elsewhere (or where that fails but wininit.exe
// exists) a "NUL=" line goes into wininit.ini.
bool deleteFile(const String& path, bool atRestart);
// Moves source onto destination now, replacing it: in one step where the
// system can, else by deleting destination first (Windows 9x). False, with
// the system's error as the last error, leaves destination as it was.
bool replaceFileNow(const String& source, const String& destination);
// Registers moving source onto destination at the next restart, deleting
// destination now when it can. Identical texts register nothing and report
// true with the last error ERROR_INVALID_PARAMETER.
bool moveFile(const String& source, const String& destination);
// Puts "destination=source" first in wininit.ini's "[rename]" section, in
// the Windows directory of the start-up values.
bool addRenameEntry(const String& destination, const String& source);
