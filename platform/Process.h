#pragma once
// Starting programs, waiting for them, and opening documents with the shell.

#include "core/String.h"

#include <cstdint>

// Options of runProcess.
inline constexpr uint32_t kRunWait = 0x1;           // wait for the process to end
inline constexpr uint32_t kRunHidden = 0x10;        // hide its window
inline constexpr uint32_t kRunPumpMessages = 0x100; // keep the windows alive while waiting

// Results of runProcess besides the exit code.
inline constexpr uint32_t kRunNotStarted = 0x80000000;
inline constexpr uint32_t kRunNoExitCode = 0x80000001; // not waited for, or unreadable

// Starts `commandLine` in `workingDirectory` (empty: the current one). With
// kRunWait the result is the exit code; otherwise kRunNoExitCode once started.
uint32_t runProcess(const String& commandLine, uint32_t options, const String& workingDirectory);

// Starts `application` with `commandLine` in a console window of its own,
// shown minimised, and does not wait for it. False when it cannot be started.
bool startInMinimizedConsole(const String& application, const String& commandLine);

// The installer's message pump, run between the short waits of
// kRunPumpMessages; by default the thread's messages are dispatched plainly.
void setProcessWaitPump(bool (*pump)());

// Opens the document with its default verb, from the installer's directory.
bool openWithShell(const String& path);
