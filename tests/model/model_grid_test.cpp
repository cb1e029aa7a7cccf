#include "common/program_folder.h"
#include "imaging/bitmap_file.h"
#include "library/background.h"
#include "library/block_list.h"
#include "model_fixture.h"

#include <QFile>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace {

using Names = std::vector<std::string>;

class ModelGridTest : public ModelTest {
protected:
    Surface surface{QSize(1024, 768)};
};

TEST_F(ModelGridTest, NewModelIsEmptyAndSizedFromTheWindow) {
    context.Defaults.OwnerName = "Owner";
    TModel model(context);
    // The defaults a file carries are checked in the bytes of the empty model's file.
    EXPECT_EQ(model.Version2, 1536);
    EXPECT_FALSE(model.Modified);
    EXPECT_FALSE(model.Truncated);
    EXPECT_EQ(model.Author.OwnerName, "Owner");
    EXPECT_EQ(model.TextOverlay.Font.FontStyle, fsBold);
    EXPECT_EQ(std::count(model.Cells.begin(), model.Cells.end(), -1), 6400);
    EXPECT_EQ(model.BackgroundBitmap().size(), QSize(1024, 768));
    EXPECT_EQ(model.BackgroundBitmap().pixel(500, 400) & 0xFFFFFF, 0u);

    // Odd window sizes: a partial row counts, a partial column does not.
    model.SetContext(Context(QSize(1000, 760)));
    model.Clear(false);
    EXPECT_EQ(model.Cols, 31);
    EXPECT_EQ(model.Rows, 24);
    EXPECT_EQ(model.BackgroundBitmap().size(), QSize(1000, 760));
    model.SetContext(Context(QSize(1600, 1200))); // never more than 1024 x 768
    model.Clear(false);
    EXPECT_EQ(model.Cols, 32);
    EXPECT_EQ(model.Rows, 24);
    model.SetContext(Context(QSize(800, 600)));
    model.Clear(false);
    EXPECT_EQ(model.Cols, 25);
    EXPECT_EQ(model.Rows, 19);
}

TEST_F(ModelGridTest, ClearTakesAuthorDefaultsOnlyWhenAsked) {
    context.Defaults.AuthorName = "Ann";
    context.Defaults.AuthorCountry = "NZ";
    context.Defaults.AuthorAge = 41;
    TModel model(context);
    EXPECT_EQ(model.Author.AuthorName, "");
    EXPECT_EQ(model.Author.Age, 0);
    model.Clear(true);
    EXPECT_EQ(model.Author.AuthorName, "Ann");
    EXPECT_EQ(model.Author.Country, "NZ");
    EXPECT_EQ(model.Author.Age, 41);

    // Clear empties everything a model holds.
    Stack(model, 1, 1, {"30H"});
    model.TextOverlay.Text = "hello";
    model.TextOverlay.Shadow = 1;
    model.Modified = model.Truncated = true;
    model.Background.Color = RGBColor(255, 0, 0);
    model.SetBackgroundKind(bkGradient);
    model.Clear(false);
    EXPECT_FALSE(model.IsOccupied(1, 1));
    EXPECT_EQ(model.TextOverlay.Text, "");
    EXPECT_EQ(model.TextOverlay.Shadow, 0);
    EXPECT_FALSE(model.Modified);
    EXPECT_FALSE(model.Truncated);
    EXPECT_EQ(model.Author.AuthorName, "");
    EXPECT_EQ(model.Background.Kind, bkColor);
    EXPECT_EQ(model.BackgroundBitmap().pixel(0, 0) & 0xFFFFFF, 0u);
}

