#pragma once
// What the background window shows, process-wide: its colours, its title and
// the title's style, its taskbar text, the picture and how it is placed. The
// window paints from here alone. The installer fills it from InstallSettings
// (the two steps below, around the window's creation); the uninstaller fills
// it from the values the installation stored in the product's uninstall entry.
// Until then it holds the values below: black, no title, no picture.

#include "core/String.h"
#include "installer/BitmapPlacement.h"
#include "installer/PackedDib.h"
#include "installer/TitleLayout.h"

#include <cstdint>

struct InstallSettings;

struct DisplaySettings {
    String displayTitle;     // may hold line breaks; message 0 once the language is chosen
    uint32_t titleColor = 0; // colours are 0x00BBGGRR
    uint8_t titleShadow = 1; // shadow offset in pixels, right and down; 0: none
    uint8_t titlePosition = NoTitle;
    String titleFont = "Times New Roman Bold Italic";
    uint32_t topColor = 0;    // the gradient's top, or the plain colour
    uint32_t bottomColor = 0; // the gradient's bottom
    bool monoColor = false;   // plain topColor, no gradient
    String taskbarText;       // the window's text, shown on its taskbar button
    int32_t bitmapSize = 0;   // the picture's area in percent of the window; 0: no picture
    uint8_t stretchMode = ZoomInArea;
    // Maximised rather than over the work area; also set when the work area
    // cannot be read.
    bool maximizeBackground = true;
    PackedDib backgroundBitmap; // empty when there is none
};

DisplaySettings& displaySettings();

// What the window needs before it is created, once ProductFlags and
// TaskbarText are read.
void takeWindowSettings(const InstallSettings& settings, DisplaySettings& display);
// The rest, once the whole settings stream is read. The picture comes from
// the archive's bitmap bytes; bytes that are no bitmap leave it empty.
void takeDisplaySettings(const InstallSettings& settings, DisplaySettings& display);
