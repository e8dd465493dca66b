// A private folder for one test's project file and sources, removed at the end.
#pragma once

#include "keld/ArchiveWriterBytes.h"
#include "tests/unit/PeImageFixture.h"

#include <cstdint>
#include <string>

class ProjectTestFolder {
public:
    ProjectTestFolder(); // a new folder in the system's temporary folder
    ~ProjectTestFolder();
    ProjectTestFolder(const ProjectTestFolder&) = delete;
    ProjectTestFolder& operator=(const ProjectTestFolder&) = delete;

    // The folder in the system's own form (backslashes and a drive on Windows).
    const std::string& dir() const { return dir_; }
    // `name` (which may hold '/') inside the folder.
    std::string path(const std::string& name) const;

    // Writes `bytes` to `name` (folders made as needed), modified at `mtime`
    // (seconds since 1970 UTC); returns its path.
    std::string write(const std::string& name, const std::string& bytes,
                      int64_t mtime = 1700000000);

    std::string read(const std::string& name) const;

private:
    std::string dir_;
};

// The installer stub the tests build on: a small PE image with room for one
// more section.
inline keld::Bytes testStub() {
    return pe_fixture::makeImage(4);
}
