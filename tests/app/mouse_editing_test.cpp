#include "app_fixture.h"

#include "app/drag_image.h"

namespace {

using Sounds = std::vector<int>; // 0 click, 1 unclick, 2 rotate, 3 open bucket

using MouseEditingTest = FormTest;

TEST_F(MouseEditingTest, PaintStrokeSkipsCellsThatAlreadyShowTheBlock) {
    Select("45F");
    Put("1,0:45F");
    Press(Qt::LeftButton, 40, 10);
    EXPECT_EQ(std::tuple(Cells(), sounds.played, form->EditHint()),
              std::tuple("1,0:45F", Sounds(), S("Drag the mouse cursor to paint")));
    for (int x : {45, 70, 75, 100})
        Move(x, 12, Qt::LeftButton);
    EXPECT_EQ(std::tuple(Cells(), sounds.played, form->BaseBmp->Bitmap.pixel(3 * 32 + 10, 10)),
              std::tuple("1,0:45F 2,0:45F 3,0:45F", Sounds({0, 0}), BlockSetColor(2)));
    Release(Qt::LeftButton, 100, 14);
    EXPECT_EQ(std::tuple(form->Dragging, toolBox().lastScrollMode), std::tuple(false, sbByEdges));

    // The window sits at (128, 128): its own column 0 and row 0 count as outside.
    Press(Qt::LeftButton, 5, 40);
    Move(0, 70, Qt::LeftButton);
    EXPECT_EQ(Cells(), "1,0:45F 2,0:45F 3,0:45F 0,1:45F");
    Move(1, 70, Qt::LeftButton);
    EXPECT_EQ(Cells(), "1,0:45F 2,0:45F 3,0:45F 0,1:45F 0,2:45F");
    Release(Qt::LeftButton, 1, 70);
    for (const auto& [x, y, over] : {std::tuple(5, 0, false), {1024, 5, false}, {1023, 767, true}})
        EXPECT_EQ(PointOverWindow(x, y, form.get(), form->BaseBmp), over) << x << ", " << y;

    form->EditState = esErase;
    Click(Qt::MiddleButton, 10, 200);
    EXPECT_EQ(form->EditState, esErase);
    Press(Qt::RightButton, 10, 200);
    Press(Qt::LeftButton, 10, 200);
    EXPECT_EQ(form->EditState, esPaint);
    EXPECT_EQ(Cells(), "1,0:45F 2,0:45F 3,0:45F 0,1:45F 0,2:45F 0,6:45F");
}

TEST_F(MouseEditingTest, EraseStrokeTakesOneBlockPerCellEntered) {
    Put("0,0:30H+44H+45F 1,0:30H 0,1:45F");
    Press(Qt::RightButton, 5, 5);
    EXPECT_EQ(form->EditState, esErase);
    // Still the same cell; the next one; back in: the next block goes; the row below.
    for (const auto& [x, y, cells] :
         std::vector<std::tuple<int, int, std::string>>{{10, 8, "0,0:30H+44H 1,0:30H 0,1:45F"},
                                                        {20, 9, "0,0:30H+44H 1,0:30H 0,1:45F"},
                                                        {40, 9, "0,0:30H+44H 0,1:45F"},
                                                        {20, 9, "0,0:30H 0,1:45F"},
                                                        {20, 40, "0,0:30H"}}) {
        Move(x, y, Qt::RightButton);
        EXPECT_EQ(Cells(), cells) << x << ", " << y;
    }
    EXPECT_EQ(std::tuple(sounds.played, form->EditHint()),
              std::tuple(Sounds({1, 1, 1, 1}), S("Drag the mouse cursor to erase blocks")));
    Release(Qt::RightButton, 20, 40);
}

TEST_F(MouseEditingTest, CarriedBlockDropsUnderTheCentreOfItsPicture) {
    Put("2,1:30H+14N");
    toolBox().mode = true;                          // edit mode, as Shift gives
    Press(Qt::LeftButton, 2 * 32 + 2, 1 * 32 + 10); // 2 pixels right of the cell's left edge
    // It left the model at the press, selected, under the grabbing hand.
    EXPECT_EQ(
        std::tuple(form->EditState, Cells(), library->GetSelectedIndex(), !QApplication::overrideCursor()),
        std::tuple(esMove, "2,1:30H", Index("14N"), false));
    EXPECT_GE(static_cast<TBlockBoxState&>(form->BlockBox()).redraws, 1);
    Move(6 * 32 + 20, 4 * 32 + 5, Qt::LeftButton);
    EXPECT_EQ(
        std::tuple(form->BaseBmp->OverlayShown(), form->BaseBmp->OverlayRect().topLeft(), form->EditHint()),
        std::tuple(true, QPoint(6 * 32 + 18, 4 * 32 - 5), S("Release button to drop block")));
    Release(Qt::LeftButton, 6 * 32 + 20, 4 * 32 + 5); // 20 pixels into cell 6: the centre is in cell 7
    EXPECT_EQ(
        std::tuple(Cells(), form->BaseBmp->OverlayShown(), !QApplication::overrideCursor(), sounds.played),
        std::tuple("2,1:30H 7,4:14N", false, true, Sounds({1, 0})));
    toolBox().mode = false;

    Put("3,3:30H+44H");
    ClickCell(Qt::LeftButton, 3, 3, Qt::ShiftModifier);
    EXPECT_EQ(std::tuple(Cells(), library->GetSelectedIndex()),
              std::tuple("2,1:30H 3,3:30H+44H 7,4:14N", Index("44H")));

    Put("0,0:45F 1,0:45F");
    Press(Qt::LeftButton, 5, 5, Qt::ShiftModifier);
    Move(32 + 5, 5, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(form->EditHint(), S("This block is the same as the existing block"));
    Release(Qt::LeftButton, 32 + 5, 5, Qt::ShiftModifier);
    EXPECT_EQ(Cells(), "1,0:45F 2,1:30H 3,3:30H+44H 7,4:14N");
    // Past the far corner: kept in the last cell; outside the window: gone.
    Press(Qt::LeftButton, 32 + 2, 10, Qt::ShiftModifier);
    Release(Qt::LeftButton, 1022, 766, Qt::ShiftModifier);
    EXPECT_EQ(Cells(), "2,1:30H 3,3:30H+44H 7,4:14N 31,23:45F");
    Press(Qt::LeftButton, 1022, 766, Qt::ShiftModifier);
    Release(Qt::LeftButton, -40, 10, Qt::ShiftModifier);
    EXPECT_EQ(std::tuple(Cells(), form->DragImage.Active), std::tuple("2,1:30H 3,3:30H+44H 7,4:14N", false));
}

TEST_F(MouseEditingTest, RotateOnReleaseAndOnlyForTheGestureItsPressBegan) {
    Put("4,4:14N 5,5:45F");
    toolBox().mode = true;
    Click(Qt::RightButton, 5, 5); // an empty cell: the bucket opens, nothing more
    EXPECT_EQ(std::tuple(form->EditState, sounds.played), std::tuple(esRotate, Sounds({3})));
    const int x = 4 * 32 + 3;
    Press(Qt::RightButton, x, x);
    EXPECT_EQ(form->EditHint(), S("Release button to complete rotation"));
    EXPECT_EQ(Cells(), "4,4:14N 5,5:45F");
    Release(Qt::RightButton, x, x);
    EXPECT_EQ(std::tuple(Cells(), library->GetSelectedIndex(), sounds.played),
              std::tuple("4,4:14E 5,5:45F", Index("14E"), Sounds({3, 3, 2})));
    Click(Qt::RightButton, 5 * 32 + 3, 5 * 32 + 3); // a block that does not turn
    EXPECT_EQ(sounds.played, Sounds({3, 3, 2, 3, 3}));

    // Neither a middle click nor the release ending a dialog's double click turns.
    Click(Qt::MiddleButton, x, x);
    form->EditingEnabled = false;
    Move(x, x, Qt::LeftButton);
    Release(Qt::LeftButton, x, x);
    EXPECT_EQ(Cells(), "4,4:14E 5,5:45F");
    // No release reached the surface (Enter closed a dialog): moves edit nothing, a press does.
    toolBox().mode = false;
    Select("45F");
    Click(Qt::LeftButton, 5, 40); // back to painting
    form->EditingEnabled = false;
    Move(40, 5, Qt::LeftButton);
    EXPECT_EQ(Cells(), "0,1:45F 4,4:14E 5,5:45F");
    Press(Qt::LeftButton, 5, 5);
    Move(40, 5, Qt::LeftButton);
    EXPECT_EQ(Cells(), "0,0:45F 1,0:45F 0,1:45F 4,4:14E 5,5:45F");
    Release(Qt::LeftButton, 40, 5);
}

TEST_F(MouseEditingTest, HintAndPointerFollowTheCellAndShift) {
    Put("2,2:14N 3,2:45F");
    Move(2 * 32 + 5, 2 * 32 + 5, Qt::NoButton);
    EXPECT_EQ(std::tuple(form->EditHint(), form->EditPointer()),
              std::tuple(S("Click to paint; Right-click to erase; Use shift to move/rotate"), kPointerPaint));
    QTest::keyPress(form.get(), Qt::Key_Shift); // at once, without a move
    EXPECT_EQ(std::tuple(CurrentHint(), form->EditPointer()),
              std::tuple(S("Click to select; Drag to move; Right-click to rotate"), kPointerOpen));
    QTest::keyRelease(form.get(), Qt::Key_Shift);
    EXPECT_EQ(form->EditPointer(), kPointerPaint);
    Move(3 * 32 + 5, 2 * 32 + 5, Qt::NoButton, Qt::ShiftModifier);
    EXPECT_EQ(form->EditHint(), S("Click to select; Drag to move"));
    Move(9 * 32 + 5, 9 * 32 + 5, Qt::NoButton, Qt::ShiftModifier);
    EXPECT_EQ(std::tuple(form->EditHint(), form->EditPointer()),
              std::tuple(S("Move cursor over a block"), kPointerDefault));
    Move(9 * 32 + 5, 9 * 32 + 5, Qt::NoButton);
    EXPECT_EQ(form->EditHint(), S("Click or drag the mouse cursor to paint"));
}

TEST_F(AppTest, DragImage) {
    TDragImage drag;
    int changes = 0;
    drag.OnDragChanged = [&] { ++changes; };
    const int window = 0;
    library->SelectIndex(1); // -1 takes the selected block; the hot spot takes |X| and |Y| in the cell
    drag.StartDrag(library.get(), &window, -1, -70, -33);
    EXPECT_EQ(std::tuple(drag.Active, drag.Shown, drag.Index, drag.HotSpot),
              std::tuple(true, true, 1, QPoint(6, 1)));
    drag.DragMove(100, 7);
    drag.DragMove(100, 7); // the same place: no change
    QGuiApplication::setOverrideCursor(QCursor(Qt::ClosedHandCursor));
    QGuiApplication::setOverrideCursor(QCursor(Qt::ClosedHandCursor));
    drag.StopDrag();
    drag.DragShow(true);
    EXPECT_EQ(std::tuple(!QGuiApplication::overrideCursor(), drag.Active, drag.Shown, changes),
              std::tuple(true, false, false, 3));
    drag.StartDrag(library.get(), &window, library->Count, 10, 10); // no such block: no picture
    EXPECT_EQ(drag.Index, -1);
}

} // namespace
