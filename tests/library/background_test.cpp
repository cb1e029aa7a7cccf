#include "common/io_error.h"
#include "common/program_folder.h"
#include "imaging/bitmap.h"
#include "imaging/bitmap_file.h"
#include "library/background.h"
#include "support/test_support.h"

#include <QGuiApplication>
#include <QPalette>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace {

class BackgroundTest : public CubestacksTest {
protected:
    void SetUp() override {
        CubestacksTest::SetUp();
        SetProgramFolder(folder.path());
    }

    // A picture whose pixel (x, y) is (x, y, 7): every sample shows where it came from.
    static QImage Coordinates(int width, int height) {
        QImage picture(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                picture.setPixel(x, y, qRgb(x, y, 7));
        return picture;
    }
    void WritePicture(const std::string& code, const QImage& picture) {
        folder.write(QString::fromStdString("System/bd" + code + ".csb"), EncodeBitmap24(picture));
    }
    static void Size(TBackground& background, int width, int height) {
        background.SetWidth(width);
        background.SetHeight(height);
    }
    static int Red(const TBackground& b, int x, int y) { return qRed(b.Bitmap.pixel(x, y)); }
    static int Green(const TBackground& b, int x, int y) { return qGreen(b.Bitmap.pixel(x, y)); }

    TempProgramFolder folder;
};

TEST_F(BackgroundTest, MulDivRoundsHalvesAwayFromZero) {
    EXPECT_EQ(MulDiv(1, 1, 2), 1);
    EXPECT_EQ(MulDiv(3, 1, 2), 2);
    EXPECT_EQ(MulDiv(-1, 1, 2), -1);
    EXPECT_EQ(MulDiv(-3, 1, 2), -2);
    EXPECT_EQ(MulDiv(3, 1, -2), -2);
    EXPECT_EQ(MulDiv(-3, -1, 2), 2);
    EXPECT_EQ(MulDiv(128, -128, 255), -64);
    EXPECT_EQ(MulDiv(128, -64, 255), -32);
    EXPECT_EQ(MulDiv(1, 1, 3), 0);
    EXPECT_EQ(MulDiv(2, 1, 3), 1);
    EXPECT_EQ(MulDiv(2000000000, 2000000000, 1000000000), -1); // does not fit
    EXPECT_EQ(MulDiv(2000000000, 1000000000, 1000000000), 2000000000);
    EXPECT_EQ(MulDiv(-2147483647 - 1, 1, 1), -2147483647 - 1);
    EXPECT_EQ(MulDiv(5, 7, 0), -1);
}

TEST_F(BackgroundTest, FlatColourAndSystemColour) {
    TBackground background;
    Size(background, 100, 60);
    EXPECT_EQ(background.Bitmap.size(), QSize(100, 60));
    EXPECT_EQ(background.Image.size(), QSize(100, 60));
    background.Color = RGBColor(10, 20, 30);
    background.SetKind(bkColor);
    for (int y : {0, 31, 59})
        for (int x : {0, 50, 99})
            EXPECT_EQ(background.Bitmap.pixel(x, y), qRgb(10, 20, 30));

    // The window colour (5) comes from the palette, not from the number.
    const QColor window = QGuiApplication::palette().color(QPalette::Base);
    background.Color = kSystemColorFlag | 5;
    background.SetKind(bkColor);
    EXPECT_EQ(background.Bitmap.pixel(7, 7), window.rgb());
    background.SetHeight(256); // the first band is then the first row
    background.SetKind(bkGradient);
    EXPECT_EQ(background.Bitmap.pixel(7, 0), window.rgb());
}

TEST_F(BackgroundTest, GradientToBlack) {
    TBackground background;
    Size(background, 40, 256);
    background.Color = RGBColor(255, 0, 0);
    background.SetKind(bkGradient);
    EXPECT_EQ(background.Kind, bkGradient);
    for (int y = 0; y < 256; ++y) {
        ASSERT_EQ(background.Bitmap.pixel(0, y), qRgb(255 - y, 0, 0)) << y;
        ASSERT_EQ(background.Bitmap.pixel(39, y), qRgb(255 - y, 0, 0)) << y;
    }

    background.Color = RGBColor(128, 64, 0);
    background.SetKind(bkGradient);
    EXPECT_EQ(background.Bitmap.pixel(3, 0), qRgb(128, 64, 0));
    EXPECT_EQ(background.Bitmap.pixel(3, 128), qRgb(64, 32, 0));
    EXPECT_EQ(background.Bitmap.pixel(3, 255), qRgb(0, 0, 0));

    // 256 bands over 100 rows: each row shows the last band that starts on it.
    background.WindowSize = QSize(640, 480); // the gradient does not depend on the window
    background.SetHeight(100);
    background.Color = RGBColor(255, 255, 0);
    background.SetKind(bkGradient);
    for (int y = 0; y < 100; ++y) {
        int band = -1;
        for (int i = 0; i < 256; ++i)
            if (std::lround(std::floor(i * 100.0 / 256.0 + 0.5)) <= y)
                band = i;
        ASSERT_EQ(background.Bitmap.pixel(20, y), qRgb(255 - band, 255 - band, 0)) << y;
    }
    EXPECT_EQ(background.Bitmap.pixel(0, 0), qRgb(254, 254, 0));
    EXPECT_EQ(background.Bitmap.pixel(0, 50), qRgb(126, 126, 0));
    EXPECT_EQ(background.Bitmap.pixel(0, 99), qRgb(1, 1, 0));
}

TEST_F(BackgroundTest, StretchedPicture) {
    QImage quarters(2, 2, QImage::Format_RGB32);
    quarters.setPixel(0, 0, qRgb(255, 0, 0));
    quarters.setPixel(1, 0, qRgb(0, 255, 0));
    quarters.setPixel(0, 1, qRgb(0, 0, 255));
    quarters.setPixel(1, 1, qRgb(255, 255, 255));
    WritePicture("QQ1", quarters);
    TBackground background;
    Size(background, 64, 48);
    background.Code = "QQ1";
    background.SetKind(bkStretch);
    EXPECT_EQ(background.Image.size(), QSize(2, 2));
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 64; ++x) {
            const QRgb expected = quarters.pixel(x < 32 ? 0 : 1, y < 24 ? 0 : 1);
            ASSERT_EQ(background.Bitmap.pixel(x, y), expected) << x << "," << y;
        }
    }

    // Shrunk: 250 source columns onto 100, each the column nearest its centre.
    WritePicture("BIG", Coordinates(250, 200));
    Size(background, 100, 100);
    background.Code = "BIG";
    background.SetKind(bkStretch);
    EXPECT_EQ(Red(background, 0, 0), 1);
    EXPECT_EQ(Red(background, 99, 0), 248);
    EXPECT_EQ(Green(background, 0, 99), 199);
}

