#pragma once
// Reads setup.exe the way the installer does, with the installer's own
// readers in the installer's order, and stops where the installer would stop.
// keld verify reports the outcome; keld inspect shows what was read.

#include "format/ArchiveHeader.h"
#include "format/CorruptionCode.h"
#include "format/PeImage.h"
#include "installer/InstallSettings.h"

#include <cstdint>
#include <string>
#include <vector>

namespace keld {

// One FileEntry record as the installer reads it.
struct ReadFileEntry {
    std::string name;
    int32_t kind = 0;
    int32_t options = 0;
    int32_t attributes = 0;
    int32_t size = 0;
    uint32_t checksum = 0;
    TimeStamp time;
    std::string detail, icon, arguments, target, workingDirectory;
};

enum class SetupVerdict {
    Accepted,
    Unreadable,    // the file cannot be read, or Windows would not load it
    NoArchive,     // a sound program without an archive section
    NewerFormat,   // the installer's version message
    Corrupt,       // `code` says why
    VolumeMissing, // the installer would ask for a volume file
};

struct SetupReading {
    SetupVerdict verdict = SetupVerdict::Accepted;
    CorruptionCode code = NotCorrupt;
    std::string problem; // what went wrong, in words
    int64_t fileSize = 0;
    ArchiveSection section;
    bool headerRead = false;
    ArchiveHeader header; // its fileSizes point into `sectionBytes`
    std::vector<uint8_t> sectionBytes;
    bool settingsRead = false;
    InstallSettings settings;
    int32_t decodedSettingsSize = 0;
    std::vector<std::string> volumes; // the volume files read
    std::vector<ReadFileEntry> files;
    int64_t dataAreaDecodedSize = 0;
};

// The machine the settings' defaults are completed for.
inline constexpr char kSampleWindowsDir[] = "C:\\WINDOWS";
inline constexpr char kSampleProgramFilesDir[] = "C:\\Program Files";
inline constexpr char kSampleCommonFilesDir[] = "C:\\Program Files\\Common Files";

// Reads setup.exe at `path`, with its volume files beside it.
SetupReading readSetup(const std::string& path);

} // namespace keld
