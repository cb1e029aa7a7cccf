#include "desktop/wallpaper_changer.h"
#include "imaging/bitmap.h"
#include "imaging/bitmap_file.h"
#include "support/test_support.h"

#include <QtTest>

// Records every call in order and answers from its tables.
class FakeDesktop : public DesktopCommands {
public:
    int Run(const QString& program, const QStringList& args, QString* output) override {
        const QString call = (QStringList{program} + args).join(' ');
        calls << call;
        if (output)
            *output = listing;
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
        return accepted;
    }
    QStringList calls, programs;
    QMap<QString, QString> env;
    QMap<QString, int> exitCodes; // by the start of the call line
    QString listing;
    bool accepted = true;
};

class WallpaperTest : public CubestacksTest {
protected:
    void SetUp() override {
        CubestacksTest::SetUp();
        picture = dir.filePath(QStringLiteral("Quadrantine Cubestacks.bmp"));
        SaveBitmapFile(NewBitmap(4, 4), picture);
        desktop.programs = programs.split(' ');
    }
    const QString programs = "gsettings plasma-apply-wallpaperimage xfconf-query";
    QTemporaryDir dir;
    QString picture;
    FakeDesktop desktop;
};

TEST_F(WallpaperTest, EachDesktopGetsItsExactCommands) {
    const QString url = QUrl::fromLocalFile(picture).toString(QUrl::FullyEncoded);
    const QStringList statuses = {"Applied", "NotChanged", "NoFile", "NoDesktop", "Failed"};
    for (QStringList c : DataCases("wallpaper")) {
        SCOPED_TRACE(c.join(' ').toStdString());
        for (QString& field : c)
            field.replace("%u", "'%U'").replace("%U", url).replace("%p", picture).replace("\\n", "\n");
        desktop.calls.clear();
        desktop.env = {{"XDG_CURRENT_DESKTOP", c[0]}, {"DESKTOP_SESSION", c[1]}};
        desktop.exitCodes.clear();
        for (const QString& exit : c[3].split('|', Qt::SkipEmptyParts))
            desktop.exitCodes[exit.section('=', 0, 0)] = exit.section('=', 1).toInt();
        desktop.listing = c[4];
        desktop.programs = QString(c.value(8).isEmpty() ? programs : c[8]).split(' ');
        const WallpaperResult result = ApplyWallpaperLinux(desktop, picture, c[2] == "1");
        EXPECT_EQ(std::tuple(statuses.value(result.status), result.desktop, desktop.calls),
                  std::tuple(c[5], c[6], c[7].split('|', Qt::SkipEmptyParts)));
        // Success says nothing; a failure names the file and what went wrong.
        EXPECT_EQ(result.message.isEmpty(), result.Succeeded());
        for (const QString& part : c.value(9).split('|', Qt::SkipEmptyParts))
            EXPECT_TRUE(result.message.contains(part)) << result.message.toStdString();
    }
    EXPECT_EQ(GVariantString(QStringLiteral("it's a\\b")), QStringLiteral("'it\\'s a\\\\b'"));
}

TEST_F(WallpaperTest, WindowsStepsRunInOrder) {
    const QString path = QStringLiteral("C:/Windows/Quadrantine Cubestacks.bmp");
    EXPECT_TRUE(ApplyWallpaperWindows(desktop, path, false).Succeeded());
    EXPECT_EQ(desktop.calls, QStringList({"reg TileWallPaper=0", "reg WallpaperStyle=0", "spi " + path,
                                          "reg Wallpaper=" + QDir::toNativeSeparators(path)}));
    desktop.calls.clear();
    desktop.accepted = false; // refused: reported, and the path is not recorded
    const WallpaperResult result = ApplyWallpaperWindows(desktop, path, true);
    EXPECT_EQ(std::pair(result.status, result.message.isEmpty()), std::pair(WallpaperResult::Failed, false));
    EXPECT_EQ(desktop.calls, QStringList({"reg TileWallPaper=1", "reg WallpaperStyle=0", "spi " + path}));
}

TEST_F(WallpaperTest, ChangerChecksItsFileNotifiesAndRunsOnItsTimer) {
    TWallPaperChanger changer;
    changer.SetDesktopCommands(&desktop);
    EXPECT_EQ(std::tuple(changer.Interval(), changer.Change().status, desktop.calls.isEmpty()),
              std::tuple(1000, WallpaperResult::NoFile, true)); // nothing chosen yet
    // Neither a missing file nor a folder nor nothing is taken.
    for (const QString& name : {dir.filePath(QStringLiteral("missing.bmp")), dir.path(), picture, QString()})
        EXPECT_EQ(changer.SetFilename(name), name == picture) << name.toStdString();
    EXPECT_EQ(changer.Filename(), picture);

    desktop.env = {{"XDG_CURRENT_DESKTOP", "GNOME"}};
    QStringList order;
    changer.OnBeginChange = [&](TWallPaperChanger* c) { order << QString::number(c->LastResult().status); };
    changer.OnFinishChange = [&](TWallPaperChanger* sender) {
        order << QStringLiteral("%1:%2").arg(desktop.calls.size()).arg(sender->LastResult().Succeeded());
    };
    changer.SetTiled(true);
    EXPECT_TRUE(changer.Change().Succeeded());
    EXPECT_TRUE(desktop.calls.front().endsWith("'wallpaper'"));
    QFile::remove(picture); // gone since it was taken: nothing is installed, the result names the file
    desktop.calls.clear();
    const WallpaperResult gone = changer.Change();
    EXPECT_EQ(std::pair(gone.status, gone.message.contains(picture)),
              std::pair(WallpaperResult::NoFile, true));
    EXPECT_EQ(order, QStringList({QString::number(WallpaperResult::NoFile), "3:1",
                                  QString::number(WallpaperResult::Applied), "0:0"}));

    order.clear();
    changer.SetInterval(20);
    EXPECT_FALSE(changer.Timer()->isActive()); // the interval alone starts nothing
    changer.SetActive(true);
    EXPECT_EQ(changer.Timer()->interval(), 20);
    EXPECT_TRUE(QTest::qWaitFor([&] { return order.size() >= 6; }, 5000)); // three changes, each told twice
    changer.SetActive(false);
    const qsizetype stoppedAt = order.size();
    QTest::qWait(80);
    EXPECT_EQ(order.size(), stoppedAt);
    changer.SetActive(true);
    // A new interval reaches the running timer; 0 stops it rather than spinning.
    for (const auto& [interval, active] : {std::pair(500, true), std::pair(0, false), std::pair(30, true)}) {
        changer.SetInterval(interval);
        EXPECT_EQ(changer.Timer()->isActive(), active) << interval;
        EXPECT_TRUE(!active || changer.Timer()->interval() == interval) << interval;
    }
}

#ifndef Q_OS_WIN
TEST(SystemDesktopCommandsTest, RunsProgramsAndReportsTheirExitCodes) {
    DesktopCommands& commands = SystemDesktopCommands();
    EXPECT_TRUE(commands.HasProgram("sh") && !commands.HasProgram("no-such-program-here"));
    QString output;
    EXPECT_EQ(commands.Run("sh", {"-c", "echo \"$0\"; exit 3", "a b"}, &output), 3);
    EXPECT_EQ(output, QStringLiteral("a b\n"));
    EXPECT_EQ(commands.Run(QStringLiteral("no-such-program-here"), {}), -1);
    qputenv("CUBESTACKS_TEST_VALUE", "x1");
    EXPECT_EQ(commands.Env(QStringLiteral("CUBESTACKS_TEST_VALUE")), QStringLiteral("x1"));
}
#endif
