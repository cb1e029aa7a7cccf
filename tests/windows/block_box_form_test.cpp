// The block box on real widgets: block sets written into a temporary program
// folder, clicks and drags on its picture area, pixels of what it shows.
#include "windows/block_box_form.h"

#include "common/program_folder.h"
#include "imaging/bitmap.h"
#include "widgets/bmp_wnd.h"
#include "widgets/flat_button.h"
#include "library/block_list.h"
#include "windows/focus_target.h"
#include "windows/hint_line.h"
#include "windows/preference_values.h"
#include "windows/settings_store.h"
#include "windows/sounds_and_pointers.h"

#include "support/test_sets.h"
#include "support/test_support.h"
#include "support/windows_test_support.h"

#include <QCursor>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

using Box = TBlockBoxForm;

const QRect kMainWindow(50, 40, 600, 500);
const QPoint kDockPlace(50 + 600 - 112, 40);

// Writes set number (1-based): one row per entry of variations, each name made
// of the block's place, each picture a plain square of BlockColor.
void WriteTestSet(const TempProgramFolder& folder, int number, const std::string& title,
                  const std::vector<int>& variations) {
    std::vector<SetRow> rows;
    for (size_t row = 0; row < variations.size(); ++row) {
        std::string names;
        for (int v = 0; v < variations[row]; ++v)
            names += {static_cast<char>('A' + number - 1), static_cast<char>('a' + row),
                      static_cast<char>('0' + v)};
        rows.push_back(Names(names));
    }
    WriteSet(folder, number, title, rows, {.colorByPlace = true, .cornerMarks = false});
}

// Picture-area points: the middle of a set slot and of a row slot.
QPoint SetSlot(int slot) {
    return QPoint(25, slot * 34 + 21);
}
QPoint RowSlot(int slot) {
    return QPoint(83, slot * 34 + 21);
}

const QRgb kBack = qRgb(1, 2, 3);
const QRgb kRot = qRgb(250, 250, 0);
const QRgb kLeftFrame = qRgb(0, 200, 0);
const QRgb kRightFrame = qRgb(0, 100, 250);

// A frame picture: a one-pixel border of the colour around magenta.
QImage Frame(int width, int height, QRgb border) {
    QImage frame = NewBitmap(width, height);
    frame.fill(border);
    for (int y = 1; y < height - 1; ++y)
        for (int x = 1; x < width - 1; ++x)
            frame.setPixel(x, y, qRgb(255, 0, 255));
    return frame;
}

class BlockBoxFormTest : public CubestacksTest {
protected:
    void SetUp() override {
        CubestacksTest::SetUp();
        OpenSettingsStore()->remove(QStringLiteral("Windows"));
        SetProgramFolder(folder.path());
        ResetHintLine();
        SetFocusTarget(nullptr);
        ResetPreferences();
        Preferences().SoundsEnabled = true;
        SetSoundEffectPlayer(&player);
    }
    void TearDown() override {
        box.reset();
        SetSoundEffectPlayer(nullptr);
        ResetPreferences();
        SetFocusTarget(nullptr);
        ResetHintLine();
        OpenSettingsStore()->remove(QStringLiteral("Windows"));
        CubestacksTest::TearDown();
    }

    // Four sets: the first with 14 rows (row 0 has three variations, row 3
    // two), then three small ones.
    void WriteFourSets() {
        WriteTestSet(folder, 1, "Bricks", {3, 1, 1, 2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1});
        WriteTestSet(folder, 2, "Roofs", {1, 2, 1});
        WriteTestSet(folder, 3, "Walls", {1, 1});
        WriteTestSet(folder, 4, "Towers", {2});
    }

    // Makes the box, with plain pictures whose pixels the tests know, and shows it.
    void MakeBox(bool show = true) {
        box = std::make_unique<Box>(kMainWindow, &toolBox);
        box->RememberPlace = false;
        box->BackImage = NewBitmap(112, 349);
        box->BackImage.fill(kBack);
        box->Rot = NewBitmap(5, 5);
        box->Rot.fill(kRot);
        box->LeftMarker = Frame(52, 42, kLeftFrame);
        box->RightMarker = Frame(54, 45, kRightFrame);
        if (show) {
            ASSERT_TRUE(ShowExposed(*box));
        }
        player.played.clear();
    }

