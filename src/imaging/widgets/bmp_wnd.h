#pragma once

#include "imaging/canvas.h"

#include <QImage>
#include <QWidget>

class QMouseEvent;

// The drawing surface: shows its Bitmap unscaled at (0, 0) over a black
// background, and hands its mouse events on to whoever edits on it.
class TBmpWnd : public QWidget {
    Q_OBJECT
public:
    explicit TBmpWnd(QWidget* owner = nullptr);

    // What the control shows; its size is set by the owner, not by the control's size.
    QImage Bitmap;
    // Drawing state that stays with Bitmap between draws.
    TCanvas Canvas;

    // Paints the square of the surface at once (no background erase).
    void RepaintRect(const QRect& rect);

signals:
    void MouseDown(QMouseEvent* event);
    void MouseMove(QMouseEvent* event);
    void MouseUp(QMouseEvent* event);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};
