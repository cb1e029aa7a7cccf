#pragma once

// A private X display for driving the real program: an Xvfb server on a free
// display number, the program started on it with its own home folder, and the
// command-line tools that send it input (xdotool) and look at the screen
// (ImageMagick's import). Every process started here dies with the test.

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

// The outcome of a short tool run.
struct ToolResult {
    bool finished = false; // false: it did not end in time and was killed
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    bool ok() const { return finished && exitCode == 0; }
};

// Runs a tool to its end, killing it after timeoutMs.
ToolResult RunTool(const QString& program, const QStringList& args, const QProcessEnvironment& env,
                   int timeoutMs = 10000);

// Polls condition every intervalMs until it holds or timeoutMs have passed.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs, int intervalMs = 50);

// A top-level window as xdotool sees it.
struct XWindow {
    QString id;
    QString name;
    QRect geometry; // in screen pixels
};

// An Xvfb server on the first free display number from 50 on. It does not
// reset when its last client leaves: a reset between two tool runs would turn
// the next connection away.
class XDisplay {
public:
    XDisplay() = default;
    ~XDisplay(); // the server is killed
    XDisplay(const XDisplay&) = delete;
    XDisplay& operator=(const XDisplay&) = delete;

    // Starts the server with a screen of that size; false with the reason.
    bool Start(const QSize& screen, const QString& logFile, QString* error);
    // Works on a display that another server runs (Xwayland of a compositor).
    void Attach(int number) { m_number = number; }
    QString Name() const { return QStringLiteral(":%1").arg(m_number); }
    // The environment of the tools: this one's with DISPLAY set to the server.
    QProcessEnvironment Environment() const;

    // xdotool with these arguments; fails the running test when it fails.
    ToolResult Xdotool(const QStringList& args) const;
    // The same, for calls whose failure is an answer (a search that finds nothing).
    ToolResult TryXdotool(const QStringList& args) const;
    // The whole screen, RGB32; a null image when it cannot be taken.
    QImage Screenshot() const;

    std::vector<XWindow> VisibleWindows(const QString& nameRegex) const;
    QString FocusedWindow() const;
    // Gives the window the keyboard, as a window manager would on a click; true
    // when the server reports the focus there.
    bool Focus(const QString& id, int timeoutMs) const;

    void MoveMouse(QPoint at) const {
        Xdotool({"mousemove", QString::number(at.x()), QString::number(at.y())});
    }
    void Press(int button) const { Xdotool({"mousedown", QString::number(button)}); }
    void Release(int button) const { Xdotool({"mouseup", QString::number(button)}); }
    void Click(int button) const { Xdotool({"click", QString::number(button)}); }
    void KeyDown(const QString& key) const { Xdotool({"keydown", key}); }
    void KeyUp(const QString& key) const { Xdotool({"keyup", key}); }
    void Keys(const QString& keys) const { Xdotool({"key", keys}); } // "ctrl+s"
    void Type(const QString& text) const { Xdotool({"type", "--delay", "30", text}); }

private:
    std::unique_ptr<QProcess> m_server;
    int m_number = -1;
};

// The program's environment on the display: HOME and the XDG folders made
// under root, no desktop or Qt setting of the machine the test runs on.
QProcessEnvironment ProgramEnvironment(const XDisplay& display, const QString& root);

// A program started on the display, killed if it is still running when this goes.
class XProgram {
public:
    ~XProgram();
    bool Start(const QString& program, const QStringList& args, const QProcessEnvironment& env,
               const QString& workingDir, const QString& logFile);
    bool Running() const;
    // Ends the program at once with SIGKILL, as a crash or a power cut would.
    void Kill();
    // Waits for the program to end; false when it is still running after timeoutMs.
    bool WaitForEnd(int timeoutMs);
    QProcess::ExitStatus ExitStatus() const { return m_process->exitStatus(); }
    int ExitCode() const { return m_process->exitCode(); }
    QString Describe() const; // how it ended, for messages

private:
    std::unique_ptr<QProcess> m_process;
};
