#include "app_fixture.h"

#include "app/drag_image.h"
#include "widgets/bmp_wnd.h"
#include "library/block_list.h"
#include "model/model.h"
#include "windows/box_links.h"
#include "windows/hint_line.h"

#include <QApplication>
#include <QCursor>
#include <QTest>

namespace {

using Names = std::vector<std::string>;

class MouseEditingTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        MakeForm();
    }
    QRgb Shown(int x, int y) { return form->BaseBmp->Bitmap.pixel(x, y); }
    TToolBoxState& toolBox() { return static_cast<TToolBoxState&>(form->ToolBox()); }
};

TEST_F(MouseEditingTest, PaintStrokeSkipsCellsThatAlreadyShowTheBlock) {
    Select("45F");
    Put(1, 0, {"45F"});
    // The stroke starts on a cell that shows the block already: nothing there.
    Press(Qt::LeftButton, 40, 10);
    EXPECT_EQ(Stack(1, 0), Names({"45F"}));
    EXPECT_TRUE(sounds.played.empty());
    EXPECT_EQ(form->EditState, esPaint);
    EXPECT_TRUE(form->Dragging);
    EXPECT_EQ(form->EditHint(), QStringLiteral("Drag the mouse cursor to paint"));
    // Moving within the cell and on into the next cells paints each once.
    Move(45, 12, Qt::LeftButton);
    Move(70, 12, Qt::LeftButton);
    Move(75, 14, Qt::LeftButton);
    Move(100, 14, Qt::LeftButton);
    EXPECT_EQ(Stack(2, 0), Names({"45F"}));
    EXPECT_EQ(Stack(3, 0), Names({"45F"}));
    EXPECT_EQ(sounds.played, std::vector<int>({0, 0}));
    // The painted cells show the block's picture on screen at once.
    EXPECT_EQ(Shown(2 * 32 + 5, 5), BlockSetColor(2));
    Release(Qt::LeftButton, 100, 14);
    EXPECT_FALSE(form->Dragging);
    EXPECT_TRUE(form->Model->Modified);
    EXPECT_EQ(toolBox().lastScrollMode, sbByEdges);
    EXPECT_EQ(toolBox().fileLabel, QStringLiteral("(Untitled)*"));
}

TEST_F(MouseEditingTest, EraseStrokeTakesOneBlockPerCellEntered) {
    Put(0, 0, {"30H", "44H", "45F"});
    Put(1, 0, {"30H"});
    Press(Qt::RightButton, 5, 5);
    EXPECT_EQ(form->EditState, esErase);
    EXPECT_EQ(Stack(0, 0), Names({"30H", "44H"}));
    Move(10, 8, Qt::RightButton);
    Move(20, 9, Qt::RightButton);
    EXPECT_EQ(Stack(0, 0), Names({"30H", "44H"})); // still the same cell
    Move(40, 9, Qt::RightButton);
    EXPECT_TRUE(Stack(1, 0).empty());
    Move(20, 9, Qt::RightButton); // back in: the next block goes
    EXPECT_EQ(Stack(0, 0), Names({"30H"}));
    EXPECT_EQ(sounds.played, std::vector<int>({1, 1, 1}));
    EXPECT_EQ(form->EditHint(), QStringLiteral("Drag the mouse cursor to erase blocks"));
    Release(Qt::RightButton, 20, 9);
}

TEST_F(MouseEditingTest, CarriedBlockDropsUnderTheCentreOfItsPicture) {
    Put(2, 1, {"30H", "14N"});
    toolBox().mode = true; // edit mode
    // Grab 2 pixels right of the cell's left edge.
    Press(Qt::LeftButton, 2 * 32 + 2, 1 * 32 + 10);
    EXPECT_EQ(form->EditState, esMove);
    EXPECT_TRUE(form->Dragging);
    EXPECT_EQ(Stack(2, 1), Names({"30H"})); // it left the model at the press
    EXPECT_EQ(library->GetSelectedIndex(), Index("14N"));
    EXPECT_EQ(form->DragOffsetX, 2 - 16);
    EXPECT_EQ(form->DragOffsetY, 10 - 16);
    ASSERT_TRUE(form->DragImage.Active);
    EXPECT_EQ(form->DragImage.HotSpot, QPoint(2, 10));
    EXPECT_TRUE(QApplication::overrideCursor() != nullptr); // the grabbing hand
    // Carried: the picture follows the pointer, held at the grab point.
    Move(6 * 32 + 20, 4 * 32 + 5, Qt::LeftButton);
    EXPECT_TRUE(form->BaseBmp->OverlayShown());
    EXPECT_EQ(form->BaseBmp->OverlayRect().topLeft(), QPoint(6 * 32 + 18, 4 * 32 - 5));
    EXPECT_EQ(form->EditHint(), QStringLiteral("Release button to drop block"));
    // Released 20 pixels into cell 6: the picture's centre is in cell 7.
    Release(Qt::LeftButton, 6 * 32 + 20, 4 * 32 + 5);
    EXPECT_EQ(Stack(7, 4), Names({"14N"}));
    EXPECT_TRUE(Stack(6, 4).empty());
    EXPECT_FALSE(form->Dragging);
    EXPECT_FALSE(form->DragImage.Active);
    EXPECT_FALSE(form->BaseBmp->OverlayShown());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(sounds.played, std::vector<int>({1, 0}));
}

