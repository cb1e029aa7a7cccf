#include "support/widget_helpers.h"

#include <QApplication>
#include <QCloseEvent>
#include <QTest>

void CloseRefusingWindow::closeEvent(QCloseEvent* event) {
    ++closeRequests;
    event->ignore();
}

bool ShowExposed(QWidget& window) {
    window.show();
    return QTest::qWaitForWindowExposed(&window);
}

void LetEventsRun() {
    QTest::qWait(1);
    QCoreApplication::processEvents();
}

bool ActivateAndWait(QWidget& window) {
    window.activateWindow();
    return QTest::qWaitFor([&] { return window.isActiveWindow(); }, 2000);
}

bool FocusIsBackOn(QWidget& window) {
    return QTest::qWaitFor([&] { return window.isActiveWindow() && QApplication::focusWidget() == &window; },
                           2000);
}

void Drag(QWidget* widget, QPoint from, QPoint to, Qt::MouseButton button) {
    QTest::mousePress(widget, button, {}, from);
    QTest::mouseMove(widget, to);
    QTest::mouseRelease(widget, button, {}, to);
}
