#include "app_fixture.h"

#include "library/background.h"
#include "windows/attributes_form.h"

#include <QCheckBox>
#include <QPlainTextEdit>

namespace {

class UndoTest : public FormTest {
protected:
    std::pair<QString, bool> LabelAndRevert() { return {Label(), form->MainMenu.Revert1->isEnabled()}; }
    auto State() const { // the cells, Undo and Redo enabled
        return std::tuple(Cells(), form->MainMenu.Undo1->isEnabled(), form->MainMenu.Redo1->isEnabled());
    }
};

TEST_F(UndoTest, EachGestureAndCommandIsOneStepAndNothingChangedIsNone) {
    Select("45F");
    Press(Qt::LeftButton, 5, 5);
    Move(40, 5, Qt::LeftButton);
    Move(70, 5, Qt::LeftButton);
    Release(Qt::LeftButton, 70, 5);
    ClickCell(Qt::LeftButton, 1, 0);
    EXPECT_EQ(form->History.UndoCount(), 1u);
    form->ShowHintLine(QString::fromLatin1(kUndoHint));
    EXPECT_EQ(toolBox().hint, S("Undo: paint (Ctrl+Z)"));
    Press(Qt::RightButton, 40, 5);
    Move(70, 5, Qt::RightButton);
    Release(Qt::RightButton, 70, 5);
    ClickCell(Qt::RightButton, 9, 9);
    EXPECT_EQ(form->History.UndoCount(), 2u);
    Press(Qt::LeftButton, 5, 5, Qt::ShiftModifier);
    Move(60, 30, Qt::LeftButton, Qt::ShiftModifier);
    Release(Qt::LeftButton, 3 * 32 + 16, 1 * 32 + 16, Qt::ShiftModifier);
    ClickCell(Qt::LeftButton, 3, 1, Qt::ShiftModifier);
    EXPECT_EQ(std::tuple(form->History.UndoCount(), form->History.UndoName()), std::tuple(3u, S("move")));
    Put("6,6:30H");
    form->StartFreshHistory(); // what the test put there is where the history starts
    EXPECT_EQ(Cells(), "3,1:45F 6,6:30H");
    Press(Qt::LeftButton, 6 * 32 + 5, 6 * 32 + 5, Qt::ShiftModifier);
    Release(Qt::LeftButton, -40, 6 * 32 + 5, Qt::ShiftModifier);
    Select("14N");
    ClickCell(Qt::LeftButton, 5, 5);
    ClickCell(Qt::RightButton, 5, 5, Qt::ShiftModifier);
    ClickCell(Qt::RightButton, 8, 8, Qt::ShiftModifier);
    form->MainMenu.Down1->trigger();
    for (int i = 0; i < 4; ++i)
        form->MainMenu.Left1->trigger();
    EXPECT_EQ(Cells(), "0,2:45F 2,6:14E");
    const int32_t selected = library->GetSelectedIndex();

    std::vector<QString> undone;
    while (form->History.CanUndo() && undone.size() < 20) {
        undone.push_back(form->History.UndoName());
        form->MainMenu.Undo1->trigger();
    }
    EXPECT_EQ(undone,
              std::vector<QString>({"scroll", "scroll", "scroll", "scroll", "rotate", "paint", "move"}));
    EXPECT_EQ(std::tuple(Cells(), library->GetSelectedIndex()),
              std::tuple("3,1:45F 6,6:30H", selected)); // kept
    while (form->History.CanRedo())
        form->MainMenu.Redo1->trigger();
    EXPECT_EQ(Cells(), "0,2:45F 2,6:14E");
    EXPECT_EQ(form->BaseBmp->Bitmap.pixel(2 * 32 + 5, 6 * 32 + 5), BlockSetColor(Index("14E")));
}

TEST_F(UndoTest, AttributesCellsAndTheSavedPointComeBackExactly) {
    TAttributesForm dialog(form->Model.get(), form.get());
    form->SetAttributesForm(&dialog);
    auto attributes = [&](const std::function<void()>& change) {
        QTimer::singleShot(0, [&] {
            change();
            dialog.OKBtn->click();
        });
        form->MainMenu.Attributes1->trigger();
    };
    attributes([] {}); // OK without a change: no step
    EXPECT_FALSE(form->History.CanUndo());
    form->Model->Modified = false;
    attributes([&] {
        dialog.DescriptionMemo->setPlainText(S("A gate"));
        dialog.UserText->setPlainText(S("Hello"));
        QTest::mouseClick(dialog.BkgndColors[11], Qt::LeftButton, {}, QPoint(8, 8)); // 008000
        QTest::mouseClick(dialog.GradientCheck, Qt::LeftButton, {},
                          QPoint(6, dialog.GradientCheck->height() / 2));
    });
    ASSERT_EQ(form->History.UndoName(), S("attributes"));
    const QRgb gradient = form->BaseBmp->Bitmap.pixel(500, 100);

    DialogsChoose(folder->file(S("Models/Gate.cst")));
    Select("45F");
    ClickCell(Qt::LeftButton, 2, 2);
    form->SaveAs1Click();
    EXPECT_EQ(Label(), S("Gate"));
    ClickCell(Qt::LeftButton, 3, 2);
    EXPECT_EQ(LabelAndRevert(), std::pair(S("Gate*"), true));

    form->MainMenu.Undo1->trigger();
    EXPECT_EQ(LabelAndRevert(), std::pair(S("Gate"), false));
    form->MainMenu.Undo1->trigger();
    EXPECT_EQ(LabelAndRevert(), std::pair(S("Gate*"), true));
    form->MainMenu.Undo1->trigger();
    EXPECT_EQ(std::tuple(form->Model->Background.Kind, form->Model->TextOverlay.Text,
                         form->BaseBmp->Bitmap.pixel(500, 100)),
              std::tuple(uint8_t{bkColor}, "", qRgb(0, 0, 0)));
    while (form->History.CanRedo())
        form->MainMenu.Redo1->trigger();
    EXPECT_EQ(
        std::tuple(form->Model->Description.DescriptionText, form->BaseBmp->Bitmap.pixel(500, 100), Label()),
        std::tuple("A gate", gradient, S("Gate*")));
    form->SetAttributesForm(nullptr);
}

TEST_F(UndoTest, KeysItemsAndAFreshHistoryAfterNewOpenAndRevert) {
    ASSERT_TRUE(ActivateAndWait(*form));
    const TMainMenu& m = form->MainMenu;
    EXPECT_EQ(State(), std::tuple("", false, false));

    Select("45F");
    ClickCell(Qt::LeftButton, 1, 1);
    EXPECT_EQ(State(), std::tuple("1,1:45F", true, false));
    QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(State(), std::tuple("", false, true));
    QTest::keyClick(form.get(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(State(), std::tuple("1,1:45F", true, false));

    presenter().answers = {IDNO};
    m.New1->trigger();
    EXPECT_EQ(State(), std::tuple("", false, false));
    DialogsChoose(folder->file(S("Models/Arch.cst")));
    ClickCell(Qt::LeftButton, 4, 4);
    m.Save1->trigger();
    ClickCell(Qt::LeftButton, 5, 5);
    presenter().answers = {IDYES};
    m.Revert1->trigger();
    EXPECT_EQ(State(), std::tuple("4,4:45F", false, false));
    ClickCell(Qt::LeftButton, 6, 6);
    presenter().answers = {IDNO};
    m.Open1->trigger();
    EXPECT_EQ(std::tuple_cat(State(), std::tuple(Label())), std::tuple("4,4:45F", false, false, S("Arch")));
}

} // namespace
