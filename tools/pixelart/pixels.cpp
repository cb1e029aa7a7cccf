#include "pixelart/pixels.h"

#include "pixelart/palette.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace pixelart {

Pixels::Pixels(int width, int height, QRgb fill) : m_image(width, height, QImage::Format_ARGB32) {
    m_image.fill(fill);
}

Pixels::Pixels(const QImage& image) : m_image(image.convertToFormat(QImage::Format_ARGB32)) {}

QRgb Pixels::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width() || y >= height())
        return pal::Clear;
    return reinterpret_cast<const QRgb*>(m_image.constScanLine(y))[x];
}

void Pixels::set(int x, int y, QRgb colour) {
    if (x < 0 || y < 0 || x >= width() || y >= height())
        return;
    reinterpret_cast<QRgb*>(m_image.scanLine(y))[x] = colour;
}

void Pixels::fill(const QRect& r, QRgb colour) {
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            set(x, y, colour);
}

void Pixels::hline(int x0, int x1, int y, QRgb colour) {
    for (int x = x0; x <= x1; ++x)
        set(x, y, colour);
}

void Pixels::vline(int x, int y0, int y1, QRgb colour) {
    for (int y = y0; y <= y1; ++y)
        set(x, y, colour);
}

void Pixels::line(int x0, int y0, int x1, int y1, QRgb colour) {
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        set(x0, y0, colour);
        if (x0 == x1 && y0 == y1)
            break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void Pixels::frame(const QRect& r, QRgb colour) {
    hline(r.left(), r.right(), r.top(), colour);
    hline(r.left(), r.right(), r.bottom(), colour);
    vline(r.left(), r.top(), r.bottom(), colour);
    vline(r.right(), r.top(), r.bottom(), colour);
}

void Pixels::bevel(const QRect& r, QRgb light, QRgb dark) {
    hline(r.left(), r.right(), r.top(), light);
    vline(r.left(), r.top(), r.bottom(), light);
    hline(r.left() + 1, r.right(), r.bottom(), dark);
    vline(r.right(), r.top() + 1, r.bottom(), dark);
}

void Pixels::draw(const Pixels& src, int x, int y) {
    for (int sy = 0; sy < src.height(); ++sy)
        for (int sx = 0; sx < src.width(); ++sx)
            if (src.opaqueAt(sx, sy))
                set(x + sx, y + sy, src.at(sx, sy));
}

void Pixels::drawKeyed(const Pixels& src, int x, int y, QRgb key) {
    for (int sy = 0; sy < src.height(); ++sy)
        for (int sx = 0; sx < src.width(); ++sx)
            if (src.at(sx, sy) != key)
                set(x + sx, y + sy, src.at(sx, sy));
}

void Pixels::replace(QRgb from, QRgb to) {
    for (int y = 0; y < height(); ++y)
        for (int x = 0; x < width(); ++x)
            if (at(x, y) == from)
                set(x, y, to);
}

void Pixels::outline(QRgb colour) {
    const Pixels before(*this);
    for (int y = 0; y < height(); ++y)
        for (int x = 0; x < width(); ++x) {
            if (before.opaqueAt(x, y))
                continue;
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy)
                for (int dx = -1; dx <= 1 && !near; ++dx)
                    near = before.opaqueAt(x + dx, y + dy);
            if (near)
                set(x, y, colour);
        }
}

Pixels Pixels::padded(int n) const {
    Pixels out(width() + 2 * n, height() + 2 * n, pal::Clear);
    out.draw(*this, n, n);
    return out;
}

Pixels Pixels::scaled(int factor) const {
    Pixels out(width() * factor, height() * factor, pal::Clear);
    for (int y = 0; y < height(); ++y)
        for (int x = 0; x < width(); ++x)
            out.fill(QRect(x * factor, y * factor, factor, factor), at(x, y));
    return out;
}

Pixels Pixels::greyed() const {
    Pixels out(*this);
    for (int y = 0; y < height(); ++y)
        for (int x = 0; x < width(); ++x)
            if (opaqueAt(x, y) && at(x, y) != pal::Magenta)
                out.set(x, y, pal::ToGrey(at(x, y)));
    return out;
}

Pixels Sprite(std::initializer_list<const char*> rows, const std::map<char, QRgb>& legend) {
    int width = 0;
    for (const char* row : rows)
        width = std::max<int>(width, int(std::strlen(row)));
    Pixels p(width, int(rows.size()), pal::Clear);
    int y = 0;
    for (const char* row : rows) {
        for (int x = 0; row[x]; ++x) {
            const auto it = legend.find(row[x]);
            if (it != legend.end())
                p.set(x, y, it->second);
        }
        ++y;
    }
    return p;
}

void FillDisc(Pixels& p, int cx2, int cy2, int r2, QRgb colour) {
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x) {
            const int dx = 2 * x + 1 - cx2, dy = 2 * y + 1 - cy2;
            if (dx * dx + dy * dy <= r2 * r2)
                p.set(x, y, colour);
        }
}

} // namespace pixelart