    QRgb Pixel(int x, int y) const { return box->WorkBitmap.pixel(x, y); }
    // The colour in the middle of a row slot's picture.
    QRgb RowPicture(int slot) const { return Pixel(67 + 16, slot * 34 + 21); }
    QRgb SetPicture(int slot) const { return Pixel(9 + 16, slot * 34 + 21); }
    // Whether the right frame's left edge runs beside that row slot.
    bool RowFramedAt(int slot) const { return Pixel(53, slot * 34 + 20) == kRightFrame; }

    void Click(const QPoint& at, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(box->SelectArea, button, {}, at);
    }

    TempProgramFolder folder;
    RecordingSoundPlayer player;
    TToolBoxState toolBox;
    std::unique_ptr<Box> box;
};

TEST_F(BlockBoxFormTest, DockedAtTheMainWindowsTopRightCornerWithItsButtons) {
    WriteFourSets();
    MakeBox(false);
    EXPECT_EQ(box->objectName(), QStringLiteral("BlockBoxForm"));
    EXPECT_EQ(box->pos(), kDockPlace);
    EXPECT_EQ(box->Label1->text(), QStringLiteral("BLOCK BOX"));
    const std::pair<TFlatButton*, const char*> buttons[] = {
        {box->BlocksetUp, "Scroll block sets up"},
        {box->BlocksetDown, "Scroll block sets down"},
        {box->RowUp, "Scroll blocks up"},
        {box->RowDown, "Scroll blocks down"},
    };
    for (const auto& [button, hint] : buttons)
        EXPECT_EQ(button->statusTip(), QString::fromLatin1(hint));
    EXPECT_FALSE(box->BlocksetUp->Enabled());
    EXPECT_FALSE(box->BlocksetDown->Enabled());
    EXPECT_FALSE(box->RowUp->Enabled());
    EXPECT_TRUE(box->RowDown->Enabled()); // 14 rows in the first set

    // The program's own artwork is loaded (its sizes are the resource tests' business).
    Box plain(kMainWindow, &toolBox);
    plain.RememberPlace = false;
    for (const QImage* art : {&plain.BackImage, &plain.Rot, &plain.LeftMarker, &plain.RightMarker})
        EXPECT_FALSE(art->isNull());
    EXPECT_FALSE(plain.BkgndImage->pixmap().isNull());
}

TEST_F(BlockBoxFormTest, OwnsTheBlockLibraryAndReportsALoadErrorOnce) {
    WriteTestSet(folder, 1, "Bricks", {1, 1});
    WriteTestSet(folder, 2, "Roofs", {1});
    QFile::remove(folder.file(QStringLiteral("System/sd02.csb"))); // the second set's sheet is missing
    QGuiApplication::setOverrideCursor(QCursor(Qt::PointingHandCursor));
    MakeBox();
    // The hourglass of the loading is gone again; the pointer set before stays.
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::PointingHandCursor);
    QGuiApplication::restoreOverrideCursor();
    ASSERT_NE(box->Library(), nullptr);
    EXPECT_EQ(box->Library()->SetCount, 1); // the set before the damaged one stays
    ASSERT_EQ(presenter().shown.size(), 1u);
    EXPECT_FALSE(presenter().shown[0].text.isEmpty());
    EXPECT_EQ(presenter().shown[0].text, box->Library()->LoadError);
    box->RedrawBlockBox();
    box->hide();
    box->show();
    EXPECT_EQ(presenter().shown.size(), 1u);
    EXPECT_EQ(SetPicture(0), BlockColor(0, 0, 0));
    EXPECT_EQ(SetPicture(1), kBack);
}

TEST_F(BlockBoxFormTest, WithoutBlockSetsEverySlotStaysEmptyAndClicksDoNothing) {
    MakeBox();
    EXPECT_TRUE(presenter().shown.empty());
    for (int slot = 0; slot < 10; ++slot) {
        EXPECT_EQ(SetPicture(slot), kBack) << slot;
        EXPECT_EQ(RowPicture(slot), kBack) << slot;
    }
    EXPECT_FALSE(box->RowUp->Enabled());
    EXPECT_FALSE(box->RowDown->Enabled());
    Click(SetSlot(0));
    Click(SetSlot(3));
    Click(RowSlot(2));
    Drag(box->SelectArea, RowSlot(0), RowSlot(9) + QPoint(0, 40));
    EXPECT_EQ(box->Library()->Selection.CurrentSet, 0);
    EXPECT_EQ(box->Library()->Selection.SelectedRow[0], 0);
    EXPECT_EQ(box->RowScroll[0], 0);
    EXPECT_TRUE(player.played.empty());
}

