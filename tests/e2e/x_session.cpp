#include "x_session.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QThread>
#include <algorithm>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/prctl.h>

namespace {

// A child that the kernel ends (SIGTERM: the server removes its lock and
// socket) when the test process dies, however it dies.
void DieWithParent(QProcess& process) {
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

void Stop(QProcess* process) {
    if (!process || process->state() == QProcess::NotRunning)
        return;
    process->terminate();
    if (!process->waitForFinished(3000)) {
        process->kill();
        process->waitForFinished(3000);
    }
}

// The process's state brought up to date without an event loop.
bool Alive(QProcess& process) {
    if (process.state() == QProcess::NotRunning)
        return false;
    process.waitForFinished(0);
    return process.state() != QProcess::NotRunning;
}

} // namespace

ToolResult RunTool(const QString& program, const QStringList& args, const QProcessEnvironment& env,
                   int timeoutMs) {
    ToolResult result;
    QProcess process;
    process.setProcessEnvironment(env);
    DieWithParent(process);
    process.start(program, args);
    if (!process.waitForStarted(timeoutMs)) {
        result.err = QStringLiteral("%1 did not start: %2").arg(program, process.errorString()).toUtf8();
        return result;
    }
    result.finished = process.waitForFinished(timeoutMs);
    if (!result.finished) {
        process.kill();
        process.waitForFinished(3000);
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

bool WaitFor(const std::function<bool()>& condition, int timeoutMs, int intervalMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() >= end)
            return false;
        QThread::msleep(static_cast<unsigned long>(intervalMs));
    }
}

XDisplay::~XDisplay() {
    Stop(m_server.get());
}

bool XDisplay::Start(const QSize& screen, const QString& logFile, QString* error) {
    m_server = std::make_unique<QProcess>();
    m_server->setStandardErrorFile(logFile, QIODevice::Append);
    DieWithParent(*m_server);
    // -displayfd: the server takes the first free display and names it once it
    // listens; -noreset: a reset between two tool runs would turn the next connection away.
    m_server->start(QStringLiteral("Xvfb"),
                    {"-displayfd", "1", "-screen", "0",
                     QStringLiteral("%1x%2x24").arg(screen.width()).arg(screen.height()), "-nolisten", "tcp",
                     "-noreset"});
    QByteArray line;
    WaitFor(
        [&] {
            m_server->waitForReadyRead(100);
            line += m_server->readAllStandardOutput();
            return line.contains('\n') || !Alive(*m_server);
        },
        20000);
    bool isNumber = false;
    m_number = line.trimmed().toInt(&isNumber);
    if (isNumber && Alive(*m_server))
        return true;
    *error =
        QStringLiteral("Xvfb did not start (%1; see %2); install xvfb").arg(m_server->errorString(), logFile);
    return false;
}

QProcessEnvironment XDisplay::Environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":%1").arg(m_number));
    env.remove(QStringLiteral("XAUTHORITY"));
    return env;
}

ToolResult XDisplay::TryXdotool(const QStringList& args) const {
    return RunTool(QStringLiteral("xdotool"), args, Environment());
}

ToolResult XDisplay::Xdotool(const QStringList& args) const {
    ToolResult result = TryXdotool(args);
    if (!result.ok())
        ADD_FAILURE() << "xdotool " << args.join(' ').toStdString() << " failed (" << result.exitCode
                      << "): " << result.err.toStdString();
    return result;
}

QImage XDisplay::Screenshot() const {
    // BMP: no compression to wait for, and read exactly as written.
    const ToolResult shot =
        RunTool(QStringLiteral("import"), {"-window", "root", "bmp:-"}, Environment(), 20000);
    return shot.ok() ? QImage::fromData(shot.out, "BMP").convertToFormat(QImage::Format_RGB32) : QImage();
}

