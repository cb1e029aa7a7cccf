#include "pixel_art.h"

#include <algorithm>
#include <cmath>

namespace art {

const Ramp kWood{Plum, Umber, Brown, Tan, Peach};
const Ramp kBrick{Plum, Umber, Red, Rose, Peach};
const Ramp kStone{Night, Ash, Grey, Silver, Ice};
const Ramp kMetal{Night, Iron, Silver, Ice, White};
const Ramp kLeaf{Slate, Moss, Green, Lime, Lime};
const Ramp kPine{Slate, Slate, Teal, Green, Lime};
const Ramp kWater{Indigo, Ocean, Sky, Cyan, Ice};
const Ramp kBlue{Night, Indigo, Blue, Sky, Ice};
const Ramp kSkin{Umber, Brown, Tan, Peach, White};
const Ramp kGold{Umber, Ochre, Orange, Yellow, White};
const Ramp kRedR{Plum, Red, Rose, Pink, Peach};
const Ramp kPurpleR{Night, Indigo, Purple, Pink, Ice};
const Ramp kSand{Brown, Ochre, Tan, Peach, White};
const Ramp kSnow{Grey, Silver, Ice, White, White};
const Ramp kFernR{Olive, Moss, Fern, Lime, Lime};
const Ramp kOrangeR{Umber, Brown, Orange, Yellow, White};
const Ramp kDark{Night, Slate, Ash, Iron, Grey};
const Ramp kPinkR{Plum, Rose, Pink, Peach, White};
const Ramp kTealR{Slate, Ocean, Teal, Green, Lime};
const Ramp kNight{Night, Night, Indigo, Ocean, Blue};

Mask Mask::Full() {
    Mask m;
    m.m_bits.fill(1);
    return m;
}

Mask Mask::Chequer(int phase) {
    Mask m;
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x)
            if ((x + y + phase) % 2 == 0)
                m.set(x, y);
    return m;
}

int Mask::count() const {
    return static_cast<int>(std::count(m_bits.begin(), m_bits.end(), 1));
}

Mask& Mask::rect(int x, int y, int w, int h, bool on) {
    for (int yy = y; yy < y + h; ++yy)
        for (int xx = x; xx < x + w; ++xx)
            set(xx, yy, on);
    return *this;
}

Mask& Mask::ellipse(double cx, double cy, double rx, double ry, bool on) {
    if (rx <= 0 || ry <= 0)
        return *this;
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
            const double dx = (x - cx) / rx;
            const double dy = (y - cy) / ry;
            if (dx * dx + dy * dy <= 1.0)
                set(x, y, on);
        }
    return *this;
}

Mask& Mask::poly(std::initializer_list<std::pair<double, double>> points, bool on) {
    return poly(std::vector<std::pair<double, double>>(points), on);
}

Mask& Mask::poly(const std::vector<std::pair<double, double>>& pts, bool on) {
    const size_t n = pts.size();
    if (n < 3)
        return *this;
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
            const double px = x + 0.5;
            const double py = y + 0.5;
            bool inside = false;
            for (size_t i = 0, j = n - 1; i < n; j = i++) {
                const auto [xi, yi] = pts[i];
                const auto [xj, yj] = pts[j];
                if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi)
                    inside = !inside;
            }
            if (inside)
                set(x, y, on);
        }
    return *this;
}

Mask& Mask::line(double x0, double y0, double x1, double y1, double thick, bool on) {
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    const double len2 = dx * dx + dy * dy;
    const double r = thick / 2.0;
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
            double t = len2 > 0 ? ((x - x0) * dx + (y - y0) * dy) / len2 : 0.0;
            t = std::clamp(t, 0.0, 1.0);
            const double ex = x0 + t * dx - x;
            const double ey = y0 + t * dy - y;
            if (ex * ex + ey * ey <= r * r + 0.25)
                set(x, y, on);
        }
    return *this;
}

Mask Mask::operator|(const Mask& o) const {
    Mask r;
    for (size_t i = 0; i < m_bits.size(); ++i)
        r.m_bits[i] = m_bits[i] | o.m_bits[i];
    return r;
}

Mask Mask::operator&(const Mask& o) const {
    Mask r;
    for (size_t i = 0; i < m_bits.size(); ++i)
        r.m_bits[i] = m_bits[i] & o.m_bits[i];
    return r;
}

Mask Mask::operator-(const Mask& o) const {
    Mask r;
    for (size_t i = 0; i < m_bits.size(); ++i)
        r.m_bits[i] = m_bits[i] & !o.m_bits[i];
    return r;
}

Mask Mask::operator~() const {
    Mask r;
    for (size_t i = 0; i < m_bits.size(); ++i)
        r.m_bits[i] = !m_bits[i];
    return r;
}