TEST_F(BlockBoxFormTest, PicturesFramesAndMarksAtTheirPlaces) {
    WriteFourSets();
    MakeBox();
    box->Library()->Selection.SelectedRow[1] = 1;
    box->Library()->Selection.SelectedVariation[1][1] = 1;
    box->RedrawBlockBox();

    // The set column: the chosen block of each set, empty slots past the fourth.
    EXPECT_EQ(SetPicture(0), BlockColor(0, 0, 0));
    EXPECT_EQ(SetPicture(1), BlockColor(1, 1, 1));
    EXPECT_EQ(SetPicture(2), BlockColor(2, 0, 0));
    EXPECT_EQ(SetPicture(3), BlockColor(3, 0, 0));
    for (int slot = 4; slot < 10; ++slot)
        EXPECT_EQ(SetPicture(slot), kBack) << slot;
    // Each picture fills its 32 x 32 square at x 9, y slot * 34 + 5.
    EXPECT_EQ(Pixel(9, 2 * 34 + 5), BlockColor(2, 0, 0));
    EXPECT_EQ(Pixel(40, 2 * 34 + 36), BlockColor(2, 0, 0));
    EXPECT_EQ(Pixel(8, 2 * 34 + 20), kBack);
    EXPECT_EQ(Pixel(25, 2 * 34 + 37), kBack);

    // The variation mark under blocks that have variations.
    EXPECT_EQ(Pixel(36, 32), kRot);                     // set 0, row 0: three variations
    EXPECT_EQ(Pixel(40, 68), kRot);                     // set 1, row 1: two
    EXPECT_EQ(Pixel(36, 68 + 34), BlockColor(2, 0, 0)); // set 2, row 0: one
    EXPECT_EQ(Pixel(38, 3 * 34 + 34), kRot);            // set 3, row 0: two

    // The row column: rows 0 to 9 of the current set.
    for (int slot = 0; slot < 10; ++slot)
        EXPECT_EQ(RowPicture(slot), BlockColor(0, slot, 0)) << slot;
    EXPECT_EQ(Pixel(94, 32), kRot);
    EXPECT_EQ(Pixel(94, 34 + 32), BlockColor(0, 1, 0));
    EXPECT_EQ(Pixel(96, 3 * 34 + 34), kRot);

    // The frames, magenta left out: around set slot 0 and row slot 0.
    EXPECT_EQ(Pixel(2, 0), kLeftFrame);
    EXPECT_EQ(Pixel(30, 41), kLeftFrame);
    EXPECT_EQ(Pixel(4, 3), kBack);
    EXPECT_EQ(Pixel(52, 20), kBack);
    // The right frame starts at x 53, over the left one's right edge.
    EXPECT_EQ(Pixel(53, 20), kRightFrame);
    EXPECT_EQ(Pixel(54, 20), kBack);
    EXPECT_EQ(Pixel(106, 0), kRightFrame);
    EXPECT_EQ(Pixel(106, 43), kRightFrame);
    EXPECT_EQ(Pixel(70, 2), kBack);
    EXPECT_EQ(Pixel(107, 20), kBack);
    EXPECT_EQ(Pixel(2, 42), kBack);

    // What the screen shows is the composed picture.
    EXPECT_EQ(box->SelectArea->Bitmap, box->WorkBitmap);
    const QImage shown = box->SelectArea->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.pixel(RowSlot(4)), BlockColor(0, 4, 0));
    EXPECT_EQ(shown.pixel(2, 0), kLeftFrame);

    // Another current set and selected row move the frames.
    box->Library()->Selection.CurrentSet = 3;
    box->RedrawBlockBox();
    EXPECT_EQ(Pixel(2, 3 * 34), kLeftFrame);
    EXPECT_EQ(Pixel(2, 0), kBack);
    EXPECT_EQ(RowPicture(0), BlockColor(3, 0, 0));
    EXPECT_EQ(RowPicture(1), kBack);
    box->Library()->Selection.CurrentSet = 1;
    box->RedrawBlockBox();
    EXPECT_TRUE(RowFramedAt(1));
    EXPECT_FALSE(RowFramedAt(0));
    EXPECT_EQ(RowPicture(1), BlockColor(1, 1, 1));
    EXPECT_FALSE(box->RowDown->Enabled());

    // Missing pictures leave their places black; the blocks still show.
    box->BackImage = QImage();
    box->Rot = QImage();
    box->LeftMarker = QImage();
    box->RightMarker = QImage();
    box->RedrawBlockBox();
    EXPECT_EQ(Pixel(2, 34), qRgb(0, 0, 0));
    EXPECT_EQ(Pixel(53, 54), qRgb(0, 0, 0));
    EXPECT_EQ(Pixel(40, 68), BlockColor(1, 1, 1));
    EXPECT_EQ(RowPicture(1), BlockColor(1, 1, 1));
}

