#pragma once

class QWidget;

// The program's main window as the floating boxes and dialogs see it. It takes
// the keyboard focus back after every click and key release in them, so that
// its keys always work, and it is the window whose closing ends the program.
// The main window sets itself here; nullptr (the state at start and after a
// test) means there is none and nothing happens.
void SetFocusTarget(QWidget* mainWindow);
QWidget* FocusTarget();

// Gives the keyboard focus to the focus target, when it is shown, does not
// have it already and a window of the program is active.
void ReturnFocus();

// The same for the pointer passing over a box: only while the focus target or
// a box is the active window, so that it takes nothing from the help window or
// a dialog the user is working in.
void ReturnFocusOnHover();

// After one of the program's own modal dialogs closes: the program was in
// front, so the focus target becomes the active window again, whether or not
// the window system hands activation back by itself.
void ReturnFocusAfterDialog();

// Asks the focus target to close, once the current event has been handled.
// Requests made before it runs are one request.
void AskFocusTargetToClose();
