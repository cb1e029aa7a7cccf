#include "support/test_support.h"

#include "common/io_error.h"
#include "imaging/bitmap.h"
#include "imaging/bitmap_draw.h"
#include "imaging/bitmap_file.h"
#include "imaging/png_file.h"

#include <random>

namespace {

constexpr QRgb kGrey = 0xFF646464u;

TEST(BitmapDraw, CopiesClipAtEveryEdgeAndSkipTheKeyColour) {
    QImage src = NewBitmap(3, 2);
    const QRgb pixels[] = {qRgb(10, 20, 30), qRgb(255, 0, 255), qRgb(254, 0, 255),
                           qRgb(1, 2, 3),    qRgb(255, 0, 254), qRgb(0, 0, 0)};
    for (int i = 0; i < 6; ++i)
        src.setPixel(i % 3, i / 3, pixels[i]);
    for (const QPoint at : {QPoint(1, 1), QPoint(-1, -1), QPoint(-2, 0), QPoint(3, 2), QPoint(4, -1),
                            QPoint(-3, -2), QPoint(5, 4)}) {
        for (const TColor key : {clMagenta, RGBColor(10, 20, 30), RGBColor(0, 0, 0)}) {
            QImage dst = Filled(5, 4, kGrey), keyed = Filled(5, 4, kGrey);
            DrawBitmap(dst, src, at.x(), at.y());
            DrawTransparentBitmap(keyed, src, at.x(), at.y(), key);
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 5; ++x) {
                    const int sx = x - at.x(), sy = y - at.y();
                    const bool inside = sx >= 0 && sx < 3 && sy >= 0 && sy < 2;
                    const QRgb from = inside ? src.pixel(sx, sy) : kGrey;
                    const bool skip = inside && from == ColorToRgb(key);
                    EXPECT_EQ(std::pair(dst.pixel(x, y), keyed.pixel(x, y)),
                              std::pair(from, skip ? kGrey : from))
                        << key << " at " << at.x() << "," << at.y() << " pixel " << x << "," << y;
                }
        }
    }
    QImage indexed(2, 1, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(255, 0, 255), qRgb(0, 200, 0)});
    indexed.setPixel(0, 0, 0);
    indexed.setPixel(1, 0, 1);
    QImage dst = Filled(2, 1, kGrey);
    DrawTransparentBitmap(dst, indexed, 0, 0, clMagenta);
    EXPECT_EQ(std::pair(dst.pixel(0, 0), dst.pixel(1, 0)), std::pair(qRgb(100, 100, 100), qRgb(0, 200, 0)));
    const QImage drawn = dst;
    DrawBitmap(dst, QImage(), 0, 0);
    DrawTransparentBitmap(dst, NewBitmap(0, 0), 0, 0, clMagenta);
    EXPECT_EQ(dst, drawn);
    QImage empty;
    DrawBitmap(empty, src, 0, 0);
    EXPECT_TRUE(empty.isNull());
}

TEST(Bitmap, ResizeKeepsPixelsAndBlackensTheRestColoursKeepTheirChannels) {
    QImage b = Filled(2, 2, kGrey);
    ResizeBitmap(b, 3, 1);
    ASSERT_EQ(b.size(), QSize(3, 1));
    EXPECT_EQ(std::tuple(b.pixel(1, 0), b.pixel(2, 0), NewBitmap(4, 4).pixel(3, 3)),
              std::tuple(qRgb(100, 100, 100), qRgb(0, 0, 0), qRgb(0, 0, 0)));
    EXPECT_EQ(std::tuple(RGBColor(1, 2, 3), ColorToRgb(0x0000FF), RgbToColor(qRgb(0, 0, 255))),
              std::tuple(0x030201u, qRgb(255, 0, 0), 0xFF0000u));
    EXPECT_EQ(ResolveColor(kSystemColorFlag | 5) & kSystemColorFlag, 0u);
}

TEST(BitmapFile, Writes24BitBottomUpRowsPaddedToFourBytes) {
    QImage image = NewBitmap(3, 2);
    image.setPixel(0, 0, qRgb(1, 2, 3));
    image.setPixel(2, 1, qRgb(200, 100, 50));
    const QByteArray bytes = EncodeBitmap24(image);
    EXPECT_EQ(Hex(bytes.left(30) + bytes.mid(54)), Layout("bitmap_3x2.hex"));

    TempProgramFolder folder;
    image = NewBitmap(33, 17);
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 33; ++x)
            image.setPixel(x, y, qRgb(x * 7, y * 13, (x + y) % 256));
    SaveBitmapFile(image, folder.file("Images/out.bmp"));
    EXPECT_EQ(LoadBitmapFile(folder.file("Images/out.bmp")), image);
}

TEST(BitmapFile, ReadsThePicturesOfTheDataFolder) {
    for (const QStringList& c : DataCases("pictures")) {
        ASSERT_EQ(c.size(), 3) << c.join(' ').toStdString();
        const QString file = DataFile("pictures", c[0]);
        const QImage expected = AsBitmap(QImage(DataFile("pictures", c[1])));
        for (int i = 0; i < 4; ++i) // memory of that size, just freed, holds something other than black
            QImage(expected.size(), QImage::Format_RGB32).fill(qRgb(0xAB, 0xCD, 0xEF));
        QString got;
        try {
            const QImage loaded = LoadBitmapFile(file);
            got = loaded == expected
                      ? c[1]
                      : QString("another picture %1x%2").arg(loaded.width()).arg(loaded.height());
        } catch (const IoError& e) {
            got = QString("error: ") + e.what();
        }
        EXPECT_TRUE(got.startsWith(c[1])) << c[0].toStdString() << ": " << got.toStdString();
        EXPECT_EQ(BitmapFileEndsEarly(file), c[2] == "ends early") << c[0].toStdString();
    }
}

TEST(PngFile, ReadsBackPixelForPixel) {
    std::mt19937 random(7);
    for (const QSize size : {QSize(1, 1), QSize(3, 2), QSize(1024, 768)}) {
        QImage noise = NewBitmap(size.width(), size.height()), bands = noise;
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) {
                noise.setPixel(x, y, random() | 0xFF000000u);
                bands.setPixel(x, y,
                               (x / 32 + y / 32) % 3 == 0 ? qRgb(x % 32 * 8, y % 32 * 8, 90)
                                                          : qRgb(200 - y / 4, 0, 40));
            }
        for (const QImage& image : {noise, bands}) {
            const QByteArray bytes = EncodePng(image);
            EXPECT_EQ(Hex(bytes.left(16) + bytes[25]), "89 50 4E 47 0D 0A 1A 0A 00 00 00 0D 49 48 44 52 02");
            EXPECT_EQ(AsBitmap(QImage::fromData(bytes, "PNG")), image)
                << size.width() << "x" << size.height();
            EXPECT_EQ(EncodePng(image.copy()), bytes);
        }
        EXPECT_TRUE(size.width() < 1024 || EncodePng(bands).size() < 1024 * 768 * 3 / 20);
    }
    QImage alpha = Filled(2, 1, qRgba(10, 20, 30, 255), QImage::Format_ARGB32);
    alpha.setPixel(1, 0, qRgba(0, 0, 0, 0));
    EXPECT_EQ(AsBitmap(QImage::fromData(EncodePng(alpha), "PNG")), AsBitmap(alpha));
    EXPECT_TRUE(EncodePng(QImage()).isEmpty());
}

} // namespace
