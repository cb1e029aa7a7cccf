#include "support/test_support.h"

#include "app/main_form.h"
#include "widgets/bmp_wnd.h"

#include <QTest>

namespace {

TEST(MainForm, PlacedCentredAtMost1024By768) {
    EXPECT_EQ(MainWindowGeometry(QSize(800, 600)), QRect(0, 0, 800, 600));
    EXPECT_EQ(MainWindowGeometry(QSize(1280, 1024)), QRect(128, 128, 1024, 768));
    EXPECT_EQ(MainWindowGeometry(QSize(1025, 768)), QRect(0, 0, 1024, 768));
    EXPECT_EQ(MainWindowGeometry(QSize(1027, 771)), QRect(1, 1, 1024, 768));
}

TEST(MainForm, BorderlessBlackAndFilledByTheDrawingSurface) {
    TMainForm form(QSize(1280, 1024));
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Quadrantine Cubestacks"));
    EXPECT_EQ(form.geometry(), QRect(128, 128, 1024, 768));
    ASSERT_NE(form.BaseBmp, nullptr);
    EXPECT_EQ(form.BaseBmp->geometry(), QRect(0, 0, 1024, 768));
    EXPECT_EQ(form.BaseBmp->Bitmap.size(), QSize(1024, 768));
    const QImage shown = form.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.pixel(500, 400), qRgb(0, 0, 0));
}

} // namespace
