#include "app_fixture.h"

#include "app/application.h"
#include "widgets/flat_button.h"
#include "windows/block_box_form.h"
#include "windows/preferences_form.h"
#include "windows/settings_store.h"
#include "windows/toolbox_form.h"

#include <QLabel>
#include <QWindow>
#include <functional>

namespace {

const QRect kMain(128, 128, 1024, 768); // on a 1280 x 1024 screen
const QPoint kBlockBoxPlace(128 + 1024 - 112, 128);

class ApplicationTest : public AppTest {
protected:
    void SetUp() override {
        OpenSettingsStore()->clear();
        AppTest::SetUp();
    }
    void TearDown() override {
        THelpViewer::QuitHelp();
        app.reset();
        OpenSettingsStore()->clear();
        AppTest::TearDown();
    }
    void Start(const QString& argument = QString(), const QRect& screen = QRect(0, 0, 1280, 1024)) {
        app = std::make_unique<TCubestacksApplication>(screen);
        SetMessagePresenter(&presenter()); // the program installed its message boxes
        app->MainForm->ArgumentFile = argument;
        app->Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(app->MainForm.get()));
        LetEventsRun();
    }
    // Ends the program without ending the test's event loop (a dialog's nested loop needs it).
    void Stop() {
        QObject::disconnect(app->MainForm.get(), &TMainForm::Closed, nullptr, nullptr);
        app->MainForm->close();
        app.reset();
    }
    auto Shown() const { return std::pair(app->ToolBoxForm->isVisible(), app->BlockBoxForm->isVisible()); }
    std::string ShownCells() const { return Cells(*app->MainForm->Model); }
    int RunLoop(const std::function<void()>& start) {
        QTimer::singleShot(0, app->MainForm.get(), start);
        QTimer::singleShot(10000, app->MainForm.get(), [] { QCoreApplication::exit(3); });
        return QApplication::exec();
    }
    std::unique_ptr<TCubestacksApplication> app;
};

TEST_F(ApplicationTest, TheWindowIsCentredTheBoxesDockedAndOwnedAndTheirLayoutStored) {
    EXPECT_EQ(MainWindowGeometry(QSize(800, 600)), QRect(0, 0, 800, 600));
    EXPECT_EQ(MainWindowGeometry(QSize(1027, 771)), QRect(1, 1, 1024, 768));
    Start(QString(), QRect(-1280, 200, 1280, 1024)); // a screen left of the primary one
    EXPECT_EQ(app->MainForm->geometry(), kMain.translated(-1280, 200));
    EXPECT_EQ(app->BlockBoxForm->pos(), kBlockBoxPlace + QPoint(-1280, 200));
    Stop();
    OpenSettingsStore()->clear();
    Start();
    TMainForm& main = *app->MainForm;
    TToolBoxForm& toolBox = *app->ToolBoxForm;
    TBlockBoxForm& blockBox = *app->BlockBoxForm;
    EXPECT_EQ(std::tuple(main.geometry(), toolBox.pos(), blockBox.pos()),
              std::tuple(kMain, kMain.topLeft(), kBlockBoxPlace));
    EXPECT_EQ(main.grab().toImage().pixel(500, 400) | 0xFF000000u, qRgb(0, 0, 0));
    ASSERT_NE(main.Library(), nullptr);
    EXPECT_EQ(std::tuple(blockBox.Library(), main.Library()->Count),
              std::tuple(main.Library(), library->Count));
    SetCurrentHint(S("Drag to move this box"));
    EXPECT_EQ(toolBox.Hint->text(), S("Drag to move this box"));
    for (QWidget* box : {static_cast<QWidget*>(&toolBox), static_cast<QWidget*>(&blockBox)})
        EXPECT_EQ(std::pair(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint),
                            box->windowHandle()->transientParent()),
                  std::pair(false, main.windowHandle()));
    main.setWindowState(Qt::WindowMinimized);
    EXPECT_EQ(Shown(), std::pair(false, false));
    main.setWindowState(Qt::WindowNoState);
    blockBox.hide();
    main.setWindowState(Qt::WindowMinimized);
    EXPECT_FALSE(toolBox.isVisible());
    main.setWindowState(Qt::WindowNoState);
    EXPECT_EQ(std::tuple(Shown(), toolBox.BlockBoxChecked(), FocusIsBackOn(main)), // the keys work at once
              std::tuple(std::pair(true, false), false, true));

    blockBox.show();
    toolBox.hide();
    Stop();
    Start();
    EXPECT_EQ(Shown(), std::pair(false, true));
    Stop();
    WriteFlagSetting(S("Preferences"), S("LoadDisplay"), false);
    WriteIntSetting(S("Windows/BlockBoxForm"), S("Left"), 3);
    Start();
    EXPECT_EQ(std::pair(app->ToolBoxForm->isVisible(), app->BlockBoxForm->pos()),
              std::pair(true, kBlockBoxPlace));
}

