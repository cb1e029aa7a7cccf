#include "windows/about_form.h"
#include "windows/windows_fixture.h"

using AboutFormTest = CubestacksTest;

TEST_F(AboutFormTest, ShowsVersionAndBuildEachTimeAndClosesWithCloseEscapeAndEnter) {
    TAboutForm box;
    EXPECT_FALSE(box.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    const auto key = [] { return QApplication::focusWidget(); };
    const std::function<void()> closers[] = {
        [&] { QTest::mouseClick(box.CancelBtn, Qt::LeftButton); },
        [&] { QTest::keyClick(key(), Qt::Key_Escape); },
        [&] { QTest::keyClick(key(), Qt::Key_Return); },
        [&] { QTest::keyClick(key(), Qt::Key_Enter, Qt::KeypadModifier); },
        [&] { QTest::keyClick(key(), Qt::Key_A); }, // other keys leave it open
    };
    for (size_t i = 0; i < std::size(closers); ++i) {
        box.Version->setText(QStringLiteral("9.99"));
        box.Build->clear();
        ASSERT_TRUE(ShowExposed(box) && ActivateAndWait(box));
        EXPECT_EQ(box.Version->text() + ' ' + box.Build->text(), QStringLiteral("2.00 017-US"));
        EXPECT_EQ(box.minimumSize(), box.maximumSize());
        box.setResult(QDialog::Accepted);
        closers[i]();
        EXPECT_EQ(std::pair(box.isVisible(), box.result()), std::pair(i == 4, i == 4 ? 1 : 0)) << i;
    }
    box.hide();
    bool modal = false;
    QTimer::singleShot(0, &box, [&] {
        modal = box.isModal() && box.isVisible();
        QTest::keyClick(key() ? key() : &box, Qt::Key_Return);
    });
    EXPECT_EQ(box.ShowModal(), QDialog::Rejected);
    EXPECT_TRUE(modal);
}
