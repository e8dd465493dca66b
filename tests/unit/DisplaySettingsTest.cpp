#include "installer/DisplaySettings.h"

#include "installer/InstallSettings.h"
#include "tests/unit/DibBytes.h"

#include <gtest/gtest.h>

namespace {

TEST(DisplaySettings, WindowOpensMaximisedOnlyWhenTheFlagSaysSo) {
    InstallSettings settings;
    settings.taskbarText = "Acme Notes Setup";
    DisplaySettings display;
    takeWindowSettings(settings, display);
    EXPECT_FALSE(display.maximizeBackground);
    EXPECT_EQ(display.taskbarText, String("Acme Notes Setup"));
    settings.productFlags = MaximizeBackground | NoCancel;
    takeWindowSettings(settings, display);
    EXPECT_TRUE(display.maximizeBackground);
    // The rest is not known yet: the window paints black without a title.
    EXPECT_EQ(display.titleShadow, 1);
    EXPECT_EQ(display.stretchMode, ZoomInArea);
    EXPECT_EQ(display.titleFont, String("Times New Roman Bold Italic"));
    EXPECT_EQ(display.titlePosition, NoTitle);
}

TEST(DisplaySettings, TakesColoursTitleAndPictureFromTheSettings) {
    InstallSettings settings;
    settings.titleColor = 0x00FFFFFF;
    settings.titleShadow = 0;
    settings.titlePosition = TitleBottomRight;
    settings.titleFont = "Arial";
    settings.topColor = 0x00800000;
    settings.bottomColor = 0x00800000;
    settings.monoColor = true;
    settings.bitmapSize = 40;
    settings.stretchMode = 0x101; // kept a byte wide, as the uninstall entry holds it
    DibShape shape;
    settings.backgroundBitmapData = dibBytes(shape, "", patternBytes(16));
    DisplaySettings display;
    takeDisplaySettings(settings, display);
    EXPECT_EQ(display.titleColor, 0x00FFFFFFu);
    EXPECT_EQ(display.titleShadow, 0);
    EXPECT_EQ(display.titlePosition, TitleBottomRight);
    EXPECT_EQ(display.titleFont, String("Arial"));
    EXPECT_EQ(display.topColor, 0x00800000u);
    EXPECT_TRUE(display.monoColor);
    EXPECT_EQ(display.bitmapSize, 40);
    EXPECT_EQ(display.stretchMode, FitToArea);
    EXPECT_EQ(display.backgroundBitmap.data(), settings.backgroundBitmapData);

    settings.backgroundBitmapData = String("BM\0\x01\x02\xFF", 6);
    takeDisplaySettings(settings, display);
    EXPECT_TRUE(display.backgroundBitmap.isEmpty());
}

} // namespace
