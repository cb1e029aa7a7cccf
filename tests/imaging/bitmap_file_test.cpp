#include "support/test_support.h"

#include "common/io_error.h"
#include "imaging/bitmap.h"
#include "imaging/bitmap_file.h"

namespace {

TEST(BitmapFile, Writes24BitBottomUpRowsPaddedToFourBytes) {
    QImage image = NewBitmap(3, 2);
    image.setPixel(0, 0, qRgb(1, 2, 3));
    image.setPixel(2, 1, qRgb(200, 100, 50));
    const QByteArray bytes = EncodeBitmap24(image);
    // Size 78, pixels at 54, 3 x 2, 24 bits; the bottom row first, as blue, green, red.
    EXPECT_EQ(Hex(bytes.left(30)), "42 4D 4E 00 00 00 00 00 00 00 36 00 00 00 28 00 00 00 03 00 00 00 02 00 "
                                   "00 00 01 00 18 00");
    EXPECT_EQ(Hex(bytes.mid(54)), "00 00 00 00 00 00 32 64 C8 00 00 00 03 02 01 00 00 00 00 00 00 00 00 00");

    TempProgramFolder folder;
    image = NewBitmap(33, 17);
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 33; ++x)
            image.setPixel(x, y, qRgb(x * 7, y * 13, (x + y) % 256));
    SaveBitmapFile(image, folder.file("Images/out.bmp"));
    EXPECT_EQ(LoadBitmapFile(folder.file("Images/out.bmp")), image);
}

// Each file of the data folder reads as the picture its case names (a PPM file
// of the pixels expected) or fails with the error named; the last field says
// whether it ends before its last row.
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

} // namespace
