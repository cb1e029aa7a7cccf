// The toolbox on real widgets: its buttons, the commands and menus they run,
// the hint line, the scroll buttons and the progress sweep.
#include "windows/toolbox_form.h"

#include "widgets/flat_button.h"
#include "windows/focus_target.h"
#include "windows/hint_line.h"
#include "windows/settings_store.h"

#include "support/test_support.h"
#include "support/widget_helpers.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QTest>
#include <QTimer>
#include <array>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <vector>

namespace {

const QRect kMainWindow(30, 20, 700, 520);

// The main window's commands as the toolbox sees them, each counting its runs.
class Commands {
public:
    Commands() {
        for (const char* name : {"New1",
                                 "Open1",
                                 "Save1",
                                 "SaveAs1",
                                 "Print1",
                                 "ShowGrid1",
                                 "ShowBlockSets1",
                                 "Attributes1",
                                 "Preferences1",
                                 "Exit1",
                                 "Left1",
                                 "Right1",
                                 "Up1",
                                 "Down1",
                                 "Revert1",
                                 "SetAsWallpaper1",
                                 "ExportasBitmap1",
                                 "ShowToolBox1",
                                 "DockBoxes1",
                                 "Minimize1",
                                 "Contents1",
                                 "HelpSearch1",
                                 "HowtouseHelp1",
                                 "About1"}) {
            auto* action = new QAction(QString::fromLatin1(name), &owner);
            action->setObjectName(QString::fromLatin1(name));
            QObject::connect(action, &QAction::triggered, [this, name] { runs.push_back(name); });
            actions[name] = action;
        }
        actions["SaveAs1"]->setText(QStringLiteral("Save &As..."));
        actions["Revert1"]->setText(QStringLiteral("&Revert"));
        actions["SetAsWallpaper1"]->setText(QStringLiteral("Set as &Wallpaper"));
        actions["ExportasBitmap1"]->setText(QStringLiteral("Export as Bit&map..."));
        fileMenu.addAction(actions["SaveAs1"]);
        fileMenu.addAction(actions["Revert1"]);
        fileMenu.addSeparator();
        fileMenu.addAction(actions["SetAsWallpaper1"]);
        fileMenu.addAction(actions["ExportasBitmap1"]);
        displayMenu.addAction(actions["ShowToolBox1"]);
        displayMenu.addAction(actions["DockBoxes1"]);
        displayMenu.addAction(actions["Minimize1"]);
        helpMenu.addAction(actions["Contents1"]);
        helpMenu.addAction(actions["HelpSearch1"]);
        helpMenu.addAction(actions["HowtouseHelp1"]);
        helpMenu.addSeparator();
        helpMenu.addAction(actions["About1"]);
    }

    TToolBoxCommands Binding() {
        TToolBoxCommands c;
        c.New1 = actions["New1"];
        c.Open1 = actions["Open1"];
        c.Save1 = actions["Save1"];
        c.SaveAs1 = actions["SaveAs1"];
        c.Print1 = actions["Print1"];
        c.ShowGrid1 = actions["ShowGrid1"];
        c.ShowBlockSets1 = actions["ShowBlockSets1"];
        c.Attributes1 = actions["Attributes1"];
        c.Preferences1 = actions["Preferences1"];
        c.Exit1 = actions["Exit1"];
        c.Left1 = actions["Left1"];
        c.Right1 = actions["Right1"];
        c.Up1 = actions["Up1"];
        c.Down1 = actions["Down1"];
        c.FileMenu1 = &fileMenu;
        c.DisplayMenu1 = &displayMenu;
        c.HelpMenu1 = &helpMenu;
        return c;
    }

    QObject owner;
    std::map<std::string, QAction*> actions;
    QMenu fileMenu;
    QMenu displayMenu;
    QMenu helpMenu;
    std::vector<std::string> runs;
};

class ToolBoxFormTest : public CubestacksTest {
protected:
    void SetUp() override {
        CubestacksTest::SetUp();
        OpenSettingsStore()->remove(QStringLiteral("Windows"));
        ResetHintLine();
        SetFocusTarget(nullptr);
    }
    void TearDown() override {
        box.reset();
        SetFocusTarget(nullptr);
        ResetHintLine();
        OpenSettingsStore()->remove(QStringLiteral("Windows"));
        CubestacksTest::TearDown();
    }

    void MakeBox(bool show = true) {
        box = std::make_unique<TToolBoxForm>(kMainWindow);
        box->RememberPlace = false;
        box->SweepMilliseconds = 0;
        box->BindCommands(commands.Binding());
        if (show) {
            ASSERT_TRUE(ShowExposed(*box));
        }
    }

