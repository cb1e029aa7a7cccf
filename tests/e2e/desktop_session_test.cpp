// The real program on real desktops: under openbox on a private Xvfb display,
// and in a Wayland session (weston's headless backend with Xwayland), driven
// with xdotool and wmctrl.

#include "x_session.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

const QPoint kBlockBoxPlace(kMainWindow.right() + 1 - kBlockBoxSize.width(), kMainWindow.top());

class DesktopSessionTest : public SessionTest {
protected:
    // Waits until each window is viewable (mapped, not iconified) or not, as asked.
    bool WaitForShown(const std::vector<std::pair<XWindow, bool>>& windows) {
        return WaitFor(
            [&] {
                for (const auto& [window, shown] : windows)
                    if (Tool("xwininfo", {"-id", window.id}).contains("IsViewable") != shown)
                        return false;
                return true;
            },
            kStepMs, 100);
    }
    QByteArray Tool(const char* name, const QStringList& args) const {
        return RunTool(QString::fromLatin1(name), args, display->Environment()).out;
    }
    // The window ids of an xprop answer, as xdotool's decimal ids.
    QStringList Ids(const QStringList& args) const {
        static const QRegularExpression hex(QStringLiteral("0x[0-9a-fA-F]+"));
        QStringList ids;
        for (const auto& m : hex.globalMatch(QString::fromLatin1(Tool("xprop", args)).section(':', 1)))
            ids << QString::number(m.captured(0).toULongLong(nullptr, 16));
        return ids;
    }
    // upper is above lower in the window manager's stacking list (bottom first).
    bool Above(const XWindow& upper, const XWindow& lower) const {
        const QStringList order = Ids({"-root", "_NET_CLIENT_LIST_STACKING"});
        return order.indexOf(lower.id) >= 0 && order.indexOf(upper.id) > order.indexOf(lower.id);
    }
    // The three windows: the boxes owned by the main window (WM_TRANSIENT_FOR),
    // each asking for its place (WM_NORMAL_HINTS): the main window centred, the
    // boxes docked at its top corners.
    void ExpectDockedLayout(XWindow& main, XWindow& toolBox, XWindow& blockBox) {
        main = WaitForWindow(QStringLiteral("^Quadrantine Cubestacks$"), kMainWindow.size(), kStartMs);
        toolBox = WaitForWindow(QStringLiteral("^Toolbox"), QSize(464, 54));
        blockBox = WaitForWindow(QStringLiteral("^Block Box"), kBlockBoxSize);
        ASSERT_FALSE(HasFailure());
        static const QRegularExpression location(QStringLiteral("specified location: (-?\\d+), (-?\\d+)"));
        for (const auto& [window, place] :
             {std::pair{main, kMainWindow.topLeft()}, std::pair{toolBox, kMainWindow.topLeft()},
              std::pair{blockBox, kBlockBoxPlace}}) {
            const auto m =
                location.match(QString::fromLatin1(Tool("xprop", {"-id", window.id, "WM_NORMAL_HINTS"})));
            EXPECT_EQ(QPoint(m.captured(1).toInt(), m.captured(2).toInt()), place)
                << window.name.toStdString();
        }
        for (const XWindow* box : {&toolBox, &blockBox})
            EXPECT_EQ(Ids({"-id", box->id, "WM_TRANSIENT_FOR"}).value(0), main.id) << box->name.toStdString();
    }
};

