#include "common/io_error.h"
#include "imaging/bitmap.h"
#include "imaging/bitmap_file.h"
#include "desktop/wallpaper_changer.h"
#include "support/test_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace {

// Records every call in order and answers from its tables.
class FakeDesktop : public DesktopCommands {
public:
    int Run(const QString& program, const QStringList& args, QString* output) override {
        const QString call = (QStringList{program} + args).join(' ');
        calls << call;
        if (output)
            *output = outputs.value(program);
        for (auto it = exitCodes.cbegin(); it != exitCodes.cend(); ++it)
            if (call.startsWith(it.key()))
                return it.value();
        return 0;
    }
    QString Env(const QString& name) override { return env.value(name); }
    bool HasProgram(const QString& name) override { return programs.contains(name); }
    bool WriteDesktopValue(const QString& name, const QString& value) override {
        calls << QStringLiteral("reg %1=%2").arg(name, value);
        return true;
    }
    bool SetDeskWallpaper(const QString& path) override {
        calls << QStringLiteral("spi %1").arg(path);
        return deskWallpaperAccepted;
    }

    QStringList calls;
    QMap<QString, QString> env;
    QStringList programs;
    QMap<QString, int> exitCodes; // by the start of the call line
    QMap<QString, QString> outputs;
    bool deskWallpaperAccepted = true;
};

class WallpaperTest : public CubestacksTest {
protected:
    void SetUp() override {
        CubestacksTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        picture = dir.filePath(QStringLiteral("Quadrantine Cubestacks.bmp"));
        SaveBitmapFile(NewBitmap(4, 4), picture);
        uri = QStringLiteral("'file://%1'").arg(QString(picture).replace(' ', QLatin1String("%20")));
    }
    QTemporaryDir dir;
    QString picture;
    QString uri;
    FakeDesktop desktop;
};

TEST_F(WallpaperTest, GnomeAndCinnamonGetTheExactGsettingsCalls) {
    desktop.programs << QStringLiteral("gsettings");
    desktop.env[QStringLiteral("XDG_CURRENT_DESKTOP")] = QStringLiteral("ubuntu:GNOME");

    WallpaperResult result = ApplyWallpaperLinux(desktop, picture, false);
    EXPECT_TRUE(result.Succeeded());
    EXPECT_EQ(result.desktop, QStringLiteral("GNOME"));
    EXPECT_TRUE(result.message.isEmpty());
    EXPECT_EQ(desktop.calls,
              QStringList({"gsettings set org.gnome.desktop.background picture-options 'centered'",
                           "gsettings set org.gnome.desktop.background picture-uri " + uri,
                           "gsettings set org.gnome.desktop.background picture-uri-dark " + uri}));

    desktop.calls.clear();
    desktop.env[QStringLiteral("XDG_CURRENT_DESKTOP")] = QStringLiteral("X-Cinnamon");
    result = ApplyWallpaperLinux(desktop, picture, true);
    EXPECT_TRUE(result.Succeeded());
    EXPECT_EQ(result.desktop, QStringLiteral("Cinnamon"));
    EXPECT_EQ(desktop.calls,
              QStringList({"gsettings set org.cinnamon.desktop.background picture-options 'wallpaper'",
                           "gsettings set org.cinnamon.desktop.background picture-uri " + uri,
                           "gsettings set org.cinnamon.desktop.background picture-uri-dark " + uri}));
}

TEST_F(WallpaperTest, GsettingsFailuresAreReportedExceptTheMissingDarkPicture) {
    desktop.programs << QStringLiteral("gsettings");
    desktop.env[QStringLiteral("XDG_CURRENT_DESKTOP")] = QStringLiteral("GNOME");

    // An older GNOME has no picture-uri-dark key: the wallpaper is still set.
    desktop.exitCodes[QStringLiteral("gsettings set org.gnome.desktop.background picture-uri-dark")] = 1;
    EXPECT_TRUE(ApplyWallpaperLinux(desktop, picture, false).Succeeded());

    desktop.calls.clear();
    desktop.exitCodes[QStringLiteral("gsettings set org.gnome.desktop.background picture-uri ")] = 1;
    const WallpaperResult result = ApplyWallpaperLinux(desktop, picture, false);
    EXPECT_EQ(result.status, WallpaperResult::Failed);
    EXPECT_TRUE(result.message.contains(QStringLiteral("gsettings")));
    EXPECT_TRUE(result.message.contains(QStringLiteral("code 1")));
    EXPECT_TRUE(result.message.contains(picture));
    EXPECT_EQ(desktop.calls.size(), 2); // stopped after the refused call
}

