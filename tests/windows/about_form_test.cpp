#include "support/test_support.h"

#include "windows/about_form.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

class AboutFormTest : public CubestacksTest {
protected:
    // Shows the box and waits until it has the keyboard.
    void ShowBox(TAboutForm& box) {
        box.show();
        box.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
        ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
    }
    QWidget* KeyTarget(TAboutForm& box) {
        QWidget* focus = QApplication::focusWidget();
        return focus ? focus : &box;
    }
};

TEST_F(AboutFormTest, LaidOutWithNameVersionAndBuild) {
    TAboutForm box;
    EXPECT_EQ(box.windowTitle(), QStringLiteral("About Quadrantine Cubestacks"));
    EXPECT_TRUE(box.windowFlags() & Qt::WindowSystemMenuHint);
    EXPECT_FALSE(box.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(box.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(box.windowFlags() & Qt::WindowContextHelpButtonHint);
    EXPECT_EQ(box.font().pixelSize(), 11);
    ShowBox(box);
    EXPECT_EQ(box.size(), QSize(409, 209));
    EXPECT_EQ(box.minimumSize(), box.maximumSize());

    EXPECT_EQ(box.Panel1->geometry(), QRect(8, 8, 273, 49));
    EXPECT_EQ(box.Panel1->frameShadow(), QFrame::Sunken);
    EXPECT_EQ(box.ProgramIcon->parentWidget(), box.Panel1);
    EXPECT_EQ(box.ProgramIcon->geometry(), QRect(8, 8, 32, 32));
    EXPECT_EQ(box.ProgramIcon->pixmap().size(), QSize(32, 32));
    EXPECT_EQ(box.ProductName->text(), QStringLiteral("Quadrantine Cubestacks"));
    EXPECT_EQ(box.ProductName->pos(), QPoint(56, 8));
    EXPECT_EQ(box.ProductName->width(), 209);
    EXPECT_TRUE(box.ProductName->font().bold());
    EXPECT_EQ(box.Label3->text(), QStringLiteral("Version:"));
    EXPECT_EQ(box.Label3->y(), 27);
    EXPECT_LE(box.Label3->x(), 55);
    EXPECT_EQ(box.Label3->geometry().right(), 92);
    EXPECT_GE(box.Label3->width(), box.Label3->fontMetrics().horizontalAdvance(box.Label3->text()));
    EXPECT_TRUE(box.Label3->alignment() & Qt::AlignRight);
    EXPECT_EQ(box.Version->pos(), QPoint(96, 27));
    EXPECT_EQ(box.Version->width(), 41);
    EXPECT_EQ(box.Label5->text(), QStringLiteral("Build:"));
    EXPECT_EQ(box.Label5->y(), 27);
    EXPECT_LE(box.Label5->x(), 135);
    EXPECT_EQ(box.Label5->geometry().right(), 164);
    EXPECT_GE(box.Label5->width(), box.Label5->fontMetrics().horizontalAdvance(box.Label5->text()));
    EXPECT_TRUE(box.Label5->alignment() & Qt::AlignRight);
    EXPECT_EQ(box.Build->pos(), QPoint(168, 27));
    EXPECT_EQ(box.Build->width(), 97);
    EXPECT_EQ(box.Bevel1->frameShape(), QFrame::HLine);
    EXPECT_EQ(box.Bevel1->pos(), QPoint(8, 176));
    EXPECT_EQ(box.Bevel1->width(), 393);
    EXPECT_EQ(box.CancelBtn->text(), QStringLiteral("&Close"));
    EXPECT_EQ(box.CancelBtn->geometry(), QRect(288, 8, 113, 25));
    EXPECT_TRUE(box.CancelBtn->isDefault());

    EXPECT_EQ(box.Version->text(), QStringLiteral("2.00"));
    EXPECT_EQ(box.Build->text(), QStringLiteral("017-US"));
    // The texts are drawn: the version label is not blank on screen.
    const QImage version = box.Version->grab().toImage();
    const QRgb first = version.pixel(0, 0);
    bool drawn = false;
    for (int y = 0; y < version.height() && !drawn; ++y)
        for (int x = 0; x < version.width() && !drawn; ++x)
            drawn = version.pixel(x, y) != first;
    EXPECT_TRUE(drawn);
}

TEST_F(AboutFormTest, ShowsVersionAndBuildEveryTime) {
    TAboutForm box;
    for (int round = 0; round < 3; ++round) {
        box.Version->setText(QStringLiteral("9.99"));
        box.Build->setText(QString());
        ShowBox(box);
        EXPECT_EQ(box.Version->text(), QStringLiteral("2.00")) << "round " << round;
        EXPECT_EQ(box.Build->text(), QStringLiteral("017-US")) << "round " << round;
        QTest::mouseClick(box.CancelBtn, Qt::LeftButton);
        EXPECT_FALSE(box.isVisible());
    }
}

TEST_F(AboutFormTest, ClosesWithCloseEscapeAndEnter) {
    TAboutForm box;

    ShowBox(box);
    box.setResult(QDialog::Accepted);
    QTest::mouseClick(box.CancelBtn, Qt::LeftButton);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Rejected);

    ShowBox(box);
    box.setResult(QDialog::Accepted);
    QTest::keyClick(KeyTarget(box), Qt::Key_Escape);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Rejected);

    ShowBox(box);
    box.setResult(QDialog::Accepted);
    QTest::keyClick(KeyTarget(box), Qt::Key_Return);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Rejected);

    ShowBox(box);
    box.setResult(QDialog::Accepted);
    QTest::keyClick(KeyTarget(box), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Rejected);

    // Other keys leave it open.
    ShowBox(box);
    QTest::keyClick(KeyTarget(box), Qt::Key_A);
    EXPECT_TRUE(box.isVisible());
    box.close();
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Rejected);
}

TEST_F(AboutFormTest, ShowModalReturnsWhenClosed) {
    TAboutForm box;
    QString shownVersion;
    bool modal = false;
    QTimer::singleShot(0, &box, [&] {
        shownVersion = box.Version->text();
        modal = box.isModal() && box.isVisible();
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &box, Qt::Key_Return);
    });
    EXPECT_EQ(box.ShowModal(), QDialog::Rejected);
    EXPECT_TRUE(modal);
    EXPECT_EQ(shownVersion, QStringLiteral("2.00"));
    EXPECT_FALSE(box.isVisible());
}

} // namespace
