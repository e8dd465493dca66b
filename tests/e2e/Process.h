// Starting a Unix program and collecting its output, for the end-to-end tests.
#pragma once

#include <string>
#include <vector>

namespace e2e {

// A program run to its end with stdout and stderr captured, never through a shell.
struct ProcessResult {
    int status = -1; // exit status, or -1 when it did not exit normally
    std::string out;
    std::string err;
    bool timedOut = false;  // killed after `timeoutSeconds`
    std::string startError; // why it could not be started, empty when it was
};

// Runs argv[0] (looked up in PATH) with the given arguments. A program still running
// after `timeoutSeconds` is killed. The run ends when the program does: helpers it
// leaves behind that still hold its output pipes are not waited for.
ProcessResult runProcess(const std::vector<std::string>& argv, int timeoutSeconds);

} // namespace e2e
