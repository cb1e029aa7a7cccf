#include "windows/block_box_form.h"

#include "common/program_folder.h"
#include "imaging/bitmap.h"
#include "library/block_list.h"
#include "support/test_sets.h"
#include "widgets/bmp_wnd.h"
#include "widgets/flat_button.h"
#include "windows/windows_fixture.h"

const QRect kMainWindow(50, 40, 600, 500);
const QRgb kBack = qRgb(1, 2, 3), kRot = qRgb(250, 250, 0);
const QRgb kLeftFrame = qRgb(0, 200, 0), kRightFrame = qRgb(0, 100, 250);
using Sounds = std::vector<int>;

// Set number (1-based), a row per entry of variations; names from the block's place, squares of BlockColor.
static void WriteTestSet(const TempProgramFolder& folder, int number, const std::string& title,
                         const std::vector<int>& variations) {
    std::vector<SetRow> rows;
    for (size_t row = 0; row < variations.size(); ++row) {
        std::string names;
        for (int v = 0; v < variations[row]; ++v)
            names += {char('A' + number - 1), char('a' + row), char('0' + v)};
        rows.push_back(Names(names));
    }
    WriteSet(folder, number, title, rows, {.colorByPlace = true, .cornerMarks = false});
}

// A one-pixel border of the colour around the inside colour.
static QImage Frame(int width, int height, QRgb border, QRgb inside = qRgb(255, 0, 255)) {
    QImage frame = NewBitmap(width, height);
    frame.fill(border);
    QPainter(&frame).fillRect(1, 1, width - 2, height - 2, QColor(inside));
    return frame;
}

class BlockBoxFormTest : public WindowsTest {
protected:
    static QPoint SetSlot(int slot) { return QPoint(25, slot * 34 + 21); }
    static QPoint RowSlot(int slot) { return QPoint(83, slot * 34 + 21); }
    void SetUp() override {
        WindowsTest::SetUp();
        SetProgramFolder(folder.path());
        Preferences().SoundsEnabled = true;
        SetSoundEffectPlayer(&player);
    }
    void TearDown() override {
        box.reset();
        WindowsTest::TearDown();
    }
    // The first set has 14 rows (row 0 with three variations, row 3 with two).
    void WriteFourSets() {
        WriteTestSet(folder, 1, "Bricks", {3, 1, 1, 2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1});
        WriteTestSet(folder, 2, "Roofs", {1, 2, 1});
        WriteTestSet(folder, 3, "Walls", {1, 1});
        WriteTestSet(folder, 4, "Towers", {2});
    }
    void MakeBox() {
        box = std::make_unique<TBlockBoxForm>(kMainWindow, &toolBox);
        box->RememberPlace = false;
        box->BackImage = Frame(112, 349, kBack, kBack);
        box->Rot = Frame(5, 5, kRot, kRot);
        box->LeftMarker = Frame(52, 42, kLeftFrame);
        box->RightMarker = Frame(54, 45, kRightFrame);
        ASSERT_TRUE(ShowExposed(*box));
        player.played.clear();
    }
    QRgb Pixel(int x, int y) const { return box->WorkBitmap.pixel(x, y); }
    QRgb RowPicture(int slot) const { return box->WorkBitmap.pixel(RowSlot(slot)); }
    QRgb SetPicture(int slot) const { return box->WorkBitmap.pixel(SetSlot(slot)); }
    bool RowFramedAt(int slot) const { return Pixel(53, slot * 34 + 20) == kRightFrame; }
    void Click(std::initializer_list<QPoint> places, Qt::MouseButton button = Qt::LeftButton) {
        for (const QPoint& at : places)
            QTest::mouseClick(box->SelectArea, button, {}, at);
    }
    TBlockSelection& Selection() { return box->Library()->Selection; }

    TempProgramFolder folder;
    RecordingSoundPlayer player;
    TToolBoxState toolBox;
    std::unique_ptr<TBlockBoxForm> box;
};

