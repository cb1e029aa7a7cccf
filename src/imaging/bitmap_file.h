#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Reads a Windows bitmap file (any depth Qt's reader takes), whatever its
// extension. Raises IoError with a clear message when the file cannot be opened
// or is not a readable bitmap. The result is in Format_RGB32.
QImage LoadBitmapFile(const QString& fileName);

// Whether the bitmap file is shorter than the pixel rows its header announces
// (so that LoadBitmapFile gives its missing rows black). False for a file that
// cannot be read or whose rows are compressed, where nothing can be told.
bool BitmapFileEndsEarly(const QString& fileName);

// Reads only the header of a bitmap file: raises IoError as LoadBitmapFile does
// when the file cannot be opened or its header is not a bitmap's, so that a
// picture decoded later is known to be there. Returns the picture's size.
QSize CheckBitmapFile(const QString& fileName);

// The bytes of a 24-bit Windows bitmap file ("BM", BITMAPINFOHEADER, bottom-up
// rows padded to 4 bytes) of the image.
QByteArray EncodeBitmap24(const QImage& image);

// Writes EncodeBitmap24 to the file through QSaveFile: a failure raises IoError
// and leaves an earlier file of that name as it was.
void SaveBitmapFile(const QImage& image, const QString& fileName);

// Writes the image as a PNG file in the same safe way.
void SavePngFile(const QImage& image, const QString& fileName);
