#include "common/io_error.h"
#include "common/program_folder.h"
#include "imaging/bitmap.h"
#include "imaging/bitmap_file.h"
#include "library/background.h"
#include "library/block_list.h"
#include "support/test_sets.h"
#include "support/test_support.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QPalette>
#include <QRegularExpression>
#include <QStringList>
#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr QRgb kBackdrop = 0xFF102030u;

class BlockListTest : public CubestacksTest {
protected:
    void SetUp() override { SetProgramFolder(folder.path()); }
    static QImage Backdrop(int width, int height) {
        QImage image = NewBitmap(width, height);
        image.fill(kBackdrop);
        return image;
    }
    TempProgramFolder folder;
};

QString Describe(const TBlockList& list) {
    QString text = QString("%1 sets, %2 blocks").arg(list.SetCount).arg(list.Count);
    for (int s = 0; s < list.SetCount; ++s) {
        text += " | " + QString::fromStdString(list.SetTitle[s]) + ":";
        for (int r = 0; r < list.RowCount[s]; ++r) {
            text += QString(r ? " /" : "") + (list.LastVariation[s][r] < 0 ? " -" : "");
            for (int v = 0; v <= list.LastVariation[s][r]; ++v) {
                const int32_t i = list.IndexFromMap(uint8_t(s), uint8_t(r), uint8_t(v));
                const QImage& picture = list.ImageList[size_t(i)];
                bool black = true, clear = false;
                for (int p = 0; p < 32 * 32; ++p) {
                    black = black && picture.pixel(p % 32, p / 32) == qRgb(0, 0, 0);
                    clear = clear || qAlpha(picture.pixel(p % 32, p / 32)) == 0;
                }
                const char* mark = black ? "*" : clear ? "~" : "";
                text += " " + QString::fromStdString(list.NameFromIndex(i)) + mark;
            }
        }
    }
    return text + (list.LoadError.isEmpty() ? "" : " | error: " + list.LoadError) +
           (list.LoadNotice.isEmpty() ? "" : " | notice: " + list.LoadNotice);
}

TEST_F(BlockListTest, LoadsTheSetsOfTheDataFolder) {
    for (const QStringList& c : DataCases("block_sets")) {
        ASSERT_EQ(c.size(), 2) << c.join(' ').toStdString();
        TempProgramFolder system;
        const QDir from(DataFile("block_sets", c[0]));
        ASSERT_TRUE(from.exists()) << c[0].toStdString();
        for (QDirIterator files(from.path(), QDir::Files, QDirIterator::Subdirectories); files.hasNext();) {
            const QString file = files.next();
            system.write("System/" + from.relativeFilePath(file), ReadAll(file));
        }
        SetProgramFolder(system.path());
        EXPECT_EQ(Describe(TBlockList()).toStdString(), c[1].toStdString()) << c[0].toStdString();
    }
}