TEST_F(ApplicationTest, TheStartupModelOrTheFileNamedOnTheCommandLineIsOpened) {
    const QString castle = WriteModel(folder->file(S("Models/Castle.cst")), "2,2:45F");
    QDir().mkpath(folder->file(S("Elsewhere")));
    const QString tower = WriteModel(folder->file(S("Elsewhere/Tower.cst")), "2,2:45F 3,3:30V");
    folder->write(S("Models/Damaged.cst"), QByteArray("MdF\x1a\x01\x02", 6));
    WriteIntSetting(S("Preferences"), S("StartupModel"), 2);
    WriteStringSetting(S("Preferences"), S("StartupModelFile"), castle);
    Start();
    EXPECT_EQ(std::tuple(ModelFileName(), app->ToolBoxForm->FileLabel->text(), ShownCells()),
              std::tuple(castle, S("Castle"), "2,2:45F"));

    Stop();
    const QString current = QDir::currentPath();
    QDir::setCurrent(folder->file(S("Elsewhere")));
    Start(S("Tower.cst"));
    QDir::setCurrent(current);
    EXPECT_EQ(std::tuple(ModelFileName(), ShownCells(), FileDialogs().SaveModelDialog.InitialDir, Texts()),
              std::tuple(tower, "2,2:45F 3,3:30V", folder->file(S("Elsewhere/")), QStringList()));

    for (const char* bad : {"Models/Gone.cst", "Models/Damaged.cst"}) {
        Stop();
        presenter().Clear();
        Start(folder->file(QLatin1String(bad)));
        ASSERT_EQ(presenter().shown.size(), 1u) << bad;
        EXPECT_TRUE(presenter().shown[0].text.contains(QFileInfo(QLatin1String(bad)).fileName()));
        EXPECT_EQ(std::tuple(ModelFileName(), ShownCells()), std::tuple(QString(), "")) << bad;
    }
    Stop();
    WriteIntSetting(S("Preferences"), S("StartupModel"), 1);
    WriteStringSetting(S("Preferences"), S("StartupModelFile"), S("(Untitled)"));
    Start();
    EXPECT_EQ(ModelFileName(), QString()); // "(Untitled)" is never loaded
    Stop();
    EXPECT_EQ(ReadStringSetting(S("Preferences"), S("StartupModelFile"), S("x")), QString());
}

TEST_F(ApplicationTest, ClosingTheMainWindowOrTheToolboxEndsTheLoopACancelDoesNot) {
    Start();
    EXPECT_EQ(RunLoop([this] { app->MainForm->Exit1Click(); }), 0);
    EXPECT_TRUE(presenter().shown.empty()) << "an unmodified model asks nothing";
    app.reset();
    EXPECT_EQ(ReadStringSetting(S("Windows/ToolBoxForm"), S("Visible"), {}) +
                  ReadStringSetting(S("Windows/BlockBoxForm"), S("Visible"), {}),
              S("11"));
    Start();
    EXPECT_EQ(RunLoop([this] { app->ToolBoxForm->close(); }), 0);
    EXPECT_FALSE(app->MainForm->isVisible());
    app.reset();

    Start();
    bool shownAfterCancel = false;
    const int code = RunLoop([&] {
        app->MainForm->Model->Modified = true;
        presenter().answers = {IDCANCEL, IDNO};
        app->MainForm->Exit1Click();
        shownAfterCancel = app->MainForm->isVisible();
        QTimer::singleShot(50, app->MainForm.get(), [&] { app->MainForm->Exit1Click(); });
    });
    EXPECT_EQ(std::tuple(shownAfterCancel, code, presenter().shown.size()), std::tuple(true, 0, 2u));
}

