#pragma once
// From a project to setup.exe: the settings and the files' records are made
// from the project and its sources, checked against every limit the installer
// enforces, and put behind the installer stub. The same project and sources
// give the same bytes.

#include "keld/ArchiveWriter.h"
#include "keld/Project.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace keld {

struct BuildOptions {
    Bytes stub;             // varnoke.exe
    std::string outputPath; // setup.exe; its folder receives the volume files
    // SOURCE_DATE_EPOCH, when set: the package time unless the project gives one.
    std::optional<int64_t> sourceDateEpoch;
    // Told how long work (compressing a large product) goes; may be empty.
    std::function<void(const std::string&)> progress;
};

struct BuildResult {
    BuiltInstaller installer;
    InstallSettings settings; // as written, with the defaults keld filled in
    uint64_t sourceBytes = 0; // the files' bytes before compression
};

// Makes the installer in memory; false with the reasons in `errors`.
bool buildProject(const Project& project, const BuildOptions& options, BuildResult& result,
                  std::vector<std::string>& errors);

// Writes setup.exe and its volume files; false with the reason in `error`.
bool writeBuild(const BuildResult& result, const std::string& outputPath, std::string& error);

// The time of a file as the archive stores it: the source's modification
// time, broken down in UTC so that the archive does not depend on the
// building machine's time zone.
TimeStamp timeStampOf(int64_t secondsSinceEpoch);

} // namespace keld
