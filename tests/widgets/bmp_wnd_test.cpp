#include "support/test_support.h"

#include "imaging/bitmap.h"
#include "widgets/bmp_wnd.h"

#include <QtTest>
#include <QtWidgets>

TEST(BmpWnd, ShowsItsBitmapUnscaledOverBlackAndHandsMouseEventsOn) {
    TBmpWnd wnd;
    EXPECT_EQ(wnd.Bitmap.size(), QSize(32, 32));
    wnd.resize(60, 40);
    wnd.Bitmap = NewBitmap(40, 30);
    wnd.Bitmap.fill(qRgb(0, 0, 200));
    wnd.Bitmap.setPixel(39, 29, qRgb(250, 250, 0));
    const QImage shown = wnd.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(std::tuple(shown.pixel(0, 0), shown.pixel(39, 29), shown.pixel(40, 0), shown.pixel(0, 30)),
              std::tuple(qRgb(0, 0, 200), qRgb(250, 250, 0), qRgb(0, 0, 0), qRgb(0, 0, 0)));
    wnd.resize(10, 10); // smaller than its bitmap: the top-left part
    EXPECT_EQ(wnd.grab().toImage().convertToFormat(QImage::Format_RGB32).pixel(9, 9), qRgb(0, 0, 200));

    wnd.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&wnd));
    QSignalSpy down(&wnd, &TBmpWnd::MouseDown), up(&wnd, &TBmpWnd::MouseUp), move(&wnd, &TBmpWnd::MouseMove);
    QTest::mousePress(&wnd, Qt::RightButton, Qt::NoModifier, QPoint(4, 5));
    QTest::mouseMove(&wnd, QPoint(6, 7));
    QTest::mouseRelease(&wnd, Qt::RightButton, Qt::NoModifier, QPoint(6, 7));
    EXPECT_EQ(std::tuple(down.count(), up.count(), move.count() >= 1), std::tuple(1, 1, true));
}
