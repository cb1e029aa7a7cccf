#include "widgets/bmp_wnd.h"

#include "imaging/bitmap.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

TBmpWnd::TBmpWnd(QWidget* owner) : QWidget(owner), Canvas(&Bitmap) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    resize(32, 32);
    Bitmap = NewBitmap(32, 32);
}

void TBmpWnd::RepaintRect(const QRect& rect) { repaint(rect); }

void TBmpWnd::SetOverlay(const QImage& picture, const QPoint& topLeft) {
    const QRect before = OverlayShown() ? OverlayRect() : QRect();
    m_overlay = picture;
    m_overlayAt = topLeft;
    m_overlayShown = true;
    repaint(QRegion(before).united(OverlayRect()));
}

void TBmpWnd::MoveOverlay(const QPoint& topLeft) {
    if (topLeft == m_overlayAt)
        return;
    const QRect before = OverlayRect();
    m_overlayAt = topLeft;
    if (OverlayShown())
        repaint(QRegion(before).united(OverlayRect()));
}

void TBmpWnd::ShowOverlay(bool shown) {
    if (shown == m_overlayShown)
        return;
    m_overlayShown = shown;
    if (!m_overlay.isNull())
        repaint(OverlayRect());
}

void TBmpWnd::ClearOverlay() {
    const QRect before = OverlayShown() ? OverlayRect() : QRect();
    m_overlay = QImage();
    m_overlayShown = false;
    if (!before.isEmpty())
        repaint(before);
}

void TBmpWnd::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect area = event->rect();
    const QRect covered = area.intersected(QRect(QPoint(0, 0), Bitmap.size()));
    if (!covered.isEmpty())
        painter.drawImage(covered.topLeft(), Bitmap, covered);
    // What the bitmap does not cover shows the black background.
    const QRegion rest = QRegion(area).subtracted(QRegion(covered));
    for (const QRect& r : rest)
        painter.fillRect(r, Qt::black);
    if (OverlayShown() && area.intersects(OverlayRect()))
        painter.drawImage(m_overlayAt, m_overlay);
}

void TBmpWnd::mousePressEvent(QMouseEvent* event) { emit MouseDown(event); }

void TBmpWnd::mouseMoveEvent(QMouseEvent* event) { emit MouseMove(event); }

void TBmpWnd::mouseReleaseEvent(QMouseEvent* event) { emit MouseUp(event); }
