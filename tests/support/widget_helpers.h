#pragma once

#include <QPoint>
#include <QWidget>

class QCloseEvent;

class CloseRefusingWindow : public QWidget {
public:
    int closeRequests = 0;

protected:
    void closeEvent(QCloseEvent* event) override;
};

bool ShowExposed(QWidget& window);

void LetEventsRun();

bool ActivateAndWait(QWidget& window);

bool FocusIsBackOn(QWidget& window);

void Drag(QWidget* widget, QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton);
