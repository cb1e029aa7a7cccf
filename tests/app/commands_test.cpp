#include "app_fixture.h"

#include "app/file_commands.h"
#include "widgets/bmp_wnd.h"
#include "library/block_list.h"
#include "model/model.h"
#include "windows/box_links.h"
#include "windows/preference_values.h"

#include <QAction>
#include <QMenu>
#include <QTest>

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
    TToolBoxState& toolBox() { return static_cast<TToolBoxState&>(form->ToolBox()); }
};

TEST_F(CommandsTest, MenuItemsHaveTheirCaptionsKeysAndHints) {
    const TMainMenu& m = form->MainMenu;
    EXPECT_EQ(m.SaveAs1->text(), QStringLiteral("Save &As..."));
    EXPECT_EQ(m.SaveAs1->shortcut(), QKeySequence(QStringLiteral("Shift+Ctrl+S")));
    EXPECT_EQ(m.SaveAs1->statusTip(), QStringLiteral("Save model as another file (Shift+Ctrl+S)"));
    EXPECT_EQ(m.ExportasBitmap1->text(), QStringLiteral("Export as Bit&map..."));
    EXPECT_EQ(m.Minimize1->shortcut(), QKeySequence(QStringLiteral("Shift+Esc")));
    EXPECT_EQ(m.ShowToolBox1->statusTip(), QStringLiteral("Show/hide toolbox (Spacebar)"));
    EXPECT_EQ(m.HelpSearch1->text(), QStringLiteral("&Search for Help on..."));
    EXPECT_EQ(m.ToggleToolbox2->shortcut(), QKeySequence(Qt::Key_F10));
    // The File pop-up holds Undo, Redo, a separator, Save As, Revert, a separator, wallpaper and export, in order.
    const QList<QAction*> file = m.FileMenu1->actions();
    ASSERT_EQ(file.size(), 8);
    EXPECT_EQ(file[0], m.Undo1);
    EXPECT_EQ(file[1], m.Redo1);
    EXPECT_TRUE(file[2]->isSeparator());
    EXPECT_EQ(file[3], m.SaveAs1);
    EXPECT_EQ(file[4], m.Revert1);
    EXPECT_TRUE(file[5]->isSeparator());
    EXPECT_EQ(file[6], m.SetAsWallpaper1);
    EXPECT_EQ(file[7], m.ExportasBitmap1);
    EXPECT_EQ(m.HelpMenu1->actions().size(), 5);
    EXPECT_EQ(m.DisplayMenu1->actions().size(), 3);
    // No key is claimed twice, or Qt would run neither item.
    QList<QKeySequence> keys;
    for (QAction* action : form->actions()) {
        if (action->shortcut().isEmpty())
            continue;
        EXPECT_FALSE(keys.contains(action->shortcut())) << action->objectName().toStdString();
        keys << action->shortcut();
    }
}

TEST_F(CommandsTest, NewOnAnUnmodifiedModelEnablesEveryScrollButton) {
    Put(0, 0, {"45F"});
    form->Model->Modified = false;
    Key(Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(presenter().shown.empty());
    EXPECT_TRUE(Stack(0, 0).empty());
    EXPECT_EQ(toolBox().lastScrollMode, sbAllEnabled);
    EXPECT_EQ(toolBox().fileLabel, QStringLiteral("(Untitled)"));
    EXPECT_FALSE(form->MainMenu.Revert1->isEnabled());
}

TEST_F(CommandsTest, ScrollingMovesTheModelOrSaysNoWithASound) {
    Put(31, 3, {"45F"});
    form->Model->Modified = false;
    Key(Qt::Key_Right);
    EXPECT_EQ(Stack(31, 3), std::vector<std::string>({"45F"}));
    EXPECT_FALSE(form->Model->Modified);
    EXPECT_EQ(sounds.played, std::vector<int>({4})); // "closebucket"
    EXPECT_EQ(toolBox().lastScrollMode, sbLeftRight);
    Key(Qt::Key_Left);
    EXPECT_EQ(Stack(30, 3), std::vector<std::string>({"45F"}));
    EXPECT_TRUE(form->Model->Modified);
    EXPECT_EQ(sounds.played, std::vector<int>({4, 2}));
    Key(Qt::Key_Down);
    EXPECT_EQ(Stack(30, 4), std::vector<std::string>({"45F"}));
    EXPECT_EQ(toolBox().lastScrollMode, sbUpDown);
    Key(Qt::Key_Up);
    EXPECT_EQ(Stack(30, 3), std::vector<std::string>({"45F"}));
    // The picture follows at once.
    EXPECT_EQ(form->BaseBmp->Bitmap.pixel(30 * 32 + 5, 3 * 32 + 5), BlockSetColor(2));
    EXPECT_TRUE(form->MainMenu.Revert1->isEnabled() == form->Model->Modified);
}

// Tab and Ctrl+B are tried on the real toolbox in the application tests.
TEST_F(CommandsTest, CtrlGTogglesTheGrid) {
    const bool grid = Preferences().GridVisible;
    Key(Qt::Key_G, Qt::ControlModifier);
    EXPECT_NE(Preferences().GridVisible, grid);
    // The grid line under row 0 is drawn (or gone) at once.
    const QRgb line = form->BaseBmp->Bitmap.pixel(100, 31);
    EXPECT_EQ(line == qRgb(0, 128, 0), Preferences().GridVisible);
    Key(Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(Preferences().GridVisible, grid);
}

TEST_F(CommandsTest, KeysThatDoNothing) {
    Put(2, 2, {"45F"});
    form->Model->Modified = false;
    Key(Qt::Key_R, Qt::ShiftModifier | Qt::ControlModifier);
    Key(Qt::Key_I, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_FALSE(form->Model->Modified);
    EXPECT_TRUE(presenter().shown.empty());
    EXPECT_TRUE(sounds.played.empty());
    EXPECT_EQ(Stack(2, 2), std::vector<std::string>({"45F"}));
}

// What Save does is the file command tests' business; here Ctrl+S reaches it.
TEST_F(CommandsTest, CtrlSOnAnUntitledModelAsksForAName) {
    Put(1, 1, {"45F"});
    QString asked;
    SetFileDialogRunner([&](TFileDialogSettings& dialog, QWidget*) {
        asked = dialog.Title + QLatin1Char('|') + dialog.FileName;
        return false;
    });
    Key(Qt::Key_S, Qt::ControlModifier);
    SetFileDialogRunner({});
    EXPECT_EQ(asked, QStringLiteral("Save Model As|Model01.cst"));
}

} // namespace