TEST_F(BlockBoxFormTest, ClickingTheChosenBlockStepsThroughItsVariations) {
    WriteFourSets();
    MakeBox();
    TBlockSelection& selection = box->Library()->Selection;

    // The current set's picture: the variation of its selected block.
    Click(SetSlot(0));
    EXPECT_EQ(selection.SelectedVariation[0][0], 1);
    EXPECT_EQ(SetPicture(0), BlockColor(0, 0, 1));
    EXPECT_EQ(RowPicture(0), BlockColor(0, 0, 1));
    EXPECT_EQ(player.played, std::vector<int>{kSoundRotate});
    Click(SetSlot(0));
    EXPECT_EQ(selection.SelectedVariation[0][0], 2);
    // The selected row's picture steps the same variation; past the last comes the first.
    Click(RowSlot(0));
    EXPECT_EQ(selection.SelectedVariation[0][0], 0);
    EXPECT_EQ(RowPicture(0), BlockColor(0, 0, 0));
    EXPECT_EQ(player.played, (std::vector<int>{kSoundRotate, kSoundRotate, kSoundRotate}));

    // Another row is selected first, with "changelib"; without variations a click does nothing.
    player.played.clear();
    Click(RowSlot(1));
    EXPECT_EQ(selection.SelectedRow[0], 1);
    EXPECT_TRUE(RowFramedAt(1));
    EXPECT_EQ(SetPicture(0), BlockColor(0, 1, 0));
    Click(RowSlot(1));
    Click(SetSlot(0));
    EXPECT_EQ(selection.SelectedVariation[0][1], 0);
    EXPECT_EQ(player.played, std::vector<int>{kSoundChangeLib});

    // Row 3 has two variations; the variation is remembered per row.
    Click(RowSlot(3));
    Click(RowSlot(3));
    EXPECT_EQ(selection.SelectedVariation[0][3], 1);
    EXPECT_EQ(RowPicture(3), BlockColor(0, 3, 1));
    Click(RowSlot(0));
    EXPECT_EQ(selection.SelectedVariation[0][0], 0);
    EXPECT_EQ(RowPicture(3), BlockColor(0, 3, 1));
    // The library's selected block follows.
    Click(RowSlot(3));
    EXPECT_EQ(box->Library()->NameFromIndex(box->Library()->GetSelectedIndex()), "Ad1");

    // Only the left button chooses; the middle and right ones do not.
    player.played.clear();
    Click(RowSlot(5), Qt::RightButton);
    Click(SetSlot(2), Qt::MiddleButton);
    EXPECT_EQ(selection.SelectedRow[0], 3);
    EXPECT_EQ(selection.CurrentSet, 0);
    EXPECT_TRUE(player.played.empty());
}