TEST_F(MouseEditingTest, SelectClickPutsTheBlockBackWhereItWas) {
    Put(3, 3, {"30H", "44H"});
    Select("45F");
    Press(Qt::LeftButton, 3 * 32 + 16, 3 * 32 + 16, Qt::ShiftModifier);
    Release(Qt::LeftButton, 3 * 32 + 16, 3 * 32 + 16, Qt::ShiftModifier);
    EXPECT_EQ(Stack(3, 3), Names({"30H", "44H"}));
    EXPECT_EQ(library->GetSelectedIndex(), Index("44H"));
    EXPECT_EQ(sounds.played, std::vector<int>({1, 0})); // "unclick1", then "click1"
    const auto& blockBox = static_cast<TBlockBoxState&>(form->BlockBox());
    EXPECT_GE(blockBox.redraws, 1);
}

TEST_F(MouseEditingTest, BlockReleasedOutsideTheWindowIsGone) {
    Put(0, 0, {"45F"});
    Press(Qt::LeftButton, 10, 10, Qt::ShiftModifier);
    Release(Qt::LeftButton, -40, 10, Qt::ShiftModifier);
    EXPECT_TRUE(Stack(0, 0).empty());
    EXPECT_FALSE(form->DragImage.Active);
    EXPECT_EQ(sounds.played, std::vector<int>({1}));
}

TEST_F(MouseEditingTest, RotateGesture) {
    Put(4, 4, {"14N"});
    // Right press in edit mode on an empty cell: the bucket opens, the release does nothing.
    toolBox().mode = true;
    Press(Qt::RightButton, 5, 5);
    EXPECT_EQ(form->EditState, esRotate);
    EXPECT_EQ(form->EditHint(), QStringLiteral("Move cursor over a block"));
    Release(Qt::RightButton, 5, 5);
    EXPECT_EQ(sounds.played, std::vector<int>({3}));
    EXPECT_TRUE(Stack(0, 0).empty());
    sounds.played.clear();
    // Over a block: the rotation happens on release and selects the turned block.
    Press(Qt::RightButton, 4 * 32 + 3, 4 * 32 + 3);
    EXPECT_EQ(form->EditHint(), QStringLiteral("Release button to complete rotation"));
    Release(Qt::RightButton, 4 * 32 + 3, 4 * 32 + 3);
    EXPECT_EQ(Stack(4, 4), Names({"14E"}));
    EXPECT_EQ(library->GetSelectedIndex(), Index("14E"));
    EXPECT_EQ(sounds.played, std::vector<int>({3, 2}));
    // A block that does not turn: "openbucket" again on release.
    Put(5, 5, {"45F"});
    sounds.played.clear();
    Press(Qt::RightButton, 5 * 32 + 3, 5 * 32 + 3);
    Release(Qt::RightButton, 5 * 32 + 3, 5 * 32 + 3);
    EXPECT_EQ(Stack(5, 5), Names({"45F"}));
    EXPECT_EQ(sounds.played, std::vector<int>({3, 3}));
}

TEST_F(MouseEditingTest, PressTableReadsTheButtonsHeld) {
    form->EditState = esErase;
    Press(Qt::MiddleButton, 10, 10);
    EXPECT_EQ(form->EditState, esErase); // a middle press changes nothing
    Release(Qt::MiddleButton, 10, 10);
    // Both buttons held: the left one wins.
    Select("45F");
    Press(Qt::RightButton, 10, 10);
    Press(Qt::LeftButton, 10, 10);
    EXPECT_EQ(form->EditState, esPaint);
    EXPECT_EQ(Stack(0, 0), Names({"45F"}));
}

