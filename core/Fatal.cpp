#include "core/Fatal.h"

#include "core/FormatText.h"

namespace {
// Formatted fatal texts are built in a fixed buffer: the allocator may be the
// very thing that failed.
char gFatalBuffer[65536];
} // namespace

void fatalErrorv(const char* format, va_list args) {
    formatTextv(gFatalBuffer, sizeof gFatalBuffer, format, args);
    fatalError(gFatalBuffer);
}

void fatalErrorf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    fatalErrorv(format, args);
}

void internalError(const char* module, int line) {
    fatalErrorf("Internal Fatal Error\r\nModule: %s\r\nLine: %d", module, line);
}
