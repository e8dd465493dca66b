#pragma once
// Putting the product's files on disk: the deletion list first, then every
// file record of the data area under its existence, version and date rules,
// with files in use replaced at the next restart. What was done goes into the
// installation's log, problems into its report, and the lists for the later
// steps into the installation state.

#include "core/Array.h"
#include "core/String.h"
#include "core/TimeStamp.h"
#include "format/SettingsLayout.h"

#include <cstdint>

// Deletes the files each entry matches when its condition holds.
void deleteFilesBeforeInstall(const Array<FileDeletion>& deletions);

// The existing files a specification names, in order (see
// fileSpecificationPatterns for the lines and items).
void expandFileSpecification(const String& specification, const String& defaultDir,
                             Array<String>& paths);

// Reads the FileCount records at the archive cursor and places each file.
void placeFiles();

// Adds to the problem report that `path` could not be written, with the
// system's reason.
void reportWriteFailure(const String& path);

// Writes the file whole, with its time, or leaves what was there (three
// attempts, checked with VerifyWrites), then its attributes. False when the
// file does not now hold the data, also when its replacement was registered
// for the next restart; `atRestart`, when given, then tells whether it was.
bool writeInstalledFile(const String& target, const uint8_t* data, int32_t length,
                        const TimeStamp& time, int32_t attributes, bool existedBefore,
                        bool* atRestart = nullptr);

// The Fonts key below the local machine for this kind of Windows.
const char* fontsRegistryKey();
