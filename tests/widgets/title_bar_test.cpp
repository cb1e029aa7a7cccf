#include "widgets/title_bar.h"

#include "support/test_support.h"

#include <QtTest>
#include <QtWidgets>

namespace {

TEST(Titlebar, HidingKeepsTheClientAreaAndShowingRestoresTheFrame) {
    QWidget form;
    form.setGeometry(100, 80, 240, 160);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const Qt::WindowFlags shown = form.windowFlags();
    const QSize outer = form.frameGeometry().size();
    TTitlebar titlebar(&form);
    for (int twice = 0; twice < 2; ++twice) { // hiding again changes nothing more
        titlebar.SetVisible(false);
        EXPECT_TRUE(titlebar.TitleHidden());
        EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowTitleHint));
        EXPECT_TRUE(form.windowFlags().testFlag(Qt::CustomizeWindowHint));
        EXPECT_FALSE(form.windowFlags().testFlag(Qt::FramelessWindowHint)); // the border stays
        EXPECT_EQ(form.geometry(), QRect(100, 80, 240, 160));
        EXPECT_TRUE(form.isVisible());
    }
    titlebar.SetVisible(true);
    EXPECT_TRUE(titlebar.Visible());
    EXPECT_FALSE(titlebar.TitleHidden());
    EXPECT_EQ(form.windowFlags(), shown);
    EXPECT_EQ(form.size(), QSize(240, 160));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_EQ(form.frameGeometry().size(), outer);

    // A hidden dialog loses its title and stays hidden; frameless, tool and popup windows keep theirs.
    QDialog dialog;
    TTitlebar dialogTitle(&dialog);
    dialogTitle.SetVisible(false);
    EXPECT_TRUE(dialogTitle.TitleHidden());
    EXPECT_EQ(dialog.windowType(), Qt::Dialog);
    EXPECT_FALSE(dialog.isVisible());
    for (Qt::WindowFlags flags :
         {Qt::Window | Qt::FramelessWindowHint, Qt::WindowFlags(Qt::Tool), Qt::WindowFlags(Qt::Popup)}) {
        QWidget other(nullptr, flags);
        const Qt::WindowFlags before = other.windowFlags();
        TTitlebar title(&other);
        title.SetVisible(false);
        EXPECT_FALSE(title.Visible()); // the flag is kept
        EXPECT_FALSE(title.TitleHidden());
        title.SetVisible(true);
        EXPECT_EQ(other.windowFlags(), before);
    }
}

} // namespace
