#include "desktop/wallpaper_changer.h"

#include "common/io_error.h"
#include "imaging/bitmap_file.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <string>
#include <windows.h>
#endif

namespace {

constexpr int kCommandTimeoutMs = 10000;
const char* const kWallpaperFileName = "Quadrantine Cubestacks.bmp";

QString Native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

WallpaperResult Result(WallpaperResult::Status status, const QString& desktop, const QString& message) {
    WallpaperResult result;
    result.status = status;
    result.desktop = desktop;
    result.message = message;
    return result;
}

WallpaperResult Refused(const QString& desktop, const QString& program, int code, const QString& path) {
    const QString how =
        code < 0 ? QStringLiteral("could not be run") : QStringLiteral("ended with code %1").arg(code);
    return Result(WallpaperResult::Failed, desktop,
                  QStringLiteral("The %1 desktop did not accept the wallpaper: \"%2\" %3.\n"
                                 "The picture was saved as \"%4\"; you can set it as the wallpaper in "
                                 "your desktop's settings.")
                      .arg(desktop, program, how, Native(path)));
}

WallpaperResult Applied(const QString& desktop) {
    return Result(WallpaperResult::Applied, desktop, QString());
}

WallpaperResult ApplyThroughGsettings(DesktopCommands& commands, const QString& desktop,
                                      const QString& schema, const QString& path, bool tiled) {
    const QString program = QStringLiteral("gsettings");
    const QString uri = GVariantString(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded));
    const QString options = GVariantString(tiled ? QStringLiteral("wallpaper") : QStringLiteral("centered"));
    const QString set = QStringLiteral("set");
    int code = commands.Run(program, {set, schema, QStringLiteral("picture-options"), options});
    if (code != 0)
        return Refused(desktop, program, code, path);
    code = commands.Run(program, {set, schema, QStringLiteral("picture-uri"), uri});
    if (code != 0)
        return Refused(desktop, program, code, path);
    // Older desktops have no dark-style picture; the light one is then all there is.
    commands.Run(program, {set, schema, QStringLiteral("picture-uri-dark"), uri});
    return Applied(desktop);
}

// Plasma's fill modes are Qt Quick's: 3 tiles the picture, 6 ("pad") centres it unscaled.
WallpaperResult ApplyThroughPlasma(DesktopCommands& commands, const QString& path, bool tiled) {
    const QString desktop = QStringLiteral("KDE Plasma");
    const QString program = QStringLiteral("plasma-apply-wallpaperimage");
    const int code = commands.Run(
        program, {QStringLiteral("--fill-mode"), tiled ? QStringLiteral("tile") : QStringLiteral("pad"), path});
    if (code == 0)
        return Applied(desktop);
    // Plasma before 6.2 knows no fill mode on the command line; its shell
    // takes the picture and the mode through a script over D-Bus.
    for (const QString& qdbus : {QStringLiteral("qdbus6"), QStringLiteral("qdbus")}) {
        if (!commands.HasProgram(qdbus))
            continue;
        const QString uri = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
        const QString script =
            QStringLiteral("desktops().forEach(function (d) { d.wallpaperPlugin = \"org.kde.image\"; "
                           "d.currentConfigGroup = [\"Wallpaper\", \"org.kde.image\", \"General\"]; "
                           "d.writeConfig(\"Image\", \"%1\"); d.writeConfig(\"FillMode\", %2); "
                           "d.reloadConfig(); });")
                .arg(uri)
                .arg(tiled ? 3 : 6);
        if (commands.Run(qdbus, {QStringLiteral("org.kde.plasmashell"), QStringLiteral("/PlasmaShell"),
                                 QStringLiteral("org.kde.PlasmaShell.evaluateScript"), script}) == 0)
            return Applied(desktop);
        break;
    }
    return Refused(desktop, program, code, path);
}