TEST_F(ModelGridTest, StackLevelsAndIndexRange) {
    TModel model(context);
    EXPECT_EQ(model.TopLevel(3, 3), 0);
    EXPECT_EQ(model.FreeLevel(3, 3), 0);
    EXPECT_EQ(model.GetTopBlock(3, 3), -1);
    EXPECT_FALSE(model.IsOccupied(3, 3));

    Stack(model, 3, 3, {"30H", "44H", "42V"});
    EXPECT_TRUE(model.IsOccupied(3, 3));
    EXPECT_EQ(model.TopLevel(3, 3), 2);
    EXPECT_EQ(model.FreeLevel(3, 3), 3);
    EXPECT_EQ(model.GetTopBlock(3, 3), Index("42V"));
    EXPECT_EQ(model.GetBlockName(3, 3, 1), "44H");
    // The entry of (x, y, level) lies at level*Cols*Rows + y*Cols + x.
    EXPECT_EQ(model.Cells[2 * 32 * 24 + 3 * 32 + 3], Index("42V"));

    // A full stack: the top level is both the top and the free level.
    Stack(model, 0, 0, {"30H", "30V", "44H", "44V", "42V", "42H", "10N", "10E"});
    EXPECT_EQ(model.TopLevel(0, 0), 7);
    EXPECT_EQ(model.FreeLevel(0, 0), 7);

    // A gap ends the stack: what lies above it does not count.
    model.SetBlockIndex(5, 5, Index("30H"), 0);
    model.SetBlockIndex(5, 5, Index("44H"), 2);
    EXPECT_EQ(model.TopLevel(5, 5), 0);
    EXPECT_EQ(model.FreeLevel(5, 5), 1);

    // Coordinates beyond the grid are not written and read as empty.
    const auto before = model.Cells;
    model.SetBlockIndex(32, 0, 7, 0);
    model.SetBlockIndex(0, 24, 7, 0);
    model.SetBlockIndex(0, 0, 7, 8);
    model.SetBlockIndex(-1, 0, 7, 0);
    model.SetBlockIndex(0, 0, 7, -1);
    EXPECT_EQ(model.Cells, before);
    EXPECT_EQ(model.GetBlockIndex(32, 0, 0), -1);
    EXPECT_EQ(model.GetBlockIndex(0, 0, 8), -1);
    EXPECT_EQ(model.GetBlockIndex(-1, -1, 0), -1);
}

TEST_F(ModelGridTest, PlaceAndErase) {
    TModel model(context);
    Select("30H");
    EXPECT_TRUE(model.ApplyTool(surface.canvas, tlPlace, 4, 2));
    EXPECT_TRUE(model.Modified);
    EXPECT_EQ(model.GetBlockIndex(4, 2, 0), Index("30H"));
    // The cell was drawn at once.
    EXPECT_EQ(surface.at(4 * 32 + 10, 2 * 32 + 10), ColorOf("30H"));

    // The same block again: nothing written, yet the model counts as modified.
    model.Modified = false;
    EXPECT_FALSE(model.CanApplyTool(tlPlace, 4, 2));
    EXPECT_FALSE(model.ApplyTool(surface.canvas, tlPlace, 4, 2));
    EXPECT_TRUE(model.Modified);
    EXPECT_EQ(model.FreeLevel(4, 2), 1);

    Select("44H");
    EXPECT_TRUE(model.CanApplyTool(tlPlace, 4, 2));
    EXPECT_TRUE(model.ApplyTool(surface.canvas, tlPlace, 4, 2));
    EXPECT_EQ(StackNames(model, 4, 2), (Names{"30H", "44H"}));

    // A full stack has its top block replaced.
    Stack(model, 7, 7, {"30H", "30V", "44H", "44V", "42V", "42H", "10N", "10E"});
    Select("45F");
    EXPECT_TRUE(model.ApplyTool(surface.canvas, tlPlace, 7, 7));
    EXPECT_EQ(StackNames(model, 7, 7), (Names{"30H", "30V", "44H", "44V", "42V", "42H", "10N", "45F"}));

    // Erase takes the top block only; an empty cell refuses.
    EXPECT_FALSE(model.CanApplyTool(tlErase, 4, 2));
    EXPECT_TRUE(model.ApplyTool(surface.canvas, tlErase, 4, 2));
    EXPECT_EQ(StackNames(model, 4, 2), (Names{"30H"}));
    EXPECT_EQ(surface.at(4 * 32 + 10, 2 * 32 + 10), ColorOf("30H"));
    EXPECT_TRUE(model.ApplyTool(surface.canvas, tlErase, 4, 2));
    EXPECT_FALSE(model.IsOccupied(4, 2));
    EXPECT_EQ(surface.at(4 * 32 + 10, 2 * 32 + 10), qRgb(0, 0, 0));
    model.Modified = false;
    EXPECT_FALSE(model.ApplyTool(surface.canvas, tlErase, 4, 2));
    EXPECT_TRUE(model.Modified);

    // Unknown tools write nothing but still mark the model.
    model.Modified = false;
    const auto before = model.Cells;
    EXPECT_FALSE(model.ApplyTool(surface.canvas, 5, 7, 7));
    EXPECT_FALSE(model.ApplyTool(surface.canvas, -1, 7, 7));
    EXPECT_FALSE(model.CanApplyTool(5, 7, 7));
    EXPECT_TRUE(model.Modified);
    EXPECT_EQ(model.Cells, before);
}

