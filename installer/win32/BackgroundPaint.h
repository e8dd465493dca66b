#pragma once
// What the background window paints, into any device context: the gradient
// or plain colour with the picture over it, and the title with its shadow.
// The window paints the display settings; the painters take them as arguments.

#include "installer/DisplaySettings.h"

#include <windows.h>

using GradientFillFunction = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

// GradientFill of msimg32.dll, which older systems lack; looked up on the
// first call only. Null without it.
GradientFillFunction systemGradientFill();

// The plain colour, or the vertical gradient (in bands without a gradient
// painter), then the picture in its area.
void paintBackground(HDC dc, const RECT& client, const DisplaySettings& settings,
                     GradientFillFunction gradientFill);

// The title font: the largest size from 26 points down at which the title,
// with its shadow and margin, is narrower than the client area, or 6 points.
struct TitleFont {
    HFONT font = nullptr; // the caller deletes it
    int points = 0;
    int height = 0;         // the height asked of the font; the title's line height
    SIZE measured = {0, 0}; // the title at the last size measured
};
TitleFont chooseTitleFont(HDC dc, const DisplaySettings& settings, int clientWidth);

// The title at its place, shadow first. Nothing when the title is blank or
// its position is NoTitle.
void paintTitle(HDC dc, const RECT& client, const DisplaySettings& settings);