TEST_F(BackgroundTest, TileSizesFollowTheMainWindow) {
    WritePicture("T01", Coordinates(200, 150));
    TBackground background;
    background.WindowSize = QSize(1000, 740);
    Size(background, 1000, 700);
    background.Code = "T01";

    // Across: tiles 200 wide at the picture's own width, stretched to 700 high.
    background.SetKind(bkTileAcross);
    for (int x : {0, 199, 200, 457, 800, 999})
        EXPECT_EQ(Red(background, x, 0), x % 200) << x;
    EXPECT_EQ(Green(background, 0, 0), 0);
    EXPECT_EQ(Green(background, 5, 699), 149);
    EXPECT_EQ(Green(background, 5, 350), 75); // the centre of row 350 is 75.1 picture rows down

    // Both ways: tiles 200 x 141.
    background.SetKind(bkTile);
    EXPECT_EQ(Red(background, 250, 10), 50);
    EXPECT_EQ(Green(background, 0, 140), 149);
    EXPECT_EQ(Green(background, 0, 141), 0);
    EXPECT_EQ(Green(background, 0, 282), 0);
    EXPECT_EQ(Green(background, 0, 699), Green(background, 0, 699 - 4 * 141));

    // Down: the full width, tiles 141 high.
    background.SetKind(bkTileDown);
    EXPECT_EQ(Red(background, 999, 0), 199);
    EXPECT_EQ(Red(background, 0, 0), 0);
    EXPECT_EQ(Red(background, 500, 0), 100);
    EXPECT_EQ(Green(background, 0, 141), 0);
    EXPECT_EQ(Green(background, 0, 140), 149);

    // In a small preview a tile shrinks to a pixel, never to nothing.
    Size(background, 160, 120);
    WritePicture("T02", Coordinates(3, 2));
    background.Code = "T02";
    background.WindowSize = QSize(1024, 768);
    background.SetKind(bkTile);
    for (int y : {0, 60, 119})
        for (int x : {0, 80, 159})
            EXPECT_EQ(background.Bitmap.pixel(x, y), qRgb(1, 1, 7));
    background.WindowSize = QSize(0, 0);
    background.SetKind(bkTile); // no window size: the picture's own size
    EXPECT_EQ(Red(background, 4, 0), 1);
    EXPECT_EQ(Green(background, 0, 3), 1);
}

