#include "imaging/bitmap.h"

#include <QPainter>
#include <algorithm>

QImage NewBitmap(int width, int height) {
    QImage bitmap(std::max(0, width), std::max(0, height), QImage::Format_RGB32);
    bitmap.fill(Qt::black);
    return bitmap;
}

QImage AsBitmap(const QImage& image) {
    if (image.format() == QImage::Format_RGB32)
        return image;
    return image.convertToFormat(QImage::Format_RGB32);
}

bool DirectTarget(const QImage& image) {
    return image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32 ||
           image.format() == QImage::Format_ARGB32_Premultiplied;
}

void MakeDirectTarget(QImage& image) {
    if (!DirectTarget(image))
        image = image.convertToFormat(QImage::Format_RGB32);
}

void ResizeBitmap(QImage& bitmap, int width, int height) {
    if (bitmap.width() == width && bitmap.height() == height)
        return;
    QImage resized = NewBitmap(width, height);
    const int w = std::min(width, bitmap.width());
    const int h = std::min(height, bitmap.height());
    for (int y = 0; y < h; ++y)
        std::copy_n(reinterpret_cast<const QRgb*>(bitmap.constScanLine(y)), w,
                    reinterpret_cast<QRgb*>(resized.scanLine(y)));
    bitmap = std::move(resized);
}
