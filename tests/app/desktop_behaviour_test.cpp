// The whole program's windows as a desktop sees them: the boxes owned by the
// main window and following it when it is minimised, the main window on a
// screen that does not start at (0, 0), the grid button in step with the
// grid, and the help usable while a dialog is open.

#include "support/test_sets.h"
#include "support/test_support.h"
#include "support/widget_helpers.h"

#include "app/application.h"
#include "app/help_viewer.h"
#include "app/main_form.h"
#include "common/program_folder.h"
#include "library/block_list.h"
#include "model/model.h"
#include "widgets/flat_button.h"
#include "windows/block_box_form.h"
#include "windows/hint_line.h"
#include "windows/preference_values.h"
#include "windows/preferences_form.h"
#include "windows/settings_store.h"
#include "windows/toolbox_form.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

namespace {

class DesktopBehaviourTest : public CubestacksTest {
protected:
    void SetUp() override {
        CubestacksTest::SetUp();
        OpenSettingsStore()->clear();
        SetProgramFolder(folder.path());
        WriteBlockSets(folder, {{{"30H", "30V"}, {"45F"}}});
        WriteIntSetting(kPreferencesSection, QStringLiteral("StartupModel"), 0);
        ResetPreferences();
        ResetHintLine();
    }
    void TearDown() override {
        THelpViewer::QuitHelp();
        app.reset();
        OpenSettingsStore()->clear();
        ResetPreferences();
        ResetHintLine();
        CubestacksTest::TearDown();
    }
    void Start(const QRect& screen = QRect(0, 0, 1280, 1024)) {
        app = std::make_unique<TCubestacksApplication>(screen);
        SetMessagePresenter(&presenter());
        app->Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(app->MainForm.get()));
        LetEventsRun();
    }
    // Ends the program as closing the main window does, without ending the
    // test's event loop: a nested loop (a dialog's) would not run after it.
    void Stop() {
        QObject::disconnect(app->MainForm.get(), &TMainForm::Closed, nullptr, nullptr);
        app->MainForm->close();
        app.reset();
    }
    QString StoredVisible(const char* box) const {
        return ReadStringSetting(QStringLiteral("Windows/") + QLatin1String(box), QStringLiteral("Visible"),
                                 QString());
    }
    std::unique_ptr<TCubestacksApplication> app;
    TempProgramFolder folder;
};

TEST_F(DesktopBehaviourTest, BoxesBelongToTheMainWindowAndGoAndComeBackWithIt) {
    Start();
    TMainForm& main = *app->MainForm;
    TToolBoxForm& toolBox = *app->ToolBoxForm;
    TBlockBoxForm& blockBox = *app->BlockBoxForm;
    // Above the main window through it, not above every other program.
    for (QWidget* box : {static_cast<QWidget*>(&toolBox), static_cast<QWidget*>(&blockBox)}) {
        EXPECT_FALSE(box->windowFlags() & Qt::WindowStaysOnTopHint);
        ASSERT_NE(box->windowHandle(), nullptr);
        EXPECT_EQ(box->windowHandle()->transientParent(), main.windowHandle());
    }

    // Minimised by the window manager (not by the program's own command).
    main.setWindowState(Qt::WindowMinimized);
    EXPECT_FALSE(toolBox.isVisible());
    EXPECT_FALSE(blockBox.isVisible());
    main.setWindowState(Qt::WindowNoState);
    EXPECT_TRUE(toolBox.isVisible());
    EXPECT_TRUE(blockBox.isVisible());
    EXPECT_TRUE(toolBox.BlockBoxChecked());
    EXPECT_TRUE(FocusIsBackOn(main)); // the keys work at once

    // A box hidden before stays hidden after the restore.
    blockBox.hide();
    main.setWindowState(Qt::WindowMinimized);
    main.setWindowState(Qt::WindowNoState);
    EXPECT_TRUE(toolBox.isVisible());
    EXPECT_FALSE(blockBox.isVisible());
    EXPECT_FALSE(toolBox.BlockBoxChecked());

    // Shift+Esc, then closing while minimised: the layout from before is stored.
    blockBox.show();
    main.MainMenu.Minimize1->trigger();
    EXPECT_TRUE(main.isMinimized());
    EXPECT_FALSE(toolBox.isVisible());
    Stop();
    EXPECT_EQ(StoredVisible("ToolBoxForm"), QStringLiteral("1"));
    EXPECT_EQ(StoredVisible("BlockBoxForm"), QStringLiteral("1"));
    Start();
    EXPECT_TRUE(app->ToolBoxForm->isVisible());
    EXPECT_TRUE(app->BlockBoxForm->isVisible());
}

