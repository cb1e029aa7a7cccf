#include "windows/focus_target.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace {

struct TFocusTargetState {
    QPointer<QWidget> target;
    bool closeRequested = false;
};

TFocusTargetState& State() {
    static TFocusTargetState state;
    return state;
}

} // namespace

void SetFocusTarget(QWidget* mainWindow) {
    State().target = mainWindow;
    State().closeRequested = false;
}

QWidget* FocusTarget() {
    return State().target;
}

void ReturnFocus() {
    QWidget* target = State().target;
    if (!target || !target->isVisible())
        return;
    // While another program is in front the pointer passing over a box takes nothing from it.
    if (!QApplication::activeWindow())
        return;
    if (!target->isActiveWindow())
        target->activateWindow();
    QWidget* focus = QApplication::focusWidget();
    if (focus != target && !target->isAncestorOf(focus))
        target->setFocus(Qt::OtherFocusReason);
}

void ReturnFocusOnHover() {
    const QWidget* active = QApplication::activeWindow();
    if (active && active != State().target && active->windowType() != Qt::Tool)
        return;
    ReturnFocus();
}

void ReturnFocusAfterDialog() {
    QWidget* target = State().target;
    if (!target || !target->isVisible())
        return;
    target->activateWindow();
    target->setFocus(Qt::OtherFocusReason);
}

void AskFocusTargetToClose() {
    TFocusTargetState& state = State();
    if (!state.target || state.closeRequested)
        return;
    state.closeRequested = true;
    QTimer::singleShot(0, state.target, [] {
        TFocusTargetState& state = State();
        state.closeRequested = false;
        if (state.target)
            state.target->close();
    });
}
