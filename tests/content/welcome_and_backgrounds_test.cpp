// The welcome model and the background pictures the build writes.

#include "content_fixture.h"

#include "imaging/bitmap_file.h"
#include "library/background.h"
#include "model/model.h"

#include <QFile>
#include <algorithm>
#include <cstdlib>

namespace {

uint32_t LE(const QByteArray& bytes, qsizetype at, int size) {
    uint32_t v = 0;
    for (int i = size - 1; i >= 0; --i)
        v = (v << 8) | static_cast<uint8_t>(bytes[at + i]);
    return v;
}

struct Cell {
    int col, row;
    std::vector<std::string> names;
};

// The cells of a model file's cell section, read straight from the bytes.
std::vector<Cell> ReadCells(const QByteArray& file) {
    std::vector<Cell> cells;
    qsizetype at = 6;
    while (at + 6 <= file.size()) {
        const std::string tag = file.mid(at, 2).toStdString();
        const uint32_t length = LE(file, at + 2, 4);
        at += 6;
        if (tag != "MH") {
            at += length;
            continue;
        }
        for (;;) {
            if (at + 2 > file.size())
                return cells;
            const uint32_t word = LE(file, at, 2);
            at += 2;
            if (word == 0xFFFF)
                return cells;
            Cell cell{static_cast<int>((word >> 4) & 63), static_cast<int>((word >> 10) & 63), {}};
            for (uint32_t level = 0; level <= (word & 7); ++level) {
                std::string name = file.mid(at, 3).toStdString();
                name = name.substr(0, name.find('\0'));
                cell.names.push_back(name);
                at += 3;
            }
            cells.push_back(cell);
        }
    }
    return cells;
}

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

TEST_F(WelcomeModelTest, LoadsFullSizeWithEveryBlockKnown) {
    const QString fileName = Folder() + QStringLiteral("Models/Welcome.cst");
    const QByteArray bytes = ReadAll(fileName);
    ASSERT_FALSE(bytes.isEmpty());

    // Every name in the file is a block of the library, every cell lies in 32 x 24.
    const std::vector<Cell> cells = ReadCells(bytes);
    ASSERT_GT(cells.size(), 200u);
    int stacked = 0;
    for (const Cell& cell : cells) {
        EXPECT_LT(cell.col, 32);
        EXPECT_LT(cell.row, 24);
        stacked += cell.names.size() > 1;
        for (const std::string& name : cell.names)
            EXPECT_GE(Library().IndexFromName(name), 0) << name << " at " << cell.col << "," << cell.row;
    }
    EXPECT_GT(stacked, 20) << "the welcome model shows few stacks";

    TModel model;
    ASSERT_TRUE(model.LoadFromFile(fileName));
    EXPECT_TRUE(presenter().shown.empty());
    EXPECT_FALSE(model.Truncated);
    EXPECT_EQ(model.Cols, 32);
    EXPECT_EQ(model.Rows, 24);
    int loaded = 0;
    for (int y = 0; y < model.Rows; ++y)
        for (int x = 0; x < model.Cols; ++x)
            loaded += model.IsOccupied(x, y);
    EXPECT_EQ(loaded, static_cast<int>(cells.size()));

    // A picture background from the catalogue, and a welcome with a shadow.
    const std::string code = model.Background->Code;
    EXPECT_TRUE(QFile::exists(BackgroundFileName(code))) << code;
    EXPECT_GE(model.Background->Kind, bkStretch);
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