std::vector<XWindow> XDisplay::VisibleWindows(const QString& nameRegex) const {
    std::vector<XWindow> windows;
    const ToolResult found = TryXdotool({"search", "--onlyvisible", "--name", nameRegex});
    if (!found.ok())
        return windows;
    for (const QByteArray& line : found.out.split('\n')) {
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

QString XDisplay::FocusedWindow() const {
    const ToolResult focus = TryXdotool({"getwindowfocus"});
    return focus.ok() ? QString::fromLatin1(focus.out).trimmed() : QString();
}

bool XDisplay::Focus(const QString& id, int timeoutMs) const {
    TryXdotool({"windowfocus", id});
    return WaitFor([&] { return FocusedWindow() == id; }, timeoutMs);
}

QProcessEnvironment SessionTest::ProgramEnvironment() const {
    const QString root = home.path();
    QProcessEnvironment env = display->Environment();
    for (const QString& name : env.keys())
        if (name.startsWith(QLatin1String("QT_")) || name.startsWith(QLatin1String("XDG_")) ||
            name.startsWith(QLatin1String("KDE_")) || name.contains(QLatin1String("SESSION")) ||
            name == QLatin1String("WAYLAND_DISPLAY"))
            env.remove(name);
    for (const auto& [name, folder] :
         std::vector<std::pair<const char*, const char*>>{{"HOME", "home"},
                                                          {"XDG_CONFIG_HOME", "home/.config"},
                                                          {"XDG_DATA_HOME", "home/.local/share"},
                                                          {"XDG_CACHE_HOME", "home/.cache"},
                                                          {"XDG_RUNTIME_DIR", "runtime"}}) {
        const QString path = root + QLatin1Char('/') + QLatin1String(folder);
        QDir().mkpath(path);
        env.insert(QString::fromLatin1(name), path);
    }
    QFile::setPermissions(root + QStringLiteral("/runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return env;
}

XProgram::~XProgram() {
    Stop(this);
}

bool XProgram::Start(const QString& program, const QStringList& args, const QProcessEnvironment& env,
                     const QString& workingDir, const QString& logFile) {
    setProcessEnvironment(env);
    setWorkingDirectory(workingDir);
    setProcessChannelMode(QProcess::MergedChannels);
    setStandardOutputFile(logFile, QIODevice::Truncate);
    setStandardInputFile(QProcess::nullDevice());
    DieWithParent(*this);
    start(program, args);
    return waitForStarted(10000);
}

bool XProgram::Running() {
    return Alive(*this);
}

QString XProgram::Describe() {
    if (Running())
        return QStringLiteral("still running");
    if (exitStatus() == QProcess::CrashExit)
        return QStringLiteral("crashed or was killed (%1)").arg(errorString());
    return QStringLiteral("ended with exit code %1").arg(exitCode());
}

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

void SessionTest::SetUp() {
    CubestacksTest::SetUp();
    ASSERT_TRUE(home.isValid());
    out = QStringLiteral(E2E_OUTPUT_DIR "/") +
          QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name());
    QDir(out).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(out));
}

void SessionTest::TearDown() {
    // The programs before the servers they run on.
    program.reset();
    other.reset();
    session.reset();
    display.reset();
    CubestacksTest::TearDown();
}

bool SessionTest::StartDisplay() {
    display = std::make_unique<XDisplay>();
    QString problem;
    const bool started = display->Start(QSize(1280, 1024), Out(QStringLiteral("xvfb.log")), &problem);
    EXPECT_TRUE(started) << problem.toStdString();
    return started;
}

bool SessionTest::Launch(const QString& path, const QStringList& args, const QProcessEnvironment& env,
                         const QString& log) {
    program = std::make_unique<XProgram>();
    const bool started = program->Start(path, args, env, Home(QStringLiteral("home")), Out(log));
    EXPECT_TRUE(started) << "cannot start " << path.toStdString();
    return started;
}

XWindow SessionTest::WaitForWindow(const QString& nameRegex, const QSize& size, int timeoutMs,
                                   const QString& skip) {
    XWindow found;
    WaitFor(
        [&] {
            for (const XWindow& w : display->VisibleWindows(nameRegex))
                if ((!size.isValid() || w.geometry.size() == size) && w.id != skip) {
                    found = w;
                    return true;
                }
            return program && !program->Running();
        },
        timeoutMs, 100);
    if (found.id.isEmpty()) {
        display->Screenshot().save(Out(QStringLiteral("no-window.png")));
        ADD_FAILURE() << "no window \"" << nameRegex.toStdString() << "\" appeared; the program "
                      << (program ? program->Describe().toStdString() : std::string("was not started"))
                      << " (see " << out.toStdString() << ")";
    }
    return found;
}