TEST_F(BlockBoxFormTest, SwitchingSetsKeepsEachSetsRowsAndScroll) {
    WriteFourSets();
    MakeBox();
    TBlockSelection& selection = box->Library()->Selection;
    Click(RowSlot(5));
    QTest::mouseClick(box->RowDown, Qt::LeftButton);
    QTest::mouseClick(box->RowDown, Qt::LeftButton);
    ASSERT_EQ(box->RowScroll[0], 2);
    EXPECT_TRUE(RowFramedAt(3));

    player.played.clear();
    Click(SetSlot(1));
    EXPECT_EQ(selection.CurrentSet, 1);
    EXPECT_EQ(player.played, std::vector<int>{kSoundChangeLib});
    EXPECT_EQ(Pixel(2, 34), kLeftFrame);
    EXPECT_EQ(RowPicture(0), BlockColor(1, 0, 0));
    EXPECT_EQ(RowPicture(2), BlockColor(1, 2, 0));
    EXPECT_EQ(RowPicture(3), kBack);
    EXPECT_TRUE(RowFramedAt(0));
    EXPECT_FALSE(box->RowUp->Enabled());
    EXPECT_FALSE(box->RowDown->Enabled());
    Click(RowSlot(2));
    EXPECT_EQ(selection.SelectedRow[1], 2);
    // Below the last row of a short set nothing is chosen.
    player.played.clear();
    Click(RowSlot(6));
    EXPECT_EQ(selection.SelectedRow[1], 2);
    EXPECT_TRUE(player.played.empty());

    Click(SetSlot(0));
    EXPECT_EQ(selection.CurrentSet, 0);
    EXPECT_EQ(box->RowScroll[0], 2);
    EXPECT_EQ(selection.SelectedRow[0], 5);
    EXPECT_EQ(RowPicture(0), BlockColor(0, 2, 0));
    EXPECT_TRUE(RowFramedAt(3));
    EXPECT_TRUE(box->RowUp->Enabled());
    // The other set's choice shows in its slot of the set column.
    EXPECT_EQ(SetPicture(1), BlockColor(1, 2, 0));

    // Slots past the loaded sets do nothing.
    player.played.clear();
    Click(SetSlot(4));
    Click(SetSlot(9));
    EXPECT_EQ(selection.CurrentSet, 0);
    EXPECT_TRUE(player.played.empty());
}

TEST_F(BlockBoxFormTest, RowButtonsScrollFourteenRowsAndTheFrameStaysAtTheEdge) {
    WriteFourSets();
    MakeBox();
    TBlockSelection& selection = box->Library()->Selection;
    for (int step = 1; step <= 4; ++step) {
        ASSERT_TRUE(box->RowDown->Enabled()) << step;
        QTest::mouseClick(box->RowDown, Qt::LeftButton);
        EXPECT_EQ(box->RowScroll[0], step);
        EXPECT_TRUE(box->RowUp->Enabled());
        // The selected row 0 is out of view: its frame stays at the top slot.
        EXPECT_TRUE(RowFramedAt(0)) << step;
    }
    // Rows 4 to 13 are shown: the end.
    EXPECT_FALSE(box->RowDown->Enabled());
    EXPECT_EQ(RowPicture(0), BlockColor(0, 4, 0));
    EXPECT_EQ(RowPicture(9), BlockColor(0, 13, 0));
    QTest::mouseClick(box->RowDown, Qt::LeftButton);
    box->RowDownClick(); // never past the last page, even when called
    EXPECT_EQ(box->RowScroll[0], 4);
    EXPECT_EQ(selection.SelectedRow[0], 0);
    EXPECT_TRUE(player.played.empty());

    // The last row chosen and scrolled away upwards: its frame stays at the bottom slot.
    Click(RowSlot(9));
    ASSERT_EQ(selection.SelectedRow[0], 13);
    EXPECT_TRUE(RowFramedAt(9));
    for (int step = 3; step >= 0; --step) {
        QTest::mouseClick(box->RowUp, Qt::LeftButton);
        EXPECT_EQ(box->RowScroll[0], step);
        EXPECT_TRUE(RowFramedAt(9));
        EXPECT_FALSE(RowFramedAt(8));
    }
    EXPECT_FALSE(box->RowUp->Enabled());
    EXPECT_TRUE(box->RowDown->Enabled());
    box->RowUpClick();
    EXPECT_EQ(box->RowScroll[0], 0);
    EXPECT_EQ(selection.SelectedRow[0], 13);
}

