#pragma once

// The real program on a private X display (Xvfb, or a compositor's Xwayland), xdotool, import.

#include "support/test_support.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <algorithm>
#include <csignal>
#include <functional>
#include <memory>
#include <sys/prctl.h>

inline bool WaitFor(const std::function<bool()>& condition, int timeoutMs, unsigned long intervalMs = 50) {
    for (QDeadlineTimer end(timeoutMs); !condition(); QThread::msleep(intervalMs))
        if (end.hasExpired())
            return false;
    return true;
}

// Ended by the kernel (SIGTERM: a server removes its lock and socket) when the test dies, and here when
// this goes (QProcess kills what is still running then).
class XProgram : public QProcess {
public:
    XProgram() {
        setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    }
    ~XProgram() override {
        terminate();
        waitForFinished(3000);
    }
    // Brought up to date without an event loop.
    bool Running() { return state() != QProcess::NotRunning && !waitForFinished(0); }
    bool WaitForEnd(int timeoutMs) { return !Running() || waitForFinished(timeoutMs); }
    QString Describe() {
        return Running()                             ? S("still running")
               : exitStatus() == QProcess::CrashExit ? S("crashed or was killed (%1)").arg(errorString())
                                                     : S("ended with exit code %1").arg(exitCode());
    }
};

struct ToolResult {
    bool ok = false; // ended in time with exit code 0
    QByteArray out, err;
};

inline ToolResult RunTool(const QString& program, const QStringList& args, const QProcessEnvironment& env,
                          int timeoutMs = 20000) {
    XProgram process;
    process.setProcessEnvironment(env);
    process.start(program, args);
    const bool ended = process.waitForFinished(timeoutMs) && process.exitStatus() == QProcess::NormalExit;
    return {ended && process.exitCode() == 0, process.readAllStandardOutput(),
            (program + ": " + process.errorString() + "; ").toUtf8() + process.readAllStandardError()};
}

struct XWindow {
    QString id;
    QRect geometry; // in screen pixels
};

