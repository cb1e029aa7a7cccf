#include "x_session.h"

#include <QSettings>
#include <unistd.h>

namespace {

class DesktopSessionTest : public SessionTest {
protected:
    // The window ids of an xprop answer, as xdotool's decimal ids.
    QStringList Ids(const QStringList& args) const {
        static const QRegularExpression hex(S("0x[0-9a-fA-F]+"));
        QStringList ids;
        for (const auto& m : hex.globalMatch(QString::fromLatin1(Tool("xprop", args)).section(':', 1)))
            ids << QString::number(m.captured(0).toULongLong(nullptr, 16));
        return ids;
    }
    bool Above(const XWindow& upper, const XWindow& lower) const {
        const QStringList order = Ids({"-root", "_NET_CLIENT_LIST_STACKING"});
        return order.indexOf(lower.id) >= 0 && order.indexOf(upper.id) > order.indexOf(lower.id);
    }
    // The boxes owned by the main window; each window asks for its place (centred; docked at its corners).
    void ExpectDockedLayout() {
        ASSERT_TRUE(WaitForProgramWindows());
        static const QRegularExpression location(S("specified location: (-?\\d+), (-?\\d+)"));
        for (const auto& [window, place] :
             {std::pair{mainWindow, kMainWindow.topLeft()}, std::pair{toolBox, kMainWindow.topLeft()},
              std::pair{blockBox, kBlockBoxPlace}}) {
            const auto m =
                location.match(QString::fromLatin1(Tool("xprop", {"-id", window.id, "WM_NORMAL_HINTS"})));
            EXPECT_EQ(QPoint(m.captured(1).toInt(), m.captured(2).toInt()), place) << window.id.toStdString();
        }
        for (const XWindow* box : {&toolBox, &blockBox})
            EXPECT_EQ(Ids({"-id", box->id, "WM_TRANSIENT_FOR"}).value(0), mainWindow.id)
                << box->id.toStdString();
    }
};

TEST_F(DesktopSessionTest, UnderOpenboxTheBoxesStayWithTheMainWindowAndAboveNoOtherProgram) {
    ASSERT_TRUE(StartDisplay());
    const QProcessEnvironment env = Environment();
    ASSERT_TRUE(Launch(session, S("openbox"), {}, env, S("openbox.log")));
    ASSERT_TRUE(WaitFor([&] { return RunTool(S("wmctrl"), {S("-m")}, env).ok; }, kStepMs))
        << "openbox did not take the display";
    ASSERT_TRUE(
        Launch(program, QStringLiteral(CUBESTACKS_PROGRAM), {}, ProgramEnvironment(), S("program.log")));
    ExpectDockedLayout();
    ASSERT_FALSE(HasFailure());
    const XWindow& main = mainWindow;
    EXPECT_EQ(std::pair(main.geometry, blockBox.geometry.topLeft()), // openbox puts them where they ask
              std::pair(kMainWindow, kBlockBoxPlace));

    ASSERT_TRUE(Launch(other, S("xmessage"), {"-geometry", "+160+140", "In front"}, env, S("xmessage.log")));
    const XWindow message = WaitForWindow(S("^xmessage$"));
    ASSERT_FALSE(message.id.isEmpty());
    Xdotool({"windowactivate", message.id});
    EXPECT_TRUE(WaitFor([&] { return Above(message, toolBox) && Above(message, main); }, kStepMs))
        << "the toolbox stays above another program";
    // A middle click (no editing) on the main window: it comes to the front, both boxes above it.
    Mouse(kMainWindow.topLeft() + QPoint(600, 500), {"click", "2"});
    EXPECT_TRUE(WaitFor([&] { return Above(main, message) && Above(toolBox, main) && Above(blockBox, main); },
                        kStepMs));

    // Minimised: the boxes go along and come back with it; its keys work at once.
    Xdotool({"windowminimize", main.id});
    EXPECT_TRUE(WaitForShown({{main, false}, {toolBox, false}, {blockBox, false}}));
    Xdotool({"windowactivate", main.id});
    EXPECT_TRUE(WaitForShown({{main, true}, {toolBox, true}, {blockBox, true}}));
    EXPECT_TRUE(WaitFor([&] { return FocusedWindow() == main.id; }, kStepMs));
    Keys(S("space"));
    EXPECT_TRUE(WaitForShown({{toolBox, false}})) << "Space did not reach the main window";
    Keys(S("space"));
    EXPECT_TRUE(WaitForShown({{toolBox, true}}));

    Keys(S("shift+Escape"));
    EXPECT_TRUE(WaitForShown({{main, false}, {toolBox, false}, {blockBox, false}}));
    RunTool(S("wmctrl"), {"-i", "-c", main.id}, env);
    ASSERT_TRUE(program->WaitForEnd(kStepMs)) << "the program did not end when closed while minimised";
    EXPECT_EQ(program->exitCode(), 0) << program->Describe().toStdString();
    QSettings stored(Home(S("home/.config/Quadrantine/Cubestacks.conf")), QSettings::IniFormat);
    EXPECT_EQ(stored.value(S("Windows/ToolBoxForm/Visible")).toString() +
                  stored.value(S("Windows/BlockBoxForm/Visible")).toString(),
              S("11"));
}

TEST_F(DesktopSessionTest, InAWaylandSessionTheWindowsArePlacedAsOnX11) {
    const QString socket = S("cubestacks-e2e-%1").arg(::getpid());
    QProcessEnvironment westonEnv = ProgramEnvironment(); // no display yet
    westonEnv.remove(S("DISPLAY"));
    westonEnv.remove(S("WAYLAND_SOCKET"));
    const QString log = Out(S("weston.log"));
    ASSERT_TRUE(Launch(session, S("weston"),
                       {"--backend=headless-backend.so", "--xwayland", "--socket=" + socket, "--width=1280",
                        "--height=1024", "--idle-time=0", "--log=" + log},
                       westonEnv, S("weston-output.log")));
    static const QRegularExpression listening(S("xserver listening on display :(\\d+)"));
    QRegularExpressionMatch m;
    WaitFor(
        [&] {
            return (m = listening.match(QString::fromUtf8(ReadAll(log)))).hasMatch() || !session->Running();
        },
        kStepMs, 100);
    ASSERT_TRUE(m.hasMatch()) << "weston started no Xwayland; see " << log.toStdString();
    displayNumber = m.captured(1).toInt();

    // Through Xwayland: the windows ask for their places as on X11 (weston places them as it likes).
    QProcessEnvironment env = ProgramEnvironment();
    env.insert(S("XDG_SESSION_TYPE"), S("wayland"));
    env.insert(S("WAYLAND_DISPLAY"), socket);
    ASSERT_TRUE(Launch(program, QStringLiteral(CUBESTACKS_PROGRAM), {}, env, S("program.log")));
    ExpectDockedLayout();
    program.reset();

    // Where no X server answers, the Wayland plugin runs it.
    env.remove(S("DISPLAY"));
    env.insert(S("CUBESTACKS_REPORT_FIRST_FRAME"), S("1"));
    ASSERT_TRUE(Launch(program, QStringLiteral(CUBESTACKS_PROGRAM), {}, env, S("wayland-only.log")));
    EXPECT_TRUE(WaitFor(
        [&] {
            return ReadAll(Out(S("wayland-only.log"))).contains("first frame: main") || !program->Running();
        },
        kStartMs, 100));
    EXPECT_TRUE(program->Running()) << "without Xwayland the program " << program->Describe().toStdString();
}

} // namespace
