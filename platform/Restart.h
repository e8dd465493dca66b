#pragma once
// Restarting Windows, with the privilege Windows NT asks for.

#include "core/String.h"

// Enables or disables the named privilege of the process token. Does nothing
// where the system lacks the calls.
void setPrivilege(const char* name, bool enable);

// Restarts Windows (programs that hang are closed); true when the system
// accepted. The installer ends after it.
bool restartSystem();
