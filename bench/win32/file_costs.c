/* What each Win32 call the file loop makes costs per file, measured apart:
 * opening, writing, flushing and stamping small files the ways the installer
 * can, checking and creating their folder, moving the bar and the status line,
 * pumping, and deleting. Wine makes most of these a round trip to its server,
 * which is what a relay trace of one installation points at.
 *
 *   i686-w64-mingw32-gcc -O2 -o file_costs.exe bench/win32/file_costs.c -luser32 -lgdi32
 *   wine file_costs.exe C:\costs [files]
 * (x86_64-w64-mingw32-gcc and wine64 measure the same calls where 32-bit
 * programs cannot run.) Prints microseconds per file, best of three rounds. */
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

static char gDir[MAX_PATH];
static int gFiles = 600;
static HWND gWindow, gStatic;
static const char gData[10] = "0123456789";

static double seconds(void) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return (double)now.QuadPart / (double)frequency.QuadPart;
}

static void pathOf(int i, char* out) {
    sprintf(out, "%s\\d%02d\\file%05d.dat", gDir, i % 20, i);
}

static void stamp(HANDLE h) {
    FILETIME t = {0x12345678, 0x01D9A000};
    SetFileTime(h, NULL, NULL, &t);
}

static HANDLE create(const char* path) {
    return CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, NULL);
}

static void writeOnly(const char* path) {
    DWORD n;
    HANDLE h = create(path);
    WriteFile(h, gData, sizeof gData, &n, NULL);
    CloseHandle(h);
}

/* Written, closed, opened again, flushed and stamped. */
static void writeReopenFlushStamp(const char* path) {
    writeOnly(path);
    HANDLE h = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, NULL);
    FlushFileBuffers(h);
    stamp(h);
    CloseHandle(h);
}

static void writeFlushStamp(const char* path) {
    DWORD n;
    HANDLE h = create(path);
    WriteFile(h, gData, sizeof gData, &n, NULL);
    FlushFileBuffers(h);
    stamp(h);
    CloseHandle(h);
}

static void writeStamp(const char* path) {
    DWORD n;
    HANDLE h = create(path);
    WriteFile(h, gData, sizeof gData, &n, NULL);
    stamp(h);
    CloseHandle(h);
}

static void attributes(const char* path) {
    DWORD a = GetFileAttributesA(path);
    if (a != INVALID_FILE_ATTRIBUTES && (a & 1))
        SetFileAttributesA(path, a & ~1u);
}

/* The folder test by changing into it and back. */
static void folderCheck(const char* path) {
    char folder[MAX_PATH], previous[MAX_PATH];
    strcpy(folder, path);
    *strrchr(folder, '\\') = 0;
    GetCurrentDirectoryA(sizeof previous, previous);
    SetCurrentDirectoryA(folder);
    SetCurrentDirectoryA(previous);
}

static void probe(const char* path) {
    HANDLE h = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, NULL);
    if (h != INVALID_HANDLE_VALUE)
        CloseHandle(h);
}

static void pump(void) {
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

/* The bar moved and the pump run twice, as for every file. */
static void barAndPumps(const char* path) {
    (void)path;
    PostMessageA(gStatic, WM_USER + 2, 50, 0);
    pump();
    pump();
}

static void statusLine(const char* path) {
    SetWindowTextA(gStatic, path);
    UpdateWindow(gWindow);
    pump();
}

static void removeFile(const char* path) {
    attributes(path);
    DeleteFileA(path);
}

typedef void (*Step)(const char*);

static double perFile(Step step) {
    char path[MAX_PATH];
    double best = 1e9;
    for (int round = 0; round < 3; ++round) {
        double start = seconds();
        for (int i = 0; i < gFiles; ++i) {
            pathOf(i, path);
            step(path);
        }
        double t = (seconds() - start) * 1e6 / gFiles;
        if (t < best)
            best = t;
    }
    return best;
}

int main(int argc, char** argv) {
    char folder[MAX_PATH];
    strcpy(gDir, argc > 1 ? argv[1] : "C:\\file-costs");
    if (argc > 2)
        gFiles = atoi(argv[2]);
    CreateDirectoryA(gDir, NULL);
    for (int i = 0; i < 20; ++i) {
        sprintf(folder, "%s\\d%02d", gDir, i);
        CreateDirectoryA(folder, NULL);
    }
    gWindow = CreateWindowExA(0, "STATIC", "costs", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400,
                              100, NULL, NULL, NULL, NULL);
    gStatic = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 400, 20, gWindow, NULL,
                              NULL, NULL);
    pump();
    struct {
        const char* name;
        Step step;
    } steps[] = {
        {"create+write+close", writeOnly},
        {"  + reopen+flush+stamp+close", writeReopenFlushStamp},
        {"create+write+flush+stamp+close", writeFlushStamp},
        {"create+write+stamp+close", writeStamp},
        {"attributes read", attributes},
        {"folder check (cd in and out)", folderCheck},
        {"probe open", probe},
        {"bar post + 2 pumps", barAndPumps},
        {"status text + repaint + pump", statusLine},
        {"delete (attributes + delete)", removeFile},
        {"delete of a missing file", removeFile},
    };
    printf("%d files of 10 bytes in 20 folders: microseconds per file, best of 3\n", gFiles);
    for (size_t i = 0; i < sizeof steps / sizeof steps[0]; ++i)
        printf("  %-34s %8.1f\n", steps[i].name, perFile(steps[i].step));
    return 0;
}
