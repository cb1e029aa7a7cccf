#pragma once
// The bitmap fonts of our own for lettering inside pictures, so that no
// installed font changes a picture: a 3 x 5 one for tiny labels, a 5 x 7 one
// for block letters and sheet labels, and its capitals for titles.

#include "pixelart/pixels.h"

#include <QString>
#include <string_view>

namespace pixelart {

enum class PixelFont {
    Small,   // 3 x 5, capitals, digits and a few signs; small letters drawn as capitals
    Letters, // 5 x 7, every printable character; one it lacks draws as a hollow box
    Title,   // the capitals of Letters, with a narrow I; small letters drawn as capitals
};

// The letter height in pixels.
int TextHeight(PixelFont font);
// Whether the font has a glyph of its own for the character.
bool HasGlyph(PixelFont font, char ch);
// Whether pixel (x, y) of the character's glyph is ink.
bool GlyphPixel(PixelFont font, char ch, int x, int y);
// Width in pixels of a text: one font pixel between letters, none after the
// last; characters the font does not draw take no room.
int TextWidth(PixelFont font, std::string_view text, int scale = 1);
int TextWidth(PixelFont font, const QString& text, int scale = 1);
inline int TextWidth(PixelFont font, const char* text, int scale = 1) {
    return TextWidth(font, std::string_view(text), scale);
}
// Draws the text with its top-left corner at (x, y), each font pixel a square
// of scale x scale; returns the width drawn.
int DrawText(Pixels& p, PixelFont font, int x, int y, std::string_view text, QRgb colour, int scale = 1);
int DrawText(Pixels& p, PixelFont font, int x, int y, const QString& text, QRgb colour, int scale = 1);
inline int DrawText(Pixels& p, PixelFont font, int x, int y, const char* text, QRgb colour, int scale = 1) {
    return DrawText(p, font, x, y, std::string_view(text), colour, scale);
}

} // namespace pixelart
