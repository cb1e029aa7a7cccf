#include "common/ansi_text.h"
#include "imaging/bitmap.h"
#include "library/background.h"
#include "library/block_list.h"
#include "model/model.h"
#include "model/model_render_cache.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace {

constexpr TColor kGridColor = RGBColor(0, 128, 0);
constexpr int kDefaultPixelHeight = 13;
constexpr size_t kMaxFontNameLength = 255;

// Pixels from the cell coordinate, kept in a range where nothing overflows.
int CellToPixel(int32_t cell) {
    return static_cast<int>(std::clamp<int64_t>(int64_t{cell} * kCellSize, -1000000, 1000000));
}

// A line from (x, y) across to (toX, y), the end point itself not drawn.
void HorizontalLine(QImage& bitmap, int x, int toX, int y, QRgb color) {
    if (y < 0 || y >= bitmap.height() || x == toX)
        return;
    int from = x < toX ? x : toX + 1;
    int to = x < toX ? toX - 1 : x;
    from = std::max(from, 0);
    to = std::min(to, bitmap.width() - 1);
    QRgb* line = reinterpret_cast<QRgb*>(bitmap.scanLine(y));
    for (int i = from; i <= to; ++i)
        line[i] = color;
}

// A line from (x, y) down to (x, toY), the end point itself not drawn.
void VerticalLine(QImage& bitmap, int x, int y, int toY, QRgb color) {
    if (x < 0 || x >= bitmap.width() || y == toY)
        return;
    int from = y < toY ? y : toY + 1;
    int to = y < toY ? toY - 1 : y;
    from = std::max(from, 0);
    to = std::min(to, bitmap.height() - 1);
    if (from > to)
        return;
    const qsizetype stride = bitmap.bytesPerLine();
    uchar* column = bitmap.bits() + qsizetype{x} * 4;
    for (int i = from; i <= to; ++i)
        reinterpret_cast<QRgb*>(column + i * stride)[0] = color;
}

QFont MakeFont(const TModel::TFontRecord& record) {
    QFont font(AnsiToQString(record.FontName.substr(0, kMaxFontNameLength)));
    font.setStyleStrategy(QFont::NoAntialias);
    font.setBold((record.FontStyle & fsBold) != 0);
    font.setItalic((record.FontStyle & fsItalic) != 0);
    font.setUnderline((record.FontStyle & fsUnderline) != 0);
    font.setStrikeOut((record.FontStyle & fsStrikeOut) != 0);
    if (record.FontHeight < 0) {
        font.setPixelSize(static_cast<int>(std::min<int64_t>(-int64_t{record.FontHeight}, 1000)));
    } else if (record.FontHeight > 0) {
        // A positive height is the height of the character cell, leading included.
        const int cell = std::min(record.FontHeight, 1000);
        font.setPixelSize(cell);
        const QFontMetrics metrics(font);
        const int full = metrics.ascent() + metrics.descent();
        if (full > 0)
            font.setPixelSize(std::max(1, cell * cell / full));
    } else {
        font.setPixelSize(kDefaultPixelHeight);
    }
    return font;
}

} // namespace

void TModel::DrawStack(TCanvas& canvas, int32_t x, int32_t y) const {
    const TBlockList* list = m_context.Library;
    if (!list)
        return;
    int32_t stack[kMaxLevels];
    int32_t count = 0;
    for (int32_t level = 0; level < Levels && level < kMaxLevels; ++level) {
        const int32_t index = GetBlockIndex(x, y, level);
        if (index == -1)
            break;
        stack[count++] = index;
    }
    if (count > 0 && canvas.Bitmap)
        list->StackedBlockDraw(*canvas.Bitmap, x * kCellSize, y * kCellSize, stack, count);
}

