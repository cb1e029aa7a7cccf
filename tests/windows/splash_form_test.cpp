#include "support/test_support.h"

#include "widgets/title_bar.h"
#include "windows/splash_form.h"

#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QThread>
#include <QTimer>

namespace {

class SplashFormTest : public CubestacksTest {
protected:
    void TearDown() override {
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
        CubestacksTest::TearDown();
    }
    // Runs a real message loop for a while, as the program's main loop does.
    static void RunLoop(int ms) {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    }
    // Runs the message loop until the window is hidden, for at most five seconds.
    static void RunLoopUntilHidden(const QWidget& window) {
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (!window.isVisible())
                loop.quit();
        });
        poll.start(5);
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        loop.exec();
    }
    static bool HasPixel(const QImage& image, const QRect& area, QRgb color) {
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if ((image.pixel(x, y) & 0xFFFFFF) == (color & 0xFFFFFF))
                    return true;
        return false;
    }
};

TEST_F(SplashFormTest, BorderlessBlackWithPictureAndLabels) {
    TSplashForm splash;
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(splash.windowTitle(), QStringLiteral("Quadrantine Cubestacks"));
    EXPECT_EQ(splash.palette().color(QPalette::Window), QColor(Qt::black));
    EXPECT_FALSE(splash.testAttribute(Qt::WA_QuitOnClose));
    ASSERT_NE(splash.Titlebar1, nullptr);
    EXPECT_FALSE(splash.Titlebar1->Visible());
    // The picture is the program's artwork, not a black stand-in.
    const QImage picture = splash.SplashImage->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(picture.size(), QSize(328, 206));
    EXPECT_NE(picture.pixel(164, 60), qRgb(0, 0, 0));

    EXPECT_EQ(splash.Label2->text(), QStringLiteral("Version:"));
    EXPECT_TRUE(splash.Label2->alignment() & Qt::AlignRight);
    EXPECT_EQ(splash.Label5->text(), QStringLiteral("Loading, please wait..."));
    EXPECT_TRUE(splash.Label5->alignment() & Qt::AlignHCenter);
    // The timer runs from creation, with the usual one-second interval.
    EXPECT_TRUE(splash.Timer1->isActive());
    EXPECT_EQ(splash.Timer1->interval(), 1000);
    EXPECT_EQ(splash.Version->text(), QString());
}

TEST_F(SplashFormTest, ShownSizedCentredWithHourglassAndPaintedAtOnce) {
    TSplashForm splash;
    ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
    splash.ShowAndPaint();
    EXPECT_TRUE(splash.isVisible());
    EXPECT_EQ(splash.size(), QSize(328, 206));
    EXPECT_EQ(splash.Version->text(), QStringLiteral("2.00"));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(splash.geometry().center().x() / 2, screen.center().x() / 2);
    EXPECT_EQ(splash.geometry().center().y() / 2, screen.center().y() / 2);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);

    // What is on screen already, without a message loop: the version line in
    // white and the loading line in silver over the picture, nothing else
    // changed.
    const QImage shown = splash.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage picture = splash.SplashImage->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), picture.size());
    const QRect versionLine = QRect(11, 123, 302, 13);
    const QRect loadingLine = QRect(16, 155, 300, 13);
    int changedOutside = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (shown.pixel(x, y) != picture.pixel(x, y) && !versionLine.contains(x, y) &&
                !loadingLine.contains(x, y))
                ++changedOutside;
    EXPECT_EQ(changedOutside, 0);
    EXPECT_TRUE(HasPixel(shown, QRect(11, 123, 50, 13), qRgb(255, 255, 255)));
    EXPECT_TRUE(HasPixel(shown, QRect(64, 123, 60, 13), qRgb(255, 255, 255)));
    EXPECT_TRUE(HasPixel(shown, loadingLine, qRgb(0xC0, 0xC0, 0xC0)));
    EXPECT_FALSE(HasPixel(shown, QRect(130, 123, 183, 13), qRgb(255, 255, 255)));
}

TEST_F(SplashFormTest, StaysUntilTheMessageLoopRunsThenCloses) {
    TSplashForm splash;
    splash.Timer1->setInterval(20);
    splash.ShowAndPaint();

    // The windows take longer than the timer to make, with events handled on
    // the way: the splash stays.
    QThread::msleep(60);
    QCoreApplication::processEvents();
    QThread::msleep(30);
    QCoreApplication::processEvents();
    EXPECT_TRUE(splash.isVisible());
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);

    // The message loop starts: the time is up, so it goes at once.
    RunLoop(5);
    EXPECT_FALSE(splash.isVisible());
    EXPECT_FALSE(splash.Timer1->isActive());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(SplashFormTest, ClosesByItsTimerOnceTheLoopRuns) {
    TSplashForm splash;
    splash.Timer1->setInterval(800);
    splash.ShowAndPaint();
    RunLoop(10);
    EXPECT_TRUE(splash.isVisible()); // its time is not up yet
    RunLoopUntilHidden(splash);
    EXPECT_FALSE(splash.isVisible());
    EXPECT_FALSE(splash.Timer1->isActive());
}

TEST_F(SplashFormTest, LeavesOtherPointersAlone) {
    // Someone else's pointer set after the splash showed stays when it goes.
    {
        TSplashForm splash;
        splash.Timer1->setInterval(1);
        splash.ShowAndPaint();
        QGuiApplication::setOverrideCursor(QCursor(Qt::PointingHandCursor));
        RunLoop(50);
        EXPECT_FALSE(splash.isVisible());
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::PointingHandCursor);
        QGuiApplication::restoreOverrideCursor();
    }
    // A splash destroyed while showing gives the hourglass back.
    {
        TSplashForm splash;
        splash.ShowAndPaint();
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

} // namespace