TEST_F(MouseEditingTest, TheWindowsOwnEdgeCountsAsOutside) {
    // The window sits at (128, 128): its column 0 and row 0 are outside it.
    Select("45F");
    Press(Qt::LeftButton, 5, 40);
    Release(Qt::LeftButton, 5, 40);
    sounds.played.clear();
    form->Dragging = true;
    form->EditState = esPaint;
    Move(0, 70, Qt::LeftButton);
    EXPECT_TRUE(Stack(0, 2).empty());
    Move(1, 70, Qt::LeftButton);
    EXPECT_EQ(Stack(0, 2), Names({"45F"}));
    EXPECT_FALSE(PointOverWindow(0, 5, form.get(), form->BaseBmp));
    EXPECT_FALSE(PointOverWindow(5, 0, form.get(), form->BaseBmp));
    EXPECT_TRUE(PointOverWindow(1, 1, form.get(), form->BaseBmp));
    EXPECT_FALSE(PointOverWindow(1024, 5, form.get(), form->BaseBmp));
    EXPECT_TRUE(PointOverWindow(1023, 767, form.get(), form->BaseBmp));
}

TEST_F(MouseEditingTest, ShiftChangesTheHintAtOnce) {
    Put(2, 2, {"14N"});
    Move(2 * 32 + 5, 2 * 32 + 5, Qt::NoButton);
    EXPECT_EQ(form->EditHint(), QStringLiteral("Click to paint; Right-click to erase; Use shift to move/rotate"));
    EXPECT_EQ(form->EditPointer(), kPointerPaint);
    QTest::keyPress(form.get(), Qt::Key_Shift);
    EXPECT_EQ(form->EditHint(), QStringLiteral("Click to select; Drag to move; Right-click to rotate"));
    EXPECT_EQ(form->EditPointer(), kPointerOpen);
    EXPECT_EQ(CurrentHint(), QStringLiteral("Click to select; Drag to move; Right-click to rotate"));
    QTest::keyRelease(form.get(), Qt::Key_Shift);
    EXPECT_EQ(form->EditHint(), QStringLiteral("Click to paint; Right-click to erase; Use shift to move/rotate"));
    // A block that does not turn, and an empty cell.
    Put(3, 2, {"45F"});
    Move(3 * 32 + 5, 2 * 32 + 5, Qt::NoButton, Qt::ShiftModifier);
    EXPECT_EQ(form->EditHint(), QStringLiteral("Click to select; Drag to move"));
    Move(9 * 32 + 5, 9 * 32 + 5, Qt::NoButton, Qt::ShiftModifier);
    EXPECT_EQ(form->EditHint(), QStringLiteral("Move cursor over a block"));
    EXPECT_EQ(form->EditPointer(), kPointerDefault);
    Move(9 * 32 + 5, 9 * 32 + 5, Qt::NoButton);
    EXPECT_EQ(form->EditHint(), QStringLiteral("Click or drag the mouse cursor to paint"));
}

