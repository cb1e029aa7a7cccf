// The real program in a real X window: started on a private Xvfb display with
// fresh settings, driven with real input events (xdotool), watched through
// screenshots, and its saved model checked with the converter and the model
// reader afterwards. Every step waits for the picture it should draw; on a
// failure the screenshots, the expected pictures and the program's output are
// in the e2e-output folder of the build.

#include "x_session.h"

#include "common/program_folder.h"
#include "imaging/bitmap.h"
#include "imaging/canvas.h"
#include "library/background.h"
#include "library/block_list.h"
#include "model/model.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

const QRect kMainWindow(128, 128, 1024, 768); // centred on a 1280 x 1024 screen
const QSize kBlockBoxSize(112, 416);
constexpr int kCell = 32;
constexpr int kStartMs = 60000; // the program's start on a loaded machine
constexpr int kStepMs = 20000;  // one step's drawing, a dialog opening or closing
constexpr int kLeftButton = 1;  // xdotool's button numbers
constexpr int kRightButton = 3;
const QString kMainTitle = QStringLiteral("^Quadrantine Cubestacks$");
const TColor kTeal = RGBColor(0x00, 0x80, 0x80); // a swatch of the attributes dialog
const QString kDescription = QStringLiteral("Built in a real window, one event at a time");

QImage Render(TModel& model) {
    QImage image = NewBitmap(kMainWindow.width(), kMainWindow.height());
    TCanvas canvas(&image);
    model.Draw(canvas);
    return image;
}

// Pixels of shown and expected that differ outside the covered rectangles.
int Differences(const QImage& shown, const QImage& expected, const std::vector<QRect>& covered) {
    if (shown.size() != expected.size())
        return -1;
    int count = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            count += (shown.pixel(x, y) & 0xFFFFFF) != (expected.pixel(x, y) & 0xFFFFFF) &&
                     std::none_of(covered.begin(), covered.end(),
                                  [&](const QRect& r) { return r.contains(x, y); });
    return count;
}

// A cell's stack as "level:name ...".
std::string Names(const TModel& model, int col, int row) {
    std::string names;
    for (int level = 0; level < model.Levels; ++level)
        if (model.GetBlockIndex(col, row, level) != -1)
            names += std::to_string(level) + ':' + model.GetBlockName(col, row, level) + ' ';
    return names;
}