TEST_F(WallpaperTest, KdeAndXfceCalls) {
    desktop.programs << QStringLiteral("plasma-apply-wallpaperimage") << QStringLiteral("xfconf-query");
    desktop.env[QStringLiteral("XDG_CURRENT_DESKTOP")] = QStringLiteral("KDE");
    WallpaperResult result = ApplyWallpaperLinux(desktop, picture, false);
    EXPECT_TRUE(result.Succeeded());
    EXPECT_EQ(result.desktop, QStringLiteral("KDE Plasma"));
    // Plasma is told to centre ("pad") or tile the picture.
    EXPECT_EQ(desktop.calls, QStringList({"plasma-apply-wallpaperimage --fill-mode pad " + picture}));
    desktop.calls.clear();
    EXPECT_TRUE(ApplyWallpaperLinux(desktop, picture, true).Succeeded());
    EXPECT_EQ(desktop.calls, QStringList({"plasma-apply-wallpaperimage --fill-mode tile " + picture}));
    // A Plasma whose command knows no fill mode gets the picture and the mode
    // through its shell's script interface.
    desktop.calls.clear();
    desktop.programs << QStringLiteral("qdbus");
    desktop.exitCodes[QStringLiteral("plasma-apply-wallpaperimage --fill-mode")] = 1;
    EXPECT_TRUE(ApplyWallpaperLinux(desktop, picture, true).Succeeded());
    ASSERT_EQ(desktop.calls.size(), 2);
    const QString script = desktop.calls[1];
    EXPECT_TRUE(script.startsWith(
        QStringLiteral("qdbus org.kde.plasmashell /PlasmaShell org.kde.PlasmaShell.evaluateScript ")));
    EXPECT_TRUE(script.contains(QStringLiteral("d.writeConfig(\"Image\", \"%1\")")
                                    .arg(QUrl::fromLocalFile(picture).toString(QUrl::FullyEncoded))))
        << script.toStdString();
    EXPECT_TRUE(script.contains(QStringLiteral("d.writeConfig(\"FillMode\", 3)"))) << script.toStdString();
    desktop.exitCodes.clear();
    desktop.programs.removeAll(QStringLiteral("qdbus"));

    // Xfce: every monitor's picture is set, the style before the picture.
    desktop.calls.clear();
    desktop.env[QStringLiteral("XDG_CURRENT_DESKTOP")] = QStringLiteral("XFCE");
    desktop.outputs[QStringLiteral("xfconf-query")] =
        QStringLiteral("/backdrop/screen0/monitorHDMI-1/workspace0/image-style\n"
                       "/backdrop/screen0/monitorHDMI-1/workspace0/last-image\n"
                       "/backdrop/screen0/monitoreDP-1/workspace0/last-image\n"
                       "/desktop-icons/style\n");
    result = ApplyWallpaperLinux(desktop, picture, true);
    EXPECT_TRUE(result.Succeeded());
    EXPECT_EQ(result.desktop, QStringLiteral("Xfce"));
    const QString hdmi = QStringLiteral("/backdrop/screen0/monitorHDMI-1/workspace0/");
    const QString edp = QStringLiteral("/backdrop/screen0/monitoreDP-1/workspace0/");
    EXPECT_EQ(
        desktop.calls,
        QStringList({"xfconf-query -c xfce4-desktop -l",
                     "xfconf-query -c xfce4-desktop -p " + hdmi + "image-style -n -t int -s 2",
                     "xfconf-query -c xfce4-desktop -p " + hdmi + "last-image -n -t string -s " + picture,
                     "xfconf-query -c xfce4-desktop -p " + edp + "image-style -n -t int -s 2",
                     "xfconf-query -c xfce4-desktop -p " + edp + "last-image -n -t string -s " + picture}));

    // A fresh Xfce with no pictures yet: the first monitor's, centred.
    desktop.calls.clear();
    desktop.outputs.clear();
    EXPECT_TRUE(ApplyWallpaperLinux(desktop, picture, false).Succeeded());
    const QString first = QStringLiteral("/backdrop/screen0/monitor0/workspace0/");
    EXPECT_EQ(
        desktop.calls,
        QStringList({"xfconf-query -c xfce4-desktop -l",
                     "xfconf-query -c xfce4-desktop -p " + first + "image-style -n -t int -s 1",
                     "xfconf-query -c xfce4-desktop -p " + first + "last-image -n -t string -s " + picture}));

    // A failing KDE command is reported, not taken for success.
    desktop.env[QStringLiteral("XDG_CURRENT_DESKTOP")] = QStringLiteral("KDE");
    desktop.exitCodes[QStringLiteral("plasma-apply-wallpaperimage")] = -1;
    result = ApplyWallpaperLinux(desktop, picture, false);
    EXPECT_EQ(result.status, WallpaperResult::Failed);
    EXPECT_TRUE(result.message.contains(QStringLiteral("could not be run")));
}

