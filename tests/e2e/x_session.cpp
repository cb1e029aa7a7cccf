#include "x_session.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/prctl.h>

namespace {

constexpr int kFirstDisplay = 50;
constexpr int kLastDisplay = 199;
constexpr int kServerStartMs = 20000;

// A child that the kernel ends when the test process dies, however it dies
// (a crash, a CTest timeout), so that no server or program outlives the test.
// SIGTERM lets the server remove its lock file and socket.
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

// A display is taken while its lock file names a living process; a lock left
// by a server that was killed outright is stale, and the next server removes it.
// A socket without a lock file counts as taken.
bool DisplayInUse(int number) {
    QFile lock(QStringLiteral("/tmp/.X%1-lock").arg(number));
    if (!lock.exists())
        return QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number));
    if (!lock.open(QIODevice::ReadOnly))
        return true;
    bool isNumber = false;
    const pid_t pid = static_cast<pid_t>(lock.readAll().trimmed().toLongLong(&isNumber));
    if (!isNumber || pid <= 0)
        return true;
    return ::kill(pid, 0) == 0 || errno == EPERM;
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
    const QString geometry = QStringLiteral("%1x%2x24").arg(screen.width()).arg(screen.height());
    int tried = 0;
    for (int number = kFirstDisplay; number <= kLastDisplay && tried < 10; ++number) {
        if (DisplayInUse(number))
            continue;
        ++tried;
        m_server = std::make_unique<QProcess>();
        m_server->setProcessChannelMode(QProcess::MergedChannels);
        m_server->setStandardOutputFile(logFile, QIODevice::Append);
        DieWithParent(*m_server);
        m_server->start(QStringLiteral("Xvfb"), {QStringLiteral(":%1").arg(number), QStringLiteral("-screen"),
                                                 QStringLiteral("0"), geometry, QStringLiteral("-nolisten"),
                                                 QStringLiteral("tcp"), QStringLiteral("-noreset")});
        if (!m_server->waitForStarted(5000)) {
            *error = QStringLiteral("Xvfb did not start (%1); install xvfb").arg(m_server->errorString());
            m_server.reset();
            return false;
        }
        m_number = number;
        // Ready once it answers; a server that ends first lost the number to another.
        const bool ready = WaitFor(
            [this] {
                return !Alive(*m_server) ||
                       (QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(m_number)) &&
                        TryXdotool({QStringLiteral("getdisplaygeometry")}).ok());
            },
            kServerStartMs);
        if (ready && Alive(*m_server))
            return true;
        Stop(m_server.get());
        m_server.reset();
        m_number = -1;
    }
    *error = QStringLiteral("no Xvfb display could be started between :%1 and :%2 (see %3)")
                 .arg(kFirstDisplay)
                 .arg(kLastDisplay)
                 .arg(logFile);
    return false;
}

QProcessEnvironment XDisplay::Environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), Name());
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
    const ToolResult shot = RunTool(
        QStringLiteral("import"),
        {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("bmp:-")}, Environment(), 20000);
    if (!shot.ok())
        return QImage();
    QImage image;
    if (!image.loadFromData(shot.out, "BMP"))
        return QImage();
    return image.convertToFormat(QImage::Format_RGB32);
}

std::vector<XWindow> XDisplay::VisibleWindows(const QString& nameRegex) const {
    std::vector<XWindow> windows;
    const ToolResult found = TryXdotool(
        {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), nameRegex});
    if (!found.ok())
        return windows;
    for (const QByteArray& line : found.out.split('\n')) {
        const QString id = QString::fromLatin1(line).trimmed();
        if (id.isEmpty())
            continue;
        const ToolResult shape =
            TryXdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), id});
        const ToolResult name = TryXdotool({QStringLiteral("getwindowname"), id});
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
    const ToolResult focus = TryXdotool({QStringLiteral("getwindowfocus")});
    return focus.ok() ? QString::fromLatin1(focus.out).trimmed() : QString();
}

bool XDisplay::Focus(const QString& id, int timeoutMs) const {
    TryXdotool({QStringLiteral("windowfocus"), id});
    return WaitFor([&] { return FocusedWindow() == id; }, timeoutMs);
}

QProcessEnvironment ProgramEnvironment(const XDisplay& display, const QString& root) {
    QProcessEnvironment env = display.Environment();
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
    Stop(m_process.get());
}

bool XProgram::Start(const QString& program, const QStringList& args, const QProcessEnvironment& env,
                     const QString& workingDir, const QString& logFile) {
    m_process = std::make_unique<QProcess>();
    m_process->setProcessEnvironment(env);
    m_process->setWorkingDirectory(workingDir);
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_process->setStandardOutputFile(logFile, QIODevice::Truncate);
    m_process->setStandardInputFile(QProcess::nullDevice());
    DieWithParent(*m_process);
    m_process->start(program, args);
    return m_process->waitForStarted(10000);
}

bool XProgram::Running() const {
    return m_process && Alive(*m_process);
}

void XProgram::Kill() {
    if (!Running())
        return;
    m_process->kill();
    m_process->waitForFinished(5000);
}

bool XProgram::WaitForEnd(int timeoutMs) {
    if (!Running())
        return true;
    return m_process->waitForFinished(timeoutMs);
}

QString XProgram::Describe() const {
    if (Running())
        return QStringLiteral("still running");
    if (m_process->exitStatus() == QProcess::CrashExit)
        return QStringLiteral("crashed or was killed (%1)").arg(m_process->errorString());
    return QStringLiteral("ended with exit code %1").arg(m_process->exitCode());
}
