#include "support/test_support.h"

#include "windows/about_form.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

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

TEST_F(AboutFormTest, FixedSizeBoxWithNameVersionAndBuild) {
    TAboutForm box;
    EXPECT_EQ(box.windowTitle(), QStringLiteral("About Quadrantine Cubestacks"));
    EXPECT_FALSE(box.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(box.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(box.windowFlags() & Qt::WindowContextHelpButtonHint);
    ShowBox(box);
    EXPECT_EQ(box.minimumSize(), box.maximumSize());
    EXPECT_EQ(box.ProgramIcon->pixmap().size(), QSize(32, 32));
    EXPECT_EQ(box.ProductName->text(), QStringLiteral("Quadrantine Cubestacks"));
    EXPECT_EQ(box.Label3->text(), QStringLiteral("Version:"));
    EXPECT_EQ(box.Label5->text(), QStringLiteral("Build:"));
    // The right-aligned captions are wide enough for their texts.
    for (QLabel* label : {box.Label3, box.Label5})
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
    EXPECT_EQ(box.CancelBtn->text(), QStringLiteral("&Close"));
    EXPECT_TRUE(box.CancelBtn->isDefault());
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
    const std::function<void()> closers[] = {
        [&] { QTest::mouseClick(box.CancelBtn, Qt::LeftButton); },
        [&] { QTest::keyClick(KeyTarget(box), Qt::Key_Escape); },
        [&] { QTest::keyClick(KeyTarget(box), Qt::Key_Return); },
        [&] { QTest::keyClick(KeyTarget(box), Qt::Key_Enter, Qt::KeypadModifier); },
    };
    for (size_t i = 0; i < std::size(closers); ++i) {
        ShowBox(box);
        box.setResult(QDialog::Accepted);
        closers[i]();
        EXPECT_FALSE(box.isVisible()) << i;
        EXPECT_EQ(box.result(), QDialog::Rejected) << i;
    }
    // Other keys leave it open.
    ShowBox(box);
    QTest::keyClick(KeyTarget(box), Qt::Key_A);
    EXPECT_TRUE(box.isVisible());
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
