/* Acme Notes: the example product's program. It shows the note file it was
   opened with (through the .acmenote association) or a greeting. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    char text[512];
    (void)instance;
    (void)previous;
    (void)show;
    if (commandLine && commandLine[0])
        wsprintfA(text, "Acme Notes would open this note:\r\n%s", commandLine);
    else
        lstrcpyA(text, "Acme Notes is installed. Open a .acmenote file to see it here.");
    MessageBoxA(NULL, text, "Acme Notes", MB_OK | MB_ICONINFORMATION);
    return 0;
}
