#include "x_session.h"

#include "common/program_folder.h"
#include "imaging/bitmap.h"
#include "imaging/canvas.h"
#include "library/background.h"
#include "library/block_list.h"
#include "model/model.h"

namespace {

const TColor kTeal = RGBColor(0x00, 0x80, 0x80); // a swatch of the attributes dialog
const QString kDescription = S("Built in a real window, one event at a time");

class ProgramRunTest : public SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        SetProgramFolder(QFileInfo(QStringLiteral(CUBESTACKS_PROGRAM)).absolutePath());
        library = std::make_unique<TBlockList>();
        ASSERT_GT(library->SetCount, 0) << library->LoadError.toStdString();
        expected.SetContext(ModelContext());
        first = library->IndexFromMap(0, 0, 0);
        ASSERT_NE(first, -1);
        ASSERT_TRUE(StartDisplay());
        QDir().mkpath(Home(S("models")));
    }
    void TearDown() override { SetProgramFolder(QString()); } // expected goes before the library
    TModelContext ModelContext() const { return {library.get(), QSize(1024, 768), {}, {}, nullptr}; }
    QImage Render(TModel& model) const {
        QImage image = NewBitmap(kMainWindow.width(), kMainWindow.height());
        TCanvas canvas(&image);
        model.Draw(canvas);
        return image;
    }
    bool WaitForProgram() {
        const bool shown = WaitForProgramWindows();
        covered = {toolBox.geometry.translated(-kMainWindow.topLeft()),
                   blockBox.geometry.translated(-kMainWindow.topLeft())};
        return shown && Focus(mainWindow.id);
    }
    // Waits until the main window shows expected wherever the boxes leave it in view.
    bool WaitForPicture(const QString& step, const QImage& picture = QImage(), int timeoutMs = kStepMs) {
        const QImage wanted = picture.isNull() ? Render(expected) : picture;
        int difference = -1;
        WaitFor(
            [&] {
                lastScreen = Screenshot();
                difference = Differences(lastScreen.copy(kMainWindow), wanted, covered); // -1: no picture
                return difference == 0 || !program->Running();
            },
            timeoutMs, 100);
        if (difference != 0) {
            lastScreen.save(Out(step + S("-screen.png")));
            wanted.save(Out(step + S("-expected.png")));
            ADD_FAILURE() << step.toStdString() << ": " << difference << " pixels differ; the program "
                          << program->Describe().toStdString() << "; see " << out.toStdString();
        }
        return difference == 0;
    }
    static QPoint Cell(QPoint cell) { return kMainWindow.topLeft() + cell * 32 + QPoint(16, 16); }
    bool PaintStroke(const std::vector<QPoint>& cells, int32_t block) {
        Mouse(Cell(cells[0]), {"mousedown", "1"}); // xdotool's buttons: 1 left, 3 right
        bool painted = true;
        for (auto c = cells.begin(); c != cells.end() && painted; ++c) {
            Mouse(Cell(*c));
            expected.SetBlockIndex(c->x(), c->y(), block, expected.FreeLevel(c->x(), c->y()));
            painted = WaitForPicture(S("stroke-%1-%2").arg(c->x()).arg(c->y()));
        }
        Xdotool({"mouseup", "1"});
        return painted;
    }

    std::unique_ptr<TBlockList> library;
    TModel expected{TModelContext()}; // in ModelContext() from the set-up on
    int32_t first = -1;               // the first block of the first set, selected at start
    std::vector<QRect> covered;       // the boxes, in main-window pixels
    QImage lastScreen;
};

