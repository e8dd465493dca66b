#pragma once
// Drives and their space.

#include "core/String.h"

#include <cstdint>

// The path starts with a letter whose root ("X:\") is a drive.
bool driveExists(const String& path);
// Free bytes on the volume (not the caller's quota) and its size; either
// output may be null. False unless the path starts with a drive letter.
bool diskSpace(const String& path, uint64_t* free, uint64_t* total);
// The free bytes, or all ones when they cannot be found.
uint64_t freeBytes(const String& path);
// Bytes per cluster, or -1.
int32_t clusterSize(const String& path);
