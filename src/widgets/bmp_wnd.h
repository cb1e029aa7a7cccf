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

    // A picture drawn over the bitmap with its top-left corner at a point,
    // transparent where its alpha is 0: the drag image of a carried block.
    // Moving or hiding it repaints only the squares it leaves and enters.
    void SetOverlay(const QImage& picture, const QPoint& topLeft);
    void MoveOverlay(const QPoint& topLeft);
    void ShowOverlay(bool shown);
    void ClearOverlay();
    bool OverlayShown() const { return m_overlayShown && !m_overlay.isNull(); }
    QRect OverlayRect() const { return QRect(m_overlayAt, m_overlay.size()); }

signals:
    void MouseDown(QMouseEvent* event);
    void MouseMove(QMouseEvent* event);
    void MouseUp(QMouseEvent* event);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage m_overlay;
    QPoint m_overlayAt;
    bool m_overlayShown = false;
};
