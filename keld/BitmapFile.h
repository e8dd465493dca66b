#pragma once
// The background picture as image tools write it, made into the form the
// installer draws: a packed bitmap (no file header) with the 40-byte info
// header, rows bottom-up. Tools write 108- and 124-byte headers by default,
// which the installer takes for no picture at all.

#include <string>

namespace keld {

// The packed bitmap of the .bmp file `bmp`; false, with the reason in
// `error`, for what keld cannot convert. A bitmap the installer already draws
// (12- or 40-byte header, bottom-up) keeps its bytes.
bool installerBitmap(const std::string& bmp, std::string& packed, std::string& error);

} // namespace keld
