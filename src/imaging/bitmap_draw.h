#pragma once

#include "imaging/color.h"

#include <QImage>

// Copies all of src onto dst with its top-left pixel at (x, y); every pixel
// replaces the one below it. Clipped at every edge of dst; an empty src draws nothing.
void DrawBitmap(QImage& dst, const QImage& src, int x, int y);

// Like DrawBitmap, but the pixels of src whose RGB equals transparentColor
// (exactly, all three channels) leave dst as it was.
void DrawTransparentBitmap(QImage& dst, const QImage& src, int x, int y, TColor transparentColor);
