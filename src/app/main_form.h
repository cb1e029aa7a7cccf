#pragma once

#include <QRect>
#include <QSize>
#include <QWidget>

class TBmpWnd;

// The main window's place on a screen of that size: at most 1024 x 768,
// centred, halves truncated towards zero.
QRect MainWindowGeometry(const QSize& screen);

// The borderless black main window; its whole client area is the drawing
// surface BaseBmp that shows the model image.
class TMainForm : public QWidget {
    Q_OBJECT
public:
    // screen: the size to place the window on; empty means the primary screen's.
    explicit TMainForm(const QSize& screen = QSize(), QWidget* parent = nullptr);
    ~TMainForm() override;

    TBmpWnd* BaseBmp = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormCreate(const QSize& screen);
    void BaseBmpResize();
};