TEST_F(MouseEditingTest, CarryingOntoTheSameBlockSaysSo) {
    Put(0, 0, {"45F"});
    Put(1, 0, {"45F"});
    Press(Qt::LeftButton, 5, 5, Qt::ShiftModifier);
    Move(32 + 5, 5, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(form->EditHint(), QStringLiteral("This block is the same as the existing block"));
    EXPECT_EQ(form->EditPointer(), kPointerGrab);
    Release(Qt::LeftButton, 32 + 5, 5, Qt::ShiftModifier);
    EXPECT_EQ(Stack(1, 0), Names({"45F"})); // not stacked twice
}

TEST_F(MouseEditingTest, AReleaseFinishesOnlyTheGestureItsOwnPressBegan) {
    Put(4, 4, {"14N"});
    const int x = 4 * 32 + 3;
    toolBox().mode = true;
    Press(Qt::RightButton, x, x);
    Release(Qt::RightButton, x, x);
    ASSERT_EQ(Stack(4, 4), Names({"14E"}));
    // A middle click after the rotation turns nothing.
    Press(Qt::MiddleButton, x, x);
    Release(Qt::MiddleButton, x, x);
    EXPECT_EQ(Stack(4, 4), Names({"14E"}));
    // After Open: moves edit nothing, and the release that ends the double
    // click closing the dialog turns nothing either.
    form->EditingEnabled = false;
    Move(x, x, Qt::LeftButton);
    Release(Qt::LeftButton, x, x);
    EXPECT_EQ(Stack(4, 4), Names({"14E"}));
    // When no release reaches the surface (Enter closed the dialog), the
    // first press edits at once.
    toolBox().mode = false;
    Select("45F");
    form->EditingEnabled = false;
    Move(40, 5, Qt::LeftButton);
    EXPECT_TRUE(Stack(1, 0).empty());
    Press(Qt::LeftButton, 5, 5);
    EXPECT_EQ(Stack(0, 0), Names({"45F"}));
    Release(Qt::LeftButton, 5, 5);
}

TEST_F(MouseEditingTest, ABlockDroppedPastTheLastColumnAndRowStaysInTheGrid) {
    Put(0, 1, {"45F"});
    // Grabbed at its left edge, released at the window's far corner: the
    // picture's centre lies past the grid's last column and row.
    Press(Qt::LeftButton, 2, 32 + 10, Qt::ShiftModifier);
    Release(Qt::LeftButton, 1022, 766, Qt::ShiftModifier);
    EXPECT_EQ(Stack(31, 23), Names({"45F"}));
    EXPECT_EQ(sounds.played, std::vector<int>({1, 0}));
}

TEST_F(MouseEditingTest, RedrawCellPaintsOneSquare) {
    form->Model->SetBlockIndex(5, 5, Index("30V"), 0);
    EXPECT_NE(Shown(5 * 32 + 10, 5 * 32 + 10), BlockSetColor(1));
    form->RedrawCell(5, 5, 2);
    EXPECT_EQ(Shown(5 * 32 + 10, 5 * 32 + 10), BlockSetColor(1));
    const QImage screen = form->BaseBmp->grab(QRect(5 * 32, 5 * 32, 32, 32)).toImage();
    EXPECT_EQ(screen.pixel(10, 10) | 0xFF000000u, BlockSetColor(1));
    EXPECT_EQ(sounds.played, std::vector<int>({2}));
}

TEST_F(AppTest, DragImage) {
    TDragImage drag;
    int changes = 0;
    drag.OnDragChanged = [&] { ++changes; };
    const int window = 0;

    EXPECT_FALSE(drag.Active);
    drag.StartDrag(library.get(), &window, 2, 70, 40);
    EXPECT_TRUE(drag.Active);
    EXPECT_TRUE(drag.Shown);
    EXPECT_EQ(drag.Index, 2);
    EXPECT_EQ(drag.HotSpot, QPoint(6, 8));
    EXPECT_EQ(drag.Position, QPoint(70, 40));
    EXPECT_EQ(drag.Window, &window);
    EXPECT_EQ(changes, 1);

    drag.DragMove(100, 7);
    EXPECT_EQ(drag.Position, QPoint(100, 7));
    EXPECT_EQ(drag.HotSpot, QPoint(6, 8));
    drag.DragShow(false);
    EXPECT_FALSE(drag.Shown);
    drag.DragShow(true);
    EXPECT_EQ(changes, 4);

    // -1 takes the selected block; the hot spot takes |X| and |Y|.
    library->SelectIndex(1);
    drag.StartDrag(library.get(), &window, -1, -70, -33);
    EXPECT_EQ(drag.Index, 1);
    EXPECT_EQ(drag.HotSpot, QPoint(6, 1));

    // Ending the drag hands every pointer back.
    QGuiApplication::setOverrideCursor(QCursor(Qt::ClosedHandCursor));
    QGuiApplication::setOverrideCursor(QCursor(Qt::ClosedHandCursor));
    const int before = changes;
    drag.StopDrag();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(drag.Active);
    EXPECT_FALSE(drag.Shown);
    EXPECT_EQ(drag.Index, -1);
    EXPECT_EQ(changes, before + 1);
    drag.DragMove(5, 5); // no drag: nothing to move
    drag.DragShow(true);
    EXPECT_FALSE(drag.Shown);
    EXPECT_EQ(changes, before + 1);

    // Nothing selected, or no such block: no picture.
    library->SelectIndex(-1);
    drag.StartDrag(library.get(), &window, -1, 10, 10);
    EXPECT_TRUE(drag.Active);
    EXPECT_EQ(drag.Index, -1);
    drag.StartDrag(library.get(), &window, 77, 10, 10);
    EXPECT_EQ(drag.Index, -1);
    drag.StopDrag();
}

} // namespace
