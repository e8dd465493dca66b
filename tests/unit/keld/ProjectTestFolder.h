// A private folder for one test's project file and sources, removed at the end.
#pragma once

#include "keld/ArchiveWriterBytes.h"
#include "tests/unit/PeImageFixture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/time.h>

class ProjectTestFolder {
public:
    ProjectTestFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "keld-test-XXXXXX").string();
        dir_ = mkdtemp(pattern.data());
    }
    ~ProjectTestFolder() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    ProjectTestFolder(const ProjectTestFolder&) = delete;
    ProjectTestFolder& operator=(const ProjectTestFolder&) = delete;

    const std::string& dir() const { return dir_; }
    std::string path(const std::string& name) const { return dir_ + "/" + name; }

    // Writes `bytes` to `name` (folders made as needed), modified at `mtime`.
    std::string write(const std::string& name, const std::string& bytes, long mtime = 1700000000) {
        const std::string file = path(name);
        std::filesystem::create_directories(std::filesystem::path(file).parent_path());
        std::ofstream(file, std::ios::binary) << bytes;
        const timeval times[2] = {{mtime, 0}, {mtime, 0}};
        utimes(file.c_str(), times);
        return file;
    }

    std::string read(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::string dir_;
};

// The installer stub the tests build on: a small PE image with room for one
// more section.
inline keld::Bytes testStub() {
    return pe_fixture::makeImage(4);
}