TEST_F(WallpaperTest, NoDesktopGivesAClearMessageNamingTheFile) {
    desktop.programs << QStringLiteral("gsettings"); // installed, yet no desktop to use it
    desktop.env[QStringLiteral("XDG_CURRENT_DESKTOP")] = QStringLiteral("i3");
    WallpaperResult result = ApplyWallpaperLinux(desktop, picture, false);
    EXPECT_EQ(result.status, WallpaperResult::NoDesktop);
    EXPECT_TRUE(result.desktop.isEmpty());
    EXPECT_TRUE(result.message.contains(QStringLiteral("No desktop")));
    EXPECT_TRUE(result.message.contains('"' + picture + '"'));
    EXPECT_TRUE(desktop.calls.isEmpty());

    // A known desktop whose command is missing.
    desktop.env[QStringLiteral("XDG_CURRENT_DESKTOP")] = QStringLiteral("KDE");
    result = ApplyWallpaperLinux(desktop, picture, false);
    EXPECT_EQ(result.status, WallpaperResult::NoDesktop);
    EXPECT_EQ(result.desktop, QStringLiteral("KDE Plasma"));
    EXPECT_TRUE(result.message.contains(QStringLiteral("plasma-apply-wallpaperimage")));
    EXPECT_TRUE(result.message.contains(picture));
    EXPECT_TRUE(desktop.calls.isEmpty());
}

TEST_F(WallpaperTest, DesktopDetection) {
    const auto detect = [this](const QString& current, const QString& session) {
        desktop.env.clear();
        desktop.env[QStringLiteral("XDG_CURRENT_DESKTOP")] = current;
        desktop.env[QStringLiteral("DESKTOP_SESSION")] = session;
        return DetectLinuxDesktop(desktop);
    };
    EXPECT_EQ(detect("ubuntu:GNOME", ""), LinuxDesktop::Gnome);
    EXPECT_EQ(detect("X-Cinnamon", "gnome"), LinuxDesktop::Cinnamon);
    EXPECT_EQ(detect("KDE", ""), LinuxDesktop::Kde);
    EXPECT_EQ(detect("XFCE", ""), LinuxDesktop::Xfce);
    EXPECT_EQ(detect("", "plasmawayland"), LinuxDesktop::Kde);
    EXPECT_EQ(detect("", "xubuntu"), LinuxDesktop::Xfce);
    EXPECT_EQ(detect("", "cinnamon"), LinuxDesktop::Cinnamon);
    EXPECT_EQ(detect("sway", "sway"), LinuxDesktop::None);
    EXPECT_EQ(detect("", ""), LinuxDesktop::None);
}

TEST_F(WallpaperTest, WindowsStepsRunInOrder) {
    WallpaperResult result =
        ApplyWallpaperWindows(desktop, QStringLiteral("C:/Windows/Quadrantine Cubestacks.bmp"), false);
    EXPECT_TRUE(result.Succeeded());
    const QString native = QDir::toNativeSeparators(QStringLiteral("C:/Windows/Quadrantine Cubestacks.bmp"));
    EXPECT_EQ(desktop.calls,
              QStringList({"reg TileWallPaper=0", "reg WallpaperStyle=0",
                           "spi C:/Windows/Quadrantine Cubestacks.bmp", "reg Wallpaper=" + native}));

    desktop.calls.clear();
    ApplyWallpaperWindows(desktop, QStringLiteral("C:/w.bmp"), true);
    ASSERT_FALSE(desktop.calls.isEmpty());
    EXPECT_EQ(desktop.calls.front(), QStringLiteral("reg TileWallPaper=1"));

    // A refused call is reported and the path is not recorded.
    desktop.calls.clear();
    desktop.deskWallpaperAccepted = false;
    result = ApplyWallpaperWindows(desktop, QStringLiteral("C:/w.bmp"), false);
    EXPECT_EQ(result.status, WallpaperResult::Failed);
    EXPECT_FALSE(result.message.isEmpty());
    EXPECT_EQ(desktop.calls.size(), 3);
}

