#include "common/program_folder.h"
#include "imaging/bitmap_file.h"
#include "library/block_list.h"
#include "model_fixture.h"

#include <QFile>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

using ModelGridTest = ModelTest;

TEST_F(ModelGridTest, GridFromTheWindowStacksAndClear) {
    // A partial row counts, a partial column does not; never more than 32 x 24.
    for (const auto& [window, grid] : {std::pair{QSize(1000, 760), QSize(31, 24)},
                                       {QSize(1600, 1200), QSize(32, 24)},
                                       {QSize(800, 600), QSize(25, 19)}}) {
        TModel model(Context(window));
        EXPECT_EQ(QSize(model.Cols, model.Rows), grid);
        EXPECT_EQ(model.BackgroundBitmap().size(), window.boundedTo(QSize(1024, 768)));
    }
    context.Defaults = {.AuthorName = "Ann", .AuthorCountry = "NZ", .AuthorAge = 41, .OwnerName = "Owner"};
    TModel model(context);
    EXPECT_EQ(model.Author.OwnerName, "Owner");
    EXPECT_EQ(model.Author.AuthorName, "");
    EXPECT_EQ(std::count(model.Cells.begin(), model.Cells.end(), -1), 6400);
    model.Clear(true);
    EXPECT_EQ(model.Author.AuthorName + model.Author.Country + std::to_string(model.Author.Age), "AnnNZ41");

    // Level by level, row by row; a gap ends the stack; a full stack's top level is also its free level.
    Stack(model, 3, 3, {"30H", "44H", "42V"});
    EXPECT_EQ(model.Cells[2 * 32 * 24 + 3 * 32 + 3], Index("42V"));
    EXPECT_EQ(model.GetTopBlock(3, 3), Index("42V"));
    model.SetBlockIndex(5, 5, Index("30H"), 0);
    model.SetBlockIndex(5, 5, Index("44H"), 2);
    EXPECT_EQ(model.TopLevel(5, 5) * 10 + model.FreeLevel(5, 5), 1);
    Stack(model, 0, 0, {"30H", "30V", "44H", "44V", "42V", "42H", "10N", "10E"});
    EXPECT_EQ(model.TopLevel(0, 0) * 10 + model.FreeLevel(0, 0), 77);
    // Coordinates beyond the grid are not written and read as empty.
    const auto before = model.Cells;
    for (const auto& [x, y, level] : {std::tuple{32, 0, 0}, {0, 24, 0}, {0, 0, 8}, {-1, 0, 0}, {0, 0, -1}}) {
        model.SetBlockIndex(x, y, 7, level);
        EXPECT_EQ(model.GetBlockIndex(x, y, level), -1);
    }
    EXPECT_EQ(model.Cells, before);

    // Unknown tools, or nothing selected (or no library), write nothing but mark the model.
    Surface surface(QSize(1024, 768));
    Select("30H");
    EXPECT_TRUE(model.ApplyTool(surface.canvas, tlPlace, 4, 2));
    EXPECT_EQ(surface.at(4 * 32 + 10, 2 * 32 + 10), ColorOf("30H")); // drawn at once
    const auto placed = model.Cells;
    model.Modified = false;
    EXPECT_FALSE(model.ApplyTool(surface.canvas, 5, 4, 2) || model.ApplyTool(surface.canvas, -1, 4, 2));
    EXPECT_FALSE(model.CanApplyTool(5, 4, 2));
    library->SelectIndex(-1);
    EXPECT_FALSE(model.CanApplyTool(tlPlace, 2, 2));
    EXPECT_FALSE(model.ApplyTool(surface.canvas, tlPlace, 0, 0));
    model.SetContext(TModelContext());
    EXPECT_FALSE(model.ApplyTool(surface.canvas, tlPlace, 2, 2));
    EXPECT_TRUE(model.Modified);
    EXPECT_EQ(model.Cells, placed);

    // Clear empties everything a model holds.
    model.SetContext(context);
    model.TextOverlay.Text = "hello";
    model.Modified = model.Truncated = true;
    model.Background.Color = RGBColor(255, 0, 0);
    model.SetBackgroundKind(bkGradient);
    model.Clear(false);
    EXPECT_TRUE(SameData(TModel(context).Data(), model.Data()));
    EXPECT_EQ(model.BackgroundBitmap().pixel(0, 0), qRgb(0, 0, 0));
}

