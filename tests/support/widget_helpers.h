#pragma once

#include <QApplication>
#include <QCloseEvent>
#include <QPoint>
#include <QTest>
#include <QWidget>

class CloseRefusingWindow : public QWidget {
public:
    int closeRequests = 0;

protected:
    void closeEvent(QCloseEvent* event) override {
        ++closeRequests;
        event->ignore();
    }
};

inline bool ShowExposed(QWidget& window) {
    window.show();
    return QTest::qWaitForWindowExposed(&window);
}

inline void LetEventsRun() {
    QTest::qWait(1);
    QCoreApplication::processEvents();
}

inline bool ActivateAndWait(QWidget& window) {
    window.activateWindow();
    return QTest::qWaitFor([&] { return window.isActiveWindow(); }, 2000);
}

inline bool FocusIsBackOn(QWidget& window) {
    return QTest::qWaitFor([&] { return window.isActiveWindow() && QApplication::focusWidget() == &window; },
                           2000);
}

inline void Drag(QWidget* widget, QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mousePress(widget, button, {}, from);
    QTest::mouseMove(widget, to);
    QTest::mouseRelease(widget, button, {}, to);
}
