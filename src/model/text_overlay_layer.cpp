#include "model/text_overlay_layer.h"

#include "common/ansi_text.h"

#include <QPainter>
#include <algorithm>

bool TTextOverlayLayer::Params::operator==(const Params& other) const {
    return rect == other.rect && shadow == other.shadow && color == other.color && canvas == other.canvas &&
           text == other.text && font == other.font;
}

void TTextOverlayLayer::Update(const Params& params) {
    if (m_valid && params == m_params)
        return;
    m_params = params;
    m_valid = true;
    m_bounds = QRect();
    if (m_layer.size() != params.canvas || m_layer.format() != QImage::Format_ARGB32_Premultiplied)
        m_layer = QImage(params.canvas, QImage::Format_ARGB32_Premultiplied);
    m_layer.fill(Qt::transparent);
    if (params.text.empty() || m_layer.isNull())
        return;

    const QString text = AnsiToQString(params.text);
    QPainter painter(&m_layer);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setFont(params.font);
    QRect drawn;
    auto drawAt = [&](int offset, QRgb color) {
        painter.setPen(QColor::fromRgb(color));
        QRect bounding;
        painter.drawText(params.rect.translated(offset, offset), kOverlayTextFlags, text, &bounding);
        drawn |= bounding;
    };
    if (params.shadow) {
        drawAt(1, qRgb(0, 0, 0));
        drawAt(2, qRgb(0, 0, 0));
    }
    drawAt(0, params.color);
    painter.end();

    // Glyphs may reach a little past their advance box (italics, overhangs).
    const int margin = std::max(4, QFontMetrics(params.font).height() / 2);
    m_bounds = drawn.adjusted(-margin, -margin, margin, margin) & m_layer.rect();
}

void TTextOverlayLayer::Composite(QImage& target, const QRect& area) const {
    if (!m_valid || m_bounds.isEmpty() || target.isNull())
        return;
    const QRect clip = area & m_bounds & target.rect();
    if (clip.isEmpty())
        return;
    if (target.format() != QImage::Format_RGB32 && target.format() != QImage::Format_ARGB32)
        target = target.convertToFormat(QImage::Format_RGB32);
    for (int y = clip.top(); y <= clip.bottom(); ++y) {
        const QRgb* from = reinterpret_cast<const QRgb*>(m_layer.constScanLine(y));
        QRgb* to = reinterpret_cast<QRgb*>(target.scanLine(y));
        for (int x = clip.left(); x <= clip.right(); ++x) {
            const QRgb s = from[x];
            const int alpha = qAlpha(s);
            if (alpha == 0)
                continue;
            if (alpha == 255) {
                to[x] = s;
                continue;
            }
            const QRgb d = to[x];
            const int keep = 255 - alpha;
            to[x] = qRgb(qRed(s) + (qRed(d) * keep + 127) / 255, qGreen(s) + (qGreen(d) * keep + 127) / 255,
                         qBlue(s) + (qBlue(d) * keep + 127) / 255);
        }
    }
}
