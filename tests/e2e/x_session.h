#pragma once

// The real program on a private X display: an Xvfb server on a free display
// number (or the Xwayland of a compositor), the program started on it with a
// home folder of its own, input from xdotool and screenshots from ImageMagick's
// import. Every process started here dies with the test.

#include "support/test_support.h"

#include <QImage>
#include <QProcess>
#include <QRect>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <vector>

struct ToolResult {
    bool finished = false; // false: it did not end in time and was killed
    int exitCode = -1;
    QByteArray out, err;
    bool ok() const { return finished && exitCode == 0; }
};

ToolResult RunTool(const QString& program, const QStringList& args, const QProcessEnvironment& env,
                   int timeoutMs = 10000);
// Polls condition every intervalMs until it holds or timeoutMs have passed.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs, int intervalMs = 50);

struct XWindow {
    QString id, name;
    QRect geometry; // in screen pixels
};

class XDisplay {
public:
    XDisplay() = default;
    ~XDisplay();
    XDisplay(const XDisplay&) = delete;
    XDisplay& operator=(const XDisplay&) = delete;
    // Starts Xvfb with a screen of that size; false with the reason.
    bool Start(const QSize& screen, const QString& logFile, QString* error);
    void Attach(int number) { m_number = number; } // a display another server runs
    QProcessEnvironment Environment() const;       // the system's, DISPLAY set to this one
    // xdotool; Xdotool fails the running test when the tool fails.
    ToolResult Xdotool(const QStringList& args) const;
    ToolResult TryXdotool(const QStringList& args) const;
    QImage Screenshot() const; // RGB32; null when it cannot be taken
    std::vector<XWindow> VisibleWindows(const QString& nameRegex) const;
    QString FocusedWindow() const;
    // Gives the window the keyboard; true when the server reports the focus there.
    bool Focus(const QString& id, int timeoutMs) const;
    void MoveMouse(QPoint at) const {
        Xdotool({"mousemove", QString::number(at.x()), QString::number(at.y())});
    }
    void Button(const char* action, int button) const { Xdotool({action, QString::number(button)}); }
    void Keys(const QString& keys) const { Xdotool({"key", keys}); } // "ctrl+s"
    void Type(const QString& text) const { Xdotool({"type", "--delay", "30", text}); }

private:
    std::unique_ptr<QProcess> m_server;
    int m_number = -1;
};

// A program started on the display, ended if it still runs when this goes.
class XProgram : public QProcess {
public:
    ~XProgram() override;
    bool Start(const QString& program, const QStringList& args, const QProcessEnvironment& env,
               const QString& workingDir, const QString& logFile);
    bool Running(); // brought up to date without an event loop
    bool WaitForEnd(int timeoutMs) { return !Running() || waitForFinished(timeoutMs); }
    QString Describe(); // how it ended, for messages
};

// Pixels of shown and expected that differ outside the covered rectangles; -1 when the sizes differ.
int Differences(const QImage& shown, const QImage& expected, const std::vector<QRect>& covered);

inline const QRect kMainWindow(128, 128, 1024, 768); // centred on a 1280 x 1024 screen
inline const QSize kBlockBoxSize(112, 416);
constexpr int kStartMs = 60000; // the program's start on a loaded machine
constexpr int kStepMs = 20000;  // one step: a window shown, raised, closed or drawn

// A home folder, the output folder of the test (screenshots and logs of a
// failure), a display and the programs on it.
class SessionTest : public CubestacksTest {
protected:
    void SetUp() override;
    void TearDown() override;
    QString Out(const QString& name) const { return out + '/' + name; }
    QString Home(const QString& name) const { return home.filePath(name); }
    bool StartDisplay(); // Xvfb, 1280 x 1024
    // HOME and the XDG folders under the home folder, no desktop or Qt setting of the machine.
    QProcessEnvironment ProgramEnvironment() const;
    bool Launch(const QString& program, const QStringList& args, const QProcessEnvironment& env,
                const QString& log);
    // The visible window whose name matches, of that size when given, other than skip.
    XWindow WaitForWindow(const QString& nameRegex, const QSize& size = QSize(), int timeoutMs = kStepMs,
                          const QString& skip = QString());

    QTemporaryDir home;
    QString out;
    std::unique_ptr<XDisplay> display;
    std::unique_ptr<XProgram> session; // a window manager or a compositor
    std::unique_ptr<XProgram> other;   // another program's window
    std::unique_ptr<XProgram> program;
};
