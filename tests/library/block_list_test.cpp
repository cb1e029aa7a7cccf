#include "common/io_error.h"
#include "common/program_folder.h"
#include "imaging/bitmap_file.h"
#include "library/background.h"
#include "library/block_list.h"
#include "support/test_sets.h"

#include <QDirIterator>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <functional>

namespace {

constexpr QRgb kBackdrop = 0xFF102030u;
constexpr auto kPremultiplied = QImage::Format_ARGB32_Premultiplied;

class BlockListTest : public CubestacksTest {
protected:
    void SetUp() override { SetProgramFolder(folder.path()); }
    void WriteSets(int sets, int rows, int names, const std::function<std::string(int, int, int)>& name) {
        for (int set = 1; set <= sets; ++set) {
            std::vector<SetRow> written(size_t(rows), SetRow{names, ""});
            for (int row = 0; row < rows; ++row)
                for (int k = 0; k < names; ++k)
                    written[size_t(row)].names += name(set, row, k);
            WriteSet(folder, set, "Sets", written);
        }
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
                bool clear = false;
                for (int p = 0; p < 32 * 32; ++p)
                    clear = clear || qAlpha(picture.pixel(p % 32, p / 32)) == 0;
                const bool black = picture == Filled(32, 32, qRgb(0, 0, 0), picture.format());
                text += " " + QString::fromStdString(list.NameFromIndex(i)) +
                        (black   ? "*"
                         : clear ? "~"
                                 : "");
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
    WriteSets(5, 6, 4,
              [&](int set, int row, int k) { return pool[size_t(set * 7 + row * 3 + k * 5) % pool.size()]; });
    TBlockList list;
    ASSERT_EQ(list.Count, 120);
    std::vector<std::string> probes = pool;
    probes.insert(probes.end(), {"aaa", "AA", "AAaa", "GGg", ""});
    for (const std::string& name : probes) {
        const auto end = list.Blocks.begin() + list.Count;
        const auto found = std::find_if(list.Blocks.begin(), end, [&](auto& b) { return b.Name == name; });
        const int expected = found == end ? -1 : int(found - list.Blocks.begin());
        EXPECT_EQ(std::pair(list.IndexFromName(name), list.IsValidName(name)),
                  std::pair(expected, expected >= 0))
            << name;
    }
    auto at = [&](int s, int r, int v) { return list.IndexFromMap(uint8_t(s), uint8_t(r), uint8_t(v)); };
    for (int i = 0; i < list.Count; ++i) {
        int set = 0, row = 0, variation = 0;
        list.MapFromIndex(i, set, row, variation);
        EXPECT_EQ(std::pair(at(set, row, variation),
                            list.NameFromMap(uint8_t(set), uint8_t(row), uint8_t(variation))),
                  std::pair(i, list.NameFromIndex(i)));
    }
    EXPECT_EQ(std::to_string(at(0, 6, 0) + at(255, 0, 0)) + list.NameFromMap(0, 0, 4) +
                  list.NameFromMap(200, 200, 200) + list.NameFromIndex(120) + list.NameFromIndex(-1),
              "-2100100");

    list.SelectIndex(list.IndexFromName("ddA"));
    const int set = list.Selection.CurrentSet, row = list.Selection.SelectedRow[set];
    EXPECT_EQ(at(set, row, list.Selection.SelectedVariation[set][row]), list.IndexFromName("ddA"));
    for (const int32_t index :
         {at(set, row, 3), at(set, row + 1, 2), at(4, 0, 1), 500}) // 500: past the blocks
        list.SelectIndex(index);
    EXPECT_EQ(list.GetSelectedIndex(), at(4, 0, 1));
    list.Selection.CurrentSet = set;
    EXPECT_EQ(list.GetSelectedIndex(), at(set, row + 1, 2));
    list.Selection.SelectedRow[set] = row;
    EXPECT_EQ(list.GetSelectedIndex(), at(set, row, 3));
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
    WriteSets(9, 20, 13, [](int set, int row, int k) {
        return std::string{char('0' + set), char('A' + row), char('a' + k)};
    });
    TBlockList list;
    EXPECT_TRUE(list.LoadError.isEmpty()) << list.LoadError.toStdString();
    EXPECT_EQ(std::tuple(list.Count, list.ImageList.size(), list.SetCount, list.RowCount[7],
                         list.LastVariation[7][13]),
              std::tuple(kMaxBlocks, size_t(kMaxBlocks), 8, 14, 10));
    list.Append(0, 0, 0, "New");
    EXPECT_EQ((std::vector{list.IndexFromName("8Nk"), list.IndexFromName("8Nl"), list.IndexFromName("9Aa"),
                           list.IndexFromName("New")}),
              (std::vector{kMaxBlocks - 1, -1, -1, -1}));

    SetProgramFolder(TempProgramFolder().path());
    TBlockList empty;
    for (const auto& [s, r, v] : {std::tuple{10, 0, 0}, {0, 20, 0}, {0, 0, 13}})
        empty.Append(uint8_t(s), uint8_t(r), uint8_t(v), "Bad");
    EXPECT_EQ(std::pair(empty.GetSelectedIndex(), empty.Count), std::pair(-1, 0));
    empty.Append(0, 0, 0, "ABCD");
    empty.Append(0, 0, 0, "Dup");
    EXPECT_EQ(std::tuple(empty.NameFromIndex(0), empty.IndexFromMap(0, 0, 0), empty.ImageList.size()),
              std::tuple("ABC", 0, size_t(2)));
    EXPECT_EQ(empty.ImageList[0], Filled(32, 32, 0, kPremultiplied));
}

TEST_F(BlockListTest, CutsPicturesAtPitch33AndDrawsThemClippedOrStretched) {
    WriteSet(folder, 1, "Pictures", {Names("AAaAAbAAc"), Names("ABa")});
    TBlockList list;
    ASSERT_EQ(list.Count, 4);
    for (int i = 0; i < list.Count; ++i) {
        int set = 0, row = 0, variation = 0;
        list.MapFromIndex(i, set, row, variation);
        QImage expected = Filled(32, 32, BlockColor(set, row, variation), kPremultiplied);
        expected.setPixel(0, 0, 0);
        expected.setPixel(1, 0, qRgb(254, 0, 255));
        EXPECT_EQ(list.ImageList[size_t(i)], expected) << i;
    }
    QImage target = Filled(64, 64, kBackdrop), expected = target;
    TCanvas canvas(&target);
    list.IndexedBlockDraw(canvas, 10, 20, 1);
    list.MappedBlockDraw(canvas, -20, 50, 0, 1, 0); // clipped at the edges
    QPainter painter(&expected);
    painter.drawImage(10, 20, list.ImageList[1]);
    painter.drawImage(-20, 50, list.ImageList[3]);
    painter.end();
    EXPECT_EQ(target, expected);
    const QImage before = target;
    for (const auto& [x, y, index] :
         {std::tuple{0, 0, -1}, {0, 0, 4}, {0, 0, 1999}, {0, 0, 5000}, {64, 0, 0}, {0, -32, 0}})
        list.IndexedBlockDraw(canvas, x, y, index);
    for (const auto& [set, row, variation] : {std::tuple{0, 1, 1}, {-1, 0, 0}, {256, 0, 0}})
        list.MappedBlockDraw(canvas, 0, 0, set, row, variation);
    EXPECT_EQ(target, before);
    TCanvas none;
    list.IndexedBlockDraw(none, 0, 0, 0);

    QImage square = Filled(20, 20, kBackdrop), outlined = square;
    canvas.Bitmap = &square;
    for (const auto& [x, y, size] : {std::tuple{2, 3, 3}, {0, 0, 0}, {0, 0, -4}, {17, 17, 100}})
        list.StretchBlockDraw(canvas, x, y, size);
    painter.begin(&outlined);
    for (const QRect outline : {QRect(2, 3, 3, 3), QRect(17, 17, 4, 4)}) {
        painter.fillRect(outline, qRgb(255, 0, 0));
        painter.fillRect(outline.adjusted(1, 1, -1, -1), qRgb(0, 0, 255));
    }
    painter.end();
    EXPECT_EQ(square, outlined);
}

TEST_F(BlockListTest, StackedDrawLeavesWhatDrawingEachBlockInTurnLeaves) {
    TBlockList list;
    for (int p = 0; p < 9; ++p) {
        QImage picture(32, 32, kPremultiplied);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                picture.setPixel(
                    x, y, (x * 7 + y * 3 + p) % (p + 2) == 0 || y == p ? 0u : qRgb(20 * p, x * 8, y * 8));
        list.ImageList.push_back(picture);
    }
    QImage faint = Filled(32, 32, 0, kPremultiplied);
    faint.setPixel(5, 5, qRgba(1, 1, 1, 1));
    list.ImageList.insert(list.ImageList.end(), {Filled(32, 32, qRgb(1, 2, 3), kPremultiplied), faint,
                                                 Filled(20, 10, qRgb(9, 9, 9), kPremultiplied), QImage()});
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
            QImage expected = Filled(102, 82, kBackdrop), stacked = Filled(102, 82, kBackdrop);
            for (int32_t index : stacks[s])
                list.IndexedBlockDraw(expected, at.x(), at.y(), index);
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
    EXPECT_EQ(std::pair(asked.Count, asked.LoadError), std::pair(4, atOnce.LoadError));
    EXPECT_TRUE(asked.LoadError.contains("sd03.csb") && asked.ImageList[2].isNull())
        << asked.LoadError.toStdString();
    EXPECT_TRUE(asked.LoadPictures(1) && asked.ImageList[0].isNull());
    EXPECT_EQ(asked.ImageList[3], atOnce.ImageList[3]);
    EXPECT_TRUE(asked.LoadPictures(0));
    EXPECT_EQ(asked.ImageList, atOnce.ImageList);
    TBlockList gone(TBlockList::TPictureLoading::WhenAsked);
    QFile::remove(folder.file("System/sd02.csb"));
    EXPECT_FALSE(gone.LoadPictures(1));
    EXPECT_TRUE(gone.LoadError.contains("sd02.csb") && gone.ImageList[2].isNull())
        << gone.LoadError.toStdString();
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
    int rows = 0;
    for (const QStringList& c : DataCases("background")) {
        const QStringList n = c[1].split(' ');
        const QString got = c[0] == "row" ? (++rows, BackgroundCatalogueItem(c[1].toInt()))
                            : c[0] == "layout"
                                ? QString::number(KindFromLayout(c[1]))
                                : QString::number(MulDiv(n[0].toInt(), n[1].toInt(), n[2].toInt()));
        EXPECT_EQ(got, c.mid(2).join('\t')) << c.join(' ').toStdString();
    }
    EXPECT_EQ(rows, kBackgroundCatalogueSize + 2);
    EXPECT_EQ(BackgroundFileName("AL1"), folder.path() + "System/bdAL1.csb");
}

TEST_F(BackgroundTest, ColoursAndGradients) {
    background.Color = RGBColor(255, 128, 0);
    Render(bkGradient, "", 40, 256);
    for (int y = 0; y < 256; ++y)
        ASSERT_EQ(background.Bitmap.pixel(39, y), qRgb(255 - y, 128 - (128 * y + 127) / 255, 0)) << y;
    background.Color = RGBColor(255, 255, 0);
    Render(bkGradient, "", 40, 100, QSize(640, 480));
    for (int y = 0; y < 100; ++y) {
        const int band = ((2 * y + 1) * 128 + 99) / 100 - 1; // the last i with round(i * 100 / 256) <= y
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
    EXPECT_EQ(std::pair(background.Bitmap.pixel(39, 39), background.Bitmap.pixel(45, 5)),
              std::pair(qRgb(1, 2, 3), qRgb(0, 0, 0)));
    Render(bkGradient, "", -5, 0); // nothing to draw into, and nothing breaks
    EXPECT_EQ(background.Bitmap.width(), 0);
}

TEST_F(BackgroundTest, PicturesStretchedTiledMissingOrUnreadable) {
    WritePicture("BIG", 250, 200);
    Render(bkStretch, "BIG", 100, 100);
    EXPECT_EQ(background.Image.size(), QSize(250, 200));
    EXPECT_EQ((std::vector{Red(0, 0), Red(99, 0), Green(0, 99)}), (std::vector{1, 248, 199}));
    WritePicture("T01", 200, 150);
    Render(bkTileAcross, "T01", 1000, 700, QSize(1000, 740));
    EXPECT_EQ((std::vector{Red(0, 0), Red(199, 0), Red(200, 0), Red(457, 0), Red(999, 0), Green(5, 699),
                           Green(5, 350)}),
              (std::vector{0, 199, 0, 57, 199, 149, 75})); // the centre of row 350 is 75.1 picture rows down
    background.SetKind(bkTile);                            // tiles 200 x 141
    EXPECT_EQ((std::vector{Red(250, 10), Green(0, 140), Green(0, 141), Green(0, 699)}),
              (std::vector{50, 149, 0, Green(0, 699 - 4 * 141)}));
    background.SetKind(bkTileDown); // the full width, tiles 141 high
    EXPECT_EQ((std::vector{Red(999, 0), Red(500, 0), Green(0, 141)}), (std::vector{199, 100, 0}));
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
    EXPECT_EQ(std::pair(background.Bitmap, background.Image), std::pair(before, picture));
}

TEST_F(BackgroundTest, DrawsWholeOrOneCell) {
    background.Color = RGBColor(255, 255, 0);
    Render(bkGradient, "", 96, 64);
    QImage target = Filled(100, 70, qRgb(9, 8, 7));
    TCanvas canvas(&target);
    for (const QPoint cell : {QPoint(1, 1), QPoint(3, 0), QPoint(-1, 0), QPoint(0, 2)})
        background.DrawCell(canvas, cell.x(), cell.y());
    QImage expected = Filled(100, 70, qRgb(9, 8, 7));
    QPainter(&expected).drawImage(32, 32, background.Bitmap.copy(32, 32, 32, 32));
    EXPECT_EQ(target, expected);
    QImage small = Filled(40, 40, qRgb(0, 0, 0));
    background.DrawCell(small, 1, 0);
    EXPECT_EQ(std::pair(small.pixel(39, 31), small.pixel(39, 32)),
              std::pair(background.Bitmap.pixel(39, 31), qRgb(0, 0, 0)));
    background.Draw(canvas);
    EXPECT_EQ(std::pair(target.pixel(95, 63), target.pixel(96, 63)),
              std::pair(background.Bitmap.pixel(95, 63), qRgb(9, 8, 7)));
    EXPECT_EQ(target.pixel(0, 0), qRgb(254, 254, 0)); // 64 rows: bands 0 and 1 start on row 0
}

} // namespace