    static void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(3, 3)); }

    Commands commands;
    std::unique_ptr<TToolBoxForm> box;
};

TEST_F(ToolBoxFormTest, DockedAtTheMainWindowsTopLeftCornerWithItsHints) {
    MakeBox(false);
    EXPECT_EQ(box->objectName(), QStringLiteral("ToolBoxForm"));
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Toolbox"));
    EXPECT_EQ(box->pos(), kMainWindow.topLeft());
    EXPECT_FALSE(box->BkgndImage->pixmap().isNull());
    EXPECT_EQ(box->Hint->text(), QStringLiteral("Quadrantine Cubestacks"));
    EXPECT_FALSE(box->Gauge->isVisibleTo(box.get()));
    EXPECT_EQ(box->FileLabel->text(), QStringLiteral("(Untitled)"));

    const std::pair<TFlatButton*, const char*> buttons[] = {
        {box->NewBtn, "Create a new model (Ctrl+N)"},
        {box->OpenBtn, "Open a model file (Ctrl+O)"},
        {box->SaveBtn, "Save current model (Ctrl+S)"},
        {box->PrintBtn, "Print current model (Ctrl+P)"},
        {box->FileBtn, "Undo, redo, save as, revert, wallpaper, export bitmap"},
        {box->GridBtn, "Show/hide grid (Ctrl+G)"},
        {box->BlockBoxBtn, "Show/hide block box (Ctrl+B)"},
        {box->DisplayBtn, "Show/hide toolbox, dock boxes, minimize"},
        {box->AttributesBtn, "Model Attributes (Ctrl+T)"},
        {box->PreferencesBtn, "Preferences (Ctrl+J)"},
        {box->HelpBtn, nullptr},
        {box->ExitBtn, "Exit program (Alt+F4)"},
        {box->ModeBtn, "Show/hide paint/edit mode (Tab)"},
        {box->ScrollLeftBtn, "Scroll model to the left (Left arrow)"},
        {box->ScrollUpBtn, "Scroll model up (Up arrow)"},
        {box->ScrollDownBtn, "Scroll model down (Down arrow)"},
        {box->ScrollRightBtn, "Scroll model to the right (Right arrow)"},
    };
    for (const auto& [button, hint] : buttons) {
        const std::string name = button->objectName().toStdString();
        if (hint)
            EXPECT_EQ(button->statusTip(), QString::fromLatin1(hint)) << name;
        else
            EXPECT_FALSE(button->statusTip().isEmpty()) << name;
        EXPECT_FALSE(button->Glyph().isNull()) << name;
        EXPECT_TRUE(button->Enabled()) << name;
    }
}

TEST_F(ToolBoxFormTest, ButtonsRunTheirCommandsAndTheLatchingOnesStayDown) {
    MakeBox();
    const std::pair<TFlatButton*, const char*> plain[] = {
        {box->NewBtn, "New1"},
        {box->OpenBtn, "Open1"},
        {box->SaveBtn, "Save1"},
        {box->PrintBtn, "Print1"},
        {box->AttributesBtn, "Attributes1"},
        {box->PreferencesBtn, "Preferences1"},
        {box->ExitBtn, "Exit1"},
        {box->ScrollLeftBtn, "Left1"},
        {box->ScrollRightBtn, "Right1"},
        {box->ScrollUpBtn, "Up1"},
        {box->ScrollDownBtn, "Down1"},
    };
    for (const auto& [button, command] : plain) {
        commands.runs.clear();
        Click(button);
        EXPECT_EQ(commands.runs, std::vector<std::string>{command}) << command;
        EXPECT_EQ(button->State(), TFlatButton::bsUp) << command;
    }

    // The grid and block box buttons latch, and run their command at each click.
    commands.runs.clear();
    Click(box->GridBtn);
    EXPECT_TRUE(box->GridBtn->Checked());
    Click(box->BlockBoxBtn);
    EXPECT_TRUE(box->BlockBoxChecked());
    Click(box->GridBtn);
    EXPECT_FALSE(box->GridBtn->Checked());
    EXPECT_EQ(commands.runs, (std::vector<std::string>{"ShowGrid1", "ShowBlockSets1", "ShowGrid1"}));
    box->SetBlockBoxChecked(false);
    EXPECT_EQ(box->BlockBoxBtn->State(), TFlatButton::bsUp);

    // The mode button only latches: its state is the editing mode.
    commands.runs.clear();
    Click(box->ModeBtn);
    EXPECT_TRUE(box->ModeChecked());
    EXPECT_EQ(box->ModeBtn->State(), TFlatButton::bsLatched);
    Click(box->ModeBtn);
    EXPECT_FALSE(box->ModeChecked());
    box->SetModeChecked(true);
    EXPECT_TRUE(box->ModeBtn->Checked());
    EXPECT_TRUE(commands.runs.empty());

    // A disabled command does not run (presses off the button, disabled buttons
    // and other mouse buttons are the flat button tests' business).
    commands.actions["Open1"]->setEnabled(false);
    Click(box->OpenBtn);
    EXPECT_TRUE(commands.runs.empty());

    // A toolbox bound to nothing only changes its looks.
    TToolBoxForm unbound(kMainWindow);
    unbound.RememberPlace = false;
    Click(unbound.NewBtn);
    Click(unbound.GridBtn);
    EXPECT_TRUE(unbound.GridBtn->Checked());
    EXPECT_TRUE(commands.runs.empty());
}