class ProgramRunTest : public CubestacksTest {
protected:
    void SetUp() override {
        CubestacksTest::SetUp();
        ASSERT_TRUE(home.isValid());
        QDir(out).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(out));
        // The program's own folder, block sets included, for the expected pictures.
        SetProgramFolder(QFileInfo(QStringLiteral(CUBESTACKS_PROGRAM)).absolutePath());
        library = std::make_unique<TBlockList>();
        ASSERT_TRUE(library->LoadError.isEmpty()) << library->LoadError.toStdString();
        ASSERT_GT(library->SetCount, 0) << "no block sets in " << ProgramFolder().toStdString();
        expected.SetContext(ModelContext());
    }

    // The program's library in a main window of the program's size.
    TModelContext ModelContext() const {
        TModelContext context;
        context.Library = library.get();
        context.WindowSize = kMainWindow.size();
        return context;
    }

    void TearDown() override {
        program.reset(); // before the display it runs on
        display.reset();
        expected.SetContext(TModelContext());
        library.reset();
        SetProgramFolder(QString());
        CubestacksTest::TearDown();
    }

    QString Out(const QString& name) const { return out + QLatin1Char('/') + name; }
    QString Home(const QString& name) const { return home.filePath(name); }

    bool StartDisplay() {
        display = std::make_unique<XDisplay>();
        QString problem;
        const bool started = display->Start(QSize(1280, 1024), Out(QStringLiteral("xvfb.log")), &problem);
        EXPECT_TRUE(started) << problem.toStdString();
        QDir().mkpath(Home(QStringLiteral("models")));
        return started;
    }
    QProcessEnvironment ProgramEnvironment() const { return ::ProgramEnvironment(*display, home.path()); }

    // The program started on the display; its output goes to program.log (the
    // log of a second start to program-2.log, and so on).
    bool Launch(const QProcessEnvironment& env) {
        ++launches;
        mainWindowId.clear(); // a new program's windows may take the ids of an ended one's
        const QString log =
            launches == 1 ? QStringLiteral("program.log") : QStringLiteral("program-%1.log").arg(launches);
        program = std::make_unique<XProgram>();
        const bool started = program->Start(QStringLiteral(CUBESTACKS_PROGRAM), {}, env,
                                            Home(QStringLiteral("home")), Out(log));
        EXPECT_TRUE(started) << "cannot start " << CUBESTACKS_PROGRAM;
        return started;
    }

    // Waits for the main window and both boxes; the boxes are what covers the model.
    bool WaitForProgramWindows() {
        const XWindow main = WaitForWindow(QStringLiteral("start"), kMainTitle, kMainWindow.size(), kStartMs);
        if (main.id.isEmpty())
            return false;
        mainWindowId = main.id;
        mainWindow = main.geometry;
        toolBox = WaitForWindow(QStringLiteral("start"), QStringLiteral("^Toolbox"), QSize(464, 54));
        blockBox = WaitForWindow(QStringLiteral("start"), QStringLiteral("^Block Box"), kBlockBoxSize);
        if (toolBox.id.isEmpty() || blockBox.id.isEmpty())
            return false;
        covered = {toolBox.geometry.translated(-mainWindow.topLeft()),
                   blockBox.geometry.translated(-mainWindow.topLeft())};
        return true;
    }

    QPoint CellCentre(int col, int row) const {
        return mainWindow.topLeft() + QPoint(col * kCell + kCell / 2, row * kCell + kCell / 2);
    }

    // The main window's part of a screenshot.
    QImage MainArea(const QImage& screen) const { return screen.copy(mainWindow); }

    void SaveDiagnostics(const QString& step, const QImage& screen, const QImage& expected = QImage()) {
        const QString prefix = Out(QString(step).replace(QLatin1Char(' '), QLatin1Char('-')));
        screen.save(prefix + QStringLiteral("-screen.png"));
        if (!expected.isNull())
            expected.save(prefix + QStringLiteral("-expected.png"));
    }

    // Waits until the main window shows expected wherever the boxes leave it
    // visible; the last screenshot stays in lastScreen.
    bool WaitForPicture(const QString& step, const QImage& expected, int timeoutMs = kStepMs) {
        int difference = -1;
        const bool shown = WaitFor(
            [&] {
                if (program && !program->Running())
                    return true; // reported below
                lastScreen = display->Screenshot();
                if (lastScreen.isNull())
                    return false;
                difference = Differences(MainArea(lastScreen), expected, covered);
                return difference == 0;
            },
            timeoutMs, 100);
        if (program && !program->Running()) {
            ADD_FAILURE() << step.toStdString() << ": the program " << program->Describe().toStdString()
                          << " (its output is in " << Out(QStringLiteral("program.log")).toStdString() << ")";
            return false;
        }
        if (!shown) {
            SaveDiagnostics(step, lastScreen, expected);
            ADD_FAILURE() << step.toStdString() << ": the window did not show the expected picture within "
                          << timeoutMs << " ms; " << difference << " pixels differ; see "
                          << out.toStdString();
        }
        return shown;
    }

    bool WaitForPicture(const QString& step) { return WaitForPicture(step, Render(expected)); }

    // The one visible window whose name matches, of that size when given.
    XWindow WaitForWindow(const QString& step, const QString& nameRegex, const QSize& size = QSize(),
                          int timeoutMs = kStepMs) {
        XWindow found;
        const bool ok = WaitFor(
            [&] {
                for (const XWindow& w : display->VisibleWindows(nameRegex))
                    if ((!size.isValid() || w.geometry.size() == size) && w.id != mainWindowId) {
                        found = w;
                        return true;
                    }
                return program && !program->Running();
            },
            timeoutMs, 100);
        if (!ok || found.id.isEmpty()) {
            SaveDiagnostics(step, display->Screenshot());
            ADD_FAILURE() << step.toStdString() << ": no window \"" << nameRegex.toStdString()
                          << "\" appeared; the program "
                          << (program ? program->Describe().toStdString() : std::string("was not started"));
        }
        return found;
    }

    bool WaitForWindowGone(const QString& step, const XWindow& window) {
        const bool gone = WaitFor(
            [&] {
                for (const XWindow& w : display->VisibleWindows(QStringLiteral(".")))
                    if (w.id == window.id)
                        return false;
                return true;
            },
            kStepMs, 100);
        if (!gone) {
            SaveDiagnostics(step, display->Screenshot());
            ADD_FAILURE() << step.toStdString() << ": \"" << window.name.toStdString() << "\" stayed open";
        }
        return gone;
    }

    bool FocusMainWindow() {
        const bool focused = display->Focus(mainWindowId, kStepMs);
        EXPECT_TRUE(focused) << "the main window did not take the keyboard";
        return focused;
    }

    // A left-button stroke in paint mode through the cells, checking each
    // cell painted as the pointer enters it.
    bool PaintStroke(const QString& step, const std::vector<QPoint>& cells, int32_t block) {
        display->MoveMouse(CellCentre(cells.front().x(), cells.front().y()));
        display->Press(kLeftButton);
        bool painted = true;
        for (size_t i = 0; i < cells.size() && painted; ++i) {
            if (i > 0)
                display->MoveMouse(CellCentre(cells[i].x(), cells[i].y()));
            expected.SetBlockIndex(cells[i].x(), cells[i].y(), block,
                                   expected.FreeLevel(cells[i].x(), cells[i].y()));
            painted =
                WaitForPicture(QStringLiteral("%1 cell %2,%3").arg(step).arg(cells[i].x()).arg(cells[i].y()));
        }
        display->Release(kLeftButton);
        return painted;
    }

    // Runs the converter; true when it succeeded.
    bool Convert(const QString& input, const QString& output) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), Home(QStringLiteral("converter")));
        const ToolResult run = RunTool(QStringLiteral(CUBESTACKS_CONVERT), {input, output}, env, 60000);
        EXPECT_TRUE(run.ok()) << "cubestacks-convert " << input.toStdString() << " " << output.toStdString()
                              << " failed: " << run.err.toStdString();
        return run.ok();
    }

    // Every cell and level of the model read from fileName against expected.
    void ExpectModelFile(const QString& fileName, const std::string& what) {
        TModel saved(ModelContext());
        ASSERT_TRUE(saved.LoadFromFile(fileName)) << what;
        ASSERT_EQ(saved.Cols, expected.Cols) << what;
        ASSERT_EQ(saved.Rows, expected.Rows) << what;
        for (int row = 0; row < expected.Rows; ++row)
            for (int col = 0; col < expected.Cols; ++col)
                EXPECT_EQ(Names(saved, col, row), Names(expected, col, row))
                    << what << ": cell (" << col << ", " << row << ")";
        EXPECT_EQ(static_cast<int>(saved.Background.Kind), static_cast<int>(bkGradient)) << what;
        EXPECT_EQ(saved.Background.Color, kTeal) << what;
        EXPECT_EQ(saved.Description.DescriptionText, kDescription.toStdString()) << what;
        EXPECT_FALSE(saved.Truncated) << what;
    }

    QTemporaryDir home;
    const QString out = QStringLiteral(E2E_OUTPUT_DIR);
    std::unique_ptr<TBlockList> library;
    std::unique_ptr<XDisplay> display;
    std::unique_ptr<XProgram> program;
    int launches = 0;
    QString mainWindowId;
    QRect mainWindow;
    XWindow toolBox;
    XWindow blockBox;
    std::vector<QRect> covered;       // the boxes, in main-window pixels
    TModel expected{TModelContext()}; // in ModelContext() from the set-up on
    QImage lastScreen;
};