TEST_F(ProgramRunTest, PaintCarryRotateEraseSetAGradientSaveAndClose) {
    const int32_t second = library->IndexFromMap(0, 1, 0);
    QImage scratch = NewBitmap(kMainWindow.width(), kMainWindow.height());
    TCanvas canvas(&scratch);
    expected.SetBlockIndex(0, 0, first, 0); // cleared again with Ctrl+N below
    ASSERT_TRUE(expected.ApplyTool(canvas, tlRotate, 0, 0));
    const int32_t turned = expected.GetTopBlock(0, 0);
    ASSERT_TRUE(
        Launch(program, QStringLiteral(CUBESTACKS_PROGRAM), {}, ProgramEnvironment(), S("program.log")));
    ASSERT_TRUE(WaitForProgram());
    EXPECT_EQ(std::pair(toolBox.geometry.topLeft(), blockBox.geometry.topLeft()),
              std::pair(kMainWindow.topLeft(), kBlockBoxPlace));

    TModel welcome(ModelContext());
    ASSERT_TRUE(welcome.LoadFromFile(ProgramFolder() + S("Models/Welcome.cst")));
    ASSERT_TRUE(WaitForPicture(S("welcome"), Render(welcome), kStartMs));
    Keys(S("ctrl+n"));
    expected.Clear(false);
    ASSERT_TRUE(WaitForPicture(S("new")));

    ASSERT_TRUE(PaintStroke({{3, 5}, {4, 5}, {5, 5}, {6, 5}, {7, 5}, {8, 5}}, first));
    Mouse(blockBox.geometry.topLeft() + QPoint(67 + 16, 42 + 1 * 34 + 5 + 16), {"click", "1"});
    ASSERT_TRUE(PaintStroke({{3, 7}, {4, 7}, {5, 7}}, second));

    // Shift held: (8, 5) carried to (10, 9); a right click turns (4, 5).
    Mouse(Cell({8, 5}), {"keydown", "shift", "mousedown", "1", "sleep", "0.06"});
    for (const QPoint cell : {QPoint(9, 6), QPoint(10, 8), QPoint(10, 9)})
        Mouse(Cell(cell), {"sleep", "0.06"});
    Xdotool({"mouseup", "1"});
    Mouse(Cell({4, 5}), {"click", "3", "keyup", "shift"});
    expected.SetBlockIndex(8, 5, -1, 0);
    expected.SetBlockIndex(10, 9, first, 0);
    expected.SetBlockIndex(4, 5, turned, 0);
    ASSERT_TRUE(WaitForPicture(S("carried-and-turned")));
    Mouse(Cell({6, 5}), {"click", "3"});
    expected.SetBlockIndex(6, 5, -1, 0);
    ASSERT_TRUE(WaitForPicture(S("erased")));

    Keys(S("ctrl+t"));
    const XWindow attributes = WaitForWindow(S("^Attributes"));
    ASSERT_TRUE(!attributes.id.isEmpty() && Focus(attributes.id));
    Xdotool({"type", "--delay", "30", kDescription}); // the description has the keyboard first
    Keys(S("alt+g"));
    QRect swatch; // the solid square inside the teal swatch
    ASSERT_TRUE(WaitFor(
        [&] {
            const QImage dialog = Screenshot().copy(attributes.geometry);
            swatch = QRect();
            for (int y = 0; y < dialog.height(); ++y)
                for (int x = 0; x < dialog.width(); ++x)
                    if ((dialog.pixel(x, y) & 0xFFFFFF) == (ColorToRgb(kTeal) & 0xFFFFFF))
                        swatch |= QRect(x, y, 1, 1);
            return swatch.width() >= 8 && swatch.width() <= 20 && swatch.height() == swatch.width();
        },
        kStepMs, 100))
        << "no teal swatch in the attributes dialog";
    Mouse(attributes.geometry.topLeft() + swatch.center(), {"click", "1"});
    Keys(S("Return"));
    ASSERT_TRUE(WaitForShown({{attributes, false}})) << "the dialog stayed open";
    expected.Background.Color = kTeal;
    expected.SetBackgroundKind(bkGradient);
    expected.Description.DescriptionText = kDescription.toStdString();
    ASSERT_TRUE(WaitForPicture(S("gradient")));

    const QString saved = Home(S("models/Made In A Window.cst"));
    ASSERT_TRUE(Focus(mainWindow.id));
    Keys(S("ctrl+s"));
    const XWindow saveAs = WaitForWindow(S("^Save Model As"));
    ASSERT_TRUE(!saveAs.id.isEmpty() && Focus(saveAs.id));
    Keys(S("ctrl+a"));
    Xdotool({"type", "--delay", "30", saved});
    Keys(S("Return"));
    ASSERT_TRUE(WaitForShown({{saveAs, false}})) << "the dialog stayed open";
    ASSERT_TRUE(WaitFor([&] { return QFileInfo(saved).size() > 0; }, kStepMs)) << saved.toStdString();

    // One more block (the turned one is selected), then Exit from the toolbox, Yes by Enter.
    Mouse(Cell({12, 3}), {"click", "1"});
    expected.SetBlockIndex(12, 3, turned, 0);
    ASSERT_TRUE(WaitForPicture(S("last-block")));
    const QImage finalScreen = lastScreen.copy(kMainWindow);
    Mouse(toolBox.geometry.topLeft() + QPoint(304 + 11, 26 + 11), {"click", "1"});
    const XWindow question = WaitForWindow(kMainTitle, QSize(), kStepMs, {kMainWindow.size()});
    ASSERT_TRUE(!question.id.isEmpty() && Focus(question.id));
    Keys(S("Return"));
    ASSERT_TRUE(program->WaitForEnd(kStepMs)) << "the program did not end after Exit";
    EXPECT_EQ(std::pair(program->exitStatus(), program->exitCode()), std::pair(QProcess::NormalExit, 0))
        << program->Describe().toStdString();
    TModel model(ModelContext());
    ASSERT_TRUE(model.LoadFromFile(saved));
    EXPECT_TRUE(model.Cells == expected.Cells);
    EXPECT_EQ(std::tuple(model.Background.Kind, model.Background.Color, model.Description.DescriptionText),
              std::tuple(uint8_t{bkGradient}, kTeal, kDescription.toStdString()));
    EXPECT_EQ(Differences(finalScreen, Render(model), covered),
              0); // the saved model shows what was on screen
}

