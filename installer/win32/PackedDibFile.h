#pragma once
// The background picture on disk and on screen: "Installer Background.BMP"
// is how the installation hands it to the uninstaller.

#include "core/String.h"
#include "installer/PackedDib.h"

#include <windows.h>

// Loads a .bmp file ("bmp" is added to a name without extension): a 14-byte
// file header starting with "BM", then as many bitmap bytes as its file size
// announces. False, with `dib` empty, when the file cannot be read, is no
// bitmap, or announces more bytes than it holds.
bool loadPackedDibFile(const String& path, PackedDib& dib);

// Writes the file header and the bitmap's bytes; false for an empty bitmap or
// a file that cannot be written.
bool savePackedDibFile(const PackedDib& dib, const String& path);

// Stretches the whole bitmap into the rectangle; an empty bitmap draws nothing.
void drawPackedDib(HDC dc, const PackedDib& dib, int left, int top, int width, int height);
