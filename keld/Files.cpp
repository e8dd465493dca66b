#include "keld/Files.h"

#include "keld/PathText.h"

#include <fstream>
#include <iterator>

namespace keld {

namespace {

template <typename Container> bool readWhole(const std::string& path, Container& out) {
    out.clear();
    // A folder opens as a stream on POSIX, and reading it then throws.
    const std::optional<FileInfo> info = fileInfo(path);
    if (!info || info->folder)
        return false;
    std::ifstream in(toFsPath(path), std::ios::binary);
    if (!in)
        return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        out.clear();
        return false;
    }
    return true;
}

} // namespace

bool readFile(const std::string& path, std::vector<uint8_t>& out) {
    return readWhole(path, out);
}

bool readFile(const std::string& path, std::string& out) {
    return readWhole(path, out);
}

std::string unreadableFile(const std::string& what, const std::string& path) {
    const std::optional<FileInfo> info = fileInfo(path);
    if (!info)
        return "cannot read " + what + " \"" + path + "\": there is no such file";
    if (info->folder)
        return "cannot read " + what + " \"" + path + "\": it is a folder, not a file";
    return "cannot read " + what + " \"" + path + "\"";
}

std::string unwritableFile(const std::string& path) {
    const std::string cannot = "cannot write \"" + path + "\"";
    const std::optional<FileInfo> info = fileInfo(path);
    if (info && info->folder)
        return cannot + ": it is a folder";
    const std::string folder = folderOf(path);
    const std::optional<FileInfo> parent = fileInfo(folder.empty() ? "." : folder);
    if (!parent || !parent->folder)
        return cannot + ": there is no folder \"" + folder + "\"";
    return cannot;
}

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return std::filesystem::equivalent(toFsPath(a), toFsPath(b), ec) && !ec;
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(toFsPath(path), std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    return !out.fail();
}

} // namespace keld
