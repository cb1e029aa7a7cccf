#include "widgets/title_bar.h"
#include "windows/splash_form.h"
#include "windows/windows_fixture.h"

class SplashFormTest : public WindowsTest {
protected:
    void TearDown() override {
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
        WindowsTest::TearDown();
    }
    // Runs a real message loop, as the program's main loop does, for ms or until the splash's timer ran.
    static void RunLoop(const TSplashForm& splash, int ms) {
        QEventLoop loop;
        QObject::connect(splash.Timer1, &QTimer::timeout, &loop, &QEventLoop::quit, Qt::QueuedConnection);
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    }
};

TEST_F(SplashFormTest, PaintedAtOnceCentredWithTheHourglassAndGoesWithItsTimerOnceTheLoopRuns) {
    TSplashForm splash;
    EXPECT_TRUE((splash.windowFlags() & Qt::FramelessWindowHint) &&
                !splash.testAttribute(Qt::WA_QuitOnClose) && !splash.Titlebar1->Visible());
    splash.ShowAndPaint();
    EXPECT_EQ(std::pair(splash.size(), splash.Version->text()),
              std::pair(QSize(328, 206), QStringLiteral("2.00")));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_LE((splash.geometry().center() - screen.center()).manhattanLength(), 2);
    EXPECT_EQ(OverridePointer(), Qt::WaitCursor);

    // Without a message loop: the picture, "Version: 2.00" in white, the loading line in silver, nothing
    // else.
    const QImage shown = splash.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage picture = splash.SplashImage->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), picture.size());
    EXPECT_NE(picture.pixel(164, 60), qRgb(0, 0, 0));
    const QRect versionLine(11, 123, 302, 13), loadingLine(16, 155, 300, 13);
    QImage outside = shown; // with the picture under both lines again: the picture
    for (const QRect& line : {versionLine, loadingLine})
        QPainter(&outside).drawImage(line, picture, line);
    EXPECT_TRUE(outside == picture);
    const auto inked = [&](const QRect& area, QRgb ink) { return CountColor(shown.copy(area), ink) > 0; };
    const QRgb white = qRgb(255, 255, 255);
    EXPECT_EQ(std::tuple(inked(QRect(11, 123, 50, 13), white), inked(QRect(64, 123, 60, 13), white),
                         inked(QRect(130, 123, 183, 13), white), inked(loadingLine, qRgb(0xC0, 0xC0, 0xC0))),
              std::tuple(true, true, false, true));

    EXPECT_EQ(splash.Timer1->interval(), 1000);
    splash.Timer1->setInterval(20);
    // The windows take longer than the timer to make, with events handled on the way: it stays.
    for (int ms : {60, 30}) {
        QThread::msleep(ms);
        QCoreApplication::processEvents();
    }
    EXPECT_TRUE(splash.isVisible());
    RunLoop(splash, 5); // the loop starts and its time is up: it goes at once
    EXPECT_FALSE(splash.isVisible() || splash.Timer1->isActive() || QGuiApplication::overrideCursor());

    TSplashForm later;
    later.Timer1->setInterval(800);
    later.ShowAndPaint();
    QGuiApplication::setOverrideCursor(QCursor(Qt::PointingHandCursor)); // set after the splash showed
    RunLoop(later, 10);
    EXPECT_TRUE(later.isVisible()); // its time is not up yet
    RunLoop(later, 5000);
    EXPECT_EQ(std::pair(later.isVisible(), OverridePointer()), std::pair(false, int(Qt::PointingHandCursor)));
    QGuiApplication::restoreOverrideCursor();
    {
        TSplashForm destroyed; // destroyed while showing: the hourglass goes with it
        destroyed.ShowAndPaint();
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
