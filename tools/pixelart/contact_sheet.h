#pragma once
// The pieces of a contact sheet: a review picture of artwork, not part of the
// program.

#include "pixelart/pixels.h"

namespace pixelart {

// What shows where a picture has no pixel: one colour, or with a check size a
// chequer of squares of that many pixels, starting with `colour` at the
// picture's top-left corner.
struct Ground {
    QRgb colour;
    QRgb other = colour;
    int check = 0;
};

// Draws the picture enlarged by a whole factor with its top-left corner at
// (x, y). Where it has no pixel (alpha 0, or the key colour when one is
// given) the ground shows.
void DrawOnGround(Pixels& sheet, const Pixels& picture, int x, int y, int scale, const Ground& ground,
                  QRgb key = 0);

} // namespace pixelart
