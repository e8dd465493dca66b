#pragma once
// keld's English texts for every message the installer and the uninstaller
// show, so that a project names only the texts it wants to change.
// "<product>" becomes the product's name and "<os>" the Windows directory on
// the user's machine; the printf arguments of each text are fixed by its role.

#include <string>

namespace keld {

// The ids 0 to 71.
inline constexpr int kMessageIdCount = 72;

// The language whose texts keld supplies.
inline constexpr char kDefaultLanguage[] = "English";

// The English text of message `id`; empty for an id the installer does not
// use or that shows nothing when empty (the extra licence and readme pages).
const std::string& defaultMessage(int id);

// The printf conversions a text of message `id` must have, in order ("%d%c"
// for the volume request); a project's text is checked against them.
const char* messageArguments(int id);

} // namespace keld
