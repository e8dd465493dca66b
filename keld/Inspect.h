#pragma once
// keld inspect: what the installer reads from setup.exe, decoded and named.

#include "keld/VerifyArchive.h"

#include <nlohmann/json.hpp>

#include <iosfwd>

namespace keld {

// Everything read, as JSON; fields the reading did not reach are absent.
nlohmann::ordered_json inspectJson(const SetupReading& reading);

// The same, for people.
void printInspection(const SetupReading& reading, std::ostream& out);

// The verdict in words, and the installer's error code when it has one.
std::string verdictText(const SetupReading& reading);

} // namespace keld
