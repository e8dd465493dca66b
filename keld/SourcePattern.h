#pragma once
// Wildcards in the sources of [[files]], read the way the POSIX shell reads them,
// on every system: "*" and "?" stand for any characters of one name, "[abc]",
// "[a-z]" and "[!a-z]" for one character of a set, and a name that starts with
// "." is matched only by a pattern that starts with one. Capitals count on
// Windows too, so that a project takes the same files everywhere. With the POSIX
// style "\" takes the next character as it is; with the Windows style it
// separates folders.

#include "keld/PathText.h"

#include <string>
#include <vector>

namespace keld {

bool hasWildcards(const std::string& pattern);

// Whether one name (no separators) matches one name's pattern.
bool matchesName(const std::string& pattern, const std::string& name,
                 PathStyle style = kHostPathStyle);

// The paths on this machine that `pattern` names, files and folders, in no
// particular order. Each is the pattern's text with the wildcards filled in.
std::vector<std::string> expandPattern(const std::string& pattern);

} // namespace keld