TEST_F(ProgramRunTest, PaintCarryRotateEraseSetAGradientSaveAndClose) {
    // Blocks: the first of the first set, the first of its second row, and
    // the first one turned the way the model turns it.
    const int32_t first = library->IndexFromMap(0, 0, 0);
    const int32_t second = library->IndexFromMap(0, 1, 0);
    ASSERT_NE(first, -1);
    ASSERT_NE(second, -1);
    int32_t turned = -1;
    {
        TModel scratch(ModelContext());
        QImage image = NewBitmap(kMainWindow.width(), kMainWindow.height());
        TCanvas canvas(&image);
        scratch.SetBlockIndex(0, 0, first, 0);
        ASSERT_TRUE(scratch.ApplyTool(canvas, tlRotate, 0, 0))
            << "the first block, " << library->NameFromIndex(first) << ", should turn";
        turned = scratch.GetTopBlock(0, 0);
        ASSERT_NE(turned, first);
    }

    // --- A display of our own and the program on it, with fresh settings.
    ASSERT_TRUE(StartDisplay());
    ASSERT_TRUE(Launch(ProgramEnvironment()));
    ASSERT_TRUE(WaitForProgramWindows());

    // The main window centred, the toolbox docked at its top-left corner, the
    // block box at its top-right corner.
    ASSERT_EQ(mainWindow, kMainWindow);
    EXPECT_EQ(toolBox.geometry.topLeft(), mainWindow.topLeft());
    EXPECT_EQ(blockBox.geometry.topLeft(),
              QPoint(mainWindow.right() + 1 - kBlockBoxSize.width(), mainWindow.top()));

    // The start-up model is the welcome model, shown as the converter draws it.
    const QString welcome = ProgramFolder() + QStringLiteral("Models/Welcome.cst");
    ASSERT_TRUE(Convert(welcome, Home(QStringLiteral("welcome.png"))));
    const QImage welcomePicture =
        QImage(Home(QStringLiteral("welcome.png"))).convertToFormat(QImage::Format_RGB32);
    ASSERT_TRUE(WaitForPicture(QStringLiteral("welcome model"), welcomePicture, kStartMs));

    // --- Ctrl+N: the unmodified welcome model gives way to an empty one at once.
    ASSERT_TRUE(FocusMainWindow());
    display->Keys(QStringLiteral("ctrl+n"));
    expected.Clear(false);
    ASSERT_TRUE(WaitForPicture(QStringLiteral("new model")));

    // --- Paint a stroke with the block selected at start.
    ASSERT_TRUE(
        PaintStroke(QStringLiteral("first stroke"), {{3, 5}, {4, 5}, {5, 5}, {6, 5}, {7, 5}, {8, 5}}, first));

    // --- Choose the second row's block in the block box, paint with it.
    display->MoveMouse(blockBox.geometry.topLeft() + QPoint(67 + 16, 42 + 1 * 34 + 5 + 16));
    display->Click(kLeftButton);
    ASSERT_TRUE(PaintStroke(QStringLiteral("second stroke"), {{3, 7}, {4, 7}, {5, 7}}, second));

    // --- Carry the block of (8, 5) to (10, 9) with Shift held.
    display->MoveMouse(CellCentre(8, 5));
    display->KeyDown(QStringLiteral("shift"));
    display->Press(kLeftButton);
    for (const QPoint cell : {QPoint(9, 6), QPoint(9, 7), QPoint(10, 8), QPoint(10, 9)}) {
        QThread::msleep(60);
        display->MoveMouse(CellCentre(cell.x(), cell.y()));
    }
    QThread::msleep(60);
    display->Release(kLeftButton);
    display->KeyUp(QStringLiteral("shift"));
    expected.SetBlockIndex(8, 5, -1, 0);
    expected.SetBlockIndex(10, 9, first, 0);
    ASSERT_TRUE(WaitForPicture(QStringLiteral("carried")));

    // --- Shift+right click turns the block of (4, 5).
    display->MoveMouse(CellCentre(4, 5));
    display->KeyDown(QStringLiteral("shift"));
    display->Press(kRightButton);
    display->Release(kRightButton);
    display->KeyUp(QStringLiteral("shift"));
    expected.SetBlockIndex(4, 5, turned, 0);
    ASSERT_TRUE(WaitForPicture(QStringLiteral("rotated")));

    // --- A right click erases the block of (6, 5).
    display->MoveMouse(CellCentre(6, 5));
    display->Click(kRightButton);
    expected.SetBlockIndex(6, 5, -1, 0);
    ASSERT_TRUE(WaitForPicture(QStringLiteral("erased")));

    // --- Ctrl+T: a description, the gradient ticked, the teal swatch, OK.
    ASSERT_TRUE(FocusMainWindow());
    display->Keys(QStringLiteral("ctrl+t"));
    const XWindow attributes = WaitForWindow(QStringLiteral("attributes"), QStringLiteral("^Attributes"));
    ASSERT_FALSE(attributes.id.isEmpty());
    ASSERT_TRUE(display->Focus(attributes.id, kStepMs));
    display->Type(kDescription); // the description has the keyboard first
    display->Keys(QStringLiteral("alt+g"));
    QRect swatch;
    const bool swatchShown = WaitFor(
        [&] {
            const QImage screen = display->Screenshot();
            if (screen.isNull())
                return false;
            QRect found;
            int count = 0;
            const QRect area = attributes.geometry.intersected(screen.rect());
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x)
                    if ((screen.pixel(x, y) & 0xFFFFFF) == (ColorToRgb(kTeal) & 0xFFFFFF)) {
                        found |= QRect(x, y, 1, 1);
                        ++count;
                    }
            // One solid square of the swatch's inside.
            if (found.width() < 8 || found.width() > 20 || found.height() != found.width() ||
                count != found.width() * found.height())
                return false;
            swatch = found;
            return true;
        },
        kStepMs, 100);
    if (!swatchShown)
        SaveDiagnostics(QStringLiteral("attributes"), display->Screenshot());
    ASSERT_TRUE(swatchShown) << "no teal swatch in the attributes dialog";
    display->MoveMouse(swatch.center());
    display->Click(kLeftButton);
    display->Keys(QStringLiteral("Return"));
    ASSERT_TRUE(WaitForWindowGone(QStringLiteral("attributes"), attributes));
    expected.Background.Color = kTeal;
    expected.SetBackgroundKind(bkGradient);
    expected.Description.DescriptionText = kDescription.toStdString();
    ASSERT_TRUE(WaitForPicture(QStringLiteral("gradient")));

    // --- Ctrl+S on the untitled model: the Save As dialog, a new file typed in.
    const QString saved = Home(QStringLiteral("models/Made In A Window.cst"));
    ASSERT_TRUE(FocusMainWindow());
    display->Keys(QStringLiteral("ctrl+s"));
    const XWindow saveAs = WaitForWindow(QStringLiteral("save as"), QStringLiteral("^Save Model As"));
    ASSERT_FALSE(saveAs.id.isEmpty());
    ASSERT_TRUE(display->Focus(saveAs.id, kStepMs));
    display->Keys(QStringLiteral("ctrl+a"));
    display->Type(saved);
    display->Keys(QStringLiteral("Return"));
    ASSERT_TRUE(WaitForWindowGone(QStringLiteral("save as"), saveAs));
    ASSERT_TRUE(WaitFor([&] { return QFileInfo(saved).size() > 0; }, kStepMs))
        << "nothing saved in " << saved.toStdString();
    ExpectModelFile(saved, "saved by Ctrl+S");

    // --- One more block (the turned one is the block box's selection now),
    // then Exit from the toolbox: the save question, answered Yes by Enter.
    display->MoveMouse(CellCentre(12, 3));
    display->Click(kLeftButton);
    expected.SetBlockIndex(12, 3, turned, 0);
    ASSERT_TRUE(WaitForPicture(QStringLiteral("last block")));
    const QImage finalScreen = lastScreen;
    display->MoveMouse(toolBox.geometry.topLeft() + QPoint(304 + 11, 26 + 11));
    display->Click(kLeftButton);
    const XWindow question = WaitForWindow(QStringLiteral("save question"), kMainTitle);
    ASSERT_FALSE(question.id.isEmpty());
    ASSERT_TRUE(display->Focus(question.id, kStepMs));
    display->Keys(QStringLiteral("Return"));
    if (!program->WaitForEnd(kStepMs)) {
        SaveDiagnostics(QStringLiteral("exit"), display->Screenshot());
        FAIL() << "the program did not end after Exit; see " << out.toStdString();
    }
    EXPECT_EQ(program->ExitStatus(), QProcess::NormalExit) << program->Describe().toStdString();
    EXPECT_EQ(program->ExitCode(), 0);

    // --- The file holds what was built.
    ExpectModelFile(saved, "saved on closing");

    // The converter reads it and writes it again byte for byte.
    const QString copy = Home(QStringLiteral("copy.cst"));
    ASSERT_TRUE(Convert(saved, copy));
    EXPECT_EQ(Hex(ReadAll(copy)), Hex(ReadAll(saved)));

    // Its picture is the one the window showed before closing.
    const QString picture = Home(QStringLiteral("picture.png"));
    ASSERT_TRUE(Convert(saved, picture));
    const QImage drawn = QImage(picture).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(drawn.size(), kMainWindow.size());
    EXPECT_EQ(Differences(MainArea(finalScreen), drawn, covered), 0) << "the window and the converter differ";

    // The boxes were still shown when the program ended and stored themselves so.
    QSettings settings(Home(QStringLiteral("home/.config/Quadrantine/Cubestacks.conf")),
                       QSettings::IniFormat);
    EXPECT_EQ(settings.value(QStringLiteral("Windows/ToolBoxForm/Visible")).toString(), QStringLiteral("1"));
    EXPECT_EQ(settings.value(QStringLiteral("Windows/BlockBoxForm/Visible")).toString(), QStringLiteral("1"));
    EXPECT_EQ(settings.value(QStringLiteral("Windows/ToolBoxForm/Left")).toInt(), toolBox.geometry.left());
    EXPECT_EQ(settings.value(QStringLiteral("Windows/BlockBoxForm/Left")).toInt(), blockBox.geometry.left());
}