TEST_F(BlockBoxFormTest, DraggingAlongTheColumnsSelectsAndScrolls) {
    WriteFourSets();
    MakeBox();
    TBlockSelection& selection = box->Library()->Selection;
    QWidget* area = box->SelectArea;

    // Down the row column and past its last slot: one row per move.
    QTest::mousePress(area, Qt::LeftButton, {}, RowSlot(7));
    EXPECT_EQ(selection.SelectedRow[0], 7);
    QTest::mouseMove(area, RowSlot(8));
    QTest::mouseMove(area, RowSlot(9));
    EXPECT_EQ(selection.SelectedRow[0], 9);
    EXPECT_EQ(box->RowScroll[0], 0);
    const QPoint below(83, 360); // slot 10, still over the box
    for (int move = 1; move <= 6; ++move) {
        QTest::mouseMove(area, below + QPoint(0, move % 2));
        EXPECT_EQ(selection.SelectedRow[0], std::min(9 + move, 13)) << move;
        EXPECT_EQ(box->RowScroll[0], std::min(move, 4)) << move;
    }
    EXPECT_TRUE(RowFramedAt(9));
    EXPECT_EQ(RowPicture(9), BlockColor(0, 13, 0));
    QTest::mouseMove(area, RowSlot(2));
    EXPECT_EQ(selection.SelectedRow[0], 6);
    // Past the box's own edge the drag chooses nothing.
    QTest::mouseMove(area, QPoint(83, -42)); // the box's top row counts as outside
    QTest::mouseMove(area, QPoint(83, 416 - 42));
    QTest::mouseMove(area, QPoint(112, RowSlot(5).y()));
    EXPECT_EQ(selection.SelectedRow[0], 6);
    // Above the first slot, over the box: up one row per move.
    QTest::mouseMove(area, QPoint(83, 2));
    EXPECT_EQ(selection.SelectedRow[0], 3);
    EXPECT_EQ(box->RowScroll[0], 3);
    QTest::mouseMove(area, QPoint(83, -20));
    EXPECT_EQ(selection.SelectedRow[0], 2);
    EXPECT_EQ(box->RowScroll[0], 2);
    QTest::mouseRelease(area, Qt::LeftButton, {}, QPoint(83, -20));

    // Down the set column: each loaded set in turn, nothing past them.
    player.played.clear();
    QTest::mousePress(area, Qt::LeftButton, {}, SetSlot(0));
    EXPECT_EQ(selection.SelectedVariation[0][2], 0); // row 2 has no variations
    for (int slot = 1; slot < 7; ++slot) {
        QTest::mouseMove(area, SetSlot(slot));
        EXPECT_EQ(selection.CurrentSet, std::min(slot, 3)) << slot;
    }
    QTest::mouseRelease(area, Qt::LeftButton, {}, SetSlot(6));
    EXPECT_EQ(player.played, (std::vector<int>{kSoundChangeLib, kSoundChangeLib, kSoundChangeLib}));

    // Moving without the button chooses nothing.
    QTest::mouseMove(area, SetSlot(0));
    QTest::mouseMove(area, RowSlot(0));
    EXPECT_EQ(selection.CurrentSet, 3);
    EXPECT_EQ(selection.SelectedRow[3], 0);
}

