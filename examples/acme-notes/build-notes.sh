#!/usr/bin/env bash
# Rebuilds dist/notes.exe, the example's tiny program, with MinGW-w64.
set -euo pipefail
cd "$(dirname "$0")"
i686-w64-mingw32-windres src/notes.rc -O coff -o /tmp/notes-res.o
i686-w64-mingw32-gcc -Os -s -mwindows -Wl,--subsystem,windows:4.0 -Wl,--no-insert-timestamp src/notes.c /tmp/notes-res.o \
    -o dist/notes.exe
rm -f /tmp/notes-res.o
