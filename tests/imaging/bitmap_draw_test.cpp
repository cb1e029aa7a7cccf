#include "support/test_support.h"

#include "imaging/bitmap.h"
#include "imaging/bitmap_draw.h"

namespace {

// A 3 x 2 source with distinct colours, one of them magenta at (1, 0).
QImage Source() {
    QImage src = NewBitmap(3, 2);
    src.setPixel(0, 0, qRgb(10, 20, 30));
    src.setPixel(1, 0, qRgb(255, 0, 255));
    src.setPixel(2, 0, qRgb(254, 0, 255));
    src.setPixel(0, 1, qRgb(1, 2, 3));
    src.setPixel(1, 1, qRgb(255, 0, 254));
    src.setPixel(2, 1, qRgb(0, 0, 0));
    return src;
}

QImage Grey(int w, int h) {
    QImage dst = NewBitmap(w, h);
    dst.fill(qRgb(100, 100, 100));
    return dst;
}

// Inside, across every edge and wholly outside: both copies draw exactly the overlap.
TEST(BitmapDraw, CopiesClipAtEveryEdge) {
    const QImage src = Source();
    for (const QPoint at : {QPoint(1, 1), QPoint(-1, -1), QPoint(-2, 0), QPoint(3, 2), QPoint(4, -1),
                            QPoint(-3, -2), QPoint(5, 4)}) {
        QImage dst = Grey(5, 4);
        QImage dst2 = Grey(5, 4);
        DrawBitmap(dst, src, at.x(), at.y());
        DrawTransparentBitmap(dst2, src, at.x(), at.y(), clMagenta);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 5; ++x) {
                const int sx = x - at.x(), sy = y - at.y();
                const bool inside = sx >= 0 && sx < 3 && sy >= 0 && sy < 2;
                EXPECT_EQ(dst.pixel(x, y), inside ? src.pixel(sx, sy) : qRgb(100, 100, 100))
                    << "at " << at.x() << "," << at.y() << " pixel " << x << "," << y;
                const bool key = inside && src.pixel(sx, sy) == qRgb(255, 0, 255);
                EXPECT_EQ(dst2.pixel(x, y), inside && !key ? src.pixel(sx, sy) : qRgb(100, 100, 100));
            }
    }
    // Empty bitmaps draw nothing and onto nothing.
    QImage dst = Grey(2, 2);
    DrawBitmap(dst, QImage(), 0, 0);
    DrawTransparentBitmap(dst, NewBitmap(0, 0), 0, 0, clMagenta);
    EXPECT_EQ(dst, Grey(2, 2));
    QImage empty;
    DrawBitmap(empty, Source(), 0, 0);
    EXPECT_TRUE(empty.isNull());
}

TEST(BitmapDraw, TransparentCopyTakesAnyKeyColourAndSourceFormat) {
    QImage other = Grey(3, 2);
    DrawTransparentBitmap(other, Source(), 0, 0, RGBColor(10, 20, 30));
    EXPECT_EQ(other.pixel(0, 0), qRgb(100, 100, 100));
    EXPECT_EQ(other.pixel(1, 0), qRgb(255, 0, 255));

    QImage indexed(2, 1, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(255, 0, 255), qRgb(0, 200, 0)});
    indexed.setPixel(0, 0, 0);
    indexed.setPixel(1, 0, 1);
    QImage dst = Grey(2, 1);
    DrawTransparentBitmap(dst, indexed, 0, 0, clMagenta);
    EXPECT_EQ(dst.pixel(0, 0), qRgb(100, 100, 100));
    EXPECT_EQ(dst.pixel(1, 0), qRgb(0, 200, 0));
}

TEST(Bitmap, ResizeKeepsPixelsAndBlackensTheRest) {
    QImage b = Grey(2, 2);
    ResizeBitmap(b, 3, 1);
    ASSERT_EQ(b.size(), QSize(3, 1));
    EXPECT_EQ(b.pixel(1, 0), qRgb(100, 100, 100));
    EXPECT_EQ(b.pixel(2, 0), qRgb(0, 0, 0));
    EXPECT_EQ(NewBitmap(4, 4).pixel(3, 3), qRgb(0, 0, 0));
}

TEST(Color, ChannelsAndSystemColours) {
    EXPECT_EQ(RGBColor(1, 2, 3), 0x030201u);
    EXPECT_EQ(ColorToRgb(0x0000FF), qRgb(255, 0, 0));
    EXPECT_EQ(RgbToColor(qRgb(0, 0, 255)), 0xFF0000u);
    // A system colour resolves to the palette's colour, never to its own bits.
    const TColor window = kSystemColorFlag | 5;
    EXPECT_EQ(ResolveColor(window) & kSystemColorFlag, 0u);
}

} // namespace
