#include "keld/Program.h"

#include <cstdio>
#include <unistd.h>

namespace keld {

std::vector<std::string> programArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

std::string programFile() {
    std::string path(256, '\0');
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", &path[0], path.size());
        if (length <= 0)
            return std::string();
        if (size_t(length) < path.size()) {
            path.resize(size_t(length));
            return path;
        }
        path.resize(path.size() * 2);
    }
}

bool stderrShowsProgress() {
    return isatty(fileno(stderr)) != 0;
}

} // namespace keld
