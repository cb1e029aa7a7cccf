#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QTimer;

// What the wallpaper installation talks to: external programs and the
// environment on Linux, the desktop registry values and the system-parameters
// call on Windows. Tests replace it to see the exact calls.
class DesktopCommands {
public:
    virtual ~DesktopCommands() = default;
    // Runs the program and waits for it; returns its exit code, or -1 when it
    // could not be started or did not finish. output, when given, receives what
    // it wrote to standard output.
    virtual int Run(const QString& program, const QStringList& args, QString* output = nullptr);
    virtual QString Env(const QString& name);
    virtual bool HasProgram(const QString& name);
    // Windows: writes a string value under HKEY_CURRENT_USER "Control Panel\desktop"
    // (the key is opened, never created). False when it could not be written.
    virtual bool WriteDesktopValue(const QString& name, const QString& value);
    // Windows: the system-parameters call for the desk wallpaper, with the user
    // profile updated. False when Windows refused it.
    virtual bool SetDeskWallpaper(const QString& path);
};

// The commands of this system; what the program uses unless told otherwise.
DesktopCommands& SystemDesktopCommands();

// The outcome of installing a wallpaper. Message is a text for the user (empty
// when the wallpaper was installed); it names the bitmap file where that helps
// the user install it by hand.
struct WallpaperResult {
    enum Status {
        Applied,    // the desktop took the picture
        NotChanged, // nothing has been applied yet
        NoFile,     // no picture file chosen, or it has gone since
        NoDesktop,  // no desktop interface found to install it through
        Failed,     // the desktop interface refused it
    };
    Status status = NotChanged;
    QString desktop; // "Windows", "GNOME", "Cinnamon", "KDE Plasma", "Xfce"; empty when none
    QString message;
    bool Succeeded() const { return status == Applied; }
};

// The desktops the Linux installation knows.
enum class LinuxDesktop { None, Gnome, Cinnamon, Kde, Xfce };

// The desktop named by XDG_CURRENT_DESKTOP, or failing that DESKTOP_SESSION.
LinuxDesktop DetectLinuxDesktop(DesktopCommands& commands);

// The installation steps of each platform, usable on any platform so that
// their calls can be checked anywhere.
WallpaperResult ApplyWallpaperWindows(DesktopCommands& commands, const QString& path, bool tiled);
WallpaperResult ApplyWallpaperLinux(DesktopCommands& commands, const QString& path, bool tiled);

// gsettings' text form of a string value: single quotes, with backslashes and
// quotes escaped.
QString GVariantString(const QString& text);

// Installs a bitmap file as the desktop wallpaper, once on Change or again at
// every tick of its timer while Active.
class TWallPaperChanger : public QObject {
    Q_OBJECT
public:
    explicit TWallPaperChanger(QObject* parent = nullptr);
    ~TWallPaperChanger() override;

    // While true the wallpaper is applied again at every tick of the timer.
    bool Active() const { return m_active; }
    void SetActive(bool active);

    // Whether the desktop tiles or centres the picture.
    bool Tiled() const { return m_tiled; }
    void SetTiled(bool tiled) { m_tiled = tiled; }

    // Milliseconds between ticks; 1000 at creation. The timer runs only for a
    // positive interval.
    int Interval() const { return m_interval; }
    void SetInterval(int interval);

    // The bitmap file to install. A name is taken only when a file of that name
    // exists; otherwise the earlier name stays. Returns whether it was taken.
    QString Filename() const { return m_filename; }
    bool SetFilename(const QString& filename);

    // Notifications before and after each change, with this component as sender.
    std::function<void(TWallPaperChanger*)> OnBeginChange;
    std::function<void(TWallPaperChanger*)> OnFinishChange;

    // Runs OnBeginChange, applies Filename with the current Tiled value, runs
    // OnFinishChange. The result is kept as LastResult.
    WallpaperResult Change();
    const WallpaperResult& LastResult() const { return m_lastResult; }

    // Not owned; nullptr goes back to the system's commands.
    void SetDesktopCommands(DesktopCommands* commands) { m_commands = commands; }

    QTimer* Timer() const { return m_timer; }

private:
    void UpdateTimer();

    bool m_active = false;
    bool m_tiled = false;
    QTimer* m_timer = nullptr;
    int m_interval = 1000;
    QString m_filename;
    WallpaperResult m_lastResult;
    DesktopCommands* m_commands = nullptr;
};

// Where the Set as Wallpaper command writes the model image: "Quadrantine
// Cubestacks.bmp" in the Windows folder on Windows, in the program's data
// folder (QStandardPaths::AppDataLocation) elsewhere.
QString WallpaperBitmapPath();

// Writes the image as a 24-bit bitmap at WallpaperBitmapPath(), creating its
// folder, replacing an earlier file only when the whole file is written.
// Raises IoError on failure. Returns the path written.
QString SaveWallpaperBitmap(const QImage& image);
