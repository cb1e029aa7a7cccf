#include "windows/toolbox_form.h"

#include "widgets/flat_button.h"
#include "windows/windows_fixture.h"

const QRect kMainWindow(30, 20, 700, 520);
using Runs = std::vector<std::string>;

class ToolBoxFormTest : public WindowsTest {
protected:
    void SetUp() override {
        WindowsTest::SetUp();
#define BOUND(command) std::make_pair(&TToolBoxCommands::command, #command)
        for (const auto& [member, name] :
             {BOUND(New1), BOUND(Open1), BOUND(Save1), BOUND(SaveAs1), BOUND(Print1), BOUND(ShowGrid1),
              BOUND(Exit1), BOUND(ShowBlockSets1), BOUND(Left1), BOUND(Attributes1), BOUND(Right1),
              BOUND(Preferences1), BOUND(Up1), BOUND(Down1)})
            commands.*member = Action(name);
#undef BOUND
        for (const auto& [menu, names] : {std::pair{&fileMenu, "Revert1 - SetAsWallpaper1"},
                                          {&displayMenu, "ShowToolBox1 DockBoxes1"},
                                          {&helpMenu, "Contents1 About1"}})
            for (const QString& name : QString(names).split(' '))
                menu->addAction(name == "-" ? menu->addSeparator() : Action(name));
        commands.FileMenu1 = &fileMenu;
        commands.DisplayMenu1 = &displayMenu;
        commands.HelpMenu1 = &helpMenu;
        box = std::make_unique<TToolBoxForm>(kMainWindow);
        box->RememberPlace = false;
        box->SweepMilliseconds = 0;
        box->BindCommands(commands);
    }
    void TearDown() override {
        box.reset();
        WindowsTest::TearDown();
    }
    QAction* Action(const QString& name) {
        auto* action = new QAction(name, &owner);
        QObject::connect(action, &QAction::triggered, [this, name] { runs.push_back(name.toStdString()); });
        return action;
    }
    static QStringList Items(const QMenu* menu) {
        QStringList items;
        for (QAction* action : menu->actions())
            items << (action->isSeparator() ? "-" : action->text());
        return items;
    }

    QObject owner;
    QMenu fileMenu, displayMenu, helpMenu;
    TToolBoxCommands commands;
    Runs runs;
    std::unique_ptr<TToolBoxForm> box;
};

TEST_F(ToolBoxFormTest, EveryButtonShowsItsHintAndRunsItsCommandAndScrollButtonsFollowTheFreeEdges) {
    EXPECT_EQ(
        std::tuple(box->pos(), box->Hint->text(), box->FileLabel->text(), box->Gauge->isVisibleTo(box.get())),
        std::tuple(kMainWindow.topLeft(), "Quadrantine Cubestacks", "(Untitled)", false));
    ASSERT_TRUE(ShowExposed(*box));
    for (const QStringList& c : DataCases("toolbox")) {
        auto* button = box->findChild<TFlatButton*>(c[0]);
        ASSERT_NE(button, nullptr) << c[0].toStdString();
        EXPECT_TRUE(button->statusTip() == c.value(1) && !button->Glyph().isNull()) << c[0].toStdString();
        if (c.value(2).isEmpty())
            continue;
        runs.clear();
        Click(button);
        EXPECT_EQ(std::pair(runs, button->State() == TFlatButton::bsLatched),
                  std::pair(Runs{c[2].toStdString()}, c.value(3) == "latched"))
            << c[0].toStdString();
    }
    // The grid and block box buttons latch and run at each click; the mode button only latches.
    EXPECT_TRUE(box->GridBtn->Checked() && box->BlockBoxChecked());
    box->SetBlockBoxChecked(false);
    EXPECT_EQ(box->BlockBoxBtn->State(), TFlatButton::bsUp);
    runs.clear();
    Click(box->GridBtn);
    EXPECT_FALSE(box->GridBtn->Checked());
    Click(box->ModeBtn);
    EXPECT_EQ(std::tuple(box->ModeChecked(), box->ModeBtn->State()),
              std::tuple(true, int(TFlatButton::bsLatched)));
    Click(box->ModeBtn);
    EXPECT_FALSE(box->ModeChecked());
    box->SetModeChecked(true);
    EXPECT_TRUE(box->ModeBtn->Checked());
    commands.Open1->setEnabled(false); // a disabled command does not run
    Click(box->OpenBtn);
    TToolBoxForm unbound(kMainWindow); // bound to nothing: only the looks change
    Click(unbound.NewBtn);
    Click(unbound.GridBtn);
    EXPECT_TRUE(unbound.GridBtn->Checked());
    EXPECT_EQ(runs, Runs{"ShowGrid1"});

    runs.clear();
    QString free; // the free edges and the enabled buttons: left, right, up, down
    box->EdgeIsFree = [&](int direction) { return free[direction] == '1'; };
    const auto enabled = [&](TScrollButtons mode, const char* edges) {
        free = QLatin1String(edges);
        box->UpdateScrollButtons(mode);
        QString result;
        for (TFlatButton* b : {box->ScrollLeftBtn, box->ScrollRightBtn, box->ScrollUpBtn, box->ScrollDownBtn})
            result += b->Enabled() ? '1' : '0';
        return result;
    };
    EXPECT_EQ(enabled(sbByEdges, "0101"), "0101");
    Click(box->ScrollLeftBtn); // disabled: runs nothing
    Click(box->ScrollRightBtn);
    EXPECT_EQ(runs, Runs{"Right1"});
    for (const auto& [mode, edges, want] : // unknown modes change nothing
         {std::tuple(sbLeftRight, "1010", "1001"), std::tuple(sbUpDown, "1010", "1010"),
          std::tuple(sbAllEnabled, "1010", "1111"), std::tuple(TScrollButtons(4), "0000", "1111"),
          std::tuple(TScrollButtons(-1), "0000", "1111"), std::tuple(sbByEdges, "0000", "0000")})
        EXPECT_EQ(enabled(mode, edges), QLatin1String(want)) << int(mode) << edges;
    box->EdgeIsFree = nullptr; // without a model every edge counts as free
    EXPECT_EQ(enabled(sbByEdges, "0000"), "1111");
}

