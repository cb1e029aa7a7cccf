#include "pixel_art.h"

#include <algorithm>
#include <cmath>

namespace art {

namespace {

constexpr std::array<QRgb, kPaletteSize> kPalette = {
    0xFF000000, 0xFF222034, 0xFF45283C, 0xFF663931, 0xFF8F563B, 0xFFDF7126, 0xFFD9A066, 0xFFEEC39A,
    0xFFFBF236, 0xFF99E550, 0xFF6ABE30, 0xFF37946E, 0xFF4B692F, 0xFF524B24, 0xFF323C39, 0xFF3F3F74,
    0xFF306082, 0xFF5B6EE1, 0xFF639BFF, 0xFF5FCDE4, 0xFFCBDBFC, 0xFFFFFFFF, 0xFF9BADB7, 0xFF847E87,
    0xFF696A6A, 0xFF595652, 0xFF76428A, 0xFFAC3232, 0xFFD95763, 0xFFD77BBA, 0xFF8F974A, 0xFF8A6F30,
};

} // namespace

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

QRgb Rgb(int pal) {
    return kPalette[static_cast<size_t>(pal)];
}

bool InPalette(QRgb rgb) {
    const QRgb opaque = rgb | 0xFF000000;
    return std::find(kPalette.begin(), kPalette.end(), opaque) != kPalette.end();
}

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

QImage NewPic(QRgb fill) {
    QImage pic(kCell, kCell, QImage::Format_RGB32);
    pic.fill(fill);
    return pic;
}

QImage NewPicPal(int pal) {
    return NewPic(Rgb(pal));
}

void Put(QImage& pic, int x, int y, int pal) {
    if (x >= 0 && y >= 0 && x < pic.width() && y < pic.height())
        pic.setPixel(x, y, Rgb(pal));
}

int Get(const QImage& pic, int x, int y) {
    if (x < 0 || y < 0 || x >= pic.width() || y >= pic.height())
        return -1;
    const QRgb c = pic.pixel(x, y) | 0xFF000000;
    for (int i = 0; i < kPaletteSize; ++i)
        if (kPalette[static_cast<size_t>(i)] == c)
            return i;
    return -1;
}

void Fill(QImage& pic, const Mask& mask, int pal) {
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x)
            if (mask.at(x, y))
                Put(pic, x, y, pal);
}

void HLine(QImage& pic, int x0, int x1, int y, int pal) {
    for (int x = std::min(x0, x1); x <= std::max(x0, x1); ++x)
        Put(pic, x, y, pal);
}

void VLine(QImage& pic, int x, int y0, int y1, int pal) {
    for (int y = std::min(y0, y1); y <= std::max(y0, y1); ++y)
        Put(pic, x, y, pal);
}

void Box(QImage& pic, int x, int y, int w, int h, int pal) {
    for (int yy = y; yy < y + h; ++yy)
        for (int xx = x; xx < x + w; ++xx)
            Put(pic, xx, yy, pal);
}

void Dither(QImage& pic, const Mask& mask, int pal, int phase) {
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x)
            if (mask.at(x, y) && ((x + y + phase) & 1) == 0)
                Put(pic, x, y, pal);
}

void Over(QImage& dst, const QImage& src) {
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
            const QRgb c = src.pixel(x, y) | 0xFF000000;
            if (c != kMagenta)
                dst.setPixel(x, y, c);
        }
}

void Shade(QImage& pic, const Mask& mask, const Ramp& ramp, ShadeStyle style) {
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

void ShadeFlat(QImage& pic, const Mask& mask, const Ramp& ramp) {
    Shade(pic, mask, ramp, ShadeStyle{false, false, true, true});
}

void Outline(QImage& pic, const Mask& mask, int pal, bool openEdges) {
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

Mask Opaque(const QImage& pic) {
    Mask m;
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x)
            if ((pic.pixel(x, y) | 0xFF000000) != kMagenta)
                m.set(x, y);
    return m;
}

QImage TurnPixels(const QImage& pic, int quarters) {
    quarters = ((quarters % 4) + 4) % 4;
    QImage r = pic;
    for (int q = 0; q < quarters; ++q) {
        QImage t = NewPic();
        for (int y = 0; y < kCell; ++y)
            for (int x = 0; x < kCell; ++x)
                t.setPixel(kCell - 1 - y, x, r.pixel(x, y));
        r = t;
    }
    return r;
}

} // namespace art
