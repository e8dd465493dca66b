#pragma once
// Listing the files that match a pattern, optionally through subdirectories,
// sorted and reduced to names.

#include "core/Array.h"
#include "core/String.h"

#include <cstdint>

// Flags of listFiles.
inline constexpr uint32_t kListDirectories = 0x1;  // directories too ("." and ".." never)
inline constexpr uint32_t kListRecursive = 0x2;    // also a pattern ending in " /s"
inline constexpr uint32_t kListNamesOnly = 0x4;    // no directory in front
inline constexpr uint32_t kListNoExtensions = 0x8; // extensions removed
inline constexpr uint32_t kListKeep = 0x10;        // add to the list instead of replacing it
inline constexpr uint32_t kListDescending = 0x20;
inline constexpr uint32_t kListSortByTime = 0x40;      // last-write time of the full paths
inline constexpr uint32_t kListSortByName = 0x80;      // the full paths, ignoring case
inline constexpr uint32_t kListSortByShortName = 0xC0; // after reduction, ignoring case
inline constexpr uint32_t kListSortMask = 0xC0;
inline constexpr uint32_t kListNoPump = 0x4000; // do not keep the windows alive

// The paths that `pattern` matches (each the pattern's directory joined with
// the entry's name) and the sum of their sizes. Sorting orders each
// directory's entries; with recursion each subdirectory's listing follows.
uint64_t listFiles(const String& pattern, uint32_t flags, Array<String>& list);

// The installer's message pump, called at the start of every listing so that
// its windows stay alive through a long search; none by default.
void setFileListPump(bool (*pump)());
