// keld: makes, inspects and verifies Varnoke installers.
#include "core/Fatal.h"
#include "core/String.h"
#include "keld/Cli.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <linux/limits.h>
#include <string>
#include <unistd.h>

// The core library's misuse ends keld with its text.
void fatalError(const char* text) {
    std::fprintf(stderr, "keld: fatal error: %s\n", text ? text : "");
    std::exit(keld::ExitProblems);
}

void fatalError(const String& text) {
    fatalError(text.c_str());
}

namespace {

// The stub installed beside keld, else the one the build folder made.
std::string defaultStub() {
    char self[PATH_MAX] = {};
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length > 0) {
        std::string dir(self, size_t(length));
        dir = dir.substr(0, dir.find_last_of('/'));
        const std::string installed = dir + "/" + KELD_INSTALLED_STUB;
        if (access(installed.c_str(), R_OK) == 0)
            return installed;
    }
    return KELD_DEFAULT_STUB;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    keld::CliEnvironment env;
    env.defaultStub = defaultStub();
    env.sourceDateEpoch = std::getenv("SOURCE_DATE_EPOCH");
    env.terminal = isatty(fileno(stderr)) != 0;
    return keld::runKeld(args, env, std::cout, std::cerr);
}