TEST_F(BlockListTest, NameLookupAgreesWithALinearScan) {
    const std::vector<std::string> pool{"AAa", "AAb", "BBa", "BBb", "CCa", "CCb", "DDa", "ddA", "EEe", "FFf"};
    for (int set = 1; set <= 5; ++set) {
        std::vector<SetRow> rows;
        for (int row = 0; row < 6; ++row) {
            std::string names;
            for (int k = 0; k < 4; ++k)
                names += pool[static_cast<size_t>((set * 7 + row * 3 + k * 5) % pool.size())];
            rows.push_back(Names(names));
        }
        WriteSet(folder, set, "Shared", rows);
    }
    TBlockList list;
    ASSERT_EQ(list.Count, 120);
    std::vector<std::string> probes = pool;
    probes.insert(probes.end(), {"aaa", "AA", "AAaa", "GGg", ""});
    for (const std::string& name : probes) {
        int expected = 0;
        while (expected < list.Count && list.Blocks[size_t(expected)].Name != name)
            ++expected;
        expected = expected == list.Count ? -1 : expected;
        EXPECT_EQ(list.IndexFromName(name), expected) << name;
        EXPECT_EQ(list.IsValidName(name), expected >= 0) << name;
    }
    for (int i = 0; i < list.Count; ++i) {
        int set = 0, row = 0, variation = 0;
        list.MapFromIndex(i, set, row, variation);
        EXPECT_EQ(list.IndexFromMap(uint8_t(set), uint8_t(row), uint8_t(variation)), i);
        EXPECT_EQ(list.NameFromMap(uint8_t(set), uint8_t(row), uint8_t(variation)), list.NameFromIndex(i));
    }
    EXPECT_EQ(list.IndexFromMap(0, 6, 0) + list.IndexFromMap(255, 0, 0), -2);
    EXPECT_EQ(list.NameFromMap(0, 0, 4) + list.NameFromMap(200, 200, 200), "100100");
    EXPECT_EQ(list.NameFromIndex(120) + list.NameFromIndex(-1), "");

    list.SelectIndex(list.IndexFromName("ddA"));
    const int set = list.Selection.CurrentSet, row = list.Selection.SelectedRow[set];
    EXPECT_EQ(
        list.NameFromMap(uint8_t(set), uint8_t(row), uint8_t(list.Selection.SelectedVariation[set][row])),
        "ddA");
    list.SelectIndex(list.IndexFromMap(uint8_t(set), uint8_t(row), 3));
    list.SelectIndex(list.IndexFromMap(uint8_t(set), uint8_t(row + 1), 2));
    list.SelectIndex(list.IndexFromMap(4, 0, 1));
    list.SelectIndex(500); // past the blocks: nothing changes
    EXPECT_EQ(list.GetSelectedIndex(), list.IndexFromMap(4, 0, 1));
    list.Selection.CurrentSet = set;
    EXPECT_EQ(list.GetSelectedIndex(), list.IndexFromMap(uint8_t(set), uint8_t(row + 1), 2));
    list.Selection.SelectedRow[set] = row;
    EXPECT_EQ(list.GetSelectedIndex(), list.IndexFromMap(uint8_t(set), uint8_t(row), 3));
    for (int variation : {4, -3}) {
        list.Selection.SelectedVariation[set][row] = variation;
        EXPECT_EQ(list.GetSelectedIndex(), -1);
    }
    list.Selection.CurrentSet = 12;
    EXPECT_EQ(list.GetSelectedIndex(), -1);
    list.SelectIndex(-1);
    EXPECT_EQ(list.GetSelectedIndex(), -1);
}

TEST_F(BlockListTest, TheTableHoldsTwoThousandBlocks) {
    for (int set = 1; set <= 9; ++set) {
        std::vector<SetRow> full;
        for (int r = 0; r < 20; ++r) {
            std::string names;
            for (int k = 0; k < 13; ++k)
                names += {char('0' + set), char('A' + r), char('a' + k)};
            full.push_back(Names(names));
        }
        WriteSet(folder, set, "Full", full);
    }
    TBlockList list;
    EXPECT_TRUE(list.LoadError.isEmpty()) << list.LoadError.toStdString();
    EXPECT_EQ(list.Count, kMaxBlocks);
    EXPECT_EQ(list.ImageList.size(), static_cast<size_t>(kMaxBlocks));
    EXPECT_EQ(list.SetCount, 8);
    EXPECT_EQ(list.RowCount[7], 14);
    EXPECT_EQ(list.LastVariation[7][13], 10);
    EXPECT_EQ(list.IndexFromName("8Nk"), kMaxBlocks - 1);
    EXPECT_EQ(list.IndexFromName("8Nl") + list.IndexFromName("9Aa"), -2);
    list.Append(0, 0, 0, "New");
    EXPECT_EQ(list.IndexFromName("New"), -1);

    SetProgramFolder(TempProgramFolder().path());
    TBlockList empty;
    EXPECT_EQ(empty.GetSelectedIndex(), -1);
    for (const auto& [s, r, v] : {std::tuple{10, 0, 0}, {0, 20, 0}, {0, 0, 13}})
        empty.Append(uint8_t(s), uint8_t(r), uint8_t(v), "Bad");
    EXPECT_EQ(empty.Count, 0);
    empty.Append(0, 0, 0, "ABCD");
    empty.Append(0, 0, 0, "Dup");
    EXPECT_EQ(empty.NameFromIndex(0), "ABC");
    EXPECT_EQ(empty.IndexFromMap(0, 0, 0), 0);
    ASSERT_EQ(empty.ImageList.size(), 2u);
    EXPECT_EQ(empty.ImageList[0].size(), QSize(32, 32));
    EXPECT_EQ(empty.ImageList[0].pixel(5, 5), 0u);
}

