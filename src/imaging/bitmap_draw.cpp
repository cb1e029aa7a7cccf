#include "imaging/bitmap_draw.h"

#include "imaging/bitmap.h"

#include <algorithm>

namespace {

// The part of a w x h source at (x, y) that lands inside dst.
struct Clip {
    int srcX = 0, srcY = 0, dstX = 0, dstY = 0, width = 0, height = 0;
};

Clip ClipTo(const QImage& dst, int w, int h, int x, int y) {
    Clip c;
    c.srcX = std::max(0, -x);
    c.srcY = std::max(0, -y);
    c.dstX = std::max(0, x);
    c.dstY = std::max(0, y);
    c.width = std::min(w - c.srcX, dst.width() - c.dstX);
    c.height = std::min(h - c.srcY, dst.height() - c.dstY);
    return c;
}

void PrepareTarget(QImage& dst) {
    if (dst.format() != QImage::Format_RGB32 && dst.format() != QImage::Format_ARGB32 &&
        dst.format() != QImage::Format_ARGB32_Premultiplied)
        dst = dst.convertToFormat(QImage::Format_RGB32);
}

} // namespace

void DrawBitmap(QImage& dst, const QImage& src, int x, int y) {
    if (src.isNull() || dst.isNull())
        return;
    const Clip c = ClipTo(dst, src.width(), src.height(), x, y);
    if (c.width <= 0 || c.height <= 0)
        return;
    PrepareTarget(dst);
    const QImage source = AsBitmap(src);
    for (int row = 0; row < c.height; ++row) {
        const QRgb* from = reinterpret_cast<const QRgb*>(source.constScanLine(c.srcY + row)) + c.srcX;
        QRgb* to = reinterpret_cast<QRgb*>(dst.scanLine(c.dstY + row)) + c.dstX;
        for (int i = 0; i < c.width; ++i)
            to[i] = from[i] | 0xFF000000u;
    }
}

void DrawTransparentBitmap(QImage& dst, const QImage& src, int x, int y, TColor transparentColor) {
    if (src.isNull() || dst.isNull())
        return;
    const Clip c = ClipTo(dst, src.width(), src.height(), x, y);
    if (c.width <= 0 || c.height <= 0)
        return;
    PrepareTarget(dst);
    const QImage source = AsBitmap(src);
    const QRgb key = ColorToRgb(transparentColor) & 0x00FFFFFFu;
    for (int row = 0; row < c.height; ++row) {
        const QRgb* from = reinterpret_cast<const QRgb*>(source.constScanLine(c.srcY + row)) + c.srcX;
        QRgb* to = reinterpret_cast<QRgb*>(dst.scanLine(c.dstY + row)) + c.dstX;
        for (int i = 0; i < c.width; ++i) {
            if ((from[i] & 0x00FFFFFFu) != key)
                to[i] = from[i] | 0xFF000000u;
        }
    }
}
