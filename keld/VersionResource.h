#pragma once
// The version of a Windows program or library as the installer reads it from
// the installed copy: the "FileVersion" text of its version resource, commas
// made periods and white space removed. keld stores it in the file's record
// for the kinds that compare versions, so that both sides compare alike.

#include <cstdint>
#include <string>
#include <vector>

namespace keld {

// Empty when `image` is not a PE file or has no version resource. Without a
// "FileVersion" text the fixed version numbers are used ("1.2.3.4").
std::string fileVersionText(const std::vector<uint8_t>& image);

} // namespace keld
