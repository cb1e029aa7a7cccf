#include "support/test_support.h"

#include "imaging/bitmap.h"
#include "widgets/bmp_wnd.h"

#include <QSignalSpy>
#include <QTest>

namespace {

TEST(BmpWnd, ShowsItsBitmapUnscaledOverBlack) {
    TBmpWnd wnd;
    EXPECT_EQ(wnd.size(), QSize(32, 32));
    EXPECT_EQ(wnd.Bitmap.size(), QSize(32, 32));
    wnd.resize(60, 40);
    wnd.Bitmap = NewBitmap(40, 30);
    wnd.Bitmap.fill(qRgb(0, 0, 200));
    wnd.Bitmap.setPixel(39, 29, qRgb(250, 250, 0));
    const QImage shown = wnd.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), QSize(60, 40));
    EXPECT_EQ(shown.pixel(0, 0), qRgb(0, 0, 200));
    EXPECT_EQ(shown.pixel(39, 29), qRgb(250, 250, 0));
    EXPECT_EQ(shown.pixel(40, 0), qRgb(0, 0, 0));
    EXPECT_EQ(shown.pixel(0, 30), qRgb(0, 0, 0));
    EXPECT_EQ(shown.pixel(59, 39), qRgb(0, 0, 0));
    // A control smaller than its bitmap shows the top-left part.
    wnd.resize(10, 10);
    const QImage small = wnd.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(small.size(), QSize(10, 10));
    EXPECT_EQ(small.pixel(9, 9), qRgb(0, 0, 200));
}

TEST(BmpWnd, HandsMouseEventsOn) {
    TBmpWnd wnd;
    wnd.resize(100, 100);
    wnd.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&wnd));
    QSignalSpy down(&wnd, &TBmpWnd::MouseDown);
    QSignalSpy up(&wnd, &TBmpWnd::MouseUp);
    QSignalSpy move(&wnd, &TBmpWnd::MouseMove);
    QTest::mousePress(&wnd, Qt::RightButton, Qt::NoModifier, QPoint(40, 50));
    QTest::mouseMove(&wnd, QPoint(45, 55));
    QTest::mouseRelease(&wnd, Qt::RightButton, Qt::NoModifier, QPoint(45, 55));
    EXPECT_EQ(down.count(), 1);
    EXPECT_EQ(up.count(), 1);
    EXPECT_GE(move.count(), 1);
}

} // namespace
