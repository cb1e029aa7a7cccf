#include "widgets/title_bar.h"

#include "support/test_support.h"

#include <QtTest>
#include <QtWidgets>

TEST(Titlebar, HidingKeepsTheClientAreaAndShowingRestoresTheFrame) {
    QWidget form;
    form.setGeometry(100, 80, 240, 160);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const Qt::WindowFlags shown = form.windowFlags();
    const QSize outer = form.frameGeometry().size();
    TTitlebar titlebar(&form);
    for (int twice = 0; twice < 2; ++twice) { // hiding again changes nothing more
        titlebar.SetVisible(false);           // the border stays
        EXPECT_EQ(std::tuple(titlebar.TitleHidden(),
                             form.windowFlags() &
                                 (Qt::WindowTitleHint | Qt::CustomizeWindowHint | Qt::FramelessWindowHint),
                             form.geometry(), form.isVisible()),
                  std::tuple(true, Qt::WindowFlags(Qt::CustomizeWindowHint), QRect(100, 80, 240, 160), true));
    }
    titlebar.SetVisible(true);
    EXPECT_EQ(std::tuple(titlebar.Visible(), titlebar.TitleHidden(), form.windowFlags(), form.size()),
              std::tuple(true, false, shown, QSize(240, 160)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_EQ(form.frameGeometry().size(), outer);

    // A hidden dialog loses its title and stays hidden; frameless, tool and popup windows keep theirs.
    QDialog dialog;
    TTitlebar dialogTitle(&dialog);
    dialogTitle.SetVisible(false);
    EXPECT_EQ(std::tuple(dialogTitle.TitleHidden(), dialog.windowType(), dialog.isVisible()),
              std::tuple(true, Qt::Dialog, false));
    for (Qt::WindowFlags flags :
         {Qt::Window | Qt::FramelessWindowHint, Qt::WindowFlags(Qt::Tool), Qt::WindowFlags(Qt::Popup)}) {
        QWidget other(nullptr, flags);
        const Qt::WindowFlags before = other.windowFlags();
        TTitlebar title(&other);
        title.SetVisible(false);
        EXPECT_FALSE(title.Visible() || title.TitleHidden()); // the flag is kept
        title.SetVisible(true);
        EXPECT_EQ(other.windowFlags(), before);
    }
}