TEST_F(ModelGridTest, PlaceWithNothingSelectedWritesNothing) {
    TModel model(context);
    Stack(model, 1, 1, {"30H", "30V", "44H", "44V", "42V", "42H", "10N", "10E"});
    library->SelectIndex(-1);
    ASSERT_EQ(library->GetSelectedIndex(), -1);
    EXPECT_FALSE(model.CanApplyTool(tlPlace, 1, 1));
    EXPECT_FALSE(model.CanApplyTool(tlPlace, 2, 2));
    EXPECT_FALSE(model.ApplyTool(surface.canvas, tlPlace, 1, 1));
    EXPECT_FALSE(model.ApplyTool(surface.canvas, tlPlace, 2, 2));
    EXPECT_EQ(model.GetTopBlock(1, 1), Index("10E"));
    EXPECT_FALSE(model.IsOccupied(2, 2));

    // Without any block library nothing is selected either.
    model.SetContext(TModelContext());
    EXPECT_FALSE(model.ApplyTool(surface.canvas, tlPlace, 2, 2));
    EXPECT_FALSE(model.IsOccupied(2, 2));
}

TEST_F(ModelGridTest, RotationTools) {
    TModel model(context);
    auto topAfter = [&](const std::string& name, int tool) {
        Stack(model, 0, 0, {"30H", name});
        model.SetBlockIndex(0, 0, -1, 2);
        const bool can = model.CanApplyTool(tool, 0, 0);
        const bool changed = model.ApplyTool(surface.canvas, tool, 0, 0);
        EXPECT_EQ(can, changed) << name << " tool " << tool;
        EXPECT_EQ(model.GetBlockName(0, 0, 0), "30H"); // only the top block turns
        return std::make_pair(changed, model.GetBlockName(0, 0, 1));
    };
    using R = std::pair<bool, std::string>;

    // The four-way cycle N E S W, and the second cycle J K L M.
    EXPECT_EQ(topAfter("10N", tlRotate), R(true, "10E"));
    EXPECT_EQ(topAfter("10W", tlRotate), R(true, "10N"));
    EXPECT_EQ(topAfter("10N", tlRotateBack), R(true, "10W"));
    EXPECT_EQ(topAfter("10E", tlRotateBack), R(true, "10N"));
    EXPECT_EQ(topAfter("10N", tlTurn), R(true, "10S"));
    EXPECT_EQ(topAfter("10E", tlTurn), R(true, "10W"));
    EXPECT_EQ(topAfter("12J", tlRotate), R(true, "12K"));
    EXPECT_EQ(topAfter("12M", tlRotate), R(true, "12J"));
    EXPECT_EQ(topAfter("12J", tlRotateBack), R(true, "12M"));
    EXPECT_EQ(topAfter("12K", tlTurn), R(true, "12M"));
    EXPECT_EQ(topAfter("12L", tlTurn), R(true, "12J"));
    EXPECT_EQ(topAfter("30H", tlRotate), R(true, "30V"));
    EXPECT_EQ(topAfter("30V", tlRotateBack), R(true, "30H"));

    // Rotating forward skips a missing orientation with one extra step:
    // 11N has no 11E, so it becomes 11S; back, 11N has no 11W and stays.
    EXPECT_EQ(topAfter("11N", tlRotate), R(true, "11S"));
    EXPECT_EQ(topAfter("11S", tlRotate), R(true, "11N"));
    EXPECT_EQ(topAfter("11N", tlRotateBack), R(false, "11N"));
    // 13W rotates to 13N directly; 13E back to 13N; 13N turns to a missing 13S.
    EXPECT_EQ(topAfter("13W", tlRotate), R(true, "13N"));
    EXPECT_EQ(topAfter("13E", tlRotateBack), R(true, "13N"));
    EXPECT_EQ(topAfter("13N", tlTurn), R(false, "13N"));
    // 44H rotates to 44V; 42H too. 2AH has no 2AV: two steps end at 2AH itself.
    EXPECT_EQ(topAfter("44H", tlRotate), R(true, "44V"));
    EXPECT_EQ(topAfter("2AH", tlRotate), R(true, "2AH"));
    EXPECT_EQ(topAfter("2AH", tlRotateBack), R(false, "2AH"));

    // Letters that do not turn: rotation refuses, a half turn writes the block back.
    EXPECT_EQ(topAfter("45F", tlRotate), R(false, "45F"));
    EXPECT_EQ(topAfter("45F", tlRotateBack), R(false, "45F"));
    Stack(model, 0, 0, {"30H", "45F"});
    EXPECT_FALSE(model.CanApplyTool(tlTurn, 0, 0));
    EXPECT_TRUE(model.ApplyTool(surface.canvas, tlTurn, 0, 0));
    EXPECT_EQ(model.GetBlockName(0, 0, 1), "45F");
    Stack(model, 0, 0, {"30H", "44H"});
    EXPECT_FALSE(model.CanApplyTool(tlTurn, 0, 0)); // H and V have no half turn
    EXPECT_TRUE(model.ApplyTool(surface.canvas, tlTurn, 0, 0));
    EXPECT_EQ(model.GetBlockName(0, 0, 1), "44H");
    EXPECT_EQ(surface.at(10, 10), ColorOf("44H"));

    // Nothing turns on an empty cell.
    EXPECT_FALSE(model.CanApplyTool(tlRotate, 9, 9));
    EXPECT_FALSE(model.ApplyTool(surface.canvas, tlRotate, 9, 9));
    EXPECT_FALSE(model.ApplyTool(surface.canvas, tlTurn, 9, 9));
    EXPECT_FALSE(model.IsOccupied(9, 9));
}

