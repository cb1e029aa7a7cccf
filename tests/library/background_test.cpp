#include "common/io_error.h"
#include "common/program_folder.h"
#include "imaging/bitmap.h"
#include "imaging/bitmap_file.h"
#include "library/background.h"
#include "support/test_support.h"

#include <QGuiApplication>
#include <QPalette>
#include <QRegularExpression>
#include <QStringList>
#include <cmath>
#include <gtest/gtest.h>

namespace {

class BackgroundTest : public CubestacksTest {
protected:
    void SetUp() override { SetProgramFolder(folder.path()); }

    // A picture whose pixel (x, y) is (x, y, 7): every sample shows where it came from.
    void WritePicture(const std::string& code, int width, int height) {
        QImage picture(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                picture.setPixel(x, y, qRgb(x, y, 7));
        folder.write(QString::fromStdString("System/bd" + code + ".csb"), EncodeBitmap24(picture));
    }
    void Render(int kind, const std::string& code, int width, int height, QSize window = QSize(1024, 768)) {
        background.Code = code;
        background.WindowSize = window;
        background.SetWidth(width);
        background.SetHeight(height);
        background.SetKind(static_cast<uint8_t>(kind));
    }
    int Red(int x, int y) const { return qRed(background.Bitmap.pixel(x, y)); }
    int Green(int x, int y) const { return qGreen(background.Bitmap.pixel(x, y)); }

    TempProgramFolder folder;
    TBackground background;
};

TEST_F(BackgroundTest, CatalogueLayoutsFileNamesAndRounding) {
    // The list sorts itself: its rows are in the order it shows them.
    QStringList rows;
    for (int row = -1; row <= kBackgroundCatalogueSize; ++row)
        rows << BackgroundCatalogueItem(row);
    EXPECT_EQ(rows.join('|'), "|(color)\t000\t00|Alien landscape I\tAL1\t10|Alien landscape II\tAL2\t10|"
                              "Cubestacks Logo\tCS1\t11|Desert Sand\tDS1\t11|Rainbow, dark\tRB2\t10|"
                              "Rainbow, pale\tRB3\t10|Rainbow, vivid\tRB1\t10|Seascape\tSS1\t10|"
                              "Sky, bright day\tBS1\t11|Sky, cloudy\tBS2\t11|Sky, evening stars\tSP2\t10|"
                              "Space, deep\tSP1\t11|Wall, bricks\tWL1\t11|Wall, embossed\tWL3\t11|"
                              "Wall, stone \tWL2\t11|");
    QStringList kinds;
    for (const char* layout : {"0", "00", "01", "1", "10", "11", "2", "100", "", "1x", "-1"})
        kinds << QString::number(KindFromLayout(layout));
    EXPECT_EQ(kinds.join(' '), QString("%1 %1 %2 %2 %3 %4 -1 -1 -1 -1 -1")
                                   .arg(bkStretch)
                                   .arg(bkTileDown)
                                   .arg(bkTileAcross)
                                   .arg(bkTile));
    EXPECT_EQ(BackgroundFileName("AL1"), folder.path() + "System/bdAL1.csb");
    // MulDiv rounds halves away from zero; a zero divisor or an overflow gives -1.
    const QString cases = "1*1/2=1 3*1/2=2 -1*1/2=-1 -3*1/2=-2 3*1/-2=-2 -3*-1/2=2 128*-128/255=-64 1*1/3=0 "
                          "2*1/3=1 5*7/0=-1 2000000000*1000000000/1000000000=2000000000 "
                          "2000000000*2000000000/1000000000=-1 -2147483648*1/1=-2147483648";
    for (const QString& c : cases.split(' ')) {
        const QStringList n = c.split(QRegularExpression("[*/=]"));
        EXPECT_EQ(MulDiv(n[0].toInt(), n[1].toInt(), n[2].toInt()), n[3].toInt()) << c.toStdString();
    }
}

TEST_F(BackgroundTest, ColoursAndGradients) {
    // 256 bands over 256 rows fall to black, each channel from its own start.
    background.Color = RGBColor(255, 128, 0);
    Render(bkGradient, "", 40, 256);
    for (int y = 0; y < 256; ++y)
        ASSERT_EQ(background.Bitmap.pixel(39, y), qRgb(255 - y, 128 - (128 * y + 127) / 255, 0)) << y;
    // Over 100 rows: each row shows the last band that starts on it.
    background.Color = RGBColor(255, 255, 0);
    Render(bkGradient, "", 40, 100, QSize(640, 480));
    for (int y = 0; y < 100; ++y) {
        int band = -1;
        for (int i = 0; i < 256; ++i)
            if (std::lround(std::floor(i * 100.0 / 256.0 + 0.5)) <= y)
                band = i;
        ASSERT_EQ(background.Bitmap.pixel(20, y), qRgb(255 - band, 255 - band, 0)) << y;
    }
    // The window colour (5) comes from the palette, not from the number.
    const QRgb window = QGuiApplication::palette().color(QPalette::Base).rgb();
    background.Color = kSystemColorFlag | 5;
    Render(bkColor, "", 10, 256);
    EXPECT_EQ(background.Bitmap.pixel(9, 255), window);
    background.SetKind(bkGradient);
    EXPECT_EQ(background.Bitmap.pixel(7, 0), window);

    // Unknown kinds keep the bitmap; a new size shows black until rendered.
    background.Color = RGBColor(1, 2, 3);
    Render(bkColor, "", 40, 40);
    background.Color = RGBColor(90, 90, 90);
    for (int kind : {6, 255}) {
        background.SetKind(static_cast<uint8_t>(kind));
        EXPECT_EQ(background.Kind, kind);
    }
    background.SetWidth(50);
    EXPECT_EQ(background.Bitmap.pixel(39, 39), qRgb(1, 2, 3));
    EXPECT_EQ(background.Bitmap.pixel(45, 5), qRgb(0, 0, 0));
    Render(bkGradient, "", -5, 0); // nothing to draw into, and nothing breaks
    EXPECT_EQ(background.Bitmap.width(), 0);
}

TEST_F(BackgroundTest, PicturesStretchedTiledMissingOrUnreadable) {
    // Stretched: each pixel the picture pixel nearest its centre.
    WritePicture("BIG", 250, 200);
    Render(bkStretch, "BIG", 100, 100);
    EXPECT_EQ(background.Image.size(), QSize(250, 200));
    EXPECT_EQ(QString("%1 %2 %3").arg(Red(0, 0)).arg(Red(99, 0)).arg(Green(0, 99)), "1 248 199");
    // Tiles at the picture's size times the background's share of the window.
    WritePicture("T01", 200, 150);
    Render(bkTileAcross, "T01", 1000, 700, QSize(1000, 740));
    for (int x : {0, 199, 200, 457, 999})
        EXPECT_EQ(Red(x, 0), x % 200) << x;
    EXPECT_EQ(Green(5, 699), 149);
    EXPECT_EQ(Green(5, 350), 75); // the centre of row 350 is 75.1 picture rows down
    background.SetKind(bkTile);   // tiles 200 x 141
    EXPECT_EQ(Red(250, 10), 50);
    EXPECT_EQ(Green(0, 140), 149);
    EXPECT_EQ(Green(0, 141), 0);
    EXPECT_EQ(Green(0, 699), Green(0, 699 - 4 * 141));
    background.SetKind(bkTileDown); // the full width, tiles 141 high
    EXPECT_EQ(Red(999, 0), 199);
    EXPECT_EQ(Red(500, 0), 100);
    EXPECT_EQ(Green(0, 141), 0);
    // In a small preview a tile shrinks to a pixel, never to nothing; without a window the picture's size.
    WritePicture("T02", 3, 2);
    Render(bkTile, "T02", 160, 120);
    EXPECT_EQ(background.Bitmap.pixel(159, 119), qRgb(1, 1, 7));
    Render(bkTile, "T02", 160, 120, QSize(0, 0));
    EXPECT_EQ(Red(4, 0) + Green(0, 3), 2);

    // Missing: black, not Color. An empty code looks for bd.csb; a code cannot reach out of System.
    background.Color = RGBColor(200, 100, 50);
    Render(bkTile, "NO1", 64, 64);
    EXPECT_EQ(background.Bitmap.pixel(10, 10), qRgb(0, 0, 0));
    WritePicture("", 4, 4);
    Render(bkStretch, "", 64, 64);
    EXPECT_EQ(background.Bitmap.pixel(63, 63), qRgb(3, 3, 7));
    WritePicture("x/y", 4, 4);
    Render(bkStretch, "x/y", 64, 64);
    EXPECT_EQ(background.Bitmap.pixel(63, 63), qRgb(0, 0, 0));
    // A picture that is no bitmap: an error, and the bitmap and picture stay.
    Render(bkStretch, "", 64, 64);
    const QImage before = background.Bitmap, picture = background.Image;
    folder.write("System/bdBAD.csb", "BM not a bitmap at all");
    background.Code = "BAD";
    EXPECT_THROW(background.SetKind(bkStretch), IoError);
    EXPECT_EQ(background.Bitmap, before);
    EXPECT_EQ(background.Image, picture);
}

TEST_F(BackgroundTest, DrawsWholeOrOneCell) {
    background.Color = RGBColor(255, 255, 0);
    Render(bkGradient, "", 96, 64);
    QImage target = NewBitmap(100, 70);
    target.fill(qRgb(9, 8, 7));
    TCanvas canvas(&target);
    background.DrawCell(canvas, 1, 1);
    // Cells past the background or the canvas draw only what lies inside both.
    for (const QPoint cell : {QPoint(3, 0), QPoint(-1, 0), QPoint(0, 2)})
        background.DrawCell(canvas, cell.x(), cell.y());
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < 100; ++x) {
            const bool inCell = x >= 32 && x < 64 && y >= 32 && y < 64;
            ASSERT_EQ(target.pixel(x, y), inCell ? background.Bitmap.pixel(x, y) : qRgb(9, 8, 7))
                << x << "," << y;
        }
    QImage small = NewBitmap(40, 40);
    background.DrawCell(small, 1, 0);
    EXPECT_EQ(small.pixel(39, 31), background.Bitmap.pixel(39, 31));
    EXPECT_EQ(small.pixel(39, 32), qRgb(0, 0, 0));
    background.Draw(canvas);
    EXPECT_EQ(target.pixel(95, 63), background.Bitmap.pixel(95, 63));
    EXPECT_EQ(target.pixel(96, 63), qRgb(9, 8, 7));
    EXPECT_EQ(target.pixel(0, 0), qRgb(254, 254, 0)); // 64 rows: bands 0 and 1 start on row 0
}

} // namespace
