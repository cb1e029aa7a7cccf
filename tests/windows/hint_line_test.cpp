#include "windows/hint_line.h"

#include "support/test_support.h"
#include "support/windows_test_support.h"

#include <QApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class HintLineTest : public CubestacksTest {
protected:
    void SetUp() override {
        CubestacksTest::SetUp();
        ResetHintLine();
        InstallHintFilter();
        SetHintLine([this](const QString& hint) { hints.push_back(hint); });
    }
    void TearDown() override {
        ResetHintLine();
        CubestacksTest::TearDown();
    }
    std::vector<QString> hints;
};

TEST_F(HintLineTest, SinkHearsEachChangeOnce) {
    SetCurrentHint(QStringLiteral("one"));
    SetCurrentHint(QStringLiteral("one"));
    SetCurrentHint(QStringLiteral(" "));
    SetCurrentHint(QString());
    EXPECT_EQ(hints, (std::vector<QString>{QStringLiteral("one"), QStringLiteral(" "), QString()}));
    EXPECT_EQ(CurrentHint(), QString());

    SetHintLine(nullptr); // no sink: the hint is still kept
    SetCurrentHint(QStringLiteral("two"));
    EXPECT_EQ(CurrentHint(), QStringLiteral("two"));
    EXPECT_EQ(hints.size(), 3u);
}

TEST_F(HintLineTest, WidgetUnderThePointerGivesItsOwnOrItsParentsHint) {
    QWidget window;
    window.setStatusTip(QStringLiteral("window hint"));
    window.resize(200, 100);
    auto* panel = new QWidget(&window);
    panel->setGeometry(0, 0, 100, 100);
    auto* inner = new QWidget(panel);
    inner->setGeometry(10, 10, 30, 30);
    inner->setStatusTip(QStringLiteral("inner hint"));
    auto* plain = new QWidget(panel);
    plain->setGeometry(50, 10, 30, 30);
    window.move(50, 50);
    ASSERT_TRUE(ShowExposed(window));

    EXPECT_EQ(WidgetHint(plain), QStringLiteral("window hint"));
    EXPECT_EQ(WidgetHint(nullptr), QString());

    QTest::mouseMove(&window, QPoint(20, 20));
    EXPECT_EQ(HintAfterIdle(), QStringLiteral("inner hint"));
    QTest::mouseMove(&window, QPoint(60, 20));
    EXPECT_EQ(HintAfterIdle(), QStringLiteral("window hint"));
    QTest::mouseMove(&window, QPoint(20, 20));
    EXPECT_EQ(HintAfterIdle(), QStringLiteral("inner hint"));
    QTest::mouseMove(&window, QPoint(5, 80)); // back on the panel from the inner widget
    EXPECT_EQ(HintAfterIdle(), QStringLiteral("window hint"));

    // A hint changed by a handler while the pointer rests shows at the next event.
    panel->setStatusTip(QStringLiteral("panel hint"));
    QTest::mouseMove(&window, QPoint(6, 80));
    EXPECT_EQ(HintAfterIdle(), QStringLiteral("panel hint"));

    // Off every window of the program: no hint.
    QTest::mouseMove(&window, QPoint(500, 400));
    EXPECT_EQ(HintAfterIdle(), QString());
}

TEST_F(HintLineTest, HighlightedMenuItemsShowTheirHintsAndTooltipsNeverPopUp) {
    QWidget window;
    window.resize(100, 100);
    window.setToolTip(QStringLiteral("never shown"));
    ASSERT_TRUE(ShowExposed(window));
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), window.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&window, &help);
    QCoreApplication::processEvents();
    bool tipShown = false;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->inherits("QTipLabel") && top->isVisible())
            tipShown = true;
    EXPECT_FALSE(tipShown);

    QMenu menu(&window);
    menu.addAction(QStringLiteral("First"))->setStatusTip(QStringLiteral("first item hint"));
    menu.addAction(QStringLiteral("Second"))->setStatusTip(QStringLiteral("second item hint"));
    std::vector<QString> seen;
    QTimer::singleShot(0, [&] {
        QMenu* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!popup) {
            ADD_FAILURE() << "no menu opened";
            return;
        }
        QTest::keyClick(popup, Qt::Key_Down);
        seen.push_back(HintAfterIdle());
        QTest::keyClick(popup, Qt::Key_Down);
        seen.push_back(HintAfterIdle());
        // The pointer moving over the open menu does not take the hint away.
        QTest::mouseMove(popup, QPoint(2, 2));
        seen.push_back(HintAfterIdle());
        QTest::keyClick(popup, Qt::Key_Escape);
    });
    menu.exec(window.mapToGlobal(QPoint(10, 10)));
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0], QStringLiteral("first item hint"));
    EXPECT_EQ(seen[1], QStringLiteral("second item hint"));
    EXPECT_TRUE(seen[2] == QStringLiteral("first item hint") || seen[2] == QStringLiteral("second item hint"))
        << seen[2].toStdString();
}

} // namespace
