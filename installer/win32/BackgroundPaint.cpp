#include "installer/win32/BackgroundPaint.h"

#include "installer/GradientBands.h"
#include "installer/win32/PackedDibFile.h"
#include "installer/win32/TextLines.h"
#include "platform/DynamicLibrary.h"

namespace {

void fillSolid(HDC dc, const RECT& rect, uint32_t color) {
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

TRIVERTEX vertex(LONG x, LONG y, uint32_t color) {
    TRIVERTEX v;
    v.x = x;
    v.y = y;
    v.Red = COLOR16(redOf(color) << 8);
    v.Green = COLOR16(greenOf(color) << 8);
    v.Blue = COLOR16(blueOf(color) << 8);
    v.Alpha = 0;
    return v;
}

void paintGradient(HDC dc, const RECT& client, uint32_t top, uint32_t bottom,
                   GradientFillFunction gradientFill) {
    TRIVERTEX vertices[2] = {vertex(client.left, client.top, top),
                             vertex(client.right, client.bottom, bottom)};
    GRADIENT_RECT rect = {0, 1};
    gradientFill(dc, vertices, 2, &rect, 1, GRADIENT_FILL_RECT_V);
}

void paintBands(HDC dc, const RECT& client, uint32_t top, uint32_t bottom) {
    GradientBands bands(top, bottom, client.top, client.bottom);
    const int height = bands.bandHeight();
    for (int y = client.top; y < client.bottom; y += height) {
        const RECT band = {client.left, y, client.right + 1, y + height};
        fillSolid(dc, band, bands.next());
    }
}

HFONT createTitleFont(int height, const String& face) {
    return CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY, DEFAULT_PITCH,
                       face.c_str());
}

} // namespace

GradientFillFunction systemGradientFill() {
    static bool looked = false;
    static DynamicLibrary library;
    static GradientFillFunction gradientFill = nullptr;
    if (!looked) {
        looked = true;
        if (library.load("msimg32.dll"))
            library.entry("GradientFill", gradientFill);
    }
    return gradientFill;
}

void paintBackground(HDC dc, const RECT& client, const DisplaySettings& settings,
                     GradientFillFunction gradientFill) {
    if (settings.monoColor)
        fillSolid(dc, client, settings.topColor);
    else if (gradientFill)
        paintGradient(dc, client, settings.topColor, settings.bottomColor, gradientFill);
    else
        paintBands(dc, client, settings.topColor, settings.bottomColor);

    const PackedDib& bitmap = settings.backgroundBitmap;
    if (bitmap.isEmpty() || settings.bitmapSize <= 0)
        return;
    const PixelArea area = backgroundBitmapArea(
        client.left, client.top, client.right, client.bottom, settings.bitmapSize,
        settings.stretchMode, bitmap.width(), bitmap.rowCount());
    drawPackedDib(dc, bitmap, area.left, area.top, area.width, area.height);
}

TitleFont chooseTitleFont(HDC dc, const DisplaySettings& settings, int clientWidth) {
    const String& title = settings.displayTitle;
    const int pixelsPerInch = GetDeviceCaps(dc, LOGPIXELSY);
    TitleFont chosen;
    for (int points = kTitleLargestPoints;; --points) {
        chosen.points = points;
        chosen.height = fontHeightForPoints(pixelsPerInch, points);
        chosen.font = createTitleFont(chosen.height, settings.titleFont);
        if (points <= kTitleSmallestPoints)
            return chosen;
        HGDIOBJ previous = chosen.font ? SelectObject(dc, chosen.font) : nullptr;
        chosen.measured = measureTextLines(dc, title.c_str(), title.length());
        if (previous)
            SelectObject(dc, previous);
        if (settings.titleShadow + chosen.measured.cx + 2 < clientWidth)
            return chosen;
        if (chosen.font)
            DeleteObject(chosen.font);
    }
}

void paintTitle(HDC dc, const RECT& client, const DisplaySettings& settings) {
    const String& title = settings.displayTitle;
    if (title.isBlank() || settings.titlePosition == NoTitle)
        return;
    const int clientWidth = client.right - client.left;
    const TitleFont font = chooseTitleFont(dc, settings, clientWidth);
    const int shadow = settings.titleShadow;
    const int width = clientWidth - 2 * shadow - 4;
    const TextAlignment alignment = titleAlignment(settings.titlePosition);
    const int top =
        titleAtBottom(settings.titlePosition) ? client.bottom - shadow - font.measured.cy - 1 : 1;

    HGDIOBJ previous = font.font ? SelectObject(dc, font.font) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    if (shadow > 0) {
        SetTextColor(dc, RGB(0, 0, 0));
        drawTextLines(dc, shadow + 2, top + shadow, width, font.height, title.c_str(),
                      title.length(), alignment);
    }
    SetTextColor(dc, settings.titleColor);
    drawTextLines(dc, 2, top, width, font.height, title.c_str(), title.length(), alignment);
    if (previous)
        SelectObject(dc, previous);
    if (font.font)
        DeleteObject(font.font);
}