TEST_F(BlockListTest, CutsPicturesAtPitch33AndDrawsThemClipped) {
    WriteSet(folder, 1, "Pictures", {Names("AAaAAbAAc"), Names("ABa")});
    TBlockList list;
    ASSERT_EQ(list.Count, 4);
    for (int i = 0; i < list.Count; ++i) {
        const QImage& picture = list.ImageList[static_cast<size_t>(i)];
        ASSERT_EQ(picture.size(), QSize(32, 32));
        int set = 0, row = 0, variation = 0;
        list.MapFromIndex(i, set, row, variation);
        EXPECT_EQ(qAlpha(picture.pixel(0, 0)), 0) << i;
        EXPECT_EQ(picture.pixel(1, 0), qRgb(254, 0, 255)) << i;
        for (const QPoint p : {QPoint(2, 0), QPoint(31, 31), QPoint(0, 31)})
            EXPECT_EQ(picture.pixel(p), BlockColor(set, row, variation)) << i;
    }
    QImage target = Backdrop(64, 64);
    TCanvas canvas(&target);
    list.IndexedBlockDraw(canvas, 10, 20, 1);
    list.MappedBlockDraw(canvas, -20, 50, 0, 1, 0); // clipped at the edges
    for (const auto& [x, y, color] : {std::tuple{10, 20, kBackdrop},
                                      {11, 20, qRgb(254, 0, 255)},
                                      {41, 51, BlockColor(0, 0, 1)},
                                      {42, 51, kBackdrop},
                                      {41, 52, kBackdrop},
                                      {9, 20, kBackdrop},
                                      {0, 51, BlockColor(0, 1, 0)},
                                      {11, 63, BlockColor(0, 1, 0)},
                                      {12, 55, kBackdrop}})
        EXPECT_EQ(target.pixel(x, y), color) << x << "," << y;
    const QImage before = target;
    for (const auto& [x, y, index] :
         {std::tuple{0, 0, -1}, {0, 0, 4}, {0, 0, 1999}, {0, 0, 5000}, {64, 0, 0}, {0, -32, 0}})
        list.IndexedBlockDraw(canvas, x, y, index);
    for (const auto& [set, row, variation] : {std::tuple{0, 1, 1}, {-1, 0, 0}, {256, 0, 0}})
        list.MappedBlockDraw(canvas, 0, 0, set, row, variation);
    EXPECT_EQ(target, before);
    TCanvas none;
    list.IndexedBlockDraw(none, 0, 0, 0);
}