Mask Mask::turned(int quarters) const {
    quarters = ((quarters % 4) + 4) % 4;
    Mask r = *this;
    for (int q = 0; q < quarters; ++q) {
        Mask t;
        // Clockwise: (x, y) goes to (31 - y, x).
        for (int y = 0; y < kCell; ++y)
            for (int x = 0; x < kCell; ++x)
                if (r.at(x, y))
                    t.set(kCell - 1 - y, x);
        r = t;
    }
    return r;
}

Mask Mask::flippedX() const {
    Mask r;
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x)
            if (at(x, y))
                r.set(kCell - 1 - x, y);
    return r;
}

Mask Mask::shifted(int dx, int dy) const {
    Mask r;
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x)
            if (at(x, y))
                r.set(x + dx, y + dy);
    return r;
}

Mask Mask::border(bool openEdges) const {
    auto inside = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= kCell || y >= kCell)
            return openEdges;
        return at(x, y);
    };
    Mask r;
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x)
            if (at(x, y) &&
                (!inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1)))
                r.set(x, y);
    return r;
}

Mask Mask::grown() const {
    Mask r = *this;
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x)
            if (at(x - 1, y) || at(x + 1, y) || at(x, y - 1) || at(x, y + 1))
                r.set(x, y);
    return r;
}

Pixels NewPic(QRgb fill) {
    return Pixels(kCell, kCell, fill);
}

Pixels NewPicPal(int pal) {
    return NewPic(Rgb(pal));
}

void Put(Pixels& pic, int x, int y, int pal) {
    pic.set(x, y, Rgb(pal));
}

int Get(const Pixels& pic, int x, int y) {
    return pic.rect().contains(x, y) ? IndexOf(pic.at(x, y)) : -1;
}

void Fill(Pixels& pic, const Mask& mask, int pal) {
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x)
            if (mask.at(x, y))
                Put(pic, x, y, pal);
}

void HLine(Pixels& pic, int x0, int x1, int y, int pal) {
    pic.hline(std::min(x0, x1), std::max(x0, x1), y, Rgb(pal));
}

void VLine(Pixels& pic, int x, int y0, int y1, int pal) {
    pic.vline(x, std::min(y0, y1), std::max(y0, y1), Rgb(pal));
}

void Box(Pixels& pic, int x, int y, int w, int h, int pal) {
    pic.fill(QRect(x, y, w, h), Rgb(pal));
}

void Dither(Pixels& pic, const Mask& mask, int pal, int phase) {
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x)
            if (mask.at(x, y) && ((x + y + phase) & 1) == 0)
                Put(pic, x, y, pal);
}

void Over(Pixels& dst, const Pixels& src) {
    dst.drawKeyed(src, 0, 0, kMagenta);
}

void Shade(Pixels& pic, const Mask& mask, const Ramp& ramp, ShadeStyle style) {
    Mask inner = mask;
    if (style.outline) {
        const Mask edge = mask.border(style.openEdges);
        Fill(pic, edge, ramp.outline);
        inner = mask - edge;
    }
    if (style.fill)
        Fill(pic, inner, ramp.mid);
    if (!style.light)
        return;
    auto in = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= kCell || y >= kCell)
            return style.openEdges;
        return inner.at(x, y);
    };
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
            if (!inner.at(x, y))
                continue;
            const bool lit = !in(x, y - 1) || !in(x - 1, y);
            const bool shaded = !in(x, y + 1) || !in(x + 1, y);
            if (lit && !shaded)
                Put(pic, x, y, ramp.light);
            else if (shaded && !lit)
                Put(pic, x, y, ramp.dark);
        }
}

void ShadeFlat(Pixels& pic, const Mask& mask, const Ramp& ramp) {
    Shade(pic, mask, ramp, ShadeStyle{false, false, true, true});
}

void Outline(Pixels& pic, const Mask& mask, int pal, bool openEdges) {
    Fill(pic, mask.border(openEdges), pal);
}

uint32_t Hash(int x, int y, int seed) {
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
                 static_cast<uint32_t>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return h;
}

double Noise(int x, int y, int seed) {
    return (Hash(x, y, seed) & 0xFFFFFF) / double(0x1000000);
}

Mask Opaque(const Pixels& pic) {
    Mask m;
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x)
            if ((pic.at(x, y) | 0xFF000000) != kMagenta)
                m.set(x, y);
    return m;
}

Pixels TurnPixels(const Pixels& pic, int quarters) {
    quarters = ((quarters % 4) + 4) % 4;
    Pixels r = pic;
    for (int q = 0; q < quarters; ++q) {
        Pixels t = NewPic();
        for (int y = 0; y < kCell; ++y)
            for (int x = 0; x < kCell; ++x)
                t.set(kCell - 1 - y, x, r.at(x, y));
        r = t;
    }
    return r;
}

} // namespace art
