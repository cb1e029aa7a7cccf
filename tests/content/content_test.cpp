// What the build writes into the program folder (build/bin/), read by the
// program's own library and reader: block sets and sheets, names, old block
// codes, turning families, pictures, the welcome model, the background pictures.

#include "common/program_folder.h"
#include "imaging/bitmap_file.h"
#include "library/background.h"
#include "library/block_list.h"
#include "model/model.h"
#include "model/old_block_codes.h"
#include "resources/resource_checks.h"
#include "support/test_support.h"

#include <QFileInfo>
#include <QPainter>
#include <QTransform>
#include <map>
#include <memory>
#include <set>

namespace {

class ContentTest : public CubestacksTest {
protected:
    static void SetUpTestSuite() {
        SetProgramFolder(Folder());
        s_library = std::make_unique<TBlockList>();
        SetProgramFolder(QString());
    }
    static void TearDownTestSuite() { s_library.reset(); }
    void SetUp() override {
        CubestacksTest::SetUp();
        SetProgramFolder(Folder());
    }
    static QString Folder() { return QStringLiteral(CONTENT_PROGRAM_FOLDER); }
    static QString SystemFile(const QString& name) { return Folder() + "System/" + name; }
    static TBlockList& Library() { return *s_library; }
    static const QImage& Picture(int index) { return s_library->ImageList[static_cast<size_t>(index)]; }
    inline static std::unique_ptr<TBlockList> s_library;
};

// Whether pixel (x, y) of a block picture is drawn; outside the 32 x 32 cell it counts as drawn.
bool Opaque(const QImage& picture, int x, int y) {
    return x < 0 || y < 0 || x >= 32 || y >= 32 || qAlpha(picture.pixel(x, y)) != 0;
}

// The opaque pixels of a block picture, turned a quarter clockwise `turns` times.
std::vector<bool> Pattern(const QImage& picture, int turns) {
    const QImage turned = picture.transformed(QTransform().rotate(90 * turns));
    std::vector<bool> pattern;
    for (int i = 0; i < 32 * 32; ++i)
        pattern.push_back(Opaque(turned, i % 32, i / 32));
    return pattern;
}

TEST_F(ContentTest, EverySetAndSheetLoadsWithTheExactPitchAndSize) {
    ASSERT_TRUE(Library().LoadError.isEmpty()) << Library().LoadError.toStdString();
    EXPECT_EQ(Library().SetCount, 10);
    int blocks = 0;
    for (int set = 1; set <= 10; ++set) {
        SCOPED_TRACE(set);
        std::vector<std::string> rows;
        std::string title;
        ReadSetFile(SystemFile(QString::asprintf("sd%02d.csd", set)), rows, title);
        EXPECT_TRUE(!title.empty() && title.size() <= 63u && title == Library().SetTitle[set - 1]);
        ASSERT_TRUE(!rows.empty() && rows.size() <= size_t(kMaxRows));
        EXPECT_EQ(Library().RowCount[set - 1], static_cast<int>(rows.size()));
        int longest = 0;
        for (const std::string& row : rows) {
            EXPECT_TRUE(row.size() % 3 == 0 && row.size() >= 3u && row.size() / 3 <= size_t(kMaxVariations))
                << row;
            longest = std::max(longest, static_cast<int>(row.size() / 3));
            blocks += static_cast<int>(row.size() / 3);
        }
        // The lines between the cells are one colour all along: the pictures lie exactly 33 pixels apart.
        const QImage sheet = LoadBitmapFile(SystemFile(QString::asprintf("sd%02d.csb", set)));
        ASSERT_EQ(sheet.size(), QSize(33 * longest + 1, 33 * static_cast<int>(rows.size()) + 1));
        for (int y = 0; y < sheet.height(); ++y)
            for (int x = 0; x < sheet.width(); ++x)
                if (x % 33 == 0 || y % 33 == 0) {
                    ASSERT_EQ(sheet.pixel(x, y), sheet.pixel(0, 0)) << x << "," << y;
                }
    }
    EXPECT_EQ(blocks, Library().Count);
    EXPECT_LE(blocks, kMaxBlocks);
}

// Three-letter names, unique; pictures in palette colours, outlined but never in black, not nearly empty,
// none twice.
TEST_F(ContentTest, NamesAreUniqueAndPicturesDistinctInPaletteColours) {
    std::map<std::string, int> names;
    std::set<QByteArray> distinct;
    int outlined = 0;
    for (int i = 0; i < Library().Count; ++i) {
        const std::string& name = Library().NameFromIndex(i);
        ASSERT_EQ(name.size(), 3u) << "block " << i;
        EXPECT_TRUE(names.emplace(name, i).second) << name << " twice";
        int opaque = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (Opaque(Picture(i), x, y) && ++opaque) {
                    const QRgb c = Picture(i).pixel(x, y) | 0xFF000000;
                    const bool edge = !Opaque(Picture(i), x - 1, y) || !Opaque(Picture(i), x + 1, y) ||
                                      !Opaque(Picture(i), x, y - 1) || !Opaque(Picture(i), x, y + 1);
                    ASSERT_TRUE(PaletteColours().contains(c) && !(edge && c == 0xFF000000))
                        << name << " at " << x << "," << y;
                    outlined += edge;
                }
        EXPECT_GT(opaque, 20) << name << " is nearly empty";
        distinct.insert(
            QByteArray(reinterpret_cast<const char*>(Picture(i).constBits()), Picture(i).sizeInBytes()));
    }
    EXPECT_GT(distinct.size(), 300u);
    EXPECT_GT(outlined, 250 * 32);
    EXPECT_EQ(static_cast<int>(distinct.size()), Library().Count) << "two blocks share one picture";
}

// Every old code names blocks the sets hold; each one put on top of the stack shows something of its own.
TEST_F(ContentTest, EveryOldBlockCodeResolvesToBlocksThatShowWhenStacked) {
    int checked = 0;
    for (int code = 1; code < kOldBlockSets * 256; ++code) {
        if (code % 256 >= kOldBlockPositions && code != 12) // 12: outside the table, the default block
            continue;
        const char* list = OldBlockNames(static_cast<uint16_t>(code));
        ASSERT_NE(list, nullptr) << code;
        QImage composite(32, 32, QImage::Format_ARGB32_Premultiplied);
        composite.fill(Qt::transparent);
        for (const QString& name : QString(list).split(',')) {
            const int32_t index = Library().IndexFromName(name.toStdString());
            ASSERT_GE(index, 0) << "code " << code << " names " << name.toStdString()
                                << ", which no set holds";
            const QImage before = composite;
            QPainter(&composite).drawImage(0, 0, Picture(index));
            EXPECT_NE(composite, before) << name.toStdString() << " adds nothing to code " << code;
            ++checked;
        }
    }
    EXPECT_GT(checked, 119);
}

// The orientations of a block are in one row, each the shape of the one before
// it turned a quarter (a pair may turn either way), each with its own picture.
TEST_F(ContentTest, TurningFamiliesAreCompleteInOneRowAndDrawnTurned) {
    std::set<std::string> families;
    for (int i = 0; i < Library().Count; ++i) {
        const std::string name = Library().NameFromIndex(i);
        std::string cycle;
        for (const char* c : {"NESW", "JKLM", "HV"})
            cycle = std::string(c).find(name[2]) != std::string::npos ? c : cycle;
        if (cycle.empty() || !families.insert(name.substr(0, 2) + cycle).second)
            continue;
        int32_t set = 0, row = 0, variation = 0, s = 0, r = 0;
        Library().MapFromIndex(i, set, row, variation);
        std::vector<int32_t> members;
        for (char letter : cycle) {
            members.push_back(Library().IndexFromName(name.substr(0, 2) + letter));
            ASSERT_GE(members.back(), 0) << name.substr(0, 2) << letter << " is missing";
            Library().MapFromIndex(members.back(), s, r, variation);
            EXPECT_TRUE(s == set && r == row)
                << name.substr(0, 2) << letter << " is not in the row of " << name;
        }
        for (size_t k = 1; k < members.size(); ++k) {
            const std::vector<bool> pattern = Pattern(Picture(members[k]), 0);
            EXPECT_TRUE(pattern == Pattern(Picture(members[k - 1]), 1) ||
                        (cycle == "HV" && pattern == Pattern(Picture(members[k - 1]), 3)))
                << name.substr(0, 2) << cycle[k] << " is not turned";
            for (size_t j = 0; j < k; ++j)
                EXPECT_NE(Picture(members[k]), Picture(members[j])) << name.substr(0, 2) << cycle[k];
        }
    }
    EXPECT_GT(families.size(), 40u);
}

// How much the two edges of a picture differ across, against the largest difference
// between neighbouring columns inside it: where the picture repeats, its edges must
// meet like any two of its own columns do.
double EdgeJump(const QImage& image) {
    auto step = [&](int a, int b) {
        double sum = 0;
        for (int y = 0; y < image.height(); ++y) {
            const QRgb p = image.pixel(a, y), q = image.pixel(b, y);
            sum +=
                std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
        return sum / image.height();
    };
    double worst = 0;
    for (int x = 0; x + 1 < image.width(); ++x)
        worst = std::max(worst, step(x, x + 1));
    return step(image.width() - 1, 0) - worst;
}

// The scene fills the window with stacks of blocks the library holds (a name it
// lacks leaves a hole in its stack), on a picture background, with a welcome.
TEST_F(ContentTest, LoadsFullSizeWithEveryBlockKnown) {
    for (const char* name : {"Models", "Images"}) // where the file dialogs start
        EXPECT_TRUE(QFileInfo(Folder() + name).isDir()) << name;
    TModelContext context;
    context.Library = &Library();
    TModel model(context);
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
TEST_F(ContentTest, EveryCatalogueCodeHasAPictureThatRepeatsWithoutASeam) {
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
        EXPECT_LE(EdgeJump(picture), 2.0) << "seam across";
        EXPECT_TRUE(kind != bkTile || EdgeJump(picture.transformed(QTransform().rotate(90))) <= 2.0)
            << "seam downwards";
    }
    EXPECT_EQ(pictures, 15);
}

} // namespace
