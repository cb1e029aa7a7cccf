// The welcome model and the background pictures the build writes.

#include "content_fixture.h"

#include "imaging/bitmap_file.h"
#include "library/background.h"
#include "model/model.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdlib>

namespace {

// How much the two edges of a picture differ, against the largest difference
// between neighbouring columns (or rows) inside it: where the picture repeats,
// its edges must meet like any two of its own lines do.
double EdgeJump(const QImage& image, bool across) {
    auto diff = [](QRgb a, QRgb b) {
        return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
    };
    const int n = across ? image.width() : image.height();
    const int m = across ? image.height() : image.width();
    auto at = [&](int i, int j) { return across ? image.pixel(i, j) : image.pixel(j, i); };
    auto step = [&](int a, int b) {
        double sum = 0;
        for (int j = 0; j < m; ++j)
            sum += diff(at(a, j), at(b, j));
        return sum / m;
    };
    double worst = 0;
    for (int i = 0; i + 1 < n; ++i)
        worst = std::max(worst, step(i, i + 1));
    return step(n - 1, 0) - worst;
}

} // namespace

class WelcomeModelTest : public ContentTest {};

TEST_F(WelcomeModelTest, TheProgramFolderHasTheFoldersTheFileDialogsStartIn) {
    for (const char* name : {"Models", "Images"})
        EXPECT_TRUE(QFileInfo(Folder() + QLatin1String(name)).isDir()) << name;
}

TEST_F(WelcomeModelTest, LoadsFullSizeWithEveryBlockKnown) {
    const QString fileName = Folder() + QStringLiteral("Models/Welcome.cst");
    TModel model(ModelContext());
    ASSERT_TRUE(model.LoadFromFile(fileName));
    EXPECT_TRUE(presenter().shown.empty());
    EXPECT_FALSE(model.Truncated);
    EXPECT_EQ(model.Cols, 32);
    EXPECT_EQ(model.Rows, 24);
    // The scene fills the window with stacks of blocks the library holds: a
    // name it lacks leaves a hole in its stack, or the cell empty.
    int occupied = 0, stacked = 0;
    for (int y = 0; y < model.Rows; ++y)
        for (int x = 0; x < model.Cols; ++x) {
            occupied += model.IsOccupied(x, y);
            stacked += model.TopLevel(x, y) > 0;
            for (int level = model.TopLevel(x, y) + 1; level < model.Levels; ++level)
                EXPECT_EQ(model.GetBlockIndex(x, y, level), -1)
                    << x << "," << y << " has a hole below " << level;
        }
    EXPECT_GT(occupied, 200);
    EXPECT_GT(stacked, 20) << "the welcome model shows few stacks";

    // A picture background from the catalogue, and a welcome with a shadow.
    const std::string code = model.Background.Code;
    EXPECT_TRUE(QFile::exists(BackgroundFileName(code))) << code;
    EXPECT_GE(model.Background.Kind, bkStretch);
    EXPECT_NE(model.TextOverlay.Text.find("Welcome"), std::string::npos);
    EXPECT_NE(model.TextOverlay.Shadow, 0);
}

class BackgroundPicturesTest : public ContentTest {};

TEST_F(BackgroundPicturesTest, EveryCatalogueCodeHasAPictureThatRepeatsWithoutASeam) {
    int pictures = 0;
    for (const BackgroundCatalogueRow& row : BackgroundCatalogue()) {
        const std::string code = row.Code;
        if (code == "000")
            continue;
        SCOPED_TRACE(code);
        const QString fileName = BackgroundFileName(code);
        ASSERT_TRUE(QFile::exists(fileName));
        const QImage picture = LoadBitmapFile(fileName);
        ++pictures;
        const int kind = KindFromLayout(QString::fromLatin1(row.Layout));
        if (kind == bkTile) {
            EXPECT_GE(picture.width(), 64);
            EXPECT_GE(picture.height(), 64);
            EXPECT_LE(EdgeJump(picture, true), 2.0) << "seam across";
            EXPECT_LE(EdgeJump(picture, false), 2.0) << "seam downwards";
        } else {
            ASSERT_EQ(kind, bkTileAcross);
            // Stretched to the full height of a 768-pixel window: drawn 1:1.
            EXPECT_EQ(picture.height(), 768);
            EXPECT_LE(EdgeJump(picture, true), 2.0) << "seam across";
        }
    }
    EXPECT_EQ(pictures, 15);
}
