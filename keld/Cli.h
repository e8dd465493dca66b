#pragma once
// keld's command line: parsing and running the three commands, with the exit
// codes publishers' scripts rely on.

#include <iosfwd>
#include <string>
#include <vector>

namespace keld {

enum ExitCode {
    ExitOk = 0,
    ExitProblems = 1, // the project or the installer has problems
    ExitUsage = 2,
};

struct CliEnvironment {
    std::string defaultStub;     // varnoke.exe when no --stub is given
    const char* sourceDateEpoch; // the environment's SOURCE_DATE_EPOCH, or null
    bool terminal = false;       // stderr is a terminal: show progress
};

// Runs `keld args...` (without the program name).
int runKeld(const std::vector<std::string>& args, const CliEnvironment& env, std::ostream& out,
            std::ostream& err);

} // namespace keld