TEST_F(BlockBoxFormTest, DockedWithItsArtworkReportsALoadErrorOnceAndDrawsEverythingInItsPlace) {
    MakeBox(); // without sets: empty slots, clicks do nothing
    Click({SetSlot(0)});
    Drag(box->SelectArea, RowSlot(0), RowSlot(9) + QPoint(0, 40));
    EXPECT_EQ(std::tuple(RowPicture(0), box->RowDown->Enabled()), std::tuple(kBack, false));
    EXPECT_TRUE(player.played.empty() && presenter().shown.empty());
    WriteTestSet(folder, 1, "Bricks", {1, 1});
    WriteTestSet(folder, 2, "Roofs", {1});
    QFile::remove(folder.file(QStringLiteral("System/sd02.csb"))); // the second sheet is missing
    QGuiApplication::setOverrideCursor(QCursor(Qt::PointingHandCursor));
    TBlockBoxForm plain(kMainWindow, &toolBox);
    plain.RememberPlace = false;
    EXPECT_EQ(plain.pos(), QPoint(50 + 600 - 112, 40));
    for (const QImage* art : {&plain.BackImage, &plain.Rot, &plain.LeftMarker, &plain.RightMarker})
        EXPECT_FALSE(art->isNull());
    EXPECT_EQ(plain.BlocksetDown->statusTip() + '|' + plain.RowUp->statusTip(),
              QStringLiteral("Scroll block sets down|Scroll blocks up"));
    // The hourglass of the loading is gone again; the pointer set before stays.
    EXPECT_EQ(OverridePointer(), Qt::PointingHandCursor);
    QGuiApplication::restoreOverrideCursor();
    ASSERT_EQ(presenter().shown.size(), 1u); // the set before the damaged one stays
    EXPECT_EQ(std::tuple(plain.Library()->SetCount, presenter().shown[0].text),
              std::tuple(1, plain.Library()->LoadError));
    plain.show();
    EXPECT_EQ(presenter().shown.size(), 1u); // not again when shown
    WriteFourSets();
    MakeBox();
    EXPECT_FALSE(box->BlocksetUp->Enabled() || box->BlocksetDown->Enabled() || box->RowUp->Enabled());
    EXPECT_TRUE(box->RowDown->Enabled());
    Selection().SelectedRow[1] = 1;
    Selection().SelectedVariation[1][1] = 1;
    box->RedrawBlockBox();
    const QRgb set2 = BlockColor(2, 0, 0);
    // Chosen blocks at (9, slot * 34 + 5), marks under those with variations, frames (the right from x 53).
    // clang-format off
    const std::tuple<int, int, QRgb> pixels[] = {
        {25, 21, BlockColor(0, 0, 0)}, {25, 55, BlockColor(1, 1, 1)}, {25, 123, BlockColor(3, 0, 0)},
        {25, 157, kBack}, {9, 73, set2}, {40, 104, set2}, {8, 88, kBack}, {25, 105, kBack}, {36, 32, kRot},
        {40, 68, kRot}, {36, 102, set2}, {94, 134, kRot}, {98, 138, kRot}, {93, 136, BlockColor(0, 3, 0)}, {94, 66, BlockColor(0, 1, 0)}, {2, 0, kLeftFrame},
        {30, 41, kLeftFrame}, {4, 3, kBack}, {52, 20, kBack}, {53, 20, kRightFrame}, {54, 20, kBack},
        {106, 43, kRightFrame}, {107, 20, kBack}, {2, 42, kBack}};
    // clang-format on
    for (const auto& [x, y, color] : pixels)
        EXPECT_EQ(Pixel(x, y), color) << x << "," << y;
    for (int slot = 0; slot < 10; ++slot)
        EXPECT_EQ(RowPicture(slot), BlockColor(0, slot, 0)) << slot;
    EXPECT_EQ(box->SelectArea->grab().toImage().convertToFormat(QImage::Format_RGB32).pixel(RowSlot(4)),
              BlockColor(0, 4, 0));
    Selection().CurrentSet = 3;
    box->RedrawBlockBox();
    EXPECT_EQ(std::tuple(Pixel(2, 3 * 34), Pixel(2, 0), RowPicture(1)), std::tuple(kLeftFrame, kBack, kBack));
    Selection().CurrentSet = 1;
    box->RedrawBlockBox();
    EXPECT_EQ(std::tuple(RowFramedAt(1), RowFramedAt(0), box->RowDown->Enabled()),
              std::tuple(true, false, false));
    // Missing artwork leaves its places black; the blocks still show.
    box->BackImage = box->Rot = box->LeftMarker = box->RightMarker = QImage();
    box->RedrawBlockBox();
    EXPECT_EQ(std::tuple(Pixel(2, 34), Pixel(53, 54), RowPicture(1)),
              std::tuple(qRgb(0, 0, 0), qRgb(0, 0, 0), BlockColor(1, 1, 1)));
}

