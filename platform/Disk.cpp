#include "platform/Disk.h"

#include "platform/DynamicLibrary.h"

#include <windows.h>

namespace {

bool startsWithLetter(const String& path) {
    char c = path.firstChar();
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

String rootOf(const String& path) {
    return String(path.c_str(), 1) + ":\\";
}

using DiskFreeSpaceEx = BOOL(WINAPI*)(const char*, ULARGE_INTEGER*, ULARGE_INTEGER*,
                                      ULARGE_INTEGER*);

} // namespace

bool driveExists(const String& path) {
    return startsWithLetter(path) && GetDriveTypeA(rootOf(path).c_str()) != DRIVE_NO_ROOT_DIR;
}

bool diskSpace(const String& path, uint64_t* free, uint64_t* total) {
    if (!startsWithLetter(path))
        return false;
    const String root = rootOf(path);
    // Windows 95 before OSR2 has no GetDiskFreeSpaceExA, and its
    // GetDiskFreeSpaceA cannot count past 2 GB.
    DynamicLibrary kernel;
    if (!kernel.load(kKernelLibrary))
        return false;
    DiskFreeSpaceEx spaceEx = nullptr;
    if (kernel.entry("GetDiskFreeSpaceExA", spaceEx)) {
        ULARGE_INTEGER available, totalBytes, freeBytes;
        if (spaceEx(root.c_str(), &available, &totalBytes, &freeBytes)) {
            if (free)
                *free = freeBytes.QuadPart;
            if (total)
                *total = totalBytes.QuadPart;
            return true;
        }
        if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED)
            return false;
    }
    DWORD sectorsPerCluster, bytesPerSector, freeClusters, totalClusters;
    if (!GetDiskFreeSpaceA(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                           &totalClusters))
        return false;
    const uint64_t cluster = static_cast<uint64_t>(sectorsPerCluster) * bytesPerSector;
    if (free)
        *free = freeClusters * cluster;
    if (total)
        *total = totalClusters * cluster;
    return true;
}

uint64_t freeBytes(const String& path) {
    uint64_t free = 0;
    return diskSpace(path, &free, nullptr) ? free : ~uint64_t(0);
}

int32_t clusterSize(const String& path) {
    if (!startsWithLetter(path))
        return -1;
    DWORD sectorsPerCluster, bytesPerSector, freeClusters, totalClusters;
    if (!GetDiskFreeSpaceA(rootOf(path).c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                           &totalClusters))
        return -1;
    return static_cast<int32_t>(sectorsPerCluster * bytesPerSector);
}
