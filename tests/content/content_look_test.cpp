// What the build writes: the look every block keeps, the welcome model and the background pictures.

#include "content_fixture.h"

#include "imaging/bitmap_file.h"
#include "library/background.h"
#include "model/model.h"

#include <QFileInfo>

namespace {

// How much the two edges of a picture differ, against the largest difference
// between neighbouring columns (or rows) inside it: where the picture repeats,
// its edges must meet like any two of its own lines do.
double EdgeJump(const QImage& image, bool across) {
    const int n = across ? image.width() : image.height(), m = across ? image.height() : image.width();
    auto step = [&](int a, int b) {
        double sum = 0;
        for (int j = 0; j < m; ++j) {
            const QRgb p = across ? image.pixel(a, j) : image.pixel(j, a),
                       q = across ? image.pixel(b, j) : image.pixel(j, b);
            sum +=
                std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
        return sum / m;
    };
    double worst = 0;
    for (int i = 0; i + 1 < n; ++i)
        worst = std::max(worst, step(i, i + 1));
    return step(n - 1, 0) - worst;
}

int Luma(QRgb c) {
    return qRed(c) * 3 + qGreen(c) * 6 + qBlue(c);
}

class ContentLookTest : public ContentTest {};

// Outlined but never in pure black, lit from the top left.
TEST_F(ContentLookTest, BlocksAreOutlinedNeverInBlackAndLitFromTheTopLeft) {
    int outlined = 0, judged = 0, lit = 0;
    std::string darkOnes;
    for (int i = 0; i < Library().Count; ++i) {
        const QImage& p = Picture(i);
        auto clear = [&](int x, int y) { return !Opaque(p, x, y); };
        bool outline = false;
        long light[2] = {0, 0}; // the sum of the lumas just inside the sides facing up or left, down or right
        int count[2] = {0, 0};
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                if (clear(x, y))
                    continue;
                if (clear(x - 1, y) || clear(x + 1, y) || clear(x, y - 1) || clear(x, y + 1)) {
                    outline = true;
                    ASSERT_NE(p.pixel(x, y) & 0xFFFFFF, 0u)
                        << Library().NameFromIndex(i) << " at " << x << "," << y;
                    continue;
                }
                const bool topLeft = clear(x, y - 2) || clear(x - 2, y),
                           bottomRight = clear(x, y + 2) || clear(x + 2, y);
                if (topLeft != bottomRight) {
                    light[bottomRight] += Luma(p.pixel(x, y));
                    ++count[bottomRight];
                }
            }
        outlined += outline;
        if (count[0] < 12 || count[1] < 12)
            continue;
        ++judged;
        if (light[0] * count[1] > light[1] * count[0])
            ++lit;
        else
            darkOnes += Library().NameFromIndex(i) + " ";
    }
    EXPECT_GT(outlined, 250);
    ASSERT_GT(judged, 150);
    EXPECT_GE(lit * 100, judged * 85) << "lit from elsewhere: " << darkOnes;
}

// The scene fills the window with stacks of blocks the library holds (a name it
// lacks leaves a hole in its stack), on a picture background, with a welcome.
TEST_F(ContentLookTest, LoadsFullSizeWithEveryBlockKnown) {
    for (const char* name : {"Models", "Images"}) // where the file dialogs start
        EXPECT_TRUE(QFileInfo(Folder() + name).isDir()) << name;
    TModel model(ModelContext());
    ASSERT_TRUE(model.LoadFromFile(Folder() + "Models/Welcome.cst"));
    EXPECT_TRUE(presenter().shown.empty());
    EXPECT_FALSE(model.Truncated);
    ASSERT_EQ(QSize(model.Cols, model.Rows), QSize(32, 24));
    int occupied = 0, stacked = 0;
    for (int i = 0; i < 32 * 24; ++i) {
        occupied += model.IsOccupied(i % 32, i / 32);
        stacked += model.TopLevel(i % 32, i / 32) > 0;
        for (int level = model.TopLevel(i % 32, i / 32) + 1; level < model.Levels; ++level)
            EXPECT_EQ(model.GetBlockIndex(i % 32, i / 32, level), -1)
                << i % 32 << "," << i / 32 << ": a hole below " << level;
    }
    EXPECT_GT(occupied, 200);
    EXPECT_GT(stacked, 20);
    EXPECT_TRUE(QFileInfo::exists(BackgroundFileName(model.Background.Code))) << model.Background.Code;
    EXPECT_GE(model.Background.Kind, bkStretch);
    EXPECT_NE(model.TextOverlay.Text.find("Welcome"), std::string::npos);
    EXPECT_NE(model.TextOverlay.Shadow, 0);
}

// Tiled pictures repeat both ways without a seam; pictures tiled across are
// drawn 1:1 over the height of a 768-pixel window and repeat across.
TEST_F(ContentLookTest, EveryCatalogueCodeHasAPictureThatRepeatsWithoutASeam) {
    int pictures = 0;
    for (const BackgroundCatalogueRow& row : BackgroundCatalogue()) {
        if (std::string(row.Code) == "000")
            continue;
        SCOPED_TRACE(row.Code);
        const QImage picture = LoadBitmapFile(BackgroundFileName(row.Code));
        ++pictures;
        const int kind = KindFromLayout(QString::fromLatin1(row.Layout));
        ASSERT_TRUE(kind == bkTile || kind == bkTileAcross);
        EXPECT_TRUE(kind == bkTile ? picture.width() >= 64 && picture.height() >= 64
                                   : picture.height() == 768);
        EXPECT_LE(EdgeJump(picture, true), 2.0) << "seam across";
        EXPECT_TRUE(kind != bkTile || EdgeJump(picture, false) <= 2.0) << "seam downwards";
    }
    EXPECT_EQ(pictures, 15);
}

} // namespace
