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

// Hands each row of src drawn at (x, y) that lands inside dst to copyRow(from,
// to, width), dst made 32-bit first.
template <typename CopyRow> void DrawRows(QImage& dst, const QImage& src, int x, int y, CopyRow copyRow) {
    if (src.isNull() || dst.isNull())
        return;
    const Clip c = ClipTo(dst, src.width(), src.height(), x, y);
    if (c.width <= 0 || c.height <= 0)
        return;
    MakeDirectTarget(dst);
    const QImage source = AsBitmap(src);
    for (int row = 0; row < c.height; ++row) {
        const QRgb* from = reinterpret_cast<const QRgb*>(source.constScanLine(c.srcY + row)) + c.srcX;
        QRgb* to = reinterpret_cast<QRgb*>(dst.scanLine(c.dstY + row)) + c.dstX;
        copyRow(from, to, c.width);
    }
}

} // namespace

void DrawBitmap(QImage& dst, const QImage& src, int x, int y) {
    DrawRows(dst, src, x, y, [](const QRgb* from, QRgb* to, int width) {
        for (int i = 0; i < width; ++i)
            to[i] = from[i] | 0xFF000000u;
    });
}

void DrawTransparentBitmap(QImage& dst, const QImage& src, int x, int y, TColor transparentColor) {
    const QRgb key = ColorToRgb(transparentColor) & 0x00FFFFFFu;
    DrawRows(dst, src, x, y, [key](const QRgb* from, QRgb* to, int width) {
        for (int i = 0; i < width; ++i) {
            if ((from[i] & 0x00FFFFFFu) != key)
                to[i] = from[i] | 0xFF000000u;
        }
    });
}
