#include "common/program_folder.h"
#include "imaging/bitmap.h"
#include "imaging/bitmap_file.h"
#include "library/block_list.h"
#include "support/test_sets.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

constexpr QRgb kBackdrop = 0xFF102030u;

class BlockDrawingTest : public CubestacksTest {
protected:
    void SetUp() override { SetProgramFolder(folder.path()); }
    static QImage Backdrop(int width, int height) {
        QImage image = NewBitmap(width, height);
        image.fill(kBackdrop);
        return image;
    }
    TempProgramFolder folder;
};

TEST_F(BlockDrawingTest, CutsPicturesAtPitch33AndDrawsThemClipped) {
    WriteSet(folder, 1, "Pictures", {Names("AAaAAbAAc"), Names("ABa")});
    TBlockList list;
    ASSERT_EQ(list.Count, 4);
    for (int i = 0; i < list.Count; ++i) {
        const QImage& picture = list.ImageList[static_cast<size_t>(i)];
        ASSERT_EQ(picture.size(), QSize(32, 32));
        int set = 0, row = 0, variation = 0;
        list.MapFromIndex(i, set, row, variation);
        // Exact magenta is see-through, (254, 0, 255) is not; the grid lines are never read.
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
    // No picture, no map, or wholly outside: nothing drawn.
    const QImage before = target;
    for (int index : {-1, 4, 1999, 5000})
        list.IndexedBlockDraw(canvas, 0, 0, index);
    list.MappedBlockDraw(canvas, 0, 0, 0, 1, 1);
    list.MappedBlockDraw(canvas, 0, 0, -1, 0, 0);
    list.MappedBlockDraw(canvas, 0, 0, 256, 0, 0);
    list.IndexedBlockDraw(canvas, 64, 0, 0);
    list.IndexedBlockDraw(canvas, 0, -32, 0);
    EXPECT_EQ(target, before);
    TCanvas none;
    list.IndexedBlockDraw(none, 0, 0, 0);
}

TEST_F(BlockDrawingTest, StackedDrawLeavesWhatDrawingEachBlockInTurnLeaves) {
    TBlockList list;
    // Picture p is see-through where (x * 7 + y * 3 + p) % (p + 2) == 0 and on
    // its row p, so that each level shows through the ones above it somewhere.
    for (int p = 0; p < 9; ++p) {
        QImage picture(32, 32, QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                picture.setPixel(
                    x, y, (x * 7 + y * 3 + p) % (p + 2) == 0 || y == p ? 0u : qRgb(20 * p, x * 8, y * 8));
        list.ImageList.push_back(picture);
    }
    // 9 wholly opaque; 10 with an alpha neither 0 nor 255 (opaque); 11 smaller than a block; 12 empty.
    QImage opaque(32, 32, QImage::Format_ARGB32_Premultiplied);
    opaque.fill(qRgb(1, 2, 3));
    QImage faint(32, 32, QImage::Format_ARGB32_Premultiplied);
    faint.fill(0);
    faint.setPixel(5, 5, qRgba(1, 1, 1, 1));
    QImage small(20, 10, QImage::Format_ARGB32_Premultiplied);
    small.fill(qRgb(9, 9, 9));
    list.ImageList.insert(list.ImageList.end(), {opaque, faint, small, QImage()});

    const std::vector<std::vector<int32_t>> stacks = {{0},
                                                      {0, 1, 2, 3, 4, 5, 6, 7},
                                                      {7, 6, 5, 4, 3, 2, 1, 0},
                                                      {3, 9, 4},
                                                      {9, 0, 1},
                                                      {5, 10},
                                                      {2, -1, 4, 5000, 6},
                                                      {1, 11, 2},
                                                      {12, 3},
                                                      {8, 8, 8, 8, 8, 8, 8, 8},
                                                      {-1, -1},
                                                      {}};
    // Inside, on every edge and corner, and wholly outside the target.
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

// Pictures cut only when LoadPictures asks are the pictures cut at once; a
// sheet that is gone is told when asked.
TEST_F(BlockDrawingTest, PicturesWhenAsked) {
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

TEST_F(BlockDrawingTest, StretchBlockDrawsAnOutlinedSquare) {
    TBlockList list;
    QImage target = Backdrop(20, 20);
    TCanvas canvas(&target);
    list.StretchBlockDraw(canvas, 2, 3, 5);
    list.StretchBlockDraw(canvas, 0, 0, 0);
    list.StretchBlockDraw(canvas, 0, 0, -4);
    list.StretchBlockDraw(canvas, 17, 17, 100); // clipped
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inside = x >= 2 && x < 7 && y >= 3 && y < 8, far = x >= 17 && y >= 17;
            const bool edge =
                (inside && (x == 2 || x == 6 || y == 3 || y == 7)) || (far && (x == 17 || y == 17));
            ASSERT_EQ(target.pixel(x, y), edge            ? qRgb(255, 0, 0)
                                          : inside || far ? qRgb(0, 0, 255)
                                                          : kBackdrop)
                << x << "," << y;
        }
}

} // namespace
