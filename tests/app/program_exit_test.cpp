// The whole program's windows under a running event loop: closing the main
// window ends the loop, a refused close does not.

#include "app_fixture.h"

#include "app/application.h"
#include "app/main_form.h"
#include "common/program_folder.h"
#include "model/model.h"
#include "windows/block_box_form.h"
#include "windows/preference_values.h"
#include "windows/settings_store.h"
#include "windows/toolbox_form.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

constexpr int kLoopTimedOut = 3;

class ProgramExitTest : public CubestacksTest {
protected:
    void SetUp() override {
        CubestacksTest::SetUp();
        folder = std::make_unique<TempProgramFolder>();
        SetProgramFolder(folder->path());
        WriteBlockSets(*folder, {{{"30H", "30V"}, {"45F"}}});
        OpenSettingsStore()->clear();
        // No start-up model: the program starts with the empty one.
        WriteIntSetting(kPreferencesSection, QStringLiteral("StartupModel"), 0);
        SetSoundEffectPlayer(&sounds);
        program = std::make_unique<TCubestacksApplication>(QSize(1280, 1024));
        // Questions go to the test, not to boxes nobody answers.
        SetMessagePresenter(&presenter());
        program->Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(program->MainForm.get()));
    }

    void TearDown() override {
        program.reset();
        SetSoundEffectPlayer(nullptr);
        OpenSettingsStore()->clear();
        ResetPreferences();
        folder.reset();
        CubestacksTest::TearDown();
    }

    // Runs the event loop with `start` queued; the loop's exit code, or
    // kLoopTimedOut when nothing ended it within ten seconds.
    int RunLoop(const std::function<void()>& start) {
        QTimer::singleShot(0, program->MainForm.get(), start);
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(kLoopTimedOut); });
        watchdog.start(10000);
        return QApplication::exec();
    }

    std::unique_ptr<TempProgramFolder> folder;
    std::unique_ptr<TCubestacksApplication> program;
    RecordingSoundPlayer sounds;
};

TEST_F(ProgramExitTest, ExitEndsTheProgramWithTheBoxesStillShownSoTheyStoreThemselvesVisible) {
    ASSERT_TRUE(program->ToolBoxForm->isVisible());
    ASSERT_TRUE(program->BlockBoxForm->isVisible());

    const int code = RunLoop([this] { program->MainForm->Exit1Click(); });

    EXPECT_EQ(code, 0) << "the event loop went on after the main window closed";
    EXPECT_FALSE(program->MainForm->isVisible());
    EXPECT_TRUE(program->ToolBoxForm->isVisible());
    EXPECT_TRUE(program->BlockBoxForm->isVisible());
    EXPECT_TRUE(presenter().shown.empty()) << "an unmodified model asks nothing";

    program.reset(); // the boxes store their placement as they go
    EXPECT_TRUE(ReadFlagSetting(QStringLiteral("Windows/ToolBoxForm"), QStringLiteral("Visible"), false));
    EXPECT_TRUE(ReadFlagSetting(QStringLiteral("Windows/BlockBoxForm"), QStringLiteral("Visible"), false));
}

TEST_F(ProgramExitTest, ClosingTheToolboxEndsTheProgramToo) {
    const int code = RunLoop([this] { program->ToolBoxForm->close(); });

    EXPECT_EQ(code, 0);
    EXPECT_FALSE(program->MainForm->isVisible());
    EXPECT_TRUE(program->ToolBoxForm->isVisible());
}

TEST_F(ProgramExitTest, ACancelledSaveQuestionKeepsTheProgramRunning) {
    bool shownAfterCancel = false;
    bool loopWentOn = false;
    const int code = RunLoop([&] {
        program->MainForm->Model->Modified = true;
        presenter().answers = {IDCANCEL, IDNO};
        program->MainForm->Exit1Click();
        shownAfterCancel = program->MainForm->isVisible();
        // Still running: a later close, answered No, ends it.
        QTimer::singleShot(50, program->MainForm.get(), [&] {
            loopWentOn = true;
            program->MainForm->Exit1Click();
        });
    });

    EXPECT_TRUE(shownAfterCancel);
    EXPECT_TRUE(loopWentOn);
    EXPECT_EQ(code, 0);
    ASSERT_EQ(presenter().shown.size(), 2u);
    EXPECT_FALSE(program->MainForm->isVisible());
}

} // namespace
