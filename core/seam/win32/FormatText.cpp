#include "core/FormatText.h"

#include "core/Printf.h"

// The installer brings its own formatter: Windows 95 as shipped has no C
// runtime DLL to borrow one from.
int formatTextv(char* buffer, int size, const char* format, va_list args) {
    if (size <= 0)
        return 0;
    const int n = printfInto(buffer, size, format, args);
    return n < size ? n : -1;
}
