// The whole program's windows as a desktop sees them: the main window and the
// boxes it owns, the grid button, the help beside a dialog, and the end of the
// program under a running event loop.

#include "support/test_sets.h"
#include "support/test_support.h"
#include "support/widget_helpers.h"

#include "app/application.h"
#include "app/help_viewer.h"
#include "app/main_form.h"
#include "common/program_folder.h"
#include "model/model.h"
#include "widgets/bmp_wnd.h"
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
#include <functional>

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
    // test's event loop.
    void Stop() {
        QObject::disconnect(app->MainForm.get(), &TMainForm::Closed, nullptr, nullptr);
        app->MainForm->close();
        app.reset();
    }
    bool StoredVisible(const char* box) const {
        return ReadFlagSetting(QStringLiteral("Windows/") + QLatin1String(box), QStringLiteral("Visible"),
                               false);
    }
    // Runs the event loop with start queued: its exit code, or 3 when nothing ended it within 10 s.
    int RunLoop(const std::function<void()>& start) {
        QTimer::singleShot(0, app->MainForm.get(), start);
        QTimer::singleShot(10000, app->MainForm.get(), [] { QCoreApplication::exit(3); });
        return QApplication::exec();
    }
    std::unique_ptr<TCubestacksApplication> app;
    TempProgramFolder folder;
};

TEST_F(DesktopBehaviourTest, BoxesBelongToTheMainWindowAndGoAndComeBackWithIt) {
    Start();
    TMainForm& main = *app->MainForm;
    TToolBoxForm& toolBox = *app->ToolBoxForm;
    TBlockBoxForm& blockBox = *app->BlockBoxForm;
    EXPECT_TRUE(main.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(main.windowTitle(), QStringLiteral("Quadrantine Cubestacks"));
    EXPECT_EQ(main.BaseBmp->geometry(), QRect(0, 0, 1024, 768));
    EXPECT_EQ(main.grab().toImage().pixel(500, 400) | 0xFF000000u, qRgb(0, 0, 0));
    // Above the main window through it, not above every other program.
    for (QWidget* box : {static_cast<QWidget*>(&toolBox), static_cast<QWidget*>(&blockBox)}) {
        EXPECT_FALSE(box->windowFlags() & Qt::WindowStaysOnTopHint);
        ASSERT_NE(box->windowHandle(), nullptr);
        EXPECT_EQ(box->windowHandle()->transientParent(), main.windowHandle());
    }
    main.setWindowState(Qt::WindowMinimized); // by the window manager
    EXPECT_FALSE(toolBox.isVisible() || blockBox.isVisible());
    main.setWindowState(Qt::WindowNoState);
    EXPECT_TRUE(toolBox.isVisible() && blockBox.isVisible());
    EXPECT_TRUE(toolBox.BlockBoxChecked());
    EXPECT_TRUE(FocusIsBackOn(main)); // the keys work at once

    blockBox.hide(); // hidden before, hidden after
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
    EXPECT_TRUE(StoredVisible("ToolBoxForm"));
    EXPECT_TRUE(StoredVisible("BlockBoxForm"));
    Start();
    EXPECT_TRUE(app->ToolBoxForm->isVisible() && app->BlockBoxForm->isVisible());
}

TEST_F(DesktopBehaviourTest, CentredAtMost1024By768OnAnyScreenWithTheBoxesDocked) {
    EXPECT_EQ(MainWindowGeometry(QSize(800, 600)), QRect(0, 0, 800, 600));
    EXPECT_EQ(MainWindowGeometry(QSize(1025, 768)), QRect(0, 0, 1024, 768));
    EXPECT_EQ(MainWindowGeometry(QSize(1027, 771)), QRect(1, 1, 1024, 768));
    Start(QRect(-1280, 200, 1280, 1024)); // left of the primary screen
    const QRect main = app->MainForm->geometry();
    EXPECT_EQ(main, QRect(-1280 + 128, 200 + 128, 1024, 768));
    EXPECT_EQ(app->ToolBoxForm->pos(), main.topLeft());
    EXPECT_EQ(app->BlockBoxForm->pos(), QPoint(main.right() + 1 - 112, main.top()));
}

TEST_F(DesktopBehaviourTest, GridButtonShowsWhetherTheGridIsOn) {
    WriteFlagSetting(kPreferencesSection, QStringLiteral("Grid"), true);
    Start();
    TToolBoxForm& toolBox = *app->ToolBoxForm;
    EXPECT_TRUE(toolBox.GridBtn->Checked());
    ASSERT_TRUE(ActivateAndWait(*app->MainForm));
    QTest::keyClick(app->MainForm.get(), Qt::Key_G, Qt::ControlModifier);
    EXPECT_FALSE(Preferences().GridVisible);
    EXPECT_FALSE(toolBox.GridBtn->Checked());
    QTest::mouseClick(toolBox.GridBtn, Qt::LeftButton);
    EXPECT_TRUE(Preferences().GridVisible);
    EXPECT_TRUE(toolBox.GridBtn->Checked());
}

TEST_F(DesktopBehaviourTest, HelpOpenedFromADialogCanBeUsedWhileTheDialogIsOpen) {
    Start();
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
    app->MainForm->MainMenu.Preferences1->trigger();
    EXPECT_TRUE(searched) << "the help did not take the click while the dialog was open";

    // Over a box, the pointer leaves the keyboard with the help window.
    THelpViewer* help = THelpViewer::Existing();
    ASSERT_NE(help, nullptr);
    ASSERT_TRUE(ActivateAndWait(*help));
    const QPoint over(200, 40);
    QMouseEvent move(QEvent::MouseMove, over, app->ToolBoxForm->mapToGlobal(over), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(app->ToolBoxForm.get(), &move);
    LetEventsRun();
    EXPECT_EQ(QApplication::activeWindow(), help);
}

TEST_F(DesktopBehaviourTest, ClosingTheMainWindowOrTheToolboxEndsTheLoopACancelDoesNot) {
    Start();
    // Exit with the boxes still shown, so that they store themselves visible.
    EXPECT_EQ(RunLoop([this] { app->MainForm->Exit1Click(); }), 0);
    EXPECT_FALSE(app->MainForm->isVisible());
    EXPECT_TRUE(app->ToolBoxForm->isVisible() && app->BlockBoxForm->isVisible());
    EXPECT_TRUE(presenter().shown.empty()) << "an unmodified model asks nothing";
    app.reset();
    EXPECT_TRUE(StoredVisible("ToolBoxForm"));
    EXPECT_TRUE(StoredVisible("BlockBoxForm"));

    Start();
    EXPECT_EQ(RunLoop([this] { app->ToolBoxForm->close(); }), 0);
    EXPECT_FALSE(app->MainForm->isVisible());
    app.reset();

    // A cancelled save question keeps it running; a later No ends it.
    Start();
    bool shownAfterCancel = false;
    const int code = RunLoop([&] {
        app->MainForm->Model->Modified = true;
        presenter().answers = {IDCANCEL, IDNO};
        app->MainForm->Exit1Click();
        shownAfterCancel = app->MainForm->isVisible();
        QTimer::singleShot(50, app->MainForm.get(), [&] { app->MainForm->Exit1Click(); });
    });
    EXPECT_TRUE(shownAfterCancel);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(presenter().shown.size(), 2u);
    EXPECT_FALSE(app->MainForm->isVisible());
}

} // namespace
