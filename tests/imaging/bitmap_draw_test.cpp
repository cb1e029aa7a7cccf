#include "support/test_support.h"

#include "imaging/bitmap.h"
#include "imaging/bitmap_draw.h"

namespace {

QImage Grey(int w, int h) {
    QImage dst = NewBitmap(w, h);
    dst.fill(qRgb(100, 100, 100));
    return dst;
}

// Inside, across every edge and wholly outside: both copies draw exactly the
// overlap, the transparent one without the pixels of the key colour.
TEST(BitmapDraw, CopiesClipAtEveryEdgeAndSkipTheKeyColour) {
    QImage src = NewBitmap(3, 2);
    const QRgb pixels[] = {qRgb(10, 20, 30), qRgb(255, 0, 255), qRgb(254, 0, 255),
                           qRgb(1, 2, 3),    qRgb(255, 0, 254), qRgb(0, 0, 0)};
    for (int i = 0; i < 6; ++i)
        src.setPixel(i % 3, i / 3, pixels[i]);
    for (const QPoint at : {QPoint(1, 1), QPoint(-1, -1), QPoint(-2, 0), QPoint(3, 2), QPoint(4, -1),
                            QPoint(-3, -2), QPoint(5, 4)}) {
        for (const TColor key : {clMagenta, RGBColor(10, 20, 30), RGBColor(0, 0, 0)}) {
            QImage dst = Grey(5, 4), keyed = Grey(5, 4);
            DrawBitmap(dst, src, at.x(), at.y());
            DrawTransparentBitmap(keyed, src, at.x(), at.y(), key);
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 5; ++x) {
                    const int sx = x - at.x(), sy = y - at.y();
                    const bool inside = sx >= 0 && sx < 3 && sy >= 0 && sy < 2;
                    const QRgb from = inside ? src.pixel(sx, sy) : qRgb(100, 100, 100);
                    EXPECT_EQ(dst.pixel(x, y), from) << at.x() << "," << at.y() << " pixel " << x << "," << y;
                    const bool skip = inside && from == ColorToRgb(key);
                    EXPECT_EQ(keyed.pixel(x, y), skip ? qRgb(100, 100, 100) : from)
                        << key << " " << x << "," << y;
                }
        }
    }
    // Any source format; empty bitmaps draw nothing and onto nothing.
    QImage indexed(2, 1, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(255, 0, 255), qRgb(0, 200, 0)});
    indexed.setPixel(0, 0, 0);
    indexed.setPixel(1, 0, 1);
    QImage dst = Grey(2, 1);
    DrawTransparentBitmap(dst, indexed, 0, 0, clMagenta);
    EXPECT_EQ(dst.pixel(0, 0), qRgb(100, 100, 100));
    EXPECT_EQ(dst.pixel(1, 0), qRgb(0, 200, 0));
    DrawBitmap(dst, QImage(), 0, 0);
    DrawTransparentBitmap(dst, NewBitmap(0, 0), 0, 0, clMagenta);
    EXPECT_EQ(dst.pixel(0, 0), qRgb(100, 100, 100));
    QImage empty;
    DrawBitmap(empty, src, 0, 0);
    EXPECT_TRUE(empty.isNull());
}

TEST(Bitmap, ResizeKeepsPixelsAndBlackensTheRestColoursKeepTheirChannels) {
    QImage b = Grey(2, 2);
    ResizeBitmap(b, 3, 1);
    ASSERT_EQ(b.size(), QSize(3, 1));
    EXPECT_EQ(b.pixel(1, 0), qRgb(100, 100, 100));
    EXPECT_EQ(b.pixel(2, 0), qRgb(0, 0, 0));
    EXPECT_EQ(NewBitmap(4, 4).pixel(3, 3), qRgb(0, 0, 0));
    EXPECT_EQ(RGBColor(1, 2, 3), 0x030201u);
    EXPECT_EQ(ColorToRgb(0x0000FF), qRgb(255, 0, 0));
    EXPECT_EQ(RgbToColor(qRgb(0, 0, 255)), 0xFF0000u);
    // A system colour resolves to the palette's colour, never to its own bits.
    EXPECT_EQ(ResolveColor(kSystemColorFlag | 5) & kSystemColorFlag, 0u);
}

} // namespace
