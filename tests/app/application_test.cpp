#include "support/test_sets.h"
#include "support/test_support.h"

#include "app/application.h"
#include "app/file_commands.h"
#include "app/main_form.h"
#include "common/program_folder.h"
#include "library/block_list.h"
#include "model/model.h"
#include "windows/block_box_form.h"
#include "windows/hint_line.h"
#include "windows/preference_values.h"
#include "windows/preferences_form.h"
#include "windows/settings_store.h"
#include "windows/toolbox_form.h"
#include "widgets/flat_button.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QSettings>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

namespace {

// The whole program as the entry makes it, over test-made block sets, with
// settings that start empty for every test.
class ApplicationTest : public CubestacksTest {
protected:
    void SetUp() override {
        CubestacksTest::SetUp();
        OpenSettingsStore()->clear();
        SetProgramFolder(folder.path());
        WriteBlockSets(folder, {{{"30H", "30V"}, {"45F"}}});
        ResetPreferences();
        ResetHintLine();
    }
    void TearDown() override {
        app.reset();
        OpenSettingsStore()->clear();
        ResetPreferences();
        ResetHintLine();
        CubestacksTest::TearDown();
    }
    void Start(const QString& argument = QString()) {
        app = std::make_unique<TCubestacksApplication>(QSize(1280, 1024));
        SetMessagePresenter(&presenter()); // the program installed its message boxes
        app->MainForm->ArgumentFile = argument;
        app->Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(app->MainForm.get()));
    }
    // Ends the program as closing the main window does.
    void Stop() {
        app->MainForm->close();
        app.reset();
    }
    std::unique_ptr<TCubestacksApplication> app;
    TempProgramFolder folder;
};

TEST_F(ApplicationTest, FirstRunDocksBothBoxesAndLoadsTheLibrary) {
    Start();
    TMainForm& main = *app->MainForm;
    EXPECT_EQ(main.geometry(), QRect(128, 128, 1024, 768));
    ASSERT_TRUE(app->ToolBoxForm && app->BlockBoxForm);
    EXPECT_TRUE(app->ToolBoxForm->isVisible());
    EXPECT_TRUE(app->BlockBoxForm->isVisible());
    EXPECT_EQ(app->ToolBoxForm->pos(), QPoint(128, 128));
    EXPECT_EQ(app->BlockBoxForm->pos(), QPoint(128 + 1024 - 112, 128));
    EXPECT_TRUE(app->ToolBoxForm->BlockBoxChecked());
    ASSERT_NE(main.Library(), nullptr);
    EXPECT_EQ(main.Library(), app->BlockBoxForm->Library());
    EXPECT_EQ(main.Library()->Count, 3);
    // No start-up model in the folder: the empty model, untitled.
    EXPECT_EQ(app->ToolBoxForm->FileLabel->text(), QStringLiteral("(Untitled)"));
    EXPECT_FALSE(main.MainMenu.Revert1->isEnabled());
    // The hint line follows the hints of the program.
    SetCurrentHint(QStringLiteral("Drag to move this box"));
    EXPECT_EQ(app->ToolBoxForm->Hint->text(), QStringLiteral("Drag to move this box"));
}

TEST_F(ApplicationTest, AHiddenToolboxStaysHiddenAtTheNextStart) {
    Start();
    app->ToolBoxForm->hide();
    Stop();
    EXPECT_EQ(ReadStringSetting(QStringLiteral("Windows/ToolBoxForm"), QStringLiteral("Visible"), QString()),
              QStringLiteral("0"));
    Start();
    EXPECT_FALSE(app->ToolBoxForm->isVisible());
    EXPECT_TRUE(app->BlockBoxForm->isVisible());
    // Without the saved layout both boxes come back docked.
    Stop();
    WriteFlagSetting(QStringLiteral("Preferences"), QStringLiteral("LoadDisplay"), false);
    WriteIntSetting(QStringLiteral("Windows/BlockBoxForm"), QStringLiteral("Left"), 3);
    Start();
    EXPECT_TRUE(app->ToolBoxForm->isVisible());
    EXPECT_TRUE(app->BlockBoxForm->isVisible());
    EXPECT_EQ(app->BlockBoxForm->pos(), QPoint(128 + 1024 - 112, 128));
    EXPECT_TRUE(app->ToolBoxForm->BlockBoxChecked());
}