// Pixels that differ outside the covered rectangles; -1 when the sizes differ.
inline int Differences(const QImage& shown, const QImage& expected, const std::vector<QRect>& covered) {
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

inline const QRect kMainWindow(128, 128, 1024, 768); // centred on a 1280 x 1024 screen
inline const QSize kBlockBoxSize(112, 416);
inline const QPoint kBlockBoxPlace(kMainWindow.right() + 1 - kBlockBoxSize.width(), kMainWindow.top());
inline const QString kMainTitle = S("^Quadrantine Cubestacks$");
constexpr int kStartMs = 60000; // the program's start on a loaded machine
constexpr int kStepMs = 20000;  // one step: a window shown, raised, closed or drawn

// A home folder, the test's output folder (screenshots and logs of a failure), a display, its programs.
class SessionTest : public CubestacksTest {
protected:
    void SetUp() override {
        out = QStringLiteral(E2E_OUTPUT_DIR "/") +
              QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name());
        QDir(out).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(out));
    }
    QString Out(const QString& name) const { return out + '/' + name; }
    QString Home(const QString& name) const { return home.filePath(name); }
    // Xvfb, 1280 x 1024, on the first free display (named once it listens); no reset between tool runs.
    bool StartDisplay() {
        server = std::make_unique<XProgram>();
        server->setStandardErrorFile(Out(S("xvfb.log")));
        server->start(S("Xvfb"),
                      {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"});
        QByteArray line;
        WaitFor(
            [&] {
                server->waitForReadyRead(100);
                line += server->readAllStandardOutput();
                return line.contains('\n') || !server->Running();
            },
            20000);
        displayNumber = line.trimmed().toInt();
        const bool started = line.contains('\n') && server->Running();
        EXPECT_TRUE(started) << "Xvfb " << server->Describe().toStdString() << "; see xvfb.log";
        return started;
    }
    QProcessEnvironment Environment() const { // the system's, DISPLAY set to this one
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(S("DISPLAY"), S(":%1").arg(displayNumber));
        env.remove(S("XAUTHORITY"));
        return env;
    }
    // HOME and the XDG folders under the home folder, no desktop or Qt setting of the machine.
    QProcessEnvironment ProgramEnvironment() const {
        QProcessEnvironment env = Environment();
        static const QRegularExpression machine(S("^(QT_|XDG_|KDE_|WAYLAND_DISPLAY$)|SESSION"));
        for (const QString& name : env.keys())
            if (machine.match(name).hasMatch())
                env.remove(name);
        for (const QString& pair : S("HOME=home XDG_CONFIG_HOME=home/.config XDG_DATA_HOME=home/.local/share "
                                     "XDG_CACHE_HOME=home/.cache XDG_RUNTIME_DIR=runtime")
                                       .split(' ')) {
            QDir().mkpath(Home(pair.section('=', 1)));
            env.insert(pair.section('=', 0, 0), Home(pair.section('=', 1)));
        }
        QFile::setPermissions(Home(S("runtime")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return env;
    }
    // Starts a program in the test's folder, its output in the log; process then holds it.
    bool Launch(std::unique_ptr<XProgram>& process, const QString& path, const QStringList& args,
                const QProcessEnvironment& env, const QString& log) {
        process = std::make_unique<XProgram>();
        process->setProcessEnvironment(env);
        process->setWorkingDirectory(home.path());
        process->setProcessChannelMode(QProcess::MergedChannels);
        process->setStandardOutputFile(Out(log), QIODevice::Truncate);
        process->setStandardInputFile(QProcess::nullDevice());
        process->start(path, args);
        EXPECT_TRUE(process->waitForStarted(10000)) << "cannot start " << path.toStdString();
        return process->state() == QProcess::Running;
    }
    QByteArray Tool(const char* name, const QStringList& args) const {
        return RunTool(S(name), args, Environment()).out;
    }
    void Xdotool(const QStringList& args) const { // fails the running test when xdotool fails
        const ToolResult result = RunTool(S("xdotool"), args, Environment());
        EXPECT_TRUE(result.ok) << args.join(' ').toStdString() << ": " << result.err.toStdString();
    }
    void Keys(const QString& keys) const { Xdotool({"key", keys}); } // "ctrl+s"
    // The mouse moved to the point, then the xdotool commands given: {"click", "1"}, {"mousedown", "3"}.
    void Mouse(QPoint at, const QStringList& then = {}) const {
        Xdotool(QStringList{"mousemove", QString::number(at.x()), QString::number(at.y())} + then);
    }
    QImage Screenshot() const { // RGB32; null when it cannot be taken
        return QImage::fromData(Tool("import", {"-window", "root", "bmp:-"}), "BMP")
            .convertToFormat(QImage::Format_RGB32);
    }
    std::vector<XWindow> VisibleWindows(const QString& nameRegex) const {
        static const QRegularExpression shell(
            S("WINDOW=(\\d+)\\s+X=(-?\\d+)\\s+Y=(-?\\d+)\\s+WIDTH=(\\d+)\\s+HEIGHT=(\\d+)"));
        std::vector<XWindow> windows;
        for (const auto& m : shell.globalMatch(
                 QString::fromLatin1(Tool("xdotool", {"search", "--onlyvisible", "--name", nameRegex,
                                                      "getwindowgeometry", "--shell", "%@"}))))
            windows.push_back({m.captured(1), QRect(m.captured(2).toInt(), m.captured(3).toInt(),
                                                    m.captured(4).toInt(), m.captured(5).toInt())});
        return windows;
    }
    QString FocusedWindow() const {
        return QString::fromLatin1(Tool("xdotool", {"getwindowfocus"})).trimmed();
    }
    bool Focus(const QString& id) { // gives the window the keyboard
        Tool("xdotool", {"windowfocus", id});
        const bool focused = WaitFor([&] { return FocusedWindow() == id; }, kStepMs);
        EXPECT_TRUE(focused) << "the keyboard did not go to " << id.toStdString();
        return focused;
    }
    // Waits until each window is viewable (mapped, not iconified) or not, as asked.
    bool WaitForShown(const std::vector<std::pair<XWindow, bool>>& windows) {
        return WaitFor(
            [&] {
                return std::all_of(windows.begin(), windows.end(), [&](const auto& w) {
                    return Tool("xwininfo", {"-id", w.first.id}).contains("IsViewable") == w.second;
                });
            },
            kStepMs, 100);
    }
    // The visible window whose name matches, of that size when given, of none of the other sizes.
    XWindow WaitForWindow(const QString& nameRegex, const QSize& size = QSize(), int timeoutMs = kStepMs,
                          const std::vector<QSize>& otherSizes = {}) {
        XWindow found;
        WaitFor(
            [&] {
                for (const XWindow& w : VisibleWindows(nameRegex))
                    if ((!size.isValid() || w.geometry.size() == size) &&
                        !std::count(otherSizes.begin(), otherSizes.end(), w.geometry.size()))
                        return found = w, true;
                return program && !program->Running();
            },
            timeoutMs, 100);
        if (found.id.isEmpty()) {
            Screenshot().save(Out(S("no-window.png")));
            ADD_FAILURE() << "no window \"" << nameRegex.toStdString() << "\" appeared; the program "
                          << (program ? program->Describe().toStdString() : std::string("was not started"))
                          << " (see " << out.toStdString() << ")";
        }
        return found;
    }
    bool WaitForProgramWindows() {
        mainWindow = WaitForWindow(kMainTitle, kMainWindow.size(), kStartMs);
        toolBox = WaitForWindow(S("^Toolbox"), QSize(464, 54));
        blockBox = WaitForWindow(S("^Block Box"), kBlockBoxSize);
        return !HasFailure();
    }

    QTemporaryDir home;
    QString out;
    int displayNumber = -1;
    std::unique_ptr<XProgram> server;  // Xvfb; the programs go before the servers they run on
    std::unique_ptr<XProgram> session; // a window manager or a compositor
    std::unique_ptr<XProgram> other;   // another program's window
    std::unique_ptr<XProgram> program;
    XWindow mainWindow, toolBox, blockBox; // the program's
};