TEST_F(ProgramRunTest, AfterACrashTheUnsavedChangesComeBack) {
    QProcessEnvironment env = ProgramEnvironment();
    env.insert(S("CUBESTACKS_RECOVERY_INTERVAL_MS"), S("300"));
    // The splash bears the program's title too: its size tells it from the question asked later.
    ASSERT_TRUE(Launch(program, QStringLiteral(CUBESTACKS_PROGRAM), {}, env, S("program.log")));
    QSize splash;
    WaitFor(
        [&] {
            for (const XWindow& w : VisibleWindows(kMainTitle))
                if (w.geometry.size() != kMainWindow.size())
                    splash = w.geometry.size();
                else
                    return true;
            return !program->Running();
        },
        kStartMs);
    ASSERT_TRUE(WaitForProgram());
    Keys(S("ctrl+n"));
    expected.Clear(false);
    ASSERT_TRUE(WaitForPicture(S("new")));
    ASSERT_TRUE(PaintStroke({{6, 9}, {7, 9}, {8, 10}}, first));
    const QDir recovery(Home(S("home/.local/share/Quadrantine/Cubestacks/recovery")));
    ASSERT_TRUE(WaitFor([&] { return !recovery.entryList({S("*.cst")}, QDir::Files).isEmpty(); }, kStepMs));
    program->kill();
    program->waitForFinished(5000);
    EXPECT_EQ(program->exitStatus(), QProcess::CrashExit);

    ASSERT_TRUE(Launch(program, QStringLiteral(CUBESTACKS_PROGRAM), {}, env, S("program-2.log")));
    const XWindow question = WaitForWindow(kMainTitle, QSize(), kStartMs, {kMainWindow.size(), splash});
    ASSERT_TRUE(!question.id.isEmpty() && Focus(question.id)) << "no question about the unsaved changes";
    Keys(S("Return"));
    ASSERT_TRUE(WaitForShown({{question, false}})) << "the question stayed open";
    ASSERT_TRUE(WaitForProgram());
    ASSERT_TRUE(WaitForPicture(S("restored")));
}

} // namespace
