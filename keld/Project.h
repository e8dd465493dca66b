#pragma once
// A keld project as read from its TOML file: the settings the installer will
// read, the files it will place, and how the archive is laid out. Paths of
// source files are resolved against the project file's folder.

#include "installer/InstallSettings.h"
#include "keld/Encoder.h"
#include "keld/SetupFace.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace keld {

// Where something was said in the project file, for the publisher's messages.
struct SourceLocation {
    std::string file;
    int line = 0; // 0: the file as a whole
    int column = 0;
};

// "acme.toml:12:5: what is wrong", or "acme.toml: what is wrong".
std::string describe(const SourceLocation& where, const std::string& what);

// One file of the data area, before its bytes are read.
struct ProjectFile {
    std::string source;      // path on the building machine
    std::string name;        // destination name, with backslashes
    int32_t kind = 0;        // DestinationKind
    int32_t options = 0;     // EntryOptions
    int32_t attributes = -1; // -1 leaves the target's attributes alone
    std::string detail;      // shortcut name, font name or version
    bool versionGiven = false;
    std::string icon;
    std::string arguments;
    std::string target;
    std::string workingDirectory;
    SourceLocation where;
};

enum class DataPlacement { Section, BeyondImage };

struct OutputOptions {
    bool compress = true;
    CompressionLevel level = CompressionLevel::Best;
    DataPlacement placement = DataPlacement::Section;
    // Data bytes a volume file holds; 0: no volumes. setup.exe holds the
    // first volumeSize bytes of the data area too.
    int64_t volumeSize = 0;
    std::string file; // the default setup.exe path, from the project
};

struct Project {
    std::string path;    // the project file
    std::string baseDir; // its folder
    InstallSettings settings;
    std::optional<TimeStamp> packageTime; // from the project
    std::vector<ProjectFile> files;
    OutputOptions output;
    // Files read into the settings (pages, bitmap, icon, patch), for the
    // newest-source package time.
    std::vector<std::string> settingsSources;
    // setup.exe's icon and version information, as the publisher wrote them.
    SetupIdentity identity;
};

struct ProjectErrors {
    std::vector<std::string> messages;
    bool empty() const { return messages.empty(); }
};

// Reads and checks the project at `path` (or the text as if it were there).
// Every problem found is added to `errors`; the project is usable only when
// none was.
bool readProject(const std::string& path, Project& project, ProjectErrors& errors);
bool readProjectText(const std::string& text, const std::string& path, Project& project,
                     ProjectErrors& errors);

} // namespace keld