TEST_F(BlockBoxFormTest, HintsAndPointersFollowThePointer) {
    WriteFourSets();
    MakeBox();
    QWidget* area = box->SelectArea;

    QTest::mouseMove(area, SetSlot(3));
    EXPECT_EQ(HintAfterIdle(), QStringLiteral("Blockset 4: Towers"));
    EXPECT_EQ(box->SelectAreaPointer(), kPointerPoint);
    QTest::mouseMove(area, SetSlot(0)); // the current set: its block has variations
    EXPECT_EQ(HintAfterIdle(), QStringLiteral("Click here to select next block variation"));
    EXPECT_EQ(box->SelectAreaPointer(), kPointerNext);
    QTest::mouseMove(area, SetSlot(6)); // no set there: the hint stays
    EXPECT_EQ(HintAfterIdle(), QStringLiteral("Click here to select next block variation"));
    EXPECT_EQ(box->SelectAreaPointer(), kPointerDefault);
    QTest::mouseMove(area, RowSlot(0)); // the selected row
    EXPECT_EQ(HintAfterIdle(), QStringLiteral("Click here to select next block variation"));
    EXPECT_EQ(box->SelectAreaPointer(), kPointerNext);
    QTest::mouseMove(area, RowSlot(1));
    EXPECT_EQ(HintAfterIdle(), QStringLiteral("Click to select this block"));
    EXPECT_EQ(box->SelectAreaPointer(), kPointerPoint);
    QTest::mouseMove(area, QPoint(55, 100)); // between the columns
    EXPECT_EQ(HintAfterIdle(), QStringLiteral(" "));
    EXPECT_EQ(box->SelectAreaPointer(), kPointerDefault);

    Click(RowSlot(1));
    QTest::mouseMove(area, RowSlot(1) + QPoint(1, 0));
    EXPECT_EQ(HintAfterIdle(), QStringLiteral("This block has no variations"));
    EXPECT_EQ(box->SelectAreaPointer(), kPointerDefault);
    QTest::mouseMove(area, SetSlot(0));
    EXPECT_EQ(HintAfterIdle(), QStringLiteral("This block has no variations"));
    QTest::mouseMove(area, SetSlot(1) + QPoint(0, 3));
    EXPECT_EQ(HintAfterIdle(), QStringLiteral("Blockset 2: Roofs"));

    // Scrolled: the hint is about the block shown in the slot.
    QTest::mouseClick(box->RowDown, Qt::LeftButton);
    QTest::mouseMove(area, RowSlot(0));
    EXPECT_EQ(HintAfterIdle(), QStringLiteral("This block has no variations")); // row 1, selected
    QTest::mouseMove(area, RowSlot(2));
    EXPECT_EQ(HintAfterIdle(), QStringLiteral("Click to select this block"));
    // Below the last row of a short set: the hint stays.
    Click(SetSlot(2));
    QTest::mouseMove(area, RowSlot(5));
    EXPECT_EQ(HintAfterIdle(), QStringLiteral("Click to select this block"));
    EXPECT_EQ(box->SelectAreaPointer(), kPointerDefault);
}

TEST_F(BlockBoxFormTest, AnyClickInThePictureAreaLeavesEditMode) {
    WriteFourSets();
    MakeBox();
    const QPoint places[] = {SetSlot(2), RowSlot(4), QPoint(55, 100), QPoint(2, 340), SetSlot(8)};
    const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
    for (const QPoint& at : places) {
        for (Qt::MouseButton button : buttons) {
            toolBox.mode = true;
            Click(at, button);
            EXPECT_FALSE(toolBox.mode) << at.x() << "," << at.y() << " button " << button;
        }
    }
    // A click elsewhere in the box leaves the mode alone.
    toolBox.mode = true;
    QTest::mouseClick(box.get(), Qt::LeftButton, {}, QPoint(55, 400));
    QTest::mouseClick(box->Label1, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(toolBox.mode);
}

TEST_F(BlockBoxFormTest, HidingReleasesTheBlockBoxButton) {
    WriteFourSets();
    CloseRefusingWindow main;
    main.setGeometry(kMainWindow);
    ASSERT_TRUE(ShowExposed(main));
    SetFocusTarget(&main);
    MakeBox();

    // Alt+F4 hides the box only.
    toolBox.blockBox = true;
    QTest::keyClick(box.get(), Qt::Key_F4, Qt::AltModifier);
    EXPECT_FALSE(box->isVisible());
    EXPECT_FALSE(toolBox.blockBox);
    LetEventsRun();
    EXPECT_EQ(main.closeRequests, 0);
    EXPECT_TRUE(main.isVisible());

    // The hide area at the right end of the title strip.
    box->show();
    toolBox.blockBox = true;
    QTest::mouseClick(box.get(), Qt::LeftButton, {}, QPoint(112 - 10, 10));
    EXPECT_FALSE(box->isVisible());
    EXPECT_FALSE(toolBox.blockBox);

    // Hidden by a command.
    box->show();
    toolBox.blockBox = true;
    box->hide();
    EXPECT_FALSE(toolBox.blockBox);
    // Showing it leaves the button to whoever showed it.
    box->show();
    EXPECT_FALSE(toolBox.blockBox);
}

} // namespace