TEST_F(DesktopSessionTest, UnderOpenboxTheBoxesStayWithTheMainWindowAndAboveNoOtherProgram) {
    ASSERT_TRUE(StartDisplay());
    const QProcessEnvironment env = display->Environment();
    session = std::make_unique<XProgram>();
    ASSERT_TRUE(
        session->Start(QStringLiteral("openbox"), {}, env, home.path(), Out(QStringLiteral("openbox.log"))));
    ASSERT_TRUE(
        WaitFor([&] { return RunTool(QStringLiteral("wmctrl"), {QStringLiteral("-m")}, env).ok(); }, kStepMs))
        << "openbox did not take the display";
    ASSERT_TRUE(
        Launch(QStringLiteral(CUBESTACKS_PROGRAM), {}, ProgramEnvironment(), QStringLiteral("program.log")));
    XWindow main, toolBox, blockBox;
    ExpectDockedLayout(main, toolBox, blockBox);
    ASSERT_FALSE(HasFailure());
    EXPECT_EQ(main.geometry, kMainWindow); // openbox puts them where they ask to be
    EXPECT_EQ(blockBox.geometry.topLeft(), kBlockBoxPlace);

    // Another program's window, brought to the front, covers the toolbox.
    other = std::make_unique<XProgram>();
    ASSERT_TRUE(other->Start(QStringLiteral("xmessage"), {"-geometry", "+160+140", "In front"}, env,
                             home.path(), Out(QStringLiteral("xmessage.log"))));
    const XWindow message = WaitForWindow(QStringLiteral("^xmessage$"));
    ASSERT_FALSE(message.id.isEmpty());
    display->Xdotool({"windowactivate", message.id});
    EXPECT_TRUE(WaitFor([&] { return Above(message, toolBox) && Above(message, main); }, kStepMs))
        << "the toolbox stays above another program";
    // A click on the main window (the middle button: no editing) brings it
    // to the front with both boxes above it.
    display->MoveMouse(kMainWindow.topLeft() + QPoint(600, 500));
    display->Button("click", 2);
    EXPECT_TRUE(WaitFor([&] { return Above(main, message) && Above(toolBox, main) && Above(blockBox, main); },
                        kStepMs));

    // Minimised through the window manager: the boxes go along, and come back
    // with it; its keys work at once (Space hides the toolbox and shows it again).
    display->Xdotool({"windowminimize", main.id});
    EXPECT_TRUE(WaitForShown({{main, false}, {toolBox, false}, {blockBox, false}}));
    display->Xdotool({"windowactivate", main.id});
    EXPECT_TRUE(WaitForShown({{main, true}, {toolBox, true}, {blockBox, true}}));
    EXPECT_TRUE(WaitFor([&] { return display->FocusedWindow() == main.id; }, kStepMs));
    display->Keys(QStringLiteral("space"));
    EXPECT_TRUE(WaitForShown({{toolBox, false}})) << "Space did not reach the main window";
    display->Keys(QStringLiteral("space"));
    EXPECT_TRUE(WaitForShown({{toolBox, true}}));

    // Shift+Esc, then closed from outside while minimised: both boxes are stored as shown.
    display->Keys(QStringLiteral("shift+Escape"));
    EXPECT_TRUE(WaitForShown({{main, false}, {toolBox, false}, {blockBox, false}}));
    RunTool(QStringLiteral("wmctrl"), {"-i", "-c", main.id}, env);
    ASSERT_TRUE(program->WaitForEnd(kStepMs)) << "the program did not end when closed while minimised";
    EXPECT_EQ(program->exitCode(), 0) << program->Describe().toStdString();
    QSettings stored(Home(QStringLiteral("home/.config/Quadrantine/Cubestacks.conf")), QSettings::IniFormat);
    EXPECT_EQ(stored.value(QStringLiteral("Windows/ToolBoxForm/Visible")).toString(), QStringLiteral("1"));
    EXPECT_EQ(stored.value(QStringLiteral("Windows/BlockBoxForm/Visible")).toString(), QStringLiteral("1"));
}

TEST_F(DesktopSessionTest, InAWaylandSessionTheWindowsArePlacedAsOnX11) {
    // weston with its headless backend, Xwayland on a display it chooses.
    const QString socket = QStringLiteral("cubestacks-e2e-%1").arg(::getpid());
    QProcessEnvironment westonEnv = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET"})
        westonEnv.remove(QString::fromLatin1(name));
    QDir().mkpath(Home(QStringLiteral("runtime")));
    QFile::setPermissions(Home(QStringLiteral("runtime")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    westonEnv.insert(QStringLiteral("XDG_RUNTIME_DIR"), Home(QStringLiteral("runtime")));
    const QString log = Out(QStringLiteral("weston.log"));
    session = std::make_unique<XProgram>();
    ASSERT_TRUE(session->Start(QStringLiteral("weston"),
                               {"--backend=headless-backend.so", "--xwayland", "--socket=" + socket,
                                "--width=1280", "--height=1024", "--idle-time=0", "--log=" + log},
                               westonEnv, home.path(), Out(QStringLiteral("weston-output.log"))));
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
    ASSERT_TRUE(Launch(QStringLiteral(CUBESTACKS_PROGRAM), {}, env, QStringLiteral("program.log")));
    XWindow main, toolBox, blockBox;
    ExpectDockedLayout(main, toolBox, blockBox);
    program.reset();

    // Where no X server answers, the Wayland plugin runs it.
    env.remove(QStringLiteral("DISPLAY"));
    env.insert(QStringLiteral("CUBESTACKS_REPORT_FIRST_FRAME"), QStringLiteral("1"));
    ASSERT_TRUE(Launch(QStringLiteral(CUBESTACKS_PROGRAM), {}, env, QStringLiteral("wayland-only.log")));
    EXPECT_TRUE(WaitFor(
        [&] {
            return ReadAll(Out(QStringLiteral("wayland-only.log"))).contains("first frame: main") ||
                   !program->Running();
        },
        kStartMs, 100));
    EXPECT_TRUE(program->Running()) << "without Xwayland the program " << program->Describe().toStdString();
}

} // namespace
