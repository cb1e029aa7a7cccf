#pragma once

#include <QColor>
#include <cstdint>

// A colour as the program stores it: 0x00BBGGRR, red in the lowest byte.
// A value with the top bit set names a desktop system colour (its low byte is
// the Windows system colour number) and is resolved when it is used.
using TColor = uint32_t;

constexpr TColor kSystemColorFlag = 0x80000000u;
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMagenta = 0xFF00FF;

constexpr TColor RGBColor(int r, int g, int b) {
    return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int ColorRed(TColor c) { return static_cast<int>(c & 0xFF); }
constexpr int ColorGreen(TColor c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int ColorBlue(TColor c) { return static_cast<int>((c >> 16) & 0xFF); }

// The RGB colour a value stands for now; system colours through the application palette.
TColor ResolveColor(TColor color);

// Resolved, as an opaque Qt pixel value (0xFFRRGGBB).
QRgb ColorToRgb(TColor color);
QColor ColorToQColor(TColor color);
TColor RgbToColor(QRgb rgb);