TEST_F(ModelGridTest, EdgesAndShift) {
    TModel model(context);
    EXPECT_TRUE(model.EdgeIsFree(drLeft));
    EXPECT_TRUE(model.EdgeIsFree(drRight));
    EXPECT_TRUE(model.EdgeIsFree(drUp));
    EXPECT_TRUE(model.EdgeIsFree(drDown));
    EXPECT_TRUE(model.EdgeIsFree(7));

    // A block in column 0 stops a shift to the left; nothing changes.
    Stack(model, 0, 5, {"30H"});
    Stack(model, 4, 6, {"44H", "42V"});
    model.TextOverlay.TextCol = 3;
    model.Modified = false;
    EXPECT_FALSE(model.EdgeIsFree(drLeft));
    const auto before = model.Cells;
    EXPECT_FALSE(model.Shift(drLeft));
    EXPECT_EQ(model.Cells, before);
    EXPECT_EQ(model.TextOverlay.TextCol, 3);
    EXPECT_FALSE(model.Modified);

    // Right: every block moves one column, the text too.
    EXPECT_TRUE(model.Shift(drRight));
    EXPECT_TRUE(model.Modified);
    EXPECT_FALSE(model.IsOccupied(0, 5));
    EXPECT_EQ(StackNames(model, 1, 5), (Names{"30H"}));
    EXPECT_EQ(StackNames(model, 5, 6), (Names{"44H", "42V"}));
    EXPECT_FALSE(model.IsOccupied(4, 6));
    EXPECT_EQ(model.TextOverlay.TextCol, 4);

    // Left again: back, and the text one column left.
    EXPECT_TRUE(model.Shift(drLeft));
    EXPECT_EQ(model.Cells, before);
    EXPECT_EQ(model.TextOverlay.TextCol, 3);

    // Down and up move rows; blocks on upper levels move with their stack.
    EXPECT_TRUE(model.Shift(drDown));
    EXPECT_EQ(StackNames(model, 4, 7), (Names{"44H", "42V"}));
    EXPECT_EQ(model.TextOverlay.TextRow, 1);
    EXPECT_TRUE(model.Shift(drUp));
    EXPECT_TRUE(model.Shift(drUp));
    EXPECT_EQ(StackNames(model, 0, 4), (Names{"30H"}));
    EXPECT_EQ(model.TextOverlay.TextRow, 0); // not below 0

    // A block in the last column stops a shift to the right; the bottom row a shift down.
    Stack(model, 31, 0, {"45F"});
    EXPECT_FALSE(model.EdgeIsFree(drRight));
    EXPECT_FALSE(model.Shift(drRight));
    Stack(model, 9, 23, {"45F"});
    EXPECT_FALSE(model.Shift(drDown));
    EXPECT_FALSE(model.EdgeIsFree(drUp));
    EXPECT_FALSE(model.Shift(drUp));

    // The text stays inside the grid.
    TModel other(context);
    other.TextOverlay.TextCol = 31;
    other.TextOverlay.TextRow = 23;
    EXPECT_TRUE(other.Shift(drRight));
    EXPECT_EQ(other.TextOverlay.TextCol, 31);
    EXPECT_TRUE(other.Shift(drDown));
    EXPECT_EQ(other.TextOverlay.TextRow, 23);
    other.TextOverlay.TextCol = 0;
    EXPECT_TRUE(other.Shift(drLeft));
    EXPECT_EQ(other.TextOverlay.TextCol, 0);

    // An unknown direction moves nothing and leaves Modified alone.
    other.Modified = false;
    EXPECT_TRUE(other.Shift(9));
    EXPECT_FALSE(other.Modified);
}

