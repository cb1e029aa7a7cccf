#pragma once

#include <QWidget>

class QLabel;
class QTimer;
class TTitlebar;

// The window on screen while the program starts: the splash picture with the
// version and "Loading, please wait..." over it, borderless and black, centred
// on the screen. It is made and shown before every other window; its timer
// hides it once the message loop runs, at most about a second after the main
// window shows. While it shows, the program-wide pointer is the hourglass.
class TSplashForm : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* VersionText = "2.00";

    explicit TSplashForm(QWidget* parent = nullptr);
    ~TSplashForm() override;

    // Shows the window and paints it at once, before the message loop runs.
    void ShowAndPaint();

    QLabel* SplashImage = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Version = nullptr;
    QLabel* Label5 = nullptr;
    QTimer* Timer1 = nullptr;
    TTitlebar* Titlebar1 = nullptr; // not visible: the window shows no title bar

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void Timer1Timer();
    void ReleaseWaitCursor();

    bool m_waitCursorSet = false;
};
