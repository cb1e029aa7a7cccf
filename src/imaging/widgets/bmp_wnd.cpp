#include "imaging/widgets/bmp_wnd.h"

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
}

void TBmpWnd::mousePressEvent(QMouseEvent* event) { emit MouseDown(event); }

void TBmpWnd::mouseMoveEvent(QMouseEvent* event) { emit MouseMove(event); }

void TBmpWnd::mouseReleaseEvent(QMouseEvent* event) { emit MouseUp(event); }