WallpaperResult ApplyThroughXfconf(DesktopCommands& commands, const QString& path, bool tiled) {
    const QString desktop = QStringLiteral("Xfce");
    const QString program = QStringLiteral("xfconf-query");
    const QString channel = QStringLiteral("xfce4-desktop");
    QString listing;
    const int listed = commands.Run(program, {QStringLiteral("-c"), channel, QStringLiteral("-l")}, &listing);
    if (listed != 0)
        return Refused(desktop, program, listed, path);
    // Each monitor and workspace has its own picture; set them all.
    QStringList images;
    const QString suffix = QStringLiteral("/last-image");
    for (const QString& line : listing.split('\n')) {
        const QString property = line.trimmed();
        if (property.startsWith(QLatin1String("/backdrop/")) && property.endsWith(suffix))
            images << property;
    }
    if (images.isEmpty())
        images << QStringLiteral("/backdrop/screen0/monitor0/workspace0/last-image");
    // Xfce's image styles: 1 centred, 2 tiled.
    const QString style = tiled ? QStringLiteral("2") : QStringLiteral("1");
    for (const QString& image : images) {
        const QString styleProperty =
            image.left(image.size() - suffix.size()) + QStringLiteral("/image-style");
        int code = commands.Run(program, {QStringLiteral("-c"), channel, QStringLiteral("-p"), styleProperty,
                                          QStringLiteral("-n"), QStringLiteral("-t"), QStringLiteral("int"),
                                          QStringLiteral("-s"), style});
        if (code != 0)
            return Refused(desktop, program, code, path);
        code = commands.Run(program,
                            {QStringLiteral("-c"), channel, QStringLiteral("-p"), image, QStringLiteral("-n"),
                             QStringLiteral("-t"), QStringLiteral("string"), QStringLiteral("-s"), path});
        if (code != 0)
            return Refused(desktop, program, code, path);
    }
    return Applied(desktop);
}

LinuxDesktop DesktopFromCurrent(const QString& current) {
    for (const QString& part : current.toLower().split(':', Qt::SkipEmptyParts)) {
        const QString name = part.trimmed();
        if (name == QLatin1String("cinnamon") || name == QLatin1String("x-cinnamon"))
            return LinuxDesktop::Cinnamon;
        if (name == QLatin1String("kde") || name == QLatin1String("plasma"))
            return LinuxDesktop::Kde;
        if (name == QLatin1String("xfce"))
            return LinuxDesktop::Xfce;
        if (name == QLatin1String("gnome") || name == QLatin1String("gnome-classic") ||
            name == QLatin1String("gnome-flashback") || name == QLatin1String("ubuntu") ||
            name == QLatin1String("unity") || name == QLatin1String("budgie"))
            return LinuxDesktop::Gnome;
    }
    return LinuxDesktop::None;
}

LinuxDesktop DesktopFromSession(const QString& session) {
    const QString name = session.toLower();
    if (name.contains(QLatin1String("cinnamon")))
        return LinuxDesktop::Cinnamon;
    if (name.contains(QLatin1String("plasma")) || name.contains(QLatin1String("kde")))
        return LinuxDesktop::Kde;
    if (name.contains(QLatin1String("xfce")) || name == QLatin1String("xubuntu"))
        return LinuxDesktop::Xfce;
    if (name.contains(QLatin1String("gnome")) || name.contains(QLatin1String("ubuntu")) ||
        name.contains(QLatin1String("unity")) || name.contains(QLatin1String("budgie")))
        return LinuxDesktop::Gnome;
    return LinuxDesktop::None;
}

QString NoFileMessage(const QString& filename) {
    if (filename.isEmpty())
        return QStringLiteral("No wallpaper picture has been chosen.");
    return QStringLiteral("The wallpaper picture \"%1\" no longer exists.").arg(Native(filename));
}

} // namespace

