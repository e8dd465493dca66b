// keld: makes, inspects and verifies Varnoke installers.
#include "core/Fatal.h"
#include "core/String.h"
#include "keld/Cli.h"
#include "keld/Files.h"
#include "keld/PathText.h"
#include "keld/Program.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

// The core library's misuse ends keld with its text.
void fatalError(const char* text) {
    std::fprintf(stderr, "keld: fatal error: %s\n", text ? text : "");
    std::exit(keld::ExitProblems);
}

void fatalError(const String& text) {
    fatalError(text.c_str());
}

namespace {

// The stub installed beside keld (bin/keld, share/keld/varnoke.exe), else the
// one the build folder made.
std::string defaultStub() {
    const std::string self = keld::programFile();
    if (!self.empty()) {
        const std::string installed = keld::fromFsPath(
            keld::toFsPath(keld::joinPath(keld::folderOf(self), KELD_INSTALLED_STUB))
                .lexically_normal());
        if (keld::fileInfo(installed))
            return installed;
    }
    return KELD_DEFAULT_STUB;
}

} // namespace

int main(int argc, char** argv) {
    keld::CliEnvironment env;
    env.defaultStub = defaultStub();
    env.sourceDateEpoch = std::getenv("SOURCE_DATE_EPOCH");
    env.terminal = keld::stderrShowsProgress();
    return keld::runKeld(keld::programArguments(argc, argv), env, std::cout, std::cerr);
}
