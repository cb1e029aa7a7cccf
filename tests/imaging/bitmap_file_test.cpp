#include "support/test_support.h"

#include "common/io_error.h"
#include "imaging/bitmap.h"
#include "imaging/bitmap_file.h"

#include <QFile>

namespace {

quint32 LE(const QByteArray& b, int at, int n) {
    quint32 v = 0;
    for (int i = 0; i < n; ++i)
        v |= static_cast<quint32>(static_cast<unsigned char>(b[at + i])) << (8 * i);
    return v;
}

TEST(BitmapFile, Writes24BitBottomUpRowsPaddedToFourBytes) {
    QImage image = NewBitmap(3, 2);
    image.setPixel(0, 0, qRgb(1, 2, 3));
    image.setPixel(2, 1, qRgb(200, 100, 50));
    const QByteArray bytes = EncodeBitmap24(image);
    ASSERT_EQ(bytes.size(), 54 + 2 * 12);
    EXPECT_EQ(bytes.left(2), QByteArray("BM"));
    EXPECT_EQ(LE(bytes, 2, 4), 78u);
    EXPECT_EQ(LE(bytes, 10, 4), 54u);
    EXPECT_EQ(LE(bytes, 18, 4), 3u);
    EXPECT_EQ(LE(bytes, 22, 4), 2u);
    EXPECT_EQ(LE(bytes, 28, 2), 24u);
    // Bottom row first: pixel (2, 1) is at row 0, column 2, as blue, green, red.
    EXPECT_EQ(Hex(bytes.mid(54 + 6, 3)), "32 64 C8");
    // Top row second: pixel (0, 0).
    EXPECT_EQ(Hex(bytes.mid(54 + 12, 3)), "03 02 01");
}

TEST(BitmapFile, SavedFileReadsBack) {
    TempProgramFolder folder;
    QImage image = NewBitmap(33, 17);
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 33; ++x)
            image.setPixel(x, y, qRgb(x * 7, y * 13, (x + y) % 256));
    const QString name = folder.file(QStringLiteral("Images/out.bmp"));
    SaveBitmapFile(image, name);
    EXPECT_EQ(LoadBitmapFile(name), image);
}

TEST(BitmapFile, FilesThatCannotBeReadRaise) {
    TempProgramFolder folder;
    EXPECT_THROW(LoadBitmapFile(folder.file(QStringLiteral("missing.csb"))), IoError);
    folder.write(QStringLiteral("System/bad.csb"), QByteArray("BM this is not a bitmap"));
    EXPECT_THROW(LoadBitmapFile(folder.file(QStringLiteral("System/bad.csb"))), IoError);
}

TEST(BitmapFile, FileEndingEarlyGivesBlackForTheRowsItLacks) {
    TempProgramFolder folder;
    QImage image = NewBitmap(40, 30);
    image.fill(qRgb(255, 255, 255));
    QByteArray bytes = EncodeBitmap24(image);
    bytes.chop(10 * 120); // the ten rows stored last are missing
    // Stored bottom-up, the top rows are lost; stored top-down (a negative height), the bottom ones.
    for (const qint32 height : {30, -30}) {
        SCOPED_TRACE(height);
        bytes.replace(22, 4, QByteArray(reinterpret_cast<const char*>(&height), 4));
        folder.write(QStringLiteral("System/short.csb"), bytes);
        // Memory of that size, just freed, holds something other than black.
        for (int i = 0; i < 4; ++i)
            QImage(40, 30, QImage::Format_RGB32).fill(qRgb(0xAB, 0xCD, 0xEF));
        const QImage loaded = LoadBitmapFile(folder.file(QStringLiteral("System/short.csb")));
        ASSERT_EQ(loaded.size(), QSize(40, 30));
        for (int y = 0; y < 30; ++y) {
            const bool lost = height > 0 ? y < 10 : y >= 20;
            for (int x = 0; x < 40; ++x)
                ASSERT_EQ(loaded.pixel(x, y), lost ? qRgb(0, 0, 0) : qRgb(255, 255, 255)) << x << "," << y;
        }
    }
}

} // namespace