void TModel::Draw(TCanvas& canvas) {
    if (!canvas.Bitmap)
        return;
    m_background.Draw(canvas);
    if (m_context.Library) {
        for (int32_t y = 0; y < Rows; ++y)
            for (int32_t x = 0; x < Cols; ++x)
                DrawStack(canvas, x, y);
    }

    TModelRenderCache& cache = *m_render;
    const TFontRecord& font = TextOverlay.Font;
    if (!cache.fontValid || cache.fontName != font.FontName || cache.fontHeight != font.FontHeight ||
        cache.fontStyle != font.FontStyle) {
        cache.font = MakeFont(font);
        cache.fontName = font.FontName;
        cache.fontHeight = font.FontHeight;
        cache.fontStyle = font.FontStyle;
        cache.fontValid = true;
    }
    canvas.Font = cache.font;
    canvas.FontColor = font.FontColor;

    DrawTextOverlay(canvas);

    if (m_context.Defaults.GridVisible) {
        canvas.PenColor = kGridColor;
        QImage& bitmap = *canvas.Bitmap;
        MakeDirectTarget(bitmap);
        const QRgb pen = ColorToRgb(canvas.PenColor);
        for (int32_t i = 1; i < Cols; ++i)
            VerticalLine(bitmap, i * kCellSize - 1, 0, (Rows + 1) * kCellSize - 1, pen);
        for (int32_t j = 1; j <= Rows; ++j)
            HorizontalLine(bitmap, 0, (Cols + 1) * kCellSize - 1, j * kCellSize - 1, pen);
    }
}

void TModel::DrawCell(TCanvas& canvas, int32_t x, int32_t y) {
    if (!canvas.Bitmap)
        return;
    m_background.DrawCell(canvas, x, y);
    DrawStack(canvas, x, y);

    // The overlay is kept rendered, so putting back its part over this cell
    // leaves the text whole exactly as drawing all of it again would.
    const QRect cell(CellToPixel(x), CellToPixel(y), kCellSize, kCellSize);
    if (!TextOverlay.Text.empty()) {
        DrawTextOverlay(canvas, cell);
    }

    if (m_context.Defaults.GridVisible) {
        QImage& bitmap = *canvas.Bitmap;
        MakeDirectTarget(bitmap);
        const QRgb pen = ColorToRgb(canvas.PenColor);
        const int right = cell.left() + kCellSize - 1;
        const int bottom = cell.top() + kCellSize - 1;
        // The same lines the whole grid has in this cell: its right edge (none
        // right of the last column) and its whole bottom edge.
        if (x < Cols - 1)
            VerticalLine(bitmap, right, cell.top(), bottom, pen);
        HorizontalLine(bitmap, right, cell.left() - 1, bottom, pen);
    }
}

void TModel::DrawTextOverlay(TCanvas& canvas) {
    DrawTextOverlay(canvas, QRect());
}

void TModel::DrawTextOverlay(TCanvas& canvas, const QRect& area) {
    if (TextOverlay.Text.empty() || !canvas.Bitmap)
        return;
    if (TextOverlay.Shadow != 0)
        TextOverlay.Shadow = 2;
    const QSize& window = m_context.WindowSize;
    const int left = CellToPixel(TextOverlay.TextCol);
    const int top = CellToPixel(TextOverlay.TextRow);

    TTextOverlayLayer::Params params;
    params.text = TextOverlay.Text;
    // The text wraps at the main window's right side; nothing clips it.
    params.rect = QRect(left, top, std::max(1, window.width() - left), std::max(1, window.height() - top));
    params.shadow = TextOverlay.Shadow != 0;
    params.font = canvas.Font;
    params.color = ColorToRgb(TextOverlay.Font.FontColor);
    params.canvas = canvas.Bitmap->size();

    TTextOverlayLayer& layer = m_render->overlay;
    layer.Update(params);
    layer.Composite(*canvas.Bitmap, area.isNull() ? layer.Bounds() : area);
}

void TModel::DrawSampleText(TCanvas& canvas) {
    if (!canvas.Bitmap)
        return;
    const QString sample = QStringLiteral("Sample Text");
    constexpr int flags = kOverlayTextFlags | Qt::AlignHCenter;
    const QRect rect(0, 50, 160, 70); // (0, 50) to (160, 120)
    QPainter painter(canvas.Bitmap);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setFont(canvas.Font);
    if (TextOverlay.Shadow != 0) {
        TextOverlay.Shadow = 2;
        painter.setPen(QColor(0, 0, 0));
        painter.drawText(rect.translated(1, 1), flags, sample);
        painter.drawText(rect.translated(2, 2), flags, sample);
    }
    painter.setPen(ColorToQColor(TextOverlay.Font.FontColor));
    painter.drawText(rect, flags, sample);
}

void TModel::DrawPreview(TCanvas& canvas) {
    if (!canvas.Bitmap)
        return;
    m_background.Draw(canvas);
    DrawSampleText(canvas);
}