TEST_F(BlockListTest, StackedDrawLeavesWhatDrawingEachBlockInTurnLeaves) {
    TBlockList list;
    for (int p = 0; p < 9; ++p) {
        QImage picture(32, 32, QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                picture.setPixel(
                    x, y, (x * 7 + y * 3 + p) % (p + 2) == 0 || y == p ? 0u : qRgb(20 * p, x * 8, y * 8));
        list.ImageList.push_back(picture);
    }
    auto filled = [](int w, int h, QRgb color) {
        QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
        image.fill(color);
        return image;
    };
    QImage faint = filled(32, 32, 0);
    faint.setPixel(5, 5, qRgba(1, 1, 1, 1));
    list.ImageList.insert(list.ImageList.end(),
                          {filled(32, 32, qRgb(1, 2, 3)), faint, filled(20, 10, qRgb(9, 9, 9)), QImage()});
    std::vector<std::vector<int32_t>> stacks;
    for (const QString& stack : QString("0|0 1 2 3 4 5 6 7|7 6 5 4 3 2 1 0|3 9 4|9 0 1|5 10|2 -1 4 5000 6|1 "
                                        "11 2|12 3|8 8 8 8 8 8 8 8|-1 -1|")
                                    .split('|')) {
        stacks.emplace_back();
        for (const QString& index : stack.split(' ', Qt::SkipEmptyParts))
            stacks.back().push_back(index.toInt());
    }
    const std::vector<QPoint> places = {{0, 0},    {40, 8},  {-10, 3}, {60, -7}, {70, 50},
                                        {-31, 60}, {80, 30}, {0, 64},  {-32, 0}, {101, 81}};
    for (size_t s = 0; s < stacks.size(); ++s)
        for (const QPoint& at : places) {
            QImage expected = Backdrop(102, 82);
            for (int32_t index : stacks[s])
                list.IndexedBlockDraw(expected, at.x(), at.y(), index);
            QImage stacked = Backdrop(102, 82);
            list.StackedBlockDraw(stacked, at.x(), at.y(), stacks[s].data(), int32_t(stacks[s].size()));
            EXPECT_EQ(stacked, expected) << "stack " << s << " at " << at.x() << ", " << at.y();
        }
    QImage empty;
    list.StackedBlockDraw(empty, 0, 0, stacks[3].data(), 3);
    EXPECT_TRUE(empty.isNull());
}

TEST_F(BlockListTest, PicturesWhenAsked) {
    WriteSet(folder, 1, "One", {Names("AAaAAb")});
    WriteSet(folder, 2, "Two", {Names("BBaBBb")});
    folder.write("System/sd03.csd", SetFileBytes("No sheet", {Names("CCa")}));
    const TBlockList atOnce;
    TBlockList asked(TBlockList::TPictureLoading::WhenAsked);
    EXPECT_EQ(asked.Count, 4);
    EXPECT_EQ(asked.LoadError, atOnce.LoadError);
    EXPECT_TRUE(asked.LoadError.contains("sd03.csb")) << asked.LoadError.toStdString();
    EXPECT_TRUE(asked.ImageList[2].isNull());
    EXPECT_TRUE(asked.LoadPictures(1));
    EXPECT_TRUE(asked.ImageList[0].isNull());
    EXPECT_EQ(asked.ImageList[3], atOnce.ImageList[3]);
    EXPECT_TRUE(asked.LoadPictures(0));
    EXPECT_EQ(asked.ImageList, atOnce.ImageList);
    TBlockList gone(TBlockList::TPictureLoading::WhenAsked);
    QFile::remove(folder.file("System/sd02.csb"));
    EXPECT_FALSE(gone.LoadPictures(1));
    EXPECT_TRUE(gone.LoadError.contains("sd02.csb")) << gone.LoadError.toStdString();
    EXPECT_TRUE(gone.ImageList[2].isNull());
}

TEST_F(BlockListTest, StretchBlockDrawsAnOutlinedSquare) {
    TBlockList list;
    QImage target = Backdrop(20, 20);
    TCanvas canvas(&target);
    for (const auto& [x, y, size] : {std::tuple{2, 3, 3}, {0, 0, 0}, {0, 0, -4}, {17, 17, 100}})
        list.StretchBlockDraw(canvas, x, y, size);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inside = x >= 2 && x < 5 && y >= 3 && y < 6, far = x >= 17 && y >= 17;
            const bool edge =
                (inside && (x == 2 || x == 4 || y == 3 || y == 5)) || (far && (x == 17 || y == 17));
            const QRgb expected = edge ? qRgb(255, 0, 0) : inside || far ? qRgb(0, 0, 255) : kBackdrop;
            ASSERT_EQ(target.pixel(x, y), expected) << x << "," << y;
        }
}

class BackgroundTest : public BlockListTest {
protected:
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

    TBackground background;
};

TEST_F(BackgroundTest, CatalogueLayoutsFileNamesAndRounding) {
    QStringList rows;
    for (int row = -1; row <= kBackgroundCatalogueSize; ++row)
        rows << BackgroundCatalogueItem(row);
    EXPECT_EQ(rows.join('|'), "|(color)\t000\t00|Alien landscape I\tAL1\t10|Alien landscape II\tAL2\t10|"
                              "Cubestacks Logo\tCS1\t11|Desert Sand\tDS1\t11|Rainbow, dark\tRB2\t10|"
                              "Rainbow, pale\tRB3\t10|Rainbow, vivid\tRB1\t10|Seascape\tSS1\t10|"
                              "Sky, bright day\tBS1\t11|Sky, cloudy\tBS2\t11|Sky, evening stars\tSP2\t10|"
                              "Space, deep\tSP1\t11|Wall, bricks\tWL1\t11|Wall, embossed\tWL3\t11|"
                              "Wall, stone \tWL2\t11|");
    std::vector<int> kinds;
    for (const char* layout : {"0", "00", "01", "1", "10", "11", "2", "100", "", "1x", "-1"})
        kinds.push_back(KindFromLayout(layout));
    EXPECT_EQ(kinds, (std::vector<int>{bkStretch, bkStretch, bkTileDown, bkTileDown, bkTileAcross, bkTile, -1,
                                       -1, -1, -1, -1}));
    EXPECT_EQ(BackgroundFileName("AL1"), folder.path() + "System/bdAL1.csb");
    const QString cases = "1*1/2=1 3*1/2=2 -1*1/2=-1 -3*1/2=-2 3*1/-2=-2 -3*-1/2=2 128*-128/255=-64 1*1/3=0 "
                          "2*1/3=1 5*7/0=-1 2000000000*1000000000/1000000000=2000000000 "
                          "2000000000*2000000000/1000000000=-1 -2147483648*1/1=-2147483648";
    for (const QString& c : cases.split(' ')) {
        const QStringList n = c.split(QRegularExpression("[*/=]"));
        EXPECT_EQ(MulDiv(n[0].toInt(), n[1].toInt(), n[2].toInt()), n[3].toInt()) << c.toStdString();
    }
}

