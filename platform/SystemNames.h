#pragma once
// Names the system works out: environment expansion and short 8.3 paths.

#include "core/String.h"

// Replaces %name% references by the environment's values; on failure the
// text stays as it was.
bool expandEnvironment(String& text);
// The short (8.3) form of the path, or the path itself when the system has
// none; empty for an empty path.
String shortPathName(const String& path);