TEST_F(ApplicationTest, StartupModelAndTheMostRecentlyOpenedOne) {
    // A chosen start-up model is loaded and named.
    Start();
    TMainForm& first = *app->MainForm;
    first.Model->SetBlockIndex(2, 2, app->MainForm->Library()->IndexFromName("45F"), 0);
    const QString castle = folder.file(QStringLiteral("Models/Castle.cst"));
    first.Model->SaveToFile(castle);
    Stop();
    WriteIntSetting(QStringLiteral("Preferences"), QStringLiteral("StartupModel"), 2);
    WriteStringSetting(QStringLiteral("Preferences"), QStringLiteral("StartupModelFile"), castle);
    Start();
    EXPECT_EQ(ModelFileName(), castle);
    EXPECT_EQ(app->ToolBoxForm->FileLabel->text(), QStringLiteral("Castle"));
    EXPECT_EQ(app->MainForm->Library()->NameFromIndex(app->MainForm->Model->GetBlockIndex(2, 2, 0)),
              "45F");
    // "Most recently opened" with an untitled model at the end stores an empty path.
    Stop();
    WriteIntSetting(QStringLiteral("Preferences"), QStringLiteral("StartupModel"), 1);
    WriteStringSetting(QStringLiteral("Preferences"), QStringLiteral("StartupModelFile"), QStringLiteral("(Untitled)"));
    Start();
    EXPECT_EQ(ModelFileName(), QString()); // "(Untitled)" is never loaded
    Stop();
    EXPECT_EQ(ReadStringSetting(QStringLiteral("Preferences"), QStringLiteral("StartupModelFile"), QStringLiteral("x")),
              QString());
}

TEST_F(ApplicationTest, AModelFileOnTheCommandLineIsOpenedInsteadOfTheStartupModel) {
    Start();
    app->MainForm->Model->SetBlockIndex(2, 2, app->MainForm->Library()->IndexFromName("45F"), 0);
    const QString castle = folder.file(QStringLiteral("Models/Castle.cst"));
    app->MainForm->Model->SaveToFile(castle);
    const QString tower = folder.file(QStringLiteral("Elsewhere/Tower.cst"));
    QDir().mkpath(QFileInfo(tower).path());
    app->MainForm->Model->SetBlockIndex(3, 3, app->MainForm->Library()->IndexFromName("30V"), 0);
    app->MainForm->Model->SaveToFile(tower);
    folder.write(QStringLiteral("Models/Damaged.cst"), QByteArray("MdF\x1a\x01\x02", 6));
    Stop();
    WriteIntSetting(QStringLiteral("Preferences"), QStringLiteral("StartupModel"), 2);
    WriteStringSetting(QStringLiteral("Preferences"), QStringLiteral("StartupModelFile"), castle);

    // Named relative to the working folder, as a shell gives it; opened as Open would.
    const QString current = QDir::currentPath();
    QDir::setCurrent(folder.file(QStringLiteral("Elsewhere")));
    Start(QStringLiteral("Tower.cst"));
    QDir::setCurrent(current);
    EXPECT_EQ(ModelFileName(), tower);
    EXPECT_EQ(app->ToolBoxForm->FileLabel->text(), QStringLiteral("Tower"));
    EXPECT_EQ(app->MainForm->Library()->NameFromIndex(app->MainForm->Model->GetBlockIndex(3, 3, 0)), "30V");
    EXPECT_EQ(FileDialogs().SaveModelDialog.InitialDir, folder.file(QStringLiteral("Elsewhere/")));
    EXPECT_TRUE(presenter().shown.empty());

    // Missing or damaged: the loader's message, then an untitled model, not the start-up one.
    for (const QString& bad : {folder.file(QStringLiteral("Models/Gone.cst")),
                               folder.file(QStringLiteral("Models/Damaged.cst"))}) {
        Stop();
        presenter().Clear();
        Start(bad);
        ASSERT_EQ(presenter().shown.size(), 1u) << bad.toStdString();
        EXPECT_TRUE(presenter().shown[0].text.contains(QFileInfo(bad).fileName()))
            << presenter().shown[0].text.toStdString();
        EXPECT_EQ(ModelFileName(), QString());
        EXPECT_EQ(app->ToolBoxForm->FileLabel->text(), QStringLiteral("(Untitled)"));
        EXPECT_EQ(app->MainForm->Model->GetBlockIndex(2, 2, 0), -1);
    }
}

TEST_F(ApplicationTest, CancellingTheSaveQuestionKeepsTheProgramRunning) {
    Start();
    TMainForm& main = *app->MainForm;
    main.Model->Modified = true;
    presenter().answers = {IDCANCEL};
    EXPECT_FALSE(main.close());
    EXPECT_TRUE(main.isVisible());
    ASSERT_EQ(presenter().shown.size(), 1u);
    EXPECT_EQ(presenter().shown[0].text, QStringLiteral("Save changes to model (Untitled)?"));
    // No: the program ends, the changes go.
    presenter().answers = {IDNO};
    EXPECT_TRUE(main.close());
}