TEST_F(BackgroundTest, ColoursAndGradients) {
    background.Color = RGBColor(255, 128, 0);
    Render(bkGradient, "", 40, 256);
    for (int y = 0; y < 256; ++y)
        ASSERT_EQ(background.Bitmap.pixel(39, y), qRgb(255 - y, 128 - (128 * y + 127) / 255, 0)) << y;
    background.Color = RGBColor(255, 255, 0);
    Render(bkGradient, "", 40, 100, QSize(640, 480));
    for (int y = 0; y < 100; ++y) {
        int band = -1;
        for (int i = 0; i < 256; ++i)
            if (std::lround(std::floor(i * 100.0 / 256.0 + 0.5)) <= y)
                band = i;
        ASSERT_EQ(background.Bitmap.pixel(20, y), qRgb(255 - band, 255 - band, 0)) << y;
    }
    const QRgb window = QGuiApplication::palette().color(QPalette::Base).rgb();
    background.Color = kSystemColorFlag | 5;
    Render(bkColor, "", 10, 256);
    EXPECT_EQ(background.Bitmap.pixel(9, 255), window);
    background.SetKind(bkGradient);
    EXPECT_EQ(background.Bitmap.pixel(7, 0), window);

    background.Color = RGBColor(1, 2, 3);
    Render(bkColor, "", 40, 40);
    background.Color = RGBColor(90, 90, 90);
    for (int kind : {6, 255})
        EXPECT_EQ((background.SetKind(uint8_t(kind)), background.Kind), kind);
    background.SetWidth(50);
    EXPECT_EQ(background.Bitmap.pixel(39, 39), qRgb(1, 2, 3));
    EXPECT_EQ(background.Bitmap.pixel(45, 5), qRgb(0, 0, 0));
    Render(bkGradient, "", -5, 0); // nothing to draw into, and nothing breaks
    EXPECT_EQ(background.Bitmap.width(), 0);
}

TEST_F(BackgroundTest, PicturesStretchedTiledMissingOrUnreadable) {
    WritePicture("BIG", 250, 200);
    Render(bkStretch, "BIG", 100, 100);
    EXPECT_EQ(background.Image.size(), QSize(250, 200));
    EXPECT_EQ(QString("%1 %2 %3").arg(Red(0, 0)).arg(Red(99, 0)).arg(Green(0, 99)), "1 248 199");
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
    WritePicture("T02", 3, 2);
    Render(bkTile, "T02", 160, 120);
    EXPECT_EQ(background.Bitmap.pixel(159, 119), qRgb(1, 1, 7));
    Render(bkTile, "T02", 160, 120, QSize(0, 0));
    EXPECT_EQ(Red(2, 0) * 10 + Green(0, 3), 21);

    background.Color = RGBColor(200, 100, 50);
    Render(bkTile, "NO1", 64, 64);
    EXPECT_EQ(background.Bitmap.pixel(10, 10), qRgb(0, 0, 0));
    WritePicture("", 4, 4);
    Render(bkStretch, "", 64, 64);
    EXPECT_EQ(background.Bitmap.pixel(63, 63), qRgb(3, 3, 7));
    WritePicture("x/y", 4, 4);
    Render(bkStretch, "x/y", 64, 64);
    EXPECT_EQ(background.Bitmap.pixel(63, 63), qRgb(0, 0, 0));
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
