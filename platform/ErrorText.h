#pragma once
// The system's own words for an error code, as the reports quote them.

#include "core/String.h"

#include <cstdint>

// The system's message for `code`, trailing line break included; empty for 0
// or a code the system has no text for.
String systemErrorText(uint32_t code);
// systemErrorText of the thread's last error.
String lastErrorText();