TEST_F(ApplicationTest, ToolboxButtonsRunTheCommandsAndHandTheKeysBack) {
    Start();
    TMainForm& main = *app->MainForm;
    TToolBoxForm& toolBox = *app->ToolBoxForm;
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    // The mode button and Tab are one switch.
    QTest::mouseClick(toolBox.ModeBtn, Qt::LeftButton);
    EXPECT_TRUE(toolBox.ModeChecked());
    QTest::keyClick(&main, Qt::Key_Tab);
    EXPECT_FALSE(toolBox.ModeChecked());
    // A click on the block box button hides the block box; Ctrl+B brings it back.
    QTest::mouseClick(toolBox.BlockBoxBtn, Qt::LeftButton);
    EXPECT_FALSE(app->BlockBoxForm->isVisible());
    EXPECT_FALSE(toolBox.BlockBoxChecked());
    QTest::keyClick(&main, Qt::Key_B, Qt::ControlModifier);
    EXPECT_TRUE(app->BlockBoxForm->isVisible());
    EXPECT_TRUE(toolBox.BlockBoxChecked());
    // Scroll buttons follow the model's edges after a scroll.
    main.Model->SetBlockIndex(0, 5, app->MainForm->Library()->IndexFromName("45F"), 0);
    QTest::keyClick(&main, Qt::Key_Left);
    EXPECT_FALSE(toolBox.ScrollLeftBtn->Enabled());
    EXPECT_TRUE(toolBox.ScrollRightBtn->Enabled());
    QTest::mouseClick(toolBox.ScrollRightBtn, Qt::LeftButton);
    EXPECT_EQ(app->MainForm->Library()->NameFromIndex(main.Model->GetBlockIndex(1, 5, 0)), "45F");
    EXPECT_TRUE(toolBox.ScrollLeftBtn->Enabled());
    // Space hides and shows the toolbox, F10 too.
    QTest::keyClick(&main, Qt::Key_Space);
    EXPECT_FALSE(toolBox.isVisible());
    QTest::keyClick(&main, Qt::Key_F10);
    EXPECT_TRUE(toolBox.isVisible());
    // Dock Boxes brings both back to their places.
    toolBox.move(400, 400);
    app->BlockBoxForm->hide();
    main.MainMenu.DockBoxes1->trigger();
    EXPECT_EQ(toolBox.pos(), QPoint(128, 128));
    EXPECT_TRUE(app->BlockBoxForm->isVisible());
    EXPECT_TRUE(toolBox.BlockBoxChecked());
    main.Model->Modified = false;
}

// A mouse-only user finds Undo at the top of the File button's pop-up, enabled
// while there is something to undo.
TEST_F(ApplicationTest, UndoFromTheFileButtonsPopUp) {
    Start();
    TMainForm& main = *app->MainForm;
    TFlatButton* fileBtn = app->ToolBoxForm->FileBtn;
    const QPoint centre = fileBtn->rect().center();
    bool enabled = true;
    auto choose = [&](bool take) {
        QTimer::singleShot(0, [&, take] {
            auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(popup, nullptr);
            const QList<QAction*> items = popup->actions();
            ASSERT_GE(items.size(), 3);
            EXPECT_EQ(items[0]->text(), QStringLiteral("&Undo"));
            EXPECT_TRUE(items[2]->isSeparator());
            enabled = items[0]->isEnabled();
            if (take)
                popup->setActiveAction(items[0]);
            QTest::keyClick(popup, take ? Qt::Key_Return : Qt::Key_Escape);
        });
        // Sent straight to the button: the menu runs its own loop inside the press.
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, QPointF(centre), QPointF(fileBtn->mapToGlobal(centre)), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(fileBtn, &event);
        }
    };
    choose(false);
    EXPECT_FALSE(enabled);
    main.Library()->SelectIndex(main.Library()->IndexFromName("45F"));
    main.BmpWndMouseDown(Qt::LeftButton, Qt::LeftButton, false, 40, 40);
    main.BmpWndMouseUp(Qt::LeftButton, Qt::NoButton, false, 40, 40);
    ASSERT_NE(main.Model->GetBlockIndex(1, 1, 0), -1);
    choose(true);
    EXPECT_TRUE(enabled);
    EXPECT_EQ(main.Model->GetBlockIndex(1, 1, 0), -1);
    EXPECT_FALSE(main.Model->Modified);
}

} // namespace