TEST_F(BlockBoxFormTest, ClicksChooseBlocksAndStepThroughVariations) {
    WriteFourSets();
    MakeBox();
    Click({SetSlot(0)}); // the current set's block: its next variation
    EXPECT_EQ(std::tuple(Selection().SelectedVariation[0][0], SetPicture(0), RowPicture(0)),
              std::tuple(1, BlockColor(0, 0, 1), BlockColor(0, 0, 1)));
    Click({SetSlot(0), RowSlot(0)}); // the selected row likewise; past the last comes the first
    EXPECT_EQ(Selection().SelectedVariation[0][0], 0);
    EXPECT_EQ(player.played, Sounds(3, kSoundRotate));

    player.played.clear();
    Click({RowSlot(1)}); // another row is selected first
    EXPECT_EQ(std::tuple(Selection().SelectedRow[0], SetPicture(0)), std::tuple(1, BlockColor(0, 1, 0)));
    Click({RowSlot(1), SetSlot(0)}); // without variations a click does nothing
    EXPECT_EQ(Selection().SelectedVariation[0][1], 0);
    EXPECT_EQ(player.played, Sounds{kSoundChangeLib});
    Click({RowSlot(3), RowSlot(3), RowSlot(0)}); // the variation is remembered per row
    EXPECT_EQ(RowPicture(3), BlockColor(0, 3, 1));
    Click({RowSlot(3)});
    EXPECT_EQ(box->Library()->NameFromIndex(box->Library()->GetSelectedIndex()), "Ad1");
    player.played.clear(); // only the left button chooses
    Click({RowSlot(5)}, Qt::RightButton);
    Click({SetSlot(2)}, Qt::MiddleButton);
    EXPECT_EQ(std::tuple(Selection().SelectedRow[0], Selection().CurrentSet, player.played),
              std::tuple(3, 0, Sounds{}));

    Click({RowSlot(5)}); // another set keeps each set's row and scroll
    QTest::mouseClick(box->RowDown, Qt::LeftButton);
    QTest::mouseClick(box->RowDown, Qt::LeftButton);
    Click({SetSlot(1)});
    EXPECT_EQ(
        std::tuple(Selection().CurrentSet, Pixel(2, 34), RowPicture(2), RowPicture(3), box->RowUp->Enabled()),
        std::tuple(1, kLeftFrame, BlockColor(1, 2, 0), kBack, false));
    Click({RowSlot(2), RowSlot(6)}); // below the last row of a short set
    EXPECT_EQ(Selection().SelectedRow[1], 2);
    Click({SetSlot(0)});
    EXPECT_EQ(std::tuple(box->RowScroll[0], RowPicture(0), RowFramedAt(3), SetPicture(1)),
              std::tuple(2, BlockColor(0, 2, 0), true, BlockColor(1, 2, 0)));
    player.played.clear();
    Click({SetSlot(4)}); // past the loaded sets
    EXPECT_EQ(std::tuple(Selection().CurrentSet, player.played), std::tuple(0, Sounds{}));
}

TEST_F(BlockBoxFormTest, RowButtonsAndDraggingScrollAndTheFrameStaysAtTheEdge) {
    WriteFourSets();
    MakeBox();
    for (int step = 1; step <= 4; ++step) {
        QTest::mouseClick(box->RowDown, Qt::LeftButton);
        EXPECT_EQ(std::pair(box->RowScroll[0], RowFramedAt(0)),
                  std::pair(step, true)); // row 0 is out of view
    }
    EXPECT_EQ(std::tuple(box->RowDown->Enabled(), box->RowUp->Enabled(), RowPicture(9)),
              std::tuple(false, true, BlockColor(0, 13, 0)));
    box->RowDownClick(); // never past the last page
    EXPECT_EQ(box->RowScroll[0], 4);
    Click({RowSlot(9)});
    for (int step = 3; step >= 0; --step)
        QTest::mouseClick(box->RowUp, Qt::LeftButton);
    EXPECT_EQ(std::tuple(box->RowScroll[0], RowFramedAt(9), RowFramedAt(8), box->RowUp->Enabled()),
              std::tuple(0, true, false, false));
    box->RowUpClick();
    EXPECT_EQ(std::tuple(box->RowScroll[0], Selection().SelectedRow[0]), std::tuple(0, 13));
    EXPECT_EQ(player.played.size(), 1u); // scrolling plays nothing
    QWidget* area = box->SelectArea;     // dragging along the columns selects and scrolls
    QTest::mousePress(area, Qt::LeftButton, {}, RowSlot(7));
    QTest::mouseMove(area, RowSlot(9));
    EXPECT_EQ(Selection().SelectedRow[0], 9);
    for (int move = 1; move <= 6; ++move) { // below the last slot: one row per move
        QTest::mouseMove(area, QPoint(83, 360 + move % 2));
        EXPECT_EQ(std::pair(Selection().SelectedRow[0], box->RowScroll[0]),
                  std::pair(std::min(9 + move, 13), std::min(move, 4)));
    }
    QTest::mouseMove(area, RowSlot(2));
    EXPECT_EQ(Selection().SelectedRow[0], 6);
    for (const QPoint& past : {QPoint(83, -42), QPoint(83, 416 - 42), QPoint(112, RowSlot(5).y())})
        QTest::mouseMove(area, past); // past the box's own edges: nothing
    EXPECT_EQ(Selection().SelectedRow[0], 6);
    QTest::mouseMove(area, QPoint(83, 2)); // above the first slot: up one row per move
    EXPECT_EQ(Selection().SelectedRow[0], 3);
    QTest::mouseMove(area, QPoint(83, -20));
    EXPECT_EQ(std::tuple(Selection().SelectedRow[0], box->RowScroll[0]), std::tuple(2, 2));
    QTest::mouseRelease(area, Qt::LeftButton, {}, QPoint(83, -20));

    player.played.clear();
    QTest::mousePress(area, Qt::LeftButton, {}, SetSlot(0));
    for (int slot = 1; slot < 7; ++slot) {
        QTest::mouseMove(area, SetSlot(slot));
        EXPECT_EQ(Selection().CurrentSet, std::min(slot, 3)) << slot;
    }
    QTest::mouseRelease(area, Qt::LeftButton, {}, SetSlot(6));
    EXPECT_EQ(player.played, Sounds(3, kSoundChangeLib));
    QTest::mouseMove(area, SetSlot(0)); // without the button: nothing
    EXPECT_EQ(Selection().CurrentSet, 3);
}

