#include "keld/VolumeWriter.h"

#include "format/ArchiveLayout.h"
#include "keld/Files.h"
#include "keld/PathText.h"

#include <cstdio>

namespace keld {

std::string volumeFileName(const std::string& baseName, int number) {
    const int size = std::snprintf(nullptr, 0, kVolumeNameFormat, baseName.c_str(), number);
    std::string name(static_cast<size_t>(size) + 1, '\0');
    std::snprintf(&name[0], name.size(), kVolumeNameFormat, baseName.c_str(), number);
    name.resize(static_cast<size_t>(size));
    return name;
}

std::vector<VolumeFile> splitIntoVolumes(const uint8_t* data, size_t size, size_t volumeSize,
                                         const std::string& baseName, uint32_t firstTag) {
    std::vector<VolumeFile> volumes;
    const size_t step = volumeSize == 0 ? size : volumeSize;
    for (size_t done = 0; done < size; done += step) {
        const size_t count = size - done < step ? size - done : step;
        VolumeFile volume;
        volume.name =
            volumeFileName(baseName, kFirstVolumeNumber + static_cast<int>(volumes.size()));
        appendU32(volume.bytes, firstTag + static_cast<uint32_t>(volumes.size()));
        appendBytes(volume.bytes, data + done, count);
        volumes.push_back(std::move(volume));
    }
    return volumes;
}

bool writeVolumeFiles(const std::vector<VolumeFile>& volumes, const std::string& directory,
                      std::string& error) {
    for (const VolumeFile& volume : volumes) {
        const std::string path = joinPath(directory, volume.name);
        if (!writeFile(path, volume.bytes)) {
            error = unwritableFile(path);
            return false;
        }
    }
    return true;
}

} // namespace keld
