// The real program on real desktops: under openbox on a private Xvfb display,
// and in a Wayland session (weston's headless backend with Xwayland), driven
// with xdotool and wmctrl. Every step waits for its condition; on a failure the
// program's and the servers' output are in the e2e-output folder of the build.

#include "x_session.h"

#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

const QRect kMainWindow(128, 128, 1024, 768); // centred on a 1280 x 1024 screen
const QSize kBlockBoxSize(112, 416);
const QPoint kBlockBoxPlace(kMainWindow.right() + 1 - kBlockBoxSize.width(), kMainWindow.top());
constexpr int kStartMs = 60000; // the program's start on a loaded machine
constexpr int kStepMs = 15000;  // one step: a window mapped, raised, iconified

class DesktopSessionTest : public CubestacksTest {
protected:
    void SetUp() override {
        CubestacksTest::SetUp();
        ASSERT_TRUE(home.isValid());
        out = QStringLiteral(E2E_OUTPUT_DIR "/") +
              QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name());
        QDir(out).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(out));
        ASSERT_TRUE(QDir().mkpath(Home(QStringLiteral("runtime"))));
        QFile::setPermissions(Home(QStringLiteral("runtime")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void TearDown() override {
        // The programs before the servers they run on.
        program.reset();
        other.reset();
        session.reset();
        display.reset();
        CubestacksTest::TearDown();
    }

    QString Out(const QString& name) const { return out + QLatin1Char('/') + name; }
    QString Home(const QString& name) const { return home.filePath(name); }

    QProcessEnvironment ProgramEnvironment() const { return ::ProgramEnvironment(*display, home.path()); }

    void StartProgram(const QProcessEnvironment& env, const QString& log) {
        program = std::make_unique<XProgram>();
        ASSERT_TRUE(program->Start(QStringLiteral(CUBESTACKS_PROGRAM), {}, env, Home(QStringLiteral("home")),
                                   Out(log)))
            << "cannot start " << CUBESTACKS_PROGRAM;
    }

    // The one shown window whose name matches, of that size when given.
    XWindow WaitForWindow(const QString& step, const QString& nameRegex, const QSize& size = QSize(),
                          int timeoutMs = kStepMs) {
        XWindow found;
        WaitFor(
            [&] {
                for (const XWindow& w : display->VisibleWindows(nameRegex))
                    if (!size.isValid() || w.geometry.size() == size) {
                        found = w;
                        return true;
                    }
                return program && !program->Running();
            },
            timeoutMs, 100);
        if (found.id.isEmpty())
            ADD_FAILURE() << step.toStdString() << ": no window \"" << nameRegex.toStdString()
                          << "\" appeared; the program "
                          << (program ? program->Describe().toStdString() : std::string("was not started"))
                          << " (output in " << out.toStdString() << ")";
        return found;
    }

    // Waits until each window is viewable (mapped, not iconified) or not, as asked.
    bool WaitForShown(const std::vector<std::pair<XWindow, bool>>& windows) {
        return WaitFor(
            [&] {
                for (const auto& [window, shown] : windows)
                    if (RunTool(QStringLiteral("xwininfo"), {QStringLiteral("-id"), window.id},
                                display->Environment())
                            .out.contains("IsViewable") != shown)
                        return false;
                return true;
            },
            kStepMs, 100);
    }

    // upper is above lower in the window manager's stacking list (bottom first).
    bool Above(const XWindow& upper, const XWindow& lower) const {
        const QStringList order = Property(QStringLiteral("-root"), "_NET_CLIENT_LIST_STACKING");
        return order.indexOf(upper.id) > order.indexOf(lower.id) && order.indexOf(lower.id) >= 0;
    }

    // The three windows: the boxes owned by the main window (WM_TRANSIENT_FOR),
    // each asking for its place (WM_NORMAL_HINTS): the main window centred, the
    // boxes docked at its top corners.
    void ExpectDockedLayout(const QString& step, XWindow& main, XWindow& toolBox, XWindow& blockBox) {
        main = WaitForWindow(step, QStringLiteral("^Quadrantine Cubestacks$"), kMainWindow.size(), kStartMs);
        toolBox = WaitForWindow(step, QStringLiteral("^Toolbox"), QSize(464, 54));
        blockBox = WaitForWindow(step, QStringLiteral("^Block Box"), kBlockBoxSize);
        ASSERT_FALSE(main.id.isEmpty() || toolBox.id.isEmpty() || blockBox.id.isEmpty());
        EXPECT_EQ(AskedPlace(main), kMainWindow.topLeft()) << step.toStdString();
        EXPECT_EQ(AskedPlace(toolBox), kMainWindow.topLeft()) << step.toStdString();
        EXPECT_EQ(AskedPlace(blockBox), kBlockBoxPlace) << step.toStdString();
        for (const XWindow* box : {&toolBox, &blockBox})
            EXPECT_EQ(Property(box->id, "WM_TRANSIENT_FOR").value(0), main.id) << step.toStdString();
    }

    // The numbers of a window property ("-root" for the root window), ids as xdotool's decimal ids.
    QStringList Property(const QString& window, const char* name) const {
        const QStringList args = window == QLatin1String("-root")
                                     ? QStringList{window, QString::fromLatin1(name)}
                                     : QStringList{QStringLiteral("-id"), window, QString::fromLatin1(name)};
        const ToolResult shown = RunTool(QStringLiteral("xprop"), args, display->Environment());
        QStringList numbers;
        static const QRegularExpression number(QStringLiteral("0x[0-9a-fA-F]+|-?\\d+"));
        for (const QRegularExpressionMatch& m :
             number.globalMatch(QString::fromLatin1(shown.out).section(QLatin1Char(':'), 1))) {
            const QString n = m.captured(0);
            numbers << (n.startsWith(QLatin1String("0x")) ? QString::number(n.toULongLong(nullptr, 16)) : n);
        }
        return numbers;
    }

    // The place the program asked for the window ("user specified location").
    QPoint AskedPlace(const XWindow& window) const {
        const ToolResult hints = RunTool(
            QStringLiteral("xprop"), {QStringLiteral("-id"), window.id, QStringLiteral("WM_NORMAL_HINTS")},
            display->Environment());
        static const QRegularExpression location(QStringLiteral("specified location: (-?\\d+), (-?\\d+)"));
        const QRegularExpressionMatch m = location.match(QString::fromLatin1(hints.out));
        return m.hasMatch() ? QPoint(m.captured(1).toInt(), m.captured(2).toInt()) : QPoint(-1, -1);
    }

    QTemporaryDir home;
    QString out; // this test's own output folder
    std::unique_ptr<XDisplay> display;
    std::unique_ptr<XProgram> session; // the window manager or the compositor
    std::unique_ptr<XProgram> other;   // another program's window
    std::unique_ptr<XProgram> program;
};

TEST_F(DesktopSessionTest, UnderOpenboxTheBoxesStayWithTheMainWindowAndAboveNoOtherProgram) {
    display = std::make_unique<XDisplay>();
    QString problem;
    ASSERT_TRUE(display->Start(QSize(1280, 1024), Out(QStringLiteral("xvfb.log")), &problem))
        << problem.toStdString();
    const QProcessEnvironment env = display->Environment();
    session = std::make_unique<XProgram>();
    ASSERT_TRUE(session->Start(QStringLiteral("openbox"), {}, env, Home(QString()),
                               Out(QStringLiteral("openbox.log"))));
    ASSERT_TRUE(
        WaitFor([&] { return RunTool(QStringLiteral("wmctrl"), {QStringLiteral("-m")}, env).ok(); }, kStepMs))
        << "openbox did not take the display";
    StartProgram(ProgramEnvironment(), QStringLiteral("openbox-program.log"));
    XWindow main, toolBox, blockBox;
    ExpectDockedLayout(QStringLiteral("start"), main, toolBox, blockBox);
    ASSERT_FALSE(HasFailure());
    EXPECT_EQ(main.geometry, kMainWindow); // openbox puts them where they ask to be
    EXPECT_EQ(toolBox.geometry.topLeft(), kMainWindow.topLeft());
    EXPECT_EQ(blockBox.geometry.topLeft(), kBlockBoxPlace);

    // Another program's window, brought to the front, covers the toolbox.
    other = std::make_unique<XProgram>();
    ASSERT_TRUE(
        other->Start(QStringLiteral("xmessage"),
                     {QStringLiteral("-geometry"), QStringLiteral("+160+140"), QStringLiteral("In front")},
                     env, Home(QString()), Out(QStringLiteral("xmessage.log"))));
    const XWindow message = WaitForWindow(QStringLiteral("other program"), QStringLiteral("^xmessage$"));
    ASSERT_FALSE(message.id.isEmpty());
    display->Xdotool({QStringLiteral("windowactivate"), message.id});
    EXPECT_TRUE(WaitFor([&] { return Above(message, toolBox) && Above(message, main); }, kStepMs))
        << "the toolbox stays above another program";
    // A click on the main window (the middle button: no editing) brings it
    // to the front with both boxes above it.
    display->MoveMouse(kMainWindow.topLeft() + QPoint(600, 500));
    display->Click(2);
    EXPECT_TRUE(WaitFor([&] { return Above(main, message) && Above(toolBox, main) && Above(blockBox, main); },
                        kStepMs));

    // Minimised through the window manager: the boxes go along, and come back
    // with it; its keys work at once (Space hides the toolbox and shows it again).
    display->Xdotool({QStringLiteral("windowminimize"), main.id});
    EXPECT_TRUE(WaitForShown({{main, false}, {toolBox, false}, {blockBox, false}}));
    display->Xdotool({QStringLiteral("windowactivate"), main.id});
    EXPECT_TRUE(WaitForShown({{main, true}, {toolBox, true}, {blockBox, true}}));
    EXPECT_TRUE(WaitFor([&] { return display->FocusedWindow() == main.id; }, kStepMs))
        << "the keyboard is with " << display->FocusedWindow().toStdString();
    display->Keys(QStringLiteral("space"));
    EXPECT_TRUE(WaitForShown({{toolBox, false}})) << "Space did not reach the main window";
    display->Keys(QStringLiteral("space"));
    EXPECT_TRUE(WaitForShown({{toolBox, true}}));

    // Shift+Esc, then closed from outside while minimised: both boxes are stored as shown.
    display->Keys(QStringLiteral("shift+Escape"));
    EXPECT_TRUE(WaitForShown({{main, false}, {toolBox, false}, {blockBox, false}}));
    RunTool(QStringLiteral("wmctrl"), {QStringLiteral("-i"), QStringLiteral("-c"), main.id}, env);
    ASSERT_TRUE(program->WaitForEnd(kStepMs)) << "the program did not end when closed while minimised";
    EXPECT_EQ(program->ExitCode(), 0) << program->Describe().toStdString();
    QSettings stored(Home(QStringLiteral("home/.config/Quadrantine/Cubestacks.conf")), QSettings::IniFormat);
    EXPECT_EQ(stored.value(QStringLiteral("Windows/ToolBoxForm/Visible")).toString(), QStringLiteral("1"));
    EXPECT_EQ(stored.value(QStringLiteral("Windows/BlockBoxForm/Visible")).toString(), QStringLiteral("1"));
}

TEST_F(DesktopSessionTest, InAWaylandSessionTheWindowsArePlacedAsOnX11) {
    // weston with its headless backend, Xwayland on a display it chooses.
    const QString socket = QStringLiteral("cubestacks-e2e-%1").arg(::getpid());
    QProcessEnvironment compositorEnv = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET"})
        compositorEnv.remove(QString::fromLatin1(name));
    compositorEnv.insert(QStringLiteral("XDG_RUNTIME_DIR"), Home(QStringLiteral("runtime")));
    const QString log = Out(QStringLiteral("weston.log"));
    session = std::make_unique<XProgram>();
    ASSERT_TRUE(session->Start(QStringLiteral("weston"),
                               {QStringLiteral("--backend=headless-backend.so"), QStringLiteral("--xwayland"),
                                QStringLiteral("--socket=") + socket, QStringLiteral("--width=1280"),
                                QStringLiteral("--height=1024"), QStringLiteral("--idle-time=0"),
                                QStringLiteral("--log=") + log},
                               compositorEnv, Home(QString()), Out(QStringLiteral("weston-output.log"))));
    static const QRegularExpression listening(QStringLiteral("xserver listening on display :(\\d+)"));
    QRegularExpressionMatch m;
    WaitFor(
        [&] {
            return (m = listening.match(QString::fromUtf8(ReadAll(log)))).hasMatch() || !session->Running();
        },
        kStepMs, 100);
    ASSERT_TRUE(m.hasMatch()) << "weston started no Xwayland; see " << log.toStdString();
    display = std::make_unique<XDisplay>();
    display->Attach(m.captured(1).toInt());

    // No platform chosen: the program runs through Xwayland, its windows ask
    // for their places as on X11 (weston's shell places them as it likes), and
    // the boxes belong to the main window.
    QProcessEnvironment env = ProgramEnvironment();
    env.insert(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("wayland"));
    env.insert(QStringLiteral("WAYLAND_DISPLAY"), socket);
    StartProgram(env, QStringLiteral("wayland-program.log"));
    XWindow main, toolBox, blockBox;
    ExpectDockedLayout(QStringLiteral("wayland session"), main, toolBox, blockBox);
    program.reset();

    // Where no X server answers, the Wayland plugin runs it.
    env.remove(QStringLiteral("DISPLAY"));
    env.insert(QStringLiteral("CUBESTACKS_REPORT_FIRST_FRAME"), QStringLiteral("1"));
    const QString fallbackLog = Out(QStringLiteral("wayland-only-program.log"));
    StartProgram(env, QStringLiteral("wayland-only-program.log"));
    EXPECT_TRUE(
        WaitFor([&] { return ReadAll(fallbackLog).contains("first frame: main") || !program->Running(); },
                kStartMs, 100));
    EXPECT_TRUE(program->Running()) << "without Xwayland the program " << program->Describe().toStdString()
                                    << "; see " << fallbackLog.toStdString();
}

} // namespace
