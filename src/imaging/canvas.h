#pragma once

#include "imaging/color.h"

#include <QFont>
#include <QImage>

// A drawing target: a bitmap together with the drawing state that stays with it
// between calls (the font and its colour, the pen colour), as a device context
// keeps its selected objects. The bitmap is not owned.
class TCanvas {
public:
    explicit TCanvas(QImage* bitmap = nullptr) : Bitmap(bitmap) {}

    QImage* Bitmap;
    QFont Font;
    TColor FontColor = clBlack;
    TColor PenColor = clBlack;
};