TEST_F(ModelGridTest, AssignCopiesTheModelAndRendersAtItsOwnSize) {
    TModel source(context);
    source.Description.DescriptionText = "A house";
    source.Description.DescriptionCode = 5;
    source.Author.AuthorName = "Ann";
    source.Author.Age = 30;
    source.TextOverlay.Text = "Hi";
    source.TextOverlay.TextCol = 2;
    source.TextOverlay.Font.FontName = "Serif";
    source.TextOverlay.Font.FontColor = RGBColor(1, 2, 3);
    source.Version = 1234;
    source.Truncated = true;
    Stack(source, 3, 4, {"30H", "44H"});
    source.Background.Color = RGBColor(255, 0, 0);
    source.SetBackgroundKind(bkGradient);

    // The attributes dialog's working model has a small background of its own.
    TModel target(context);
    target.SetBackgroundSize(160, 120);
    target.SetBackgroundKind(bkColor);
    target.Assign(source);
    TModelData expected = source.Data();
    expected.Version = 1536; // not copied
    expected.Modified = true;
    EXPECT_TRUE(SameData(expected, target.Data()));
    // Rendered again as a gradient over the target's own 120 rows.
    ASSERT_EQ(target.BackgroundBitmap().size(), QSize(160, 120));
    EXPECT_GE(qRed(target.BackgroundBitmap().pixel(5, 0)), 250);
    EXPECT_EQ(target.BackgroundBitmap().pixel(5, 0) & 0xFFFF, 0u);
    EXPECT_LT(qRed(target.BackgroundBitmap().pixel(5, 119)), 5);
    EXPECT_GT(qRed(target.BackgroundBitmap().pixel(5, 60)), 100);
    EXPECT_LT(qRed(target.BackgroundBitmap().pixel(5, 60)), 155);
    // The source keeps its own size.
    EXPECT_EQ(source.BackgroundBitmap().size(), QSize(1024, 768));
}

