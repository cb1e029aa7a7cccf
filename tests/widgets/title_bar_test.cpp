#include "widgets/title_bar.h"

#include "support/test_support.h"

#include <QDialog>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using TitlebarTest = CubestacksTest;

TEST_F(TitlebarTest, HidingAndShowingKeepsTheClientAreaAndRestoresTheFrame) {
    QWidget form;
    form.setGeometry(100, 80, 240, 160);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const Qt::WindowFlags shown = form.windowFlags();
    const QSize outer = form.frameGeometry().size();
    const QPoint corner = form.pos();
    TTitlebar titlebar(&form);
    EXPECT_TRUE(titlebar.Visible());

    titlebar.SetVisible(false);
    EXPECT_FALSE(titlebar.Visible());
    EXPECT_TRUE(titlebar.TitleHidden());
    EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowTitleHint));
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::CustomizeWindowHint));
    EXPECT_FALSE(form.windowFlags().testFlag(Qt::FramelessWindowHint)); // the border stays
    EXPECT_EQ(form.size(), QSize(240, 160));
    EXPECT_EQ(form.pos(), corner);
    EXPECT_TRUE(form.isVisible());

    // Hiding again changes nothing more.
    titlebar.SetVisible(false);
    EXPECT_EQ(form.size(), QSize(240, 160));

    titlebar.SetVisible(true);
    EXPECT_TRUE(titlebar.Visible());
    EXPECT_FALSE(titlebar.TitleHidden());
    EXPECT_EQ(form.windowFlags(), shown);
    EXPECT_EQ(form.size(), QSize(240, 160));
    EXPECT_TRUE(form.isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_EQ(form.frameGeometry().size(), outer);
}

TEST_F(TitlebarTest, OnlyWindowsWithANormalTitleLoseIt) {
    QDialog dialog;
    dialog.resize(200, 100);
    TTitlebar dialogTitle(&dialog);
    dialogTitle.SetVisible(false);
    EXPECT_TRUE(dialogTitle.TitleHidden());
    EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowTitleHint));
    EXPECT_EQ(dialog.windowType(), Qt::Dialog);
    EXPECT_EQ(dialog.size(), QSize(200, 100));
    EXPECT_FALSE(dialog.isVisible()); // a hidden window stays hidden

    for (Qt::WindowFlags flags :
         {Qt::Window | Qt::FramelessWindowHint, Qt::WindowFlags(Qt::Tool), Qt::WindowFlags(Qt::Popup)}) {
        QWidget form(nullptr, flags);
        const Qt::WindowFlags before = form.windowFlags();
        TTitlebar titlebar(&form);
        titlebar.SetVisible(false);
        EXPECT_FALSE(titlebar.Visible()); // the flag is stored
        EXPECT_FALSE(titlebar.TitleHidden());
        EXPECT_EQ(form.windowFlags(), before);
        titlebar.SetVisible(true); // and showing a title never hidden does nothing
        EXPECT_EQ(form.windowFlags(), before);
    }
}

} // namespace
