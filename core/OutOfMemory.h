#pragma once
// What the program says when the allocator gives up: the requested size and a
// dump of the stack around the failure, in the "FATAL ERROR" box.

#include <cstdint>

// Words in the dump; the first two are the markers that show where it starts.
inline constexpr int kStackDumpWords = 80;
inline constexpr uint32_t kStackMarkerFirst = 0x11223344u;
inline constexpr uint32_t kStackMarkerSecond = 0x55667788u;
// The report is built in a fixed buffer of this size: nothing may be allocated.
inline constexpr int kOutOfMemoryTextSize = 1024;

// Writes the report for `size` and the kStackDumpWords `words` into `text`
// (kOutOfMemoryTextSize bytes, always zero-terminated); returns its length.
int formatOutOfMemory(char* text, unsigned size, const uint32_t* words);

// The allocation-failure handler: reports `size` and the current stack through
// fatalError. Never returns.
[[noreturn]] void outOfMemory(unsigned size);