TEST_F(BackgroundTest, PicturesThatAreMissingOrUnreadable) {
    TBackground background;
    Size(background, 64, 64);
    background.Color = RGBColor(200, 100, 50);
    background.Code = "NO1";
    background.SetKind(bkTile);
    EXPECT_EQ(background.Bitmap.pixel(10, 10), qRgb(0, 0, 0)); // black, not Color
    EXPECT_EQ(background.Code, "NO1");
    EXPECT_EQ(background.Kind, bkTile);

    // An empty code looks for bd.csb.
    WritePicture("", Coordinates(4, 4));
    background.Code.clear();
    background.SetKind(bkStretch);
    EXPECT_EQ(background.Bitmap.pixel(63, 63), qRgb(3, 3, 7));

    // A code cannot reach out of the System folder.
    folder.write("System/bdx/y.csb", EncodeBitmap24(Coordinates(4, 4)));
    background.Code = "x/y";
    background.SetKind(bkStretch);
    EXPECT_EQ(background.Bitmap.pixel(63, 63), qRgb(0, 0, 0));

    // A picture that is no bitmap: an error, and the bitmap and picture stay.
    background.SetKind(bkColor);
    const QImage before = background.Bitmap;
    const QImage picture = background.Image;
    folder.write("System/bdBAD.csb", "BM not a bitmap at all");
    background.Code = "BAD";
    EXPECT_THROW(background.SetKind(bkStretch), IoError);
    EXPECT_EQ(background.Bitmap, before);
    EXPECT_EQ(background.Image, picture);
    EXPECT_EQ(background.Code, "BAD");
}

TEST_F(BackgroundTest, UnknownKindsAndSizeChangesKeepTheBitmap) {
    TBackground background;
    Size(background, 40, 40);
    background.Color = RGBColor(1, 2, 3);
    background.SetKind(bkColor);
    background.Color = RGBColor(90, 90, 90);
    background.SetKind(6);
    EXPECT_EQ(background.Kind, 6);
    EXPECT_EQ(background.Bitmap.pixel(5, 5), qRgb(1, 2, 3));
    background.SetKind(255);
    EXPECT_EQ(background.Kind, 255);
    EXPECT_EQ(background.Bitmap.pixel(39, 39), qRgb(1, 2, 3));

    // A new size is not rendered until SetKind.
    Size(background, 50, 30);
    EXPECT_EQ(background.Width, 50);
    EXPECT_EQ(background.Height, 30);
    EXPECT_EQ(background.Bitmap.size(), QSize(50, 30));
    EXPECT_EQ(background.Bitmap.pixel(39, 29), qRgb(1, 2, 3));
    EXPECT_EQ(background.Bitmap.pixel(45, 5), qRgb(0, 0, 0));
    background.SetKind(bkColor);
    EXPECT_EQ(background.Bitmap.pixel(45, 5), qRgb(90, 90, 90));

    Size(background, -5, 0); // nothing to draw into, and nothing breaks
    background.SetKind(bkGradient);
    background.SetKind(bkColor);
    EXPECT_EQ(background.Width, -5);
    EXPECT_TRUE(background.Bitmap.isNull() || background.Bitmap.width() == 0);
}

TEST_F(BackgroundTest, DrawsWholeOrOneCell) {
    TBackground background;
    Size(background, 96, 64);
    background.Color = RGBColor(255, 255, 0);
    background.SetKind(bkGradient);

    QImage target = NewBitmap(100, 70);
    target.fill(qRgb(9, 8, 7));
    TCanvas canvas(&target);
    background.DrawCell(canvas, 1, 1);
    for (int y = 0; y < 70; ++y) {
        for (int x = 0; x < 100; ++x) {
            const bool inCell = x >= 32 && x < 64 && y >= 32 && y < 64;
            ASSERT_EQ(target.pixel(x, y), inCell ? background.Bitmap.pixel(x, y) : qRgb(9, 8, 7))
                << x << "," << y;
        }
    }

    // Cells past the background or the canvas draw only what lies inside both.
    const QImage before = target;
    background.DrawCell(canvas, 3, 0);
    background.DrawCell(canvas, -1, 0);
    background.DrawCell(canvas, 0, 2);
    EXPECT_EQ(target, before);
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