TEST_F(BlockBoxFormTest, HintsPointersEditModeAndHidingReleasesTheButton) {
    WriteFourSets();
    MakeBox();
    const QString next = QStringLiteral("Click here to select next block variation");
    const QString select = QStringLiteral("Click to select this block");
    const QString none = QStringLiteral("This block has no variations");
    const auto at = [&](QPoint place, const QString& hint, int pointer) {
        QTest::mouseMove(box->SelectArea, place);
        EXPECT_EQ(HintAfterIdle(), hint) << place.x() << "," << place.y();
        EXPECT_EQ(box->SelectAreaPointer(), pointer) << place.x() << "," << place.y();
    };
    at(SetSlot(3), QStringLiteral("Blockset 4: Towers"), kPointerPoint);
    at(SetSlot(0), next, kPointerNext);
    at(SetSlot(6), next, kPointerDefault); // no set there: the hint stays
    at(RowSlot(1), select, kPointerPoint);
    at(RowSlot(0), next, kPointerNext);
    at(QPoint(55, 100), QStringLiteral(" "), kPointerDefault);
    Click({RowSlot(1)});
    at(RowSlot(1) + QPoint(1, 0), none, kPointerDefault);
    QTest::mouseClick(box->RowDown, Qt::LeftButton);
    at(RowSlot(2), select, kPointerPoint); // about the block shown in the slot
    at(RowSlot(0), none, kPointerDefault);
    Click({SetSlot(2)});
    at(RowSlot(5), none, kPointerDefault); // below the last row: the hint stays
    ShowMain(kMainWindow);
    for (const QPoint& place : {SetSlot(2), RowSlot(4), QPoint(55, 100), SetSlot(8)})
        for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
            toolBox.mode = true;
            Click({place}, button);
            EXPECT_FALSE(toolBox.mode) << place.x() << "," << place.y() << " " << button;
        }
    toolBox.mode = true;
    QTest::mouseClick(box->Label1, Qt::LeftButton, {}, QPoint(5, 5)); // elsewhere in the box
    EXPECT_TRUE(toolBox.mode);

    toolBox.blockBox = true;
    QTest::keyClick(box.get(), Qt::Key_F4, Qt::AltModifier); // hides the box only
    EXPECT_FALSE(box->isVisible() || toolBox.blockBox);
    LetEventsRun();
    EXPECT_EQ(main.closeRequests, 0);
    box->show();
    toolBox.blockBox = true;
    QTest::mouseClick(box.get(), Qt::LeftButton, {}, QPoint(112 - 10, 10)); // the hide area
    EXPECT_FALSE(toolBox.blockBox);
    box->show();
    EXPECT_FALSE(toolBox.blockBox); // showing leaves the button to whoever showed it
    toolBox.blockBox = true;
    box->HideWithOwner(); // gone with the main window: the button stays
    EXPECT_TRUE(toolBox.blockBox);
    box->ShowWithOwner();
    box->hide();
    EXPECT_FALSE(toolBox.blockBox);
}
