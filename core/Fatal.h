#pragma once
// The library's way of dying. Every misuse the core detects ends here.
//
// `fatalError` is supplied by whoever links the library: the installer shows
// the "FATAL ERROR" box and leaves through exitInstaller; the test programs
// print the text on stderr and abort, so that death tests can read it.

#include <cstdarg>

class String;

[[noreturn]] void fatalError(const char* text);
[[noreturn]] void fatalError(const String& text);
[[noreturn]] void fatalErrorf(const char* format, ...) __attribute__((format(printf, 1, 2)));
[[noreturn]] void fatalErrorv(const char* format, va_list args)
    __attribute__((format(printf, 1, 0)));

// "Internal Fatal Error\r\nModule: %s\r\nLine: %d"
[[noreturn]] void internalError(const char* module, int line);

// The module name the core library's internal errors carry.
inline constexpr const char kCoreModule[] = "qx_core";