TEST_F(ProgramRunTest, AfterACrashTheUnsavedChangesComeBack) {
    const int32_t block = library->IndexFromMap(0, 0, 0);
    ASSERT_NE(block, -1);
    ASSERT_TRUE(StartDisplay());
    // Recovery copies a moment after each change rather than a minute.
    QProcessEnvironment env = ProgramEnvironment();
    env.insert(QStringLiteral("CUBESTACKS_RECOVERY_INTERVAL_MS"), QStringLiteral("300"));
    ASSERT_TRUE(Launch(env));
    // The splash window bears the program's title too: its size tells it from
    // the question asked at the next start.
    QSize splash;
    WaitFor(
        [&] {
            for (const XWindow& w : display->VisibleWindows(kMainTitle)) {
                if (w.geometry.size() == kMainWindow.size())
                    return true;
                splash = w.geometry.size();
            }
            return !program->Running();
        },
        kStartMs, 50);
    ASSERT_TRUE(WaitForProgramWindows());
    ASSERT_TRUE(FocusMainWindow());
    display->Keys(QStringLiteral("ctrl+n"));
    expected.Clear(false);
    ASSERT_TRUE(WaitForPicture(QStringLiteral("new model")));
    ASSERT_TRUE(PaintStroke(QStringLiteral("stroke"), {{6, 9}, {7, 9}, {8, 10}}, block));

    // Past the interval the copy is there; then the program dies.
    const QDir recovery(Home(QStringLiteral("home/.local/share/Quadrantine/Cubestacks/recovery")));
    const bool written = WaitFor(
        [&] { return !recovery.entryList({QStringLiteral("*.cst")}, QDir::Files).isEmpty(); }, kStepMs);
    ASSERT_TRUE(written) << "no recovery copy in " << recovery.path().toStdString();
    program->Kill();
    EXPECT_EQ(program->ExitStatus(), QProcess::CrashExit);

    // Started again with the same settings: the question, answered Yes by Enter.
    ASSERT_TRUE(Launch(env));
    XWindow question;
    const bool asked = WaitFor(
        [&] {
            for (const XWindow& w : display->VisibleWindows(kMainTitle))
                if (w.geometry.size() != kMainWindow.size() && w.geometry.size() != splash) {
                    question = w;
                    return true;
                }
            return !program->Running();
        },
        kStartMs, 100);
    if (!asked || question.id.isEmpty())
        SaveDiagnostics(QStringLiteral("recovery question"), display->Screenshot());
    ASSERT_TRUE(asked && !question.id.isEmpty())
        << "no question about the unsaved changes; the program " << program->Describe().toStdString();
    ASSERT_TRUE(display->Focus(question.id, kStepMs));
    display->Keys(QStringLiteral("Return"));
    ASSERT_TRUE(WaitForWindowGone(QStringLiteral("recovery question"), question));
    ASSERT_TRUE(WaitForProgramWindows());
    ASSERT_TRUE(WaitForPicture(QStringLiteral("restored")));
}

} // namespace
