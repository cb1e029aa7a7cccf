#pragma once

// Small helpers for tests on real widgets: showing and activating windows,
// letting the event loop run, dragging with the mouse.

#include <QPoint>
#include <QWidget>

class QCloseEvent;

// A stand-in for the main window: it counts the requests to close it and
// refuses them.
class CloseRefusingWindow : public QWidget {
public:
    int closeRequests = 0;

protected:
    void closeEvent(QCloseEvent* event) override;
};

// Shows the window and waits until it is exposed; false if it never is.
bool ShowExposed(QWidget& window);

// Lets the event loop run once: posted events are handled and the program
// becomes idle.
void LetEventsRun();

// Activates the window and waits (up to 2 s) until it is the active one.
bool ActivateAndWait(QWidget& window);

// Waits (up to 2 s) until the window is active and has the keyboard focus.
bool FocusIsBackOn(QWidget& window);

// Presses the button at from, moves to to and releases it there.
void Drag(QWidget* widget, QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton);
