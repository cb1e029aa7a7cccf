#include "support/test_support.h"

#include "imaging/bitmap.h"
#include "imaging/png_file.h"

#include <QBuffer>
#include <QImageReader>
#include <random>

namespace {

// Every pixel read back as written, whatever the size, from noise that does not
// compress to a picture of flat bands and repeats that does; the header says RGB.
TEST(PngFile, ReadsBackPixelForPixel) {
    std::mt19937 random(7);
    for (const QSize size : {QSize(1, 1), QSize(3, 2), QSize(1024, 768)}) {
        QImage noise = NewBitmap(size.width(), size.height());
        QImage bands = NewBitmap(size.width(), size.height());
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) {
                noise.setPixel(x, y, random() | 0xFF000000u);
                bands.setPixel(x, y,
                               (x / 32 + y / 32) % 3 == 0 ? qRgb(x % 32 * 8, y % 32 * 8, 90)
                                                          : qRgb(200 - y / 4, 0, 40));
            }
        for (const QImage& image : {noise, bands}) {
            const QByteArray bytes = EncodePng(image);
            ASSERT_EQ(bytes.left(8), QByteArray("\x89PNG\r\n\x1a\n", 8));
            EXPECT_EQ(bytes.mid(12, 4), "IHDR");
            EXPECT_EQ(bytes[25], 2) << "colour type RGB";
            QBuffer buffer;
            buffer.setData(bytes);
            QImageReader reader(&buffer, "png");
            const QImage back = reader.read();
            ASSERT_FALSE(back.isNull()) << reader.errorString().toStdString();
            EXPECT_EQ(AsBitmap(back), image) << size.width() << "x" << size.height();
            // Made in the image's own memory when nothing else shares it: the same bytes.
            EXPECT_EQ(EncodePng(image.copy()), bytes);
        }
        if (size.width() == 1024) {
            // Flat bands and repeats: smaller than the raw pixels by far.
            EXPECT_LT(EncodePng(bands).size(), 1024 * 768 * 3 / 20);
        }
    }
    // An image with alpha is written as the bitmap it would be shown as.
    QImage alpha(2, 1, QImage::Format_ARGB32);
    alpha.setPixel(0, 0, qRgba(10, 20, 30, 255));
    alpha.setPixel(1, 0, qRgba(0, 0, 0, 0));
    EXPECT_EQ(AsBitmap(QImage::fromData(EncodePng(alpha), "PNG")), AsBitmap(alpha));
    EXPECT_TRUE(EncodePng(QImage()).isEmpty());
}

} // namespace
