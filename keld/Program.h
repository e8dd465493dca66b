#pragma once
// What keld's command line takes from the system it runs on. One
// implementation per platform, in keld/seam/<platform>/Program.cpp.

#include <string>
#include <vector>

namespace keld {

// The arguments after the program's name, as UTF-8 text.
std::vector<std::string> programArguments(int argc, char** argv);

// The running program's own file; empty when the system does not say.
std::string programFile();

// True when stderr is a terminal that can show a progress line: one rewritten
// in place with a carriage return, and cleared with "ESC [K".
bool stderrShowsProgress();

} // namespace keld
