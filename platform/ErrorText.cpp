#include "platform/ErrorText.h"

#include <windows.h>

String systemErrorText(uint32_t code) {
    if (code == 0)
        return String();
    char* buffer = nullptr;
    // Inserts are left as they stand: there are no arguments to fill them
    // with, and reading absent ones would read stray memory.
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                  reinterpret_cast<char*>(&buffer), 0, nullptr);
    String text;
    if (length > 0 && buffer)
        text.assignBytes(buffer, static_cast<int>(length));
    if (buffer)
        LocalFree(buffer);
    return text;
}

String lastErrorText() {
    return systemErrorText(GetLastError());
}
