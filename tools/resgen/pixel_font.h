#pragma once
// Two small bitmap fonts of our own for lettering inside pictures: a 3 x 5 one
// for tiny labels and a 5 x 7 one for titles. Both have capitals, digits and a
// few signs; small letters are drawn as capitals.

#include "pixel_canvas.h"

#include <QString>

enum class PixelFont { Small, Large };

// Width in pixels of a text (one pixel between letters, none after the last).
int TextWidth(PixelFont font, const QString& text);
// Draws the text with its top-left corner at (x, y), each pixel a square of
// scale x scale; returns the width drawn.
int DrawText(Pixels& p, PixelFont font, int x, int y, const QString& text, QRgb colour, int scale = 1);
// The letter height of a font in pixels.
int TextHeight(PixelFont font);
