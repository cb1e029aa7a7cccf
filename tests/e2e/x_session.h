#pragma once

// The real program on a private X display (Xvfb, or a compositor's Xwayland), xdotool, import.

#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QMap>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <sys/prctl.h>
#include <vector>

inline QString S(const char* text) {
    return QString::fromUtf8(text);
}

struct ToolResult {
    bool finished = false; // false: it did not end in time and was killed
    int exitCode = -1;
    QByteArray out, err;
    bool ok() const { return finished && exitCode == 0; }
};

inline bool WaitFor(const std::function<bool()>& condition, int timeoutMs, int intervalMs = 50) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        QThread::msleep(static_cast<unsigned long>(intervalMs));
    }
    return true;
}

// Ended by the kernel (SIGTERM: a server removes its lock and socket) when the test dies, ended here
// if it still runs when this goes.
class XProgram : public QProcess {
public:
    XProgram() {
        setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    }
    ~XProgram() override {
        if (Running() && (terminate(), !waitForFinished(3000))) {
            kill();
            waitForFinished(3000);
        }
    }
    bool Start(const QString& program, const QStringList& args, const QProcessEnvironment& env,
               const QString& workingDir, const QString& logFile) {
        setProcessEnvironment(env);
        setWorkingDirectory(workingDir);
        setProcessChannelMode(QProcess::MergedChannels);
        setStandardOutputFile(logFile, QIODevice::Truncate);
        setStandardInputFile(QProcess::nullDevice());
        start(program, args);
        return waitForStarted(10000);
    }
    bool Running() { // brought up to date without an event loop
        if (state() != QProcess::NotRunning)
            waitForFinished(0);
        return state() != QProcess::NotRunning;
    }
    bool WaitForEnd(int timeoutMs) { return !Running() || waitForFinished(timeoutMs); }
    QString Describe() {
        return Running()                             ? S("still running")
               : exitStatus() == QProcess::CrashExit ? S("crashed or was killed (%1)").arg(errorString())
                                                     : S("ended with exit code %1").arg(exitCode());
    }
};

