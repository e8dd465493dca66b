#include "installer/DisplaySettings.h"

#include "installer/InstallSettings.h"

DisplaySettings& displaySettings() {
    static DisplaySettings settings;
    return settings;
}

void takeWindowSettings(const InstallSettings& settings, DisplaySettings& display) {
    display.taskbarText = settings.taskbarText;
    display.maximizeBackground = settings.has(MaximizeBackground);
}

void takeDisplaySettings(const InstallSettings& settings, DisplaySettings& display) {
    display.titleColor = uint32_t(settings.titleColor);
    display.titleShadow = settings.titleShadow;
    display.titlePosition = settings.titlePosition;
    display.titleFont = settings.titleFont;
    display.topColor = uint32_t(settings.topColor);
    display.bottomColor = uint32_t(settings.bottomColor);
    display.monoColor = settings.monoColor;
    display.bitmapSize = settings.bitmapSize;
    // A byte wide, as the uninstall entry keeps it.
    display.stretchMode = uint8_t(settings.stretchMode);
    display.backgroundBitmap.loadFromMemory(settings.backgroundBitmapData);
}