TEST_F(ModelGridTest, TheValueComparesAndTakesEveryPart) {
    // Each change touches one part of the value; each must make it unequal,
    // and SetData and Assign must carry it (Assign all but the versions).
    const std::vector<std::function<void(TModelData&)>> changes = {
        [](TModelData& d) { d.Version = 1; },
        [](TModelData& d) { d.Version2 = 1; },
        [](TModelData& d) { d.Description.DescriptionFlag = false; },
        [](TModelData& d) { d.Description.DescriptionCode = 7; },
        [](TModelData& d) { d.Description.DescriptionText += "d"; },
        [](TModelData& d) { d.Author.AuthorName += "a"; },
        [](TModelData& d) { d.Author.Age = 9; },
        [](TModelData& d) { d.Author.Country += "NZ"; },
        [](TModelData& d) { d.Author.OwnerName += "o"; },
        [](TModelData& d) { d.TextOverlay.Text += "t"; },
        [](TModelData& d) { d.TextOverlay.TextCol = 3; },
        [](TModelData& d) { d.TextOverlay.TextRow = 4; },
        [](TModelData& d) { d.TextOverlay.Shadow = 2; },
        [](TModelData& d) { d.TextOverlay.Font.FontName += "Serif"; },
        [](TModelData& d) { d.TextOverlay.Font.FontColor = 5; },
        [](TModelData& d) { d.TextOverlay.Font.FontHeight = 20; },
        [](TModelData& d) { d.TextOverlay.Font.FontStyle = fsItalic; },
        [](TModelData& d) { d.Background.Code += "AL1"; },
        [](TModelData& d) { d.Background.Color = RGBColor(0, 0, 255); },
        [](TModelData& d) { d.Background.Kind = bkGradient; },
        [](TModelData& d) { d.Modified = true; },
        [](TModelData& d) { d.Truncated = true; },
        [](TModelData& d) { d.Cols = 7; },
        [](TModelData& d) { d.Rows = 7; },
        [](TModelData& d) { d.Levels = 2; },
        [](TModelData& d) { d.Cells.back() = 3; },
    };
    TModel model(context);
    const TModelData base = model.Data();
    for (size_t i = 0; i < changes.size(); ++i) {
        TModelData changed = base;
        changes[i](changed);
        EXPECT_FALSE(changed == base) << "change " << i;
        model.SetData(changed);
        EXPECT_TRUE(SameData(changed, model.Data())) << "change " << i;
        TModel copy(context);
        copy.Assign(model);
        TModelData expected = changed;
        expected.Version = expected.Version2 = kModelVersion;
        expected.Modified = true;
        EXPECT_TRUE(SameData(expected, copy.Data())) << "change " << i;
        model.SetData(base);
    }

    // The background is rendered again only when its settings change.
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(qRgb(10, 200, 30));
    folder->write("System/bdTST.csb", EncodeBitmap24(picture));
    TModelData tiled = base;
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

    TModel big(context);
    TModel little(small);
    Stack(big, 2, 1, {"30H"});
    const QString file = folder->file("Models/two.cst");
    big.SaveToFile(file);
    ASSERT_TRUE(little.LoadFromFile(file));
    EXPECT_EQ(little.Cols, 20);
    EXPECT_EQ(little.Rows, 15);
    EXPECT_EQ(little.GetBlockIndex(2, 1, 0), 1); // that library's own 30H

    // Each draws with its own library, size and grid flag, in turn.
    Surface a(big.ImageSize());
    Surface b(little.ImageSize());
    big.Draw(a.canvas);
    little.Draw(b.canvas);
    big.DrawCell(a.canvas, 2, 1);
    EXPECT_EQ(b.bitmap.size(), QSize(640, 480));
    EXPECT_EQ(a.at(64 + 5, 32 + 5), ColorOf("30H"));
    EXPECT_EQ(b.at(64 + 5, 32 + 5), BlockSetColor(1));
    EXPECT_EQ(b.at(31, 100), qRgb(0, 128, 0));
    EXPECT_EQ(a.at(31, 100), qRgb(0, 0, 0));

    // Each places the block chosen in its own library.
    second.SelectIndex(second.IndexFromName("44H"));
    Select("44V");
    EXPECT_TRUE(little.ApplyTool(b.canvas, tlPlace, 3, 3));
    EXPECT_TRUE(big.ApplyTool(a.canvas, tlPlace, 3, 3));
    EXPECT_EQ(little.GetBlockName(3, 3, 0), "44H");
    EXPECT_EQ(big.GetBlockName(3, 3, 0), "44V");

    // Pictures come from the context's folder; messages go to its presenter.
    little.SetBackgroundKind(bkTile);
    big.SetBackgroundKind(bkTile);
    TModelData tiled = little.Data();
    tiled.Background.Code = "TST";
    little.SetData(tiled);
    tiled = big.Data();
    tiled.Background.Code = "TST";
    big.SetData(tiled);
    EXPECT_EQ(little.BackgroundBitmap().pixel(300, 200), qRgb(10, 200, 30));
    EXPECT_EQ(big.BackgroundBitmap().pixel(300, 200), qRgb(0, 0, 0));
    const QString damaged = WriteModelFile(*folder, "damaged.cst", QByteArray(400, 'x'));
    EXPECT_FALSE(little.LoadFromFile(damaged));
    ASSERT_EQ(ownMessages.shown.size(), 2u); // the larger grid of big's file, then this one
    EXPECT_TRUE(ownMessages.shown[1].text.contains(QLatin1String("damaged.cst")));
    EXPECT_TRUE(presenter().shown.empty());
}

} // namespace