TEST_F(DesktopBehaviourTest, OnAScreenLeftOfThePrimaryTheWindowIsCentredThereWithTheBoxesDocked) {
    Start(QRect(-1280, 200, 1280, 1024));
    const QRect main = app->MainForm->geometry();
    EXPECT_EQ(main, QRect(-1280 + 128, 200 + 128, 1024, 768));
    EXPECT_EQ(app->ToolBoxForm->pos(), main.topLeft());
    EXPECT_EQ(app->BlockBoxForm->pos(), QPoint(main.right() + 1 - 112, main.top()));
}

TEST_F(DesktopBehaviourTest, GridButtonShowsWhetherTheGridIsOn) {
    WriteFlagSetting(kPreferencesSection, QStringLiteral("Grid"), true);
    Start();
    TMainForm& main = *app->MainForm;
    TToolBoxForm& toolBox = *app->ToolBoxForm;
    EXPECT_TRUE(Preferences().GridVisible);
    EXPECT_TRUE(toolBox.GridBtn->Checked());
    ASSERT_TRUE(ActivateAndWait(main));
    QTest::keyClick(&main, Qt::Key_G, Qt::ControlModifier);
    EXPECT_FALSE(Preferences().GridVisible);
    EXPECT_FALSE(toolBox.GridBtn->Checked());
    QTest::mouseClick(toolBox.GridBtn, Qt::LeftButton);
    EXPECT_TRUE(Preferences().GridVisible);
    EXPECT_TRUE(toolBox.GridBtn->Checked());
}

TEST_F(DesktopBehaviourTest, HelpOpenedFromADialogCanBeUsedWhileTheDialogIsOpen) {
    Start();
    TMainForm& main = *app->MainForm;
    TPreferencesForm& preferences = *app->PreferencesForm;
    bool searched = false;
    QTimer::singleShot(0, &preferences, [&] {
        QTest::mouseClick(preferences.HelpBtn, Qt::LeftButton);
        THelpViewer* help = THelpViewer::Existing();
        if (!help || !QTest::qWaitForWindowExposed(help)) {
            ADD_FAILURE() << "no help window";
        } else {
            // A click as the window system delivers it, through the modal check.
            const QPoint at = help->SearchBtn->mapTo(help, help->SearchBtn->rect().center());
            QTest::mouseClick(help->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
            searched = help->SearchVisible();
        }
        preferences.reject();
    });
    main.MainMenu.Preferences1->trigger();
    EXPECT_TRUE(searched) << "the help did not take the click while the dialog was open";

    // Over a box, the pointer leaves the keyboard with the help window.
    THelpViewer* help = THelpViewer::Existing();
    ASSERT_NE(help, nullptr);
    ASSERT_TRUE(ActivateAndWait(*help));
    TToolBoxForm& toolBox = *app->ToolBoxForm;
    const QPoint over(200, 40);
    QMouseEvent move(QEvent::MouseMove, over, toolBox.mapToGlobal(over), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&toolBox, &move);
    LetEventsRun();
    EXPECT_EQ(QApplication::activeWindow(), help);
}

} // namespace
