#include "windows/hint_line.h"
#include "windows/windows_fixture.h"

using HintLineTest = WindowsTest;

TEST_F(HintLineTest, TheWidgetUnderThePointerGivesItsOwnOrItsParentsHint) {
    std::vector<QString> hints;
    InstallHintFilter();
    SetHintLine([&](const QString& hint) { hints.push_back(hint); });
    for (const QString& hint : {QStringLiteral("one"), QStringLiteral("one"), QStringLiteral(" "), QString()})
        SetCurrentHint(hint);
    EXPECT_EQ(hints, (std::vector<QString>{"one", " ", QString()}));
    SetHintLine(nullptr); // no sink: the hint is still kept
    SetCurrentHint(QStringLiteral("two"));
    EXPECT_EQ(CurrentHint(), QStringLiteral("two"));

    QWidget window;
    window.setStatusTip(QStringLiteral("window hint"));
    window.setToolTip(QStringLiteral("never shown"));
    auto* panel = new QWidget(&window);
    panel->setGeometry(0, 0, 100, 100);
    auto* inner = new QWidget(panel);
    inner->setGeometry(10, 10, 30, 30);
    inner->setStatusTip(QStringLiteral("inner hint"));
    window.setGeometry(50, 50, 200, 100);
    ASSERT_TRUE(ShowExposed(window));
    EXPECT_EQ(WidgetHint(nullptr), QString());
    const QPoint places[] = {{20, 20}, {60, 20}, {20, 20}, {5, 80}, {500, 400}}; // the last off every window
    const QStringList hintsThere = {"inner hint", "window hint", "inner hint", "window hint", ""};
    for (int i = 0; i < 5; ++i) {
        QTest::mouseMove(&window, places[i]);
        EXPECT_EQ(HintAfterIdle(), hintsThere[i]) << i;
    }
    QTest::mouseMove(&window, QPoint(5, 80));
    panel->setStatusTip(QStringLiteral("panel hint")); // changed while the pointer rests
    QTest::mouseMove(&window, QPoint(6, 80));
    EXPECT_EQ(HintAfterIdle(), QStringLiteral("panel hint"));

    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), window.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&window, &help);
    QCoreApplication::processEvents();
    for (QWidget* top : QApplication::topLevelWidgets())
        EXPECT_FALSE(top->inherits("QTipLabel") && top->isVisible());

    QMenu menu(&window);
    menu.addAction(QStringLiteral("First"))->setStatusTip(QStringLiteral("first item hint"));
    menu.addAction(QStringLiteral("Second"))->setStatusTip(QStringLiteral("second item hint"));
    QStringList seen;
    QTimer::singleShot(0, [&] {
        QWidget* popup = QApplication::activePopupWidget();
        ASSERT_NE(popup, nullptr);
        QTest::keyClick(popup, Qt::Key_Down);
        seen << HintAfterIdle();
        QTest::keyClick(popup, Qt::Key_Down);
        seen << HintAfterIdle();
        QTest::mouseMove(popup, QPoint(2, 2)); // the pointer over the open menu keeps an item's hint
        seen << HintAfterIdle().left(5);
        QTest::keyClick(popup, Qt::Key_Escape);
    });
    menu.exec(window.mapToGlobal(QPoint(10, 10)));
    EXPECT_TRUE(seen == QStringList({"first item hint", "second item hint", "first"}) ||
                seen == QStringList({"first item hint", "second item hint", "secon"}))
        << seen.join('|').toStdString();
}
