#include "app_fixture.h"

#include <QMenu>
#include <map>

namespace {

class CommandsTest : public FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        ASSERT_TRUE(ActivateAndWait(*form));
    }
    void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(form.get(), static_cast<Qt::Key>(key), mods);
    }
};

TEST_F(CommandsTest, MenusListTheirItemsAndScrollingMovesTheModelOrSaysNoWithASound) {
    const TMainMenu& m = form->MainMenu;
    std::map<QString, const QMenu*> menus = {{"File", m.FileMenu1}, {"Display", m.DisplayMenu1},
                                             {"Help", m.HelpMenu1}, {"Buttons", m.ButtonsMenu1},
                                             {"Edit", m.EditMenu1}, {"Toolbox", m.ToggleToolbox1}};
    for (const QStringList& menu : DataCases(S("menus"))) {
        QStringList items;
        for (const QAction* a : menus.at(menu[0])->actions()) {
            const QString item = (a->text() + ' ' + a->shortcut().toString()).trimmed();
            items << (a->isSeparator()           ? S("-")
                      : a->statusTip().isEmpty() ? item
                                                 : item + '|' + a->statusTip());
        }
        EXPECT_EQ(items, menu.mid(1)) << menu[0].toStdString();
        menus.erase(menu[0]);
    }
    EXPECT_TRUE(menus.empty()) << "menus not listed in the data";
    EXPECT_EQ(m.Redo1->shortcuts().value(1), QKeySequence(Qt::CTRL | Qt::Key_Y));
    QList<QKeySequence> keys;
    for (QAction* action : form->actions())
        for (const QKeySequence& key : action->shortcuts()) {
            EXPECT_FALSE(keys.contains(key)) << action->objectName().toStdString();
            keys << key;
        }

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