TEST_F(ApplicationTest, ToolboxButtonsRunTheCommandsAndHandTheKeysBackAndHelpWorksOverADialog) {
    WriteFlagSetting(kPreferencesSection, S("Grid"), true);
    Start();
    TMainForm& main = *app->MainForm;
    TToolBoxForm& toolBox = *app->ToolBoxForm;
    ASSERT_TRUE(ActivateAndWait(main));
    EXPECT_EQ(std::tuple(toolBox.FileBtn->Menu(), toolBox.DisplayBtn->Menu(), toolBox.HelpBtn->Menu()),
              std::tuple(main.MainMenu.FileMenu1, main.MainMenu.DisplayMenu1, main.MainMenu.HelpMenu1));
    QTest::mouseClick(toolBox.ModeBtn, Qt::LeftButton);
    EXPECT_TRUE(toolBox.ModeChecked());
    QTest::keyClick(&main, Qt::Key_Tab);
    EXPECT_EQ(std::pair(toolBox.ModeChecked(), toolBox.GridBtn->Checked()), std::pair(false, true));
    QTest::keyClick(&main, Qt::Key_G, Qt::ControlModifier);
    EXPECT_FALSE(toolBox.GridBtn->Checked());
    QTest::mouseClick(toolBox.GridBtn, Qt::LeftButton);
    EXPECT_TRUE(Preferences().GridVisible);
    QTest::mouseClick(toolBox.BlockBoxBtn, Qt::LeftButton);
    EXPECT_EQ(std::pair(app->BlockBoxForm->isVisible(), toolBox.BlockBoxChecked()), std::pair(false, false));
    QTest::keyClick(&main, Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(std::pair(app->BlockBoxForm->isVisible(), toolBox.BlockBoxChecked()), std::pair(true, true));
    SetCells(*app->MainForm->Model, "0,5:45F");
    QTest::keyClick(&main, Qt::Key_Left);
    EXPECT_FALSE(toolBox.ScrollLeftBtn->Enabled());
    QTest::mouseClick(toolBox.ScrollRightBtn, Qt::LeftButton);
    EXPECT_EQ(ShownCells(), "1,5:45F");
    QTest::keyClick(&main, Qt::Key_F10);
    EXPECT_FALSE(toolBox.isVisible());
    QTest::keyClick(&main, Qt::Key_Space);
    toolBox.move(400, 400);
    app->BlockBoxForm->hide();
    main.MainMenu.DockBoxes1->trigger();
    EXPECT_EQ(std::tuple(toolBox.pos(), app->BlockBoxForm->isVisible(), toolBox.BlockBoxChecked()),
              std::tuple(QPoint(128, 128), true, true));
    main.Model->Modified = false;

    TPreferencesForm& preferences = *app->PreferencesForm;
    bool searched = false;
    QTimer::singleShot(0, &preferences, [&] {
        QTest::mouseClick(preferences.HelpBtn, Qt::LeftButton);
        if (THelpViewer* help = THelpViewer::Existing(); help && QTest::qWaitForWindowExposed(help)) {
            QTest::mouseClick(help->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                              help->SearchBtn->mapTo(help, help->SearchBtn->rect().center()));
            searched = help->SearchVisible();
        }
        preferences.reject();
    });
    app->MainForm->MainMenu.Preferences1->trigger();
    EXPECT_TRUE(searched) << "no help window, or it did not take the click while the dialog was open";
}

} // namespace
