// The real program on real desktops: under a window manager (openbox on a
// private Xvfb display) and in a Wayland session (weston's headless backend
// with Xwayland). Driven with xdotool and wmctrl; the window manager's own
// stacking list (_NET_CLIENT_LIST_STACKING on the root window) tells which
// window is above which. Every step waits for its condition, so the tests are
// as fast as the machine allows; on a failure the program's and the servers'
// output are in the e2e-output folder of the build.

#include "x_session.h"

#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

const QSize kScreen(1280, 1024);
const QRect kMainWindow(128, 128, 1024, 768); // centred on the screen
const QSize kToolBoxSize(464, 54);
const QSize kBlockBoxSize(112, 416);

constexpr int kStartMs = 60000; // the program's start on a loaded machine
constexpr int kStepMs = 15000;  // one step: a window mapped, raised, iconified

const QString kMainTitle = QStringLiteral("^Quadrantine Cubestacks$");
const QString kToolBoxTitle = QStringLiteral("^Toolbox");
const QString kBlockBoxTitle = QStringLiteral("^Block Box");

class DesktopSessionTest : public CubestacksTest {
protected:
    void SetUp() override {
        CubestacksTest::SetUp();
        ASSERT_TRUE(home.isValid());
        out = QStringLiteral(E2E_OUTPUT_DIR "/") +
              QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name());
        QDir(out).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(out));
        for (const char* folder : {"home/.config", "home/.local/share", "home/.cache", "runtime"})
            ASSERT_TRUE(QDir().mkpath(Home(QString::fromLatin1(folder))));
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

    // The program's environment on the display: its own home and settings,
    // no desktop of the machine the test runs on.
    QProcessEnvironment ProgramEnvironment() const {
        QProcessEnvironment env = display->Environment();
        for (const char* name :
             {"XDG_CURRENT_DESKTOP", "XDG_SESSION_DESKTOP", "XDG_SESSION_TYPE", "DESKTOP_SESSION",
              "GNOME_DESKTOP_SESSION_ID", "KDE_FULL_SESSION", "KDE_SESSION_VERSION", "QT_QPA_PLATFORMTHEME",
              "QT_STYLE_OVERRIDE", "WAYLAND_DISPLAY", "SESSION_MANAGER", "DBUS_SESSION_BUS_ADDRESS",
              "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_AUTO_SCREEN_SCALE_FACTOR",
              "QT_ENABLE_HIGHDPI_SCALING", "QT_FONT_DPI", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("HOME"), Home(QStringLiteral("home")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), Home(QStringLiteral("home/.config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), Home(QStringLiteral("home/.local/share")));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), Home(QStringLiteral("home/.cache")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), Home(QStringLiteral("runtime")));
        return env;
    }

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

    // Whether the window is mapped and viewable (not withdrawn, not iconified).
    bool Viewable(const XWindow& window) const {
        const ToolResult info =
            RunTool(QStringLiteral("xwininfo"), {QStringLiteral("-id"), window.id}, display->Environment());
        return info.ok() && info.out.contains("IsViewable");
    }

    // Waits until each window is viewable or not, as asked.
    bool WaitForShown(const std::vector<std::pair<XWindow, bool>>& windows) {
        return WaitFor(
            [&] {
                for (const auto& [window, shown] : windows)
                    if (Viewable(window) != shown)
                        return false;
                return true;
            },
            kStepMs, 100);
    }

    // The window manager's clients, bottom first, as xdotool's decimal ids.
    QStringList Stacking() const {
        const ToolResult list = RunTool(
            QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING")},
            display->Environment());
        QStringList ids;
        static const QRegularExpression hex(QStringLiteral("0x[0-9a-fA-F]+"));
        for (const QRegularExpressionMatch& m : hex.globalMatch(QString::fromLatin1(list.out)))
            ids << QString::number(m.captured(0).toULongLong(nullptr, 16));
        return ids;
    }

    // upper is stacked above lower.
    bool Above(const XWindow& upper, const XWindow& lower) const {
        const QStringList order = Stacking();
        const qsizetype u = order.indexOf(upper.id);
        const qsizetype l = order.indexOf(lower.id);
        return u >= 0 && l >= 0 && u > l;
    }

    QString StackingText(const std::vector<XWindow>& windows) const {
        QString text;
        for (const QString& id : Stacking()) {
            QString name = id;
            for (const XWindow& w : windows)
                if (w.id == id)
                    name = w.name;
            text += (text.isEmpty() ? QString() : QStringLiteral(" < ")) + name;
        }
        return text;
    }

    QString Stored(const QString& key) const {
        QSettings settings(Home(QStringLiteral("home/.config/Quadrantine/Cubestacks.conf")),
                           QSettings::IniFormat);
        return settings.value(key).toString();
    }

    // The three windows of the program, the boxes owned by the main window
    // (WM_TRANSIENT_FOR), each asking for the place it takes on X11 (its
    // WM_NORMAL_HINTS: the main window centred, the boxes docked at its top
    // corners).
    void ExpectDockedLayout(const QString& step, XWindow& main, XWindow& toolBox, XWindow& blockBox) {
        main = WaitForWindow(step, kMainTitle, kMainWindow.size(), kStartMs);
        toolBox = WaitForWindow(step, kToolBoxTitle, kToolBoxSize);
        blockBox = WaitForWindow(step, kBlockBoxTitle, kBlockBoxSize);
        ASSERT_FALSE(main.id.isEmpty() || toolBox.id.isEmpty() || blockBox.id.isEmpty());
        const QPoint blockBoxPlace(kMainWindow.right() + 1 - kBlockBoxSize.width(), kMainWindow.top());
        EXPECT_EQ(AskedPlace(main), kMainWindow.topLeft()) << step.toStdString();
        EXPECT_EQ(AskedPlace(toolBox), kMainWindow.topLeft()) << step.toStdString();
        EXPECT_EQ(AskedPlace(blockBox), blockBoxPlace) << step.toStdString();
        for (const XWindow* box : {&toolBox, &blockBox})
            EXPECT_EQ(Property(*box, "WM_TRANSIENT_FOR").value(0), main.id)
                << step.toStdString() << ": " << box->name.toStdString()
                << " is not owned by the main window";
    }

    // The numbers of a window property, window ids as xdotool's decimal ids.
    QStringList Property(const XWindow& window, const char* name) const {
        const ToolResult shown =
            RunTool(QStringLiteral("xprop"), {QStringLiteral("-id"), window.id, QString::fromLatin1(name)},
                    display->Environment());
        QStringList numbers;
        static const QRegularExpression number(QStringLiteral("0x[0-9a-fA-F]+|-?\\d+"));
        const QString text = QString::fromLatin1(shown.out).section(QLatin1Char(':'), 1);
        for (const QRegularExpressionMatch& m : number.globalMatch(text)) {
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
    ASSERT_TRUE(display->Start(kScreen, Out(QStringLiteral("xvfb.log")), &problem)) << problem.toStdString();
    session = std::make_unique<XProgram>();
    ASSERT_TRUE(session->Start(QStringLiteral("openbox"), {}, display->Environment(), Home(QString()),
                               Out(QStringLiteral("openbox.log"))))
        << "cannot start openbox; install it";
    ASSERT_TRUE(WaitFor(
        [&] {
            return RunTool(QStringLiteral("wmctrl"), {QStringLiteral("-m")}, display->Environment()).ok();
        },
        kStepMs, 100))
        << "openbox did not take the display";

    StartProgram(ProgramEnvironment(), QStringLiteral("openbox-program.log"));
    XWindow main, toolBox, blockBox;
    ExpectDockedLayout(QStringLiteral("start"), main, toolBox, blockBox);
    ASSERT_FALSE(HasFailure());
    // openbox puts them where they ask to be.
    EXPECT_EQ(main.geometry, kMainWindow);
    EXPECT_EQ(toolBox.geometry.topLeft(), kMainWindow.topLeft());
    EXPECT_EQ(blockBox.geometry.topLeft(),
              QPoint(kMainWindow.right() + 1 - kBlockBoxSize.width(), kMainWindow.top()));

    // Another program's window, brought to the front, covers the toolbox.
    other = std::make_unique<XProgram>();
    ASSERT_TRUE(other->Start(QStringLiteral("xmessage"),
                             {QStringLiteral("-geometry"), QStringLiteral("+160+140"),
                              QStringLiteral("Another program in front of the toolbox")},
                             display->Environment(), Home(QString()), Out(QStringLiteral("xmessage.log"))))
        << "cannot start xmessage; install x11-utils";
    const XWindow message = WaitForWindow(QStringLiteral("other program"), QStringLiteral("^xmessage$"));
    ASSERT_FALSE(message.id.isEmpty());
    display->Xdotool({QStringLiteral("windowactivate"), message.id});
    EXPECT_TRUE(WaitFor([&] { return Above(message, toolBox) && Above(message, main); }, kStepMs))
        << "the toolbox stays above another program: "
        << StackingText({main, toolBox, blockBox, message}).toStdString();

    // A click on the main window (the middle button: no editing) brings it
    // to the front with both boxes above it.
    display->MoveMouse(kMainWindow.topLeft() + QPoint(600, 500));
    display->Click(2);
    EXPECT_TRUE(WaitFor([&] { return Above(main, message) && Above(toolBox, main) && Above(blockBox, main); },
                        kStepMs))
        << StackingText({main, toolBox, blockBox, message}).toStdString();

    // Minimised through the window manager: the boxes go along.
    display->Xdotool({QStringLiteral("windowminimize"), main.id});
    EXPECT_TRUE(WaitForShown({{main, false}, {toolBox, false}, {blockBox, false}}))
        << "main " << Viewable(main) << ", toolbox " << Viewable(toolBox) << ", block box "
        << Viewable(blockBox);
    // Activated again: they come back with it, and its keys work at once
    // (Space hides the toolbox and shows it again).
    display->Xdotool({QStringLiteral("windowactivate"), main.id});
    EXPECT_TRUE(WaitForShown({{main, true}, {toolBox, true}, {blockBox, true}}))
        << "main " << Viewable(main) << ", toolbox " << Viewable(toolBox) << ", block box "
        << Viewable(blockBox);
    EXPECT_TRUE(WaitFor([&] { return display->FocusedWindow() == main.id; }, kStepMs))
        << "the keyboard is with " << display->FocusedWindow().toStdString();
    display->Keys(QStringLiteral("space"));
    EXPECT_TRUE(WaitForShown({{toolBox, false}})) << "Space did not reach the main window";
    display->Keys(QStringLiteral("space"));
    EXPECT_TRUE(WaitForShown({{toolBox, true}}));

    // Shift+Esc, then closed from outside while minimised: the next start
    // finds both boxes stored as shown.
    display->Keys(QStringLiteral("shift+Escape"));
    EXPECT_TRUE(WaitForShown({{main, false}, {toolBox, false}, {blockBox, false}}));
    RunTool(QStringLiteral("wmctrl"), {QStringLiteral("-i"), QStringLiteral("-c"), main.id},
            display->Environment());
    ASSERT_TRUE(program->WaitForEnd(kStepMs)) << "the program did not end when closed while minimised";
    EXPECT_EQ(program->ExitCode(), 0) << program->Describe().toStdString();
    EXPECT_EQ(Stored(QStringLiteral("Windows/ToolBoxForm/Visible")), QStringLiteral("1"));
    EXPECT_EQ(Stored(QStringLiteral("Windows/BlockBoxForm/Visible")), QStringLiteral("1"));
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
                               compositorEnv, Home(QString()), Out(QStringLiteral("weston-output.log"))))
        << "cannot start weston; install weston and xwayland";
    int number = -1;
    static const QRegularExpression listening(QStringLiteral("xserver listening on display :(\\d+)"));
    ASSERT_TRUE(WaitFor(
        [&] {
            QFile file(log);
            if (!file.open(QIODevice::ReadOnly))
                return false;
            const QRegularExpressionMatch m = listening.match(QString::fromUtf8(file.readAll()));
            if (m.hasMatch())
                number = m.captured(1).toInt();
            return m.hasMatch() || !session->Running();
        },
        kStepMs, 100));
    ASSERT_GE(number, 0) << "weston started no Xwayland; see " << log.toStdString();
    display = std::make_unique<XDisplay>();
    display->Attach(number);

    // The program in the session, no platform chosen: it runs through
    // Xwayland, its windows are X11 windows that ask for their places as on
    // X11, and the boxes belong to the main window. (weston's shell decides
    // where windows go whatever they ask for, so their places on its screen
    // are its own.)
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
    const QString fallbackLog = QStringLiteral("wayland-only-program.log");
    StartProgram(env, fallbackLog);
    EXPECT_TRUE(WaitFor(
        [&] {
            QFile file(Out(fallbackLog));
            return (file.open(QIODevice::ReadOnly) && file.readAll().contains("first frame: main")) ||
                   !program->Running();
        },
        kStartMs, 100));
    EXPECT_TRUE(program->Running()) << "without Xwayland the program " << program->Describe().toStdString()
                                    << "; see " << Out(fallbackLog).toStdString();
}

} // namespace