TEST_F(ToolBoxFormTest, TheProgressSweepCoversTheHintLineAndMenuButtonsDropTheMainMenus) {
    ASSERT_TRUE(ShowExposed(*box));
    SetHintLine([this](const QString& text) { box->SetHintText(text); });
    QTest::mouseMove(box->SaveBtn, QPoint(5, 5));
    LetEventsRun();
    EXPECT_EQ(box->Hint->text(), "Save current model (Ctrl+S)");
    std::vector<int> values;
    QImage halfway;
    QObject::connect(box->Gauge, &QProgressBar::valueChanged, [&](int value) {
        EXPECT_EQ(box->childAt(box->Hint->geometry().center()), box->Gauge) << value;
        EXPECT_EQ(box->cursor().shape(), Qt::WaitCursor);
        values.push_back(value);
        if (value == box->Gauge->maximum() / 2)
            halfway = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
    });
    box->setCursor(Qt::PointingHandCursor);
    box->ShowProgressSweep();
    ASSERT_FALSE(values.empty());
    EXPECT_EQ(std::pair(std::is_sorted(values.begin(), values.end()), values.back()), std::pair(true, 304));
    ASSERT_FALSE(halfway.isNull()); // half full: blue on the left of the bar, black on its right
    EXPECT_EQ(std::tuple(halfway.pixel(25, 12), halfway.pixel(315, 12)),
              std::tuple(qRgb(0, 0, 255), qRgb(0, 0, 0)));
    EXPECT_EQ(
        std::tuple(box->childAt(box->Hint->geometry().center()), box->Hint->text(), box->cursor().shape()),
        std::tuple((QWidget*)box->Hint, "Save current model (Ctrl+S)", Qt::PointingHandCursor));
    box->SweepMilliseconds = 30; // paced, it still runs to its end
    values.clear();
    box->ShowProgressSweep();
    EXPECT_EQ(std::tuple(values.back(), box->Gauge->isVisible()), std::tuple(304, false));

    box->FileLabel->hide();
    box->SetFileLabel("Castle*");
    EXPECT_EQ(std::tuple(box->FileLabel->text(), box->FileLabel->isVisible()), std::tuple("Castle*", true));
    const QPoint start = box->pos(); // the labels on the strip move the box like the strip itself
    Drag(box->Hint, QPoint(100, 5), QPoint(150, 45));
    Drag(box->FileLabel, QPoint(10, 5), QPoint(0, 5));
    EXPECT_EQ(box->pos(), start + QPoint(40, 40));

    ShowMain(kMainWindow);
    for (const auto& [button, menu, item, command] :
         {std::tuple{box->FileBtn, &fileMenu, 2, "SetAsWallpaper1"},
          {box->DisplayBtn, &displayMenu, 1, "DockBoxes1"},
          {box->HelpBtn, &helpMenu, 1, "About1"}}) {
        runs.clear();
        QStringList shown;
        QPoint shownAt;
        QTimer::singleShot(0, [&, item = item] {
            auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(popup, nullptr);
            shownAt = popup->pos();
            shown = Items(popup);
            QTest::mouseClick(popup, Qt::LeftButton, {},
                              popup->actionGeometry(popup->actions()[item]).center());
        });
        Click(button);
        EXPECT_EQ(std::tuple(shown, shownAt, runs, button->State()),
                  std::tuple(Items(menu), button->mapToGlobal(QPoint(0, button->height())), Runs{command},
                             int(TFlatButton::bsUp)));
    }
    ASSERT_TRUE(ActivateAndWait(*box));
    QTimer::singleShot(0, [] {
        if (QWidget* popup = QApplication::activePopupWidget())
            QTest::keyClick(popup, Qt::Key_Escape);
    });
    Click(box->DisplayBtn);
    EXPECT_TRUE(FocusIsBackOn(main));
}