TEST_F(ToolBoxFormTest, MenuButtonsPopUpTheMainMenusAndRunTheItemChosen) {
    MakeBox();
    struct Case {
        TFlatButton* button;
        QMenu* menu;
        int item; // the item clicked in the copy
        const char* command;
    };
    const Case cases[] = {
        {box->FileBtn, &commands.fileMenu, 1, "Revert1"},
        {box->DisplayBtn, &commands.displayMenu, 1, "DockBoxes1"},
        {box->HelpBtn, &commands.helpMenu, 4, "About1"},
    };
    for (const Case& c : cases) {
        commands.runs.clear();
        QStringList shown;
        QPoint shownAt;
        QTimer::singleShot(0, [&] {
            QMenu* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!popup) {
                ADD_FAILURE() << "no menu opened";
                return;
            }
            shownAt = popup->pos();
            for (QAction* action : popup->actions())
                shown << (action->isSeparator() ? QStringLiteral("-") : action->text());
            QAction* chosen = popup->actions().value(c.item);
            QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(chosen).center());
            if (popup->isVisible()) {
                ADD_FAILURE() << "the menu stayed open";
                popup->close();
            }
        });
        QTest::mousePress(c.button, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(c.button, Qt::LeftButton, {}, QPoint(5, 5));

        QStringList expected;
        for (QAction* action : c.menu->actions())
            expected << (action->isSeparator() ? QStringLiteral("-") : action->text());
        EXPECT_EQ(shown, expected);
        EXPECT_EQ(shownAt, c.button->mapToGlobal(QPoint(0, c.button->height())));
        EXPECT_EQ(commands.runs, std::vector<std::string>{c.command});
        EXPECT_EQ(c.button->State(), TFlatButton::bsUp);
    }
}

TEST_F(ToolBoxFormTest, ScrollButtonsFollowTheModelsFreeEdges) {
    MakeBox();
    std::array<bool, 4> free = {false, true, false, true}; // left, right, up, down
    box->EdgeIsFree = [&](int direction) { return free[static_cast<size_t>(direction)]; };
    const auto enabled = [&] {
        return std::array<bool, 4>{box->ScrollLeftBtn->Enabled(), box->ScrollRightBtn->Enabled(),
                                   box->ScrollUpBtn->Enabled(), box->ScrollDownBtn->Enabled()};
    };

    box->UpdateScrollButtons(sbByEdges);
    EXPECT_EQ(enabled(), (std::array<bool, 4>{false, true, false, true}));

    // A disabled scroll button runs nothing; an enabled one its command.
    Click(box->ScrollLeftBtn);
    Click(box->ScrollUpBtn);
    Click(box->ScrollRightBtn);
    EXPECT_EQ(commands.runs, std::vector<std::string>{"Right1"});

    free = {true, false, true, false};
    box->UpdateScrollButtons(sbLeftRight);
    EXPECT_EQ(enabled(), (std::array<bool, 4>{true, false, false, true}));
    box->UpdateScrollButtons(sbUpDown);
    EXPECT_EQ(enabled(), (std::array<bool, 4>{true, false, true, false}));

    box->UpdateScrollButtons(sbAllEnabled);
    EXPECT_EQ(enabled(), (std::array<bool, 4>{true, true, true, true}));

    free = {false, false, false, false};
    box->UpdateScrollButtons(TScrollButtons(4));
    box->UpdateScrollButtons(TScrollButtons(-1));
    EXPECT_EQ(enabled(), (std::array<bool, 4>{true, true, true, true}));
    box->UpdateScrollButtons(sbByEdges);
    EXPECT_EQ(enabled(), (std::array<bool, 4>{false, false, false, false}));

    // Without a model every edge counts as free.
    box->EdgeIsFree = nullptr;
    box->UpdateScrollButtons(sbByEdges);
    EXPECT_EQ(enabled(), (std::array<bool, 4>{true, true, true, true}));
}

