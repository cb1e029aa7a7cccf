#pragma once
// Everything the generator draws, by resource path.

#include "pixelart/palette.h"
#include "pixelart/pixels.h"

#include <QString>
#include <vector>

struct Picture {
    QString path;             // relative to the resource root, for example "cursors/POINT.png"
    pixelart::Pixels pixels;  // ARGB; opaque pictures have alpha 255 everywhere
    int hotX = -1, hotY = -1; // pointers only
    int columns = 1;          // button pictures: state columns side by side
    bool keepAlpha = false;   // pointers and icons keep their alpha channel
};

std::vector<Picture> MakeCursors();
std::vector<Picture> MakeButtons();
std::vector<Picture> MakeWindowArt(); // toolbox, block box, markers, splash
std::vector<Picture> MakeIcons();

// Shades the pixels of one colour by the light from the top left: a pixel whose
// right or lower neighbour is empty takes the dark colour, one whose upper or
// left neighbour is empty the light colour.
void ShadeByLight(pixelart::Pixels& p, QRgb base, QRgb light, QRgb dark);