int DesktopCommands::Run(const QString& program, const QStringList& args, QString* output) {
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(program, args, QIODevice::ReadOnly);
    if (!process.waitForStarted(kCommandTimeoutMs))
        return -1;
    if (!process.waitForFinished(kCommandTimeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        return -1;
    }
    if (output)
        *output = QString::fromLocal8Bit(process.readAllStandardOutput());
    if (process.exitStatus() != QProcess::NormalExit)
        return -1;
    return process.exitCode();
}

QString DesktopCommands::Env(const QString& name) {
    return qEnvironmentVariable(name.toLocal8Bit().constData());
}

bool DesktopCommands::HasProgram(const QString& name) {
    return !QStandardPaths::findExecutable(name).isEmpty();
}

#ifdef Q_OS_WIN

bool DesktopCommands::WriteDesktopValue(const QString& name, const QString& value) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\desktop", 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return false;
    const std::wstring valueName = name.toStdWString();
    const std::wstring data = value.toStdWString();
    const LONG written =
        RegSetValueExW(key, valueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                       static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return written == ERROR_SUCCESS;
}

bool DesktopCommands::SetDeskWallpaper(const QString& path) {
    std::wstring buffer = Native(path).toStdWString();
    return SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, buffer.data(), SPIF_UPDATEINIFILE) != FALSE;
}

#else

bool DesktopCommands::WriteDesktopValue(const QString&, const QString&) {
    return false;
}

bool DesktopCommands::SetDeskWallpaper(const QString&) {
    return false;
}

#endif

DesktopCommands& SystemDesktopCommands() {
    static DesktopCommands commands;
    return commands;
}

QString GVariantString(const QString& text) {
    QString out = QStringLiteral("'");
    for (const QChar c : text) {
        if (c == '\\' || c == '\'')
            out += '\\';
        out += c;
    }
    out += '\'';
    return out;
}

LinuxDesktop DetectLinuxDesktop(DesktopCommands& commands) {
    const LinuxDesktop current = DesktopFromCurrent(commands.Env(QStringLiteral("XDG_CURRENT_DESKTOP")));
    if (current != LinuxDesktop::None)
        return current;
    return DesktopFromSession(commands.Env(QStringLiteral("DESKTOP_SESSION")));
}

WallpaperResult ApplyWallpaperWindows(DesktopCommands& commands, const QString& path, bool tiled) {
    const QString desktop = QStringLiteral("Windows");
    // The style goes first so that the picture is shown tiled or centred at once;
    // "WallpaperStyle" 0 makes Windows honour "TileWallPaper" (otherwise it may stretch).
    commands.WriteDesktopValue(QStringLiteral("TileWallPaper"),
                               tiled ? QStringLiteral("1") : QStringLiteral("0"));
    commands.WriteDesktopValue(QStringLiteral("WallpaperStyle"), QStringLiteral("0"));
    if (!commands.SetDeskWallpaper(path))
        return Result(WallpaperResult::Failed, desktop,
                      QStringLiteral("Windows did not accept \"%1\" as the wallpaper.").arg(Native(path)));
    commands.WriteDesktopValue(QStringLiteral("Wallpaper"), Native(path));
    return Applied(desktop);
}

