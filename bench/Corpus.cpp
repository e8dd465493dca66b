#include "bench/Corpus.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace bench {

namespace fs = std::filesystem;

namespace {

// Regular files under root, sorted, each under maxSize, whose name passes keep.
template <typename Keep>
std::vector<fs::path> listFiles(const fs::path& root, size_t maxSize, Keep keep) {
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::recursive_directory_iterator
             it(root, fs::directory_options::skip_permission_denied, error),
         end;
         it != end; it.increment(error)) {
        if (error)
            break;
        std::error_code statError;
        if (!it->is_regular_file(statError) || it->is_symlink(statError))
            continue;
        const auto size = it->file_size(statError);
        if (statError || size == 0 || size > maxSize || !keep(it->path()))
            continue;
        files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool append(std::vector<uint8_t>& out, const fs::path& file, size_t limit) {
    std::ifstream in(file, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    if (out.size() + bytes.size() > limit)
        bytes.resize(limit - out.size());
    out.insert(out.end(), bytes.begin(), bytes.end());
    return out.size() < limit;
}

std::vector<uint8_t> concatenate(const std::vector<fs::path>& files, size_t limit) {
    std::vector<uint8_t> out;
    for (const auto& file : files)
        if (!append(out, file, limit))
            break;
    return out;
}

// One file from each list in turn, as an installer's data area mixes them.
std::vector<uint8_t> interleave(const std::vector<std::vector<fs::path>>& lists, size_t limit) {
    std::vector<uint8_t> out;
    for (size_t i = 0;; ++i) {
        bool any = false;
        for (const auto& list : lists) {
            if (i >= list.size())
                continue;
            any = true;
            if (!append(out, list[i], limit))
                return out;
        }
        if (!any)
            return out;
    }
}

bool endsWith(const fs::path& path, const char* suffix) {
    const std::string name = path.filename().string();
    const std::string tail(suffix);
    return name.size() >= tail.size() &&
           name.compare(name.size() - tail.size(), tail.size(), tail) == 0;
}

} // namespace

std::vector<CorpusFile> makeCorpus(size_t partSize) {
    const auto any = [](const fs::path&) { return true; };
    const auto headers =
        listFiles("/usr/include", 1 << 20, [](const fs::path& p) { return endsWith(p, ".h"); });
    const auto programs = listFiles("/usr/bin", 4 << 20, any);
    const auto libraries = listFiles("/usr/lib/x86_64-linux-gnu", 2 << 20, [](const fs::path& p) {
        return p.filename().string().find(".so") != std::string::npos;
    });
    const auto documents = listFiles("/usr/share/doc", 1 << 20, any);
    const auto shared = listFiles("/usr/share/locale", 1 << 20, any);

    std::vector<CorpusFile> corpus;
    corpus.push_back({"text", "/usr/include/**/*.h", concatenate(headers, partSize)});
    corpus.push_back({"binary", "/usr/bin/*", concatenate(programs, partSize)});
    corpus.push_back({"mixed", "/usr/lib/x86_64-linux-gnu/*.so*, /usr/share/doc, /usr/share/locale",
                      interleave({libraries, documents, shared}, partSize)});
    return corpus;
}

} // namespace bench