TEST_F(ModelGridTest, TheBackgroundIsRenderedWhenItsSettingsChange) {
    TModel model(context);
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(qRgb(10, 200, 30));
    folder->write("System/bdTST.csb", EncodeBitmap24(picture));
    TModelData tiled = model.Data();
    tiled.Background = {"TST", clBlack, bkTile};
    model.SetData(tiled);
    EXPECT_EQ(model.BackgroundBitmap().pixel(500, 400), qRgb(10, 200, 30));
    ASSERT_TRUE(QFile::remove(folder->file("System/bdTST.csb")));
    tiled.TextOverlay.Text = "only the text";
    model.SetData(tiled);
    EXPECT_EQ(model.BackgroundBitmap().pixel(500, 400), qRgb(10, 200, 30));
    tiled.Background.Kind = bkStretch; // the picture is gone: black
    model.SetData(tiled);
    EXPECT_EQ(model.BackgroundBitmap().pixel(500, 400), qRgb(0, 0, 0));

    // A copy renders its background at its own size: the attributes dialog's 160 x 120.
    TModel target(context);
    target.SetBackgroundSize(160, 120);
    model.Background.Color = RGBColor(255, 0, 0);
    model.SetBackgroundKind(bkGradient);
    target.Assign(model);
    ASSERT_EQ(target.BackgroundBitmap().size(), QSize(160, 120));
    EXPECT_EQ(target.BackgroundBitmap().pixel(5, 0), qRgb(254, 0, 0));
    EXPECT_EQ(target.BackgroundBitmap().pixel(5, 119), qRgb(1, 0, 0));
    EXPECT_EQ(model.BackgroundBitmap().size(), QSize(1024, 768));
}

TEST_F(ModelGridTest, ModelsOfTwoLibrariesAndWindowsLiveSideBySide) {
    // A second library from a folder of its own, in which 30H comes second,
    // with its own background pictures and its own presenter for messages.
    TempProgramFolder other;
    WriteBlockSets(other, {{{"44H", "30H"}}}, kModelTestPictures);
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(qRgb(10, 200, 30));
    other.write("System/bdTST.csb", EncodeBitmap24(picture));
    TBlockList second(TBlockList::TPictureLoading::AtOnce, other.file("System"));
    RecordingPresenter ownMessages;
    TModelContext small = Context(QSize(640, 480));
    small.Library = &second;
    small.Defaults.GridVisible = true;
    small.PictureFolder = other.file("System");
    small.Messages = &ownMessages;

    TModel big(context), little(small);
    Stack(big, 2, 1, {"30H"});
    const QString file = folder->file("Models/two.cst");
    big.SaveToFile(file);
    ASSERT_TRUE(little.LoadFromFile(file));
    EXPECT_EQ(little.GetBlockIndex(2, 1, 0), 1); // that library's own 30H
    // Each draws with its own library, size and grid flag, and places the block chosen in its library.
    Surface a(big.ImageSize()), b(little.ImageSize());
    big.Draw(a.canvas);
    little.Draw(b.canvas);
    big.DrawCell(a.canvas, 2, 1);
    EXPECT_EQ(b.bitmap.size(), QSize(640, 480));
    EXPECT_EQ(a.at(64 + 5, 32 + 5), ColorOf("30H"));
    EXPECT_EQ(b.at(64 + 5, 32 + 5), BlockSetColor(1));
    EXPECT_EQ(b.at(31, 100), qRgb(0, 128, 0));
    EXPECT_EQ(a.at(31, 100), qRgb(0, 0, 0));
    second.SelectIndex(second.IndexFromName("44H"));
    Select("44V");
    EXPECT_TRUE(little.ApplyTool(b.canvas, tlPlace, 3, 3) && big.ApplyTool(a.canvas, tlPlace, 3, 3));
    EXPECT_EQ(little.GetBlockName(3, 3, 0) + big.GetBlockName(3, 3, 0), "44H44V");

    // Pictures come from the context's folder; messages go to its presenter.
    for (TModel* model : {&big, &little}) {
        TModelData tiled = model->Data();
        tiled.Background = {"TST", clBlack, bkTile};
        model->SetData(tiled);
    }
    EXPECT_EQ(little.BackgroundBitmap().pixel(300, 200), qRgb(10, 200, 30));
    EXPECT_EQ(big.BackgroundBitmap().pixel(300, 200), qRgb(0, 0, 0));
    EXPECT_FALSE(little.LoadFromFile(WriteModelFile(*folder, "damaged.cst", QByteArray(400, 'x'))));
    ASSERT_EQ(ownMessages.shown.size(), 2u); // the larger grid of big's file, then this one
    EXPECT_TRUE(ownMessages.shown[1].text.contains(QLatin1String("damaged.cst")));
    EXPECT_TRUE(presenter().shown.empty());
}

} // namespace