TEST_F(ToolBoxFormTest, ProgressSweepCoversTheHintLineAndUncoversItAgain) {
    MakeBox();
    box->SetHintText(QStringLiteral("Save current model (Ctrl+S)"));
    struct Step {
        int value;
        bool covering;
        bool hourglass;
    };
    std::vector<Step> steps;
    QImage halfway;
    QObject::connect(box->Gauge, &QProgressBar::valueChanged, [&](int value) {
        const bool covering = box->Gauge->isVisible() &&
                              box->Gauge->geometry().contains(box->Hint->geometry()) &&
                              box->childAt(box->Hint->geometry().center()) == box->Gauge;
        steps.push_back({value, covering, box->cursor().shape() == Qt::WaitCursor});
        if (value == box->Gauge->maximum() / 2)
            halfway = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
    });

    box->setCursor(Qt::PointingHandCursor);
    box->ShowProgressSweep();

    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(box->Gauge->maximum(), 304);
    EXPECT_EQ(steps.back().value, 304);
    int last = -1;
    for (const Step& step : steps) {
        EXPECT_GT(step.value, last);
        EXPECT_TRUE(step.covering) << step.value;
        EXPECT_TRUE(step.hourglass) << step.value;
        last = step.value;
    }
    // Half full: blue on the left of the bar, black on its right.
    ASSERT_FALSE(halfway.isNull());
    EXPECT_EQ(halfway.pixel(25, 12), qRgb(0, 0, 255));
    EXPECT_EQ(halfway.pixel(315, 12), qRgb(0, 0, 0));

    // Afterwards the hint line shows again, and the pointer is the one from before.
    EXPECT_FALSE(box->Gauge->isVisible());
    EXPECT_EQ(box->childAt(box->Hint->geometry().center()), box->Hint);
    EXPECT_EQ(box->Hint->text(), QStringLiteral("Save current model (Ctrl+S)"));
    EXPECT_EQ(box->cursor().shape(), Qt::PointingHandCursor);

    box->unsetCursor();
    box->ShowProgressSweep();
    EXPECT_EQ(box->cursor().shape(), Qt::ArrowCursor);

    // Paced, a sweep still runs to its end.
    box->SweepMilliseconds = 30;
    steps.clear();
    box->ShowProgressSweep();
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.back().value, 304);
    EXPECT_FALSE(box->Gauge->isVisible());
}

TEST_F(ToolBoxFormTest, HintLineAndNameLabel) {
    MakeBox();
    SetHintLine([this](const QString& text) { box->SetHintText(text); });
    QTest::mouseMove(box->SaveBtn, QPoint(5, 5));
    LetEventsRun();
    EXPECT_EQ(box->Hint->text(), QStringLiteral("Save current model (Ctrl+S)"));

    box->FileLabel->hide();
    box->SetFileLabel(QStringLiteral("Castle*"));
    EXPECT_EQ(box->FileLabel->text(), QStringLiteral("Castle*"));
    EXPECT_TRUE(box->FileLabel->isVisible());
}

// The box's own focus handling is the custom form tests' business; here the
// keyboard comes back once a menu button's menu has closed.
TEST_F(ToolBoxFormTest, FocusGoesBackToTheMainWindowAfterAMenuCloses) {
    CloseRefusingWindow main;
    main.setFocusPolicy(Qt::StrongFocus);
    main.setGeometry(kMainWindow);
    ASSERT_TRUE(ShowExposed(main));
    SetFocusTarget(&main);
    MakeBox();
    ASSERT_TRUE(ActivateAndWait(*box));
    QTimer::singleShot(0, [] {
        if (QWidget* popup = QApplication::activePopupWidget())
            QTest::keyClick(popup, Qt::Key_Escape);
    });
    Click(box->DisplayBtn);
    EXPECT_TRUE(FocusIsBackOn(main));
    EXPECT_TRUE(commands.runs.empty());
}

// Where and how a box is stored is the custom form tests' business; the
// hint line and the name label lie on the strip and move the box like it.
TEST_F(ToolBoxFormTest, TheLabelsOnTheStripMoveTheBox) {
    MakeBox();
    const QPoint start = box->pos();
    Drag(box->Hint, QPoint(100, 5), QPoint(150, 45));
    EXPECT_EQ(box->pos(), start + QPoint(50, 40));
    Drag(box->FileLabel, QPoint(10, 5), QPoint(0, 5));
    EXPECT_EQ(box->pos(), start + QPoint(40, 40));
    // A click on a button below the strip leaves the box where it is.
    Click(box->NewBtn);
    EXPECT_EQ(box->pos(), start + QPoint(40, 40));
}

} // namespace
