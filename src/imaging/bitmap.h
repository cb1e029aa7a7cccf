#pragma once

#include <QImage>

// A bitmap is a QImage in Format_RGB32: opaque pixels, one 32-bit word each.
// A new bitmap is black, as a fresh screen-compatible bitmap is.
QImage NewBitmap(int width, int height);

// The image in Format_RGB32 (a copy only when it is in another format).
QImage AsBitmap(const QImage& image);

// Whether the image holds each pixel as one 32-bit word (RGB32, or ARGB32
// premultiplied or not), so that its rows can be written directly.
bool DirectTarget(const QImage& image);
// Makes the image a direct target: one in any other format becomes a bitmap.
void MakeDirectTarget(QImage& image);

// Resizes keeping the pixels that still fit at their places; new pixels are black.
void ResizeBitmap(QImage& bitmap, int width, int height);
