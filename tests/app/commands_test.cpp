#include "app_fixture.h"

#include <QMenu>

namespace {

class CommandsTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        MakeForm();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(form.get(), static_cast<Qt::Key>(key), mods);
    }
};

TEST_F(CommandsTest, EveryMenuItemHasItsCaptionKeyAndHint) {
    // A menu as "caption key|hint" items, "-" for a separator.
    const auto listed = [](const QMenu* menu) {
        QStringList items;
        for (const QAction* a : menu->actions()) {
            QString item = (a->text() + ' ' + a->shortcut().toString()).trimmed();
            items << (a->isSeparator()           ? S("-")
                      : a->statusTip().isEmpty() ? item
                                                 : item + '|' + a->statusTip());
        }
        return items.join(S("; ")).toStdString();
    };
    const TMainMenu& m = form->MainMenu;
    EXPECT_EQ(listed(m.FileMenu1),
              "&Undo Ctrl+Z|Undo the last change (Ctrl+Z); &Redo Ctrl+Shift+Z|Redo the last undone change "
              "(Shift+Ctrl+Z); -; Save &As... Ctrl+Shift+S|Save model as another file (Shift+Ctrl+S); "
              "&Revert|Restore model to last saved version; -; Set as &Wallpaper|Set model image as Windows "
              "wallpaper; Export as Bit&map...|Export image as a Windows bitmap");
    EXPECT_EQ(
        listed(m.DisplayMenu1),
        "Show/hide &Toolbox Space|Show/hide toolbox (Spacebar); &Dock Boxes|Reset block box and toolbox "
        "to default position; Minimi&ze Shift+Esc|Shrink main window to a button on the taskbar "
        "(Shift+Esc)");
    EXPECT_EQ(listed(m.HelpMenu1), "&Contents|Help contents; &Search for Help on...|Browse help topics; &How "
                                   "to use Help|How to use Help; -; &About...");
    EXPECT_EQ(listed(m.ButtonsMenu1), "&New Ctrl+N; &Open... Ctrl+O; &Save Ctrl+S; &Print Ctrl+P; -; "
                                      "Show/hide &Block Box Ctrl+B; Show/hide &Grid Ctrl+G; &Refresh Screen "
                                      "Ctrl+Shift+R; &Information... Ctrl+Shift+I; -; E&xit");
    EXPECT_EQ(listed(m.EditMenu1),
              "&Mode Tab; -; Scroll &Right Right; Scroll &Left Left; Scroll &Up Up; "
              "Scroll &Down Down; -; Model &Attributes... Ctrl+T; &Preferences... Ctrl+J");
    EXPECT_EQ(listed(m.ToggleToolbox1), "Show/hide &Toolbox F10");
    EXPECT_EQ(m.Redo1->shortcuts().value(1), QKeySequence(Qt::CTRL | Qt::Key_Y));
    QList<QKeySequence> keys;
    for (QAction* action : form->actions())
        for (const QKeySequence& key : action->shortcuts()) {
            EXPECT_FALSE(keys.contains(key)) << action->objectName().toStdString();
            keys << key;
        }
}

TEST_F(CommandsTest, ScrollingMovesTheModelOrSaysNoWithASound) {
    Put("31,3:45F");
    form->Model->Modified = false;
    Key(Qt::Key_Right); // 4: "closebucket"
    EXPECT_EQ(std::tuple(Cells(), form->Model->Modified, sounds.played, toolBox().lastScrollMode),
              std::tuple("31,3:45F", false, std::vector<int>({4}), sbLeftRight));
    Key(Qt::Key_Left);
    EXPECT_EQ(std::tuple(Cells(), form->Model->Modified, sounds.played),
              std::tuple("30,3:45F", true, std::vector<int>({4, 2})));
    Key(Qt::Key_Down);
    EXPECT_EQ(std::tuple(Cells(), toolBox().lastScrollMode), std::tuple("30,4:45F", sbUpDown));
    Key(Qt::Key_Up); // drawn at once
    EXPECT_EQ(std::tuple(Cells(), form->BaseBmp->Bitmap.pixel(30 * 32 + 5, 3 * 32 + 5)),
              std::tuple("30,3:45F", BlockSetColor(2)));

    Key(Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(form->BaseBmp->Bitmap.pixel(100, 31) == qRgb(0, 128, 0), Preferences().GridVisible);

    form->Model->Modified = false;
    sounds.played.clear();
    Key(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(std::tuple(Texts(), Cells(), toolBox().lastScrollMode, form->MainMenu.Revert1->isEnabled()),
              std::tuple(QStringList(), "", sbAllEnabled, false));
}

} // namespace