inline ToolResult RunTool(const QString& program, const QStringList& args, const QProcessEnvironment& env,
                          int timeoutMs = 10000) {
    ToolResult result;
    XProgram process;
    process.setProcessEnvironment(env);
    process.start(program, args);
    if (!process.waitForStarted(timeoutMs)) {
        result.err = S("%1 did not start: %2").arg(program, process.errorString()).toUtf8();
        return result;
    }
    result.finished = process.waitForFinished(timeoutMs);
    result.exitCode =
        result.finished && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

struct XWindow {
    QString id, name;
    QRect geometry; // in screen pixels
};

class XDisplay {
public:
    // Xvfb with a screen of that size; false with the reason.
    bool Start(const QSize& screen, const QString& logFile, QString* error) {
        m_server = std::make_unique<XProgram>();
        m_server->setStandardErrorFile(logFile, QIODevice::Append);
        // -displayfd: the first free display, named once it listens; -noreset: no reset between tool runs.
        m_server->start(S("Xvfb"), {"-displayfd", "1", "-screen", "0",
                                    S("%1x%2x24").arg(screen.width()).arg(screen.height()), "-nolisten",
                                    "tcp", "-noreset"});
        QByteArray line;
        WaitFor(
            [&] {
                m_server->waitForReadyRead(100);
                line += m_server->readAllStandardOutput();
                return line.contains('\n') || !m_server->Running();
            },
            20000);
        bool isNumber = false;
        m_number = line.trimmed().toInt(&isNumber);
        if (isNumber && m_server->Running())
            return true;
        *error = S("Xvfb did not start (%1; see %2); install xvfb").arg(m_server->errorString(), logFile);
        return false;
    }
    void Attach(int number) { m_number = number; } // a display another server runs
    QProcessEnvironment Environment() const {      // the system's, DISPLAY set to this one
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(S("DISPLAY"), S(":%1").arg(m_number));
        env.remove(S("XAUTHORITY"));
        return env;
    }
    ToolResult TryXdotool(const QStringList& args) const {
        return RunTool(S("xdotool"), args, Environment());
    }
    // Fails the running test when the tool fails.
    ToolResult Xdotool(const QStringList& args) const {
        ToolResult result = TryXdotool(args);
        EXPECT_TRUE(result.ok()) << "xdotool " << args.join(' ').toStdString() << " failed ("
                                 << result.exitCode << "): " << result.err.toStdString();
        return result;
    }
    QImage Screenshot() const { // RGB32; null when it cannot be taken
        const ToolResult shot = RunTool(S("import"), {"-window", "root", "bmp:-"}, Environment(), 20000);
        return shot.ok() ? QImage::fromData(shot.out, "BMP").convertToFormat(QImage::Format_RGB32) : QImage();
    }
    std::vector<XWindow> VisibleWindows(const QString& nameRegex) const {
        std::vector<XWindow> windows;
        for (const QByteArray& line :
             TryXdotool({"search", "--onlyvisible", "--name", nameRegex}).out.split('\n')) {
            const QString id = QString::fromLatin1(line).trimmed();
            if (id.isEmpty())
                continue;
            const ToolResult shape = TryXdotool({"getwindowgeometry", "--shell", id});
            const ToolResult name = TryXdotool({"getwindowname", id});
            if (!shape.ok() || !name.ok())
                continue;                // gone in the meantime
            QMap<QByteArray, int> field; // X, Y, WIDTH, HEIGHT
            for (const QByteArray& row : shape.out.split('\n'))
                if (const QList<QByteArray> pair = row.split('='); pair.size() == 2)
                    field[pair[0]] = pair[1].trimmed().toInt();
            windows.push_back({id, QString::fromUtf8(name.out).trimmed(),
                               QRect(field["X"], field["Y"], field["WIDTH"], field["HEIGHT"])});
        }
        return windows;
    }
    QString FocusedWindow() const {
        return QString::fromLatin1(TryXdotool({"getwindowfocus"}).out).trimmed();
    }
    // Gives the window the keyboard; true when the server reports the focus there.
    bool Focus(const QString& id, int timeoutMs) const {
        TryXdotool({"windowfocus", id});
        return WaitFor([&] { return FocusedWindow() == id; }, timeoutMs);
    }
    void MoveMouse(QPoint at) const {
        Xdotool({"mousemove", QString::number(at.x()), QString::number(at.y())});
    }
    void Button(const char* action, int button) const { Xdotool({action, QString::number(button)}); }
    void Click(QPoint at, int button) const {
        MoveMouse(at);
        Button("click", button);
    }
    void Keys(const QString& keys) const { Xdotool({"key", keys}); } // "ctrl+s"
    void Type(const QString& text) const { Xdotool({"type", "--delay", "30", text}); }

private:
    std::unique_ptr<XProgram> m_server;
    int m_number = -1;
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
constexpr int kStartMs = 60000; // the program's start on a loaded machine
constexpr int kStepMs = 20000;  // one step: a window shown, raised, closed or drawn

// A home folder, the test's output folder (screenshots and logs of a failure), a display, its programs.
class SessionTest : public CubestacksTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        out = QStringLiteral(E2E_OUTPUT_DIR "/") +
              QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name());
        QDir(out).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(out));
    }
    QString Out(const QString& name) const { return out + '/' + name; }
    QString Home(const QString& name) const { return home.filePath(name); }
    bool StartDisplay() { // Xvfb, 1280 x 1024
        display = std::make_unique<XDisplay>();
        QString problem;
        const bool started = display->Start(QSize(1280, 1024), Out(S("xvfb.log")), &problem);
        EXPECT_TRUE(started) << problem.toStdString();
        return started;
    }
    // HOME and the XDG folders under the home folder, no desktop or Qt setting of the machine.
    QProcessEnvironment ProgramEnvironment() const {
        QProcessEnvironment env = display->Environment();
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
    bool Launch(const QString& path, const QStringList& args, const QProcessEnvironment& env,
                const QString& log) {
        program = std::make_unique<XProgram>();
        const bool started = program->Start(path, args, env, Home(S("home")), Out(log));
        EXPECT_TRUE(started) << "cannot start " << path.toStdString();
        return started;
    }
    // The visible window whose name matches, of that size when given, other than skip.
    XWindow WaitForWindow(const QString& nameRegex, const QSize& size = QSize(), int timeoutMs = kStepMs,
                          const QString& skip = QString()) {
        XWindow found;
        WaitFor(
            [&] {
                for (const XWindow& w : display->VisibleWindows(nameRegex))
                    if ((!size.isValid() || w.geometry.size() == size) && w.id != skip)
                        return found = w, true;
                return program && !program->Running();
            },
            timeoutMs, 100);
        if (found.id.isEmpty()) {
            display->Screenshot().save(Out(S("no-window.png")));
            ADD_FAILURE() << "no window \"" << nameRegex.toStdString() << "\" appeared; the program "
                          << (program ? program->Describe().toStdString() : std::string("was not started"))
                          << " (see " << out.toStdString() << ")";
        }
        return found;
    }

    QTemporaryDir home;
    QString out;
    std::unique_ptr<XDisplay> display; // the programs go before the servers they run on
    std::unique_ptr<XProgram> session; // a window manager or a compositor
    std::unique_ptr<XProgram> other;   // another program's window
    std::unique_ptr<XProgram> program;
};
