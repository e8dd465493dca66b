#pragma once
// The name the library's own messages quote (set once at start-up).

const char* programName();
void setProgramName(const char* name);
