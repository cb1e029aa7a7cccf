#pragma once

// A 5 x 7 pixel font of our own for letter blocks and the labels of the
// contact sheet (so that no installed font changes a picture).

#include <QImage>
#include <QRgb>
#include <string_view>

namespace art {

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;

// Whether pixel (x, y) of the glyph for ch is set; characters without a glyph
// draw as a hollow box.
bool GlyphPixel(char ch, int x, int y);
bool HasGlyph(char ch);

// Draws text with its top-left corner at (x, y), each font pixel a scale x scale square,
// characters 6 font pixels apart.
void DrawText(QImage& image, int x, int y, std::string_view text, QRgb color, int scale = 1);
int TextWidth(std::string_view text, int scale = 1);

} // namespace art