WallpaperResult ApplyWallpaperLinux(DesktopCommands& commands, const QString& path, bool tiled) {
    QString desktop;
    QString program;
    switch (DetectLinuxDesktop(commands)) {
    case LinuxDesktop::Gnome:
        desktop = QStringLiteral("GNOME");
        program = QStringLiteral("gsettings");
        break;
    case LinuxDesktop::Cinnamon:
        desktop = QStringLiteral("Cinnamon");
        program = QStringLiteral("gsettings");
        break;
    case LinuxDesktop::Kde:
        desktop = QStringLiteral("KDE Plasma");
        program = QStringLiteral("plasma-apply-wallpaperimage");
        break;
    case LinuxDesktop::Xfce:
        desktop = QStringLiteral("Xfce");
        program = QStringLiteral("xfconf-query");
        break;
    case LinuxDesktop::None:
        return Result(WallpaperResult::NoDesktop, QString(),
                      QStringLiteral("No desktop was found that this program can set the wallpaper of.\n"
                                     "The picture was saved as \"%1\"; you can set it as the wallpaper in "
                                     "your desktop's settings.")
                          .arg(Native(path)));
    }
    if (!commands.HasProgram(program))
        return Result(WallpaperResult::NoDesktop, desktop,
                      QStringLiteral("The %1 desktop was found, but its command \"%2\" is not installed.\n"
                                     "The picture was saved as \"%3\"; you can set it as the wallpaper in "
                                     "your desktop's settings.")
                          .arg(desktop, program, Native(path)));
    if (desktop == QLatin1String("GNOME"))
        return ApplyThroughGsettings(commands, desktop, QStringLiteral("org.gnome.desktop.background"), path,
                                     tiled);
    if (desktop == QLatin1String("Cinnamon"))
        return ApplyThroughGsettings(commands, desktop, QStringLiteral("org.cinnamon.desktop.background"),
                                     path, tiled);
    if (desktop == QLatin1String("KDE Plasma"))
        return ApplyThroughPlasma(commands, path, tiled);
    return ApplyThroughXfconf(commands, path, tiled);
}

TWallPaperChanger::TWallPaperChanger(QObject* parent) : QObject(parent), m_timer(new QTimer(this)) {
    m_timer->setInterval(m_interval);
    connect(m_timer, &QTimer::timeout, this, [this] { Change(); });
}

TWallPaperChanger::~TWallPaperChanger() = default;

void TWallPaperChanger::SetActive(bool active) {
    if (active == m_active)
        return;
    m_active = active;
    UpdateTimer();
}

void TWallPaperChanger::SetInterval(int interval) {
    m_interval = interval;
    UpdateTimer();
}

void TWallPaperChanger::UpdateTimer() {
    // A zero or negative interval would fire on every pass of the event loop.
    if (m_active && m_interval > 0) {
        m_timer->setInterval(m_interval);
        if (!m_timer->isActive())
            m_timer->start();
    } else {
        m_timer->stop();
        if (m_interval > 0)
            m_timer->setInterval(m_interval);
    }
}

bool TWallPaperChanger::SetFilename(const QString& filename) {
    if (filename.isEmpty() || !QFileInfo(filename).isFile())
        return false;
    m_filename = filename;
    return true;
}

WallpaperResult TWallPaperChanger::Change() {
    if (OnBeginChange)
        OnBeginChange(this);
    DesktopCommands& commands = m_commands ? *m_commands : SystemDesktopCommands();
    if (m_filename.isEmpty() || !QFileInfo(m_filename).isFile()) {
        m_lastResult = Result(WallpaperResult::NoFile, QString(), NoFileMessage(m_filename));
    } else {
        const QString path = QFileInfo(m_filename).absoluteFilePath();
#ifdef Q_OS_WIN
        m_lastResult = ApplyWallpaperWindows(commands, path, m_tiled);
#else
        m_lastResult = ApplyWallpaperLinux(commands, path, m_tiled);
#endif
    }
    if (OnFinishChange)
        OnFinishChange(this);
    return m_lastResult;
}

QString WallpaperBitmapPath() {
    QString folder;
#ifdef Q_OS_WIN
    wchar_t buffer[MAX_PATH + 1] = {};
    const UINT length = GetWindowsDirectoryW(buffer, MAX_PATH + 1);
    if (length > 0 && length <= MAX_PATH)
        folder = QDir::fromNativeSeparators(QString::fromWCharArray(buffer, static_cast<int>(length)));
#else
    folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
#endif
    if (folder.isEmpty())
        folder = QDir::homePath();
    if (!folder.endsWith('/'))
        folder += '/';
    return folder + QLatin1String(kWallpaperFileName);
}

QString SaveWallpaperBitmap(const QImage& image) {
    const QString path = WallpaperBitmapPath();
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        throw IoError("Cannot create the folder " + Native(folder).toStdString() +
                      " for the wallpaper picture");
    SaveBitmapFile(image, path);
    return path;
}