TEST_F(WallpaperTest, ComponentDefaultsFilenameAndNotificationOrder) {
    TWallPaperChanger changer;
    changer.SetDesktopCommands(&desktop);
    EXPECT_FALSE(changer.Active());
    EXPECT_FALSE(changer.Tiled());
    EXPECT_EQ(changer.Interval(), 1000);
    EXPECT_TRUE(changer.Filename().isEmpty());
    EXPECT_FALSE(changer.Timer()->isActive());
    EXPECT_EQ(changer.LastResult().status, WallpaperResult::NotChanged);

    // Nothing chosen yet: nothing is run, and the result says so.
    EXPECT_EQ(changer.Change().status, WallpaperResult::NoFile);
    EXPECT_TRUE(desktop.calls.isEmpty());

    EXPECT_TRUE(changer.SetFilename(picture));
    EXPECT_FALSE(changer.SetFilename(dir.filePath(QStringLiteral("missing.bmp"))));
    EXPECT_FALSE(changer.SetFilename(dir.path())); // a folder is no picture
    EXPECT_FALSE(changer.SetFilename(QString()));
    EXPECT_EQ(changer.Filename(), picture);

    desktop.programs << QStringLiteral("gsettings");
    desktop.env[QStringLiteral("XDG_CURRENT_DESKTOP")] = QStringLiteral("GNOME");
    QStringList order;
    changer.OnBeginChange = [&](TWallPaperChanger* sender) {
        EXPECT_EQ(sender, &changer);
        order << QStringLiteral("begin:%1").arg(desktop.calls.size());
    };
    changer.OnFinishChange = [&](TWallPaperChanger* sender) {
        EXPECT_EQ(sender, &changer);
        order
            << QStringLiteral("finish:%1:%2").arg(desktop.calls.size()).arg(sender->LastResult().Succeeded());
    };
    changer.SetTiled(true);
    EXPECT_TRUE(changer.Change().Succeeded());
    EXPECT_EQ(order, QStringList({"begin:0", "finish:3:1"}));
    EXPECT_TRUE(desktop.calls.front().endsWith(QStringLiteral("'wallpaper'")));

    // The file has gone since it was taken: nothing is installed, the result says which file.
    QFile::remove(picture);
    desktop.calls.clear();
    order.clear();
    const WallpaperResult gone = changer.Change();
    EXPECT_EQ(gone.status, WallpaperResult::NoFile);
    EXPECT_TRUE(gone.message.contains(picture));
    EXPECT_TRUE(desktop.calls.isEmpty());
    EXPECT_EQ(order, QStringList({"begin:0", "finish:0:0"}));
}

TEST_F(WallpaperTest, ActiveAppliesAtEveryTickUntilSwitchedOff) {
    TWallPaperChanger changer;
    changer.SetDesktopCommands(&desktop);
    desktop.programs << QStringLiteral("plasma-apply-wallpaperimage");
    desktop.env[QStringLiteral("XDG_CURRENT_DESKTOP")] = QStringLiteral("KDE");
    ASSERT_TRUE(changer.SetFilename(picture));
    int changes = 0;
    changer.OnFinishChange = [&](TWallPaperChanger*) { ++changes; };

    changer.SetInterval(20);
    EXPECT_FALSE(changer.Timer()->isActive()); // the interval alone starts nothing
    changer.SetActive(true);
    EXPECT_TRUE(changer.Timer()->isActive());
    EXPECT_EQ(changer.Timer()->interval(), 20);
    EXPECT_TRUE(QTest::qWaitFor([&] { return changes >= 3; }, 5000));
    EXPECT_EQ(desktop.calls.size(), changes);

    changer.SetActive(false);
    EXPECT_FALSE(changer.Timer()->isActive());
    const int stoppedAt = changes;
    QTest::qWait(80);
    EXPECT_EQ(changes, stoppedAt);

    // A new interval reaches the running timer; a zero one stops it rather than spinning.
    changer.SetActive(true);
    changer.SetInterval(500);
    EXPECT_EQ(changer.Timer()->interval(), 500);
    changer.SetInterval(0);
    EXPECT_FALSE(changer.Timer()->isActive());
    changer.SetInterval(30);
    EXPECT_TRUE(changer.Timer()->isActive());
}

#ifndef Q_OS_WIN
TEST(SystemDesktopCommandsTest, RunsProgramsAndReportsTheirExitCodes) {
    DesktopCommands& commands = SystemDesktopCommands();
    ASSERT_TRUE(commands.HasProgram(QStringLiteral("sh")));
    EXPECT_FALSE(commands.HasProgram(QStringLiteral("no-such-program-here")));
    QString output;
    EXPECT_EQ(
        commands.Run(QStringLiteral("sh"),
                     {QStringLiteral("-c"), QStringLiteral("echo \"$0\"; exit 3"), QStringLiteral("a b")},
                     &output),
        3);
    EXPECT_EQ(output, QStringLiteral("a b\n"));
    EXPECT_EQ(commands.Run(QStringLiteral("no-such-program-here"), {}), -1);
    qputenv("CUBESTACKS_TEST_VALUE", "x1");
    EXPECT_EQ(commands.Env(QStringLiteral("CUBESTACKS_TEST_VALUE")), QStringLiteral("x1"));
}

#endif

TEST(GVariantStringTest, QuotesAndEscapes) {
    EXPECT_EQ(GVariantString(QStringLiteral("centered")), QStringLiteral("'centered'"));
    EXPECT_EQ(GVariantString(QStringLiteral("it's a\\b")), QStringLiteral("'it\\'s a\\\\b'"));
}

} // namespace
