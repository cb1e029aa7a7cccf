#include "backgrounds.h"

#include "pixel_art.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace art {

namespace {

constexpr double kPi = 3.14159265358979;

struct Rgbf {
    double r, g, b;
};

Rgbf Hex(uint32_t v) {
    return {double((v >> 16) & 255), double((v >> 8) & 255), double(v & 255)};
}

Rgbf Mix(Rgbf a, Rgbf b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgbf Scale(Rgbf a, double k) {
    return {a.r * k, a.g * k, a.b * k};
}

QRgb ToRgb(Rgbf c) {
    auto ch = [](double v) { return static_cast<int>(std::lround(std::clamp(v, 0.0, 255.0))); };
    return qRgb(ch(c.r), ch(c.g), ch(c.b));
}

double Smooth(double e0, double e1, double x) {
    const double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// A gradient through several stops (position 0 to 1, colour).
Rgbf Ramp(const std::vector<std::pair<double, Rgbf>>& stops, double t) {
    if (t <= stops.front().first)
        return stops.front().second;
    for (size_t i = 1; i < stops.size(); ++i)
        if (t <= stops[i].first)
            return Mix(stops[i - 1].second, stops[i].second,
                       (t - stops[i - 1].first) / (stops[i].first - stops[i - 1].first));
    return stops.back().second;
}

// Smooth noise on a lattice that wraps every `period` cells in both directions.
double ValueNoise(double x, double y, int periodX, int periodY, int seed) {
    const int xi = static_cast<int>(std::floor(x));
    const int yi = static_cast<int>(std::floor(y));
    const double fx = x - xi;
    const double fy = y - yi;
    auto v = [&](int i, int j) {
        const int wx = ((i % periodX) + periodX) % periodX;
        const int wy = ((j % periodY) + periodY) % periodY;
        return Noise(wx, wy, seed);
    };
    const double sx = fx * fx * (3 - 2 * fx);
    const double sy = fy * fy * (3 - 2 * fy);
    const double a = v(xi, yi) + (v(xi + 1, yi) - v(xi, yi)) * sx;
    const double b = v(xi, yi + 1) + (v(xi + 1, yi + 1) - v(xi, yi + 1)) * sx;
    return a + (b - a) * sy;
}

// Fractal noise over an image of w x h pixels that repeats at its edges; the
// first octave has `cells` lattice cells across the width.
double Fbm(double px, double py, int w, int h, int cells, int seed, int octaves = 5) {
    double sum = 0;
    double amp = 0.5;
    double norm = 0;
    int c = cells;
    for (int o = 0; o < octaves; ++o) {
        const int cy = std::max(1, c * h / w);
        sum += amp * ValueNoise(px * c / w, py * cy / h, c, cy, seed + o * 101);
        norm += amp;
        amp *= 0.5;
        c *= 2;
    }
    return sum / norm;
}

// A ridge line that repeats across a strip of width w.
double Ridge(double x, int w, int cells, int seed, int octaves = 4) {
    return Fbm(x, 0.5, w, w, cells, seed, octaves);
}

QImage Make(int w, int h, const std::function<Rgbf(int, int)>& f) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = ToRgb(f(x, y));
    }
    return img;
}

// Distance from (x, y) to (cx, cy) on a strip that wraps every w pixels across.
double WrapDist(double x, double y, double cx, double cy, int w, int h = 0) {
    double dx = std::fabs(x - cx);
    dx = std::min(dx, w - dx);
    double dy = std::fabs(y - cy);
    if (h > 0)
        dy = std::min(dy, h - dy);
    return std::sqrt(dx * dx + dy * dy);
}

double Star(int x, int y, int seed, double density) {
    const double n = Noise(x, y, seed);
    if (n > density)
        return 0;
    return 0.35 + 0.65 * Noise(x, y, seed + 1);
}

Rgbf Moon(Rgbf c, double x, double y, double cx, double cy, double r, int w, Rgbf body, Rgbf lit,
          bool* inside) {
    const double d = WrapDist(x, y, cx, cy, w);
    *inside = d <= r;
    if (d <= r) {
        double dx = x - cx;
        if (dx > w / 2.0)
            dx -= w;
        if (dx < -w / 2.0)
            dx += w;
        const double nx = dx / r;
        const double ny = (y - cy) / r;
        const double shade = std::clamp(0.6 - 0.8 * (nx + ny) * 0.5, 0.0, 1.0);
        return Mix(body, lit, shade);
    }
    // A faint glow.
    return Mix(c, lit, 0.25 * std::exp(-(d - r) / (r * 0.35)));
}

QImage AlienLandscape1() {
    const int w = 256;
    const int h = 768;
    return Make(w, h, [&](int x, int y) {
        const Rgbf sky =
            Ramp({{0.0, Hex(0x12082A)}, {0.38, Hex(0x3B1660)}, {0.62, Hex(0x8A3A8A)}, {0.72, Hex(0xE0789A)}},
                 y / double(h));
        Rgbf c = sky;
        const double s = Star(x, y, 201, 0.004 * (1 - y / 520.0));
        if (y < 480 && s > 0)
            c = Mix(c, Hex(0xFFF0FF), s);
        bool in = false;
        c = Moon(c, x, y, 70, 130, 26, w, Hex(0x3AA88A), Hex(0xB8FFE0), &in);
        if (!in)
            c = Moon(c, x, y, 200, 260, 11, w, Hex(0xA04020), Hex(0xFFC080), &in);
        // Far mountains, then spires, then the plain.
        const double far = 470 - 90 * Ridge(x, w, 4, 203);
        if (y > far)
            c = Mix(Hex(0x5A2A78), Hex(0x8A4A98), 0.4 * (1 - (y - far) / 120));
        const double spike = std::pow(std::fabs(std::sin(x * kPi * 3 / w)), 6) * 110;
        const double near = 585 - 60 * Ridge(x, w, 8, 205) - spike;
        if (y > near)
            c = Mix(Hex(0x2A1244), Hex(0x40205E), Smooth(near, near + 6, y) * 0.3 + 0.2 * (x % 7 == 0));
        const double ground = 640 + 8 * std::sin(x * 2 * kPi / w);
        if (y > ground) {
            c = Mix(Hex(0x2E7A70), Hex(0x0E3038), (y - ground) / (h - ground));
            const double n = Fbm(x, y, w, w, 16, 207, 3);
            c = Scale(c, 0.85 + 0.3 * n);
            // Craters.
            for (auto [cx, cy, r] :
                 {std::tuple{60.0, 700.0, 26.0}, {180.0, 670.0, 14.0}, {140.0, 745.0, 20.0}}) {
                const double d = WrapDist(x, (y - cy) * 2.2 + cy, cx, cy, w);
                if (d < r)
                    c = Scale(c, 0.7 + 0.3 * (d / r));
                else if (d < r + 3)
                    c = Mix(c, Hex(0x80E0C8), 0.5);
            }
        }
        return c;
    });
}

QImage AlienLandscape2() {
    const int w = 256;
    const int h = 768;
    return Make(w, h, [&](int x, int y) {
        Rgbf c =
            Ramp({{0.0, Hex(0x062A24)}, {0.35, Hex(0x1E7A5A)}, {0.6, Hex(0x8FD07A)}, {0.7, Hex(0xF4E890)}},
                 y / double(h));
        // A big orange sun low in the sky.
        const double d = WrapDist(x, y, 128, 430, w);
        if (d < 64)
            c = Mix(Hex(0xF08020), Hex(0xFFD060), (430 - y) / 120.0 + 0.3);
        else
            c = Mix(c, Hex(0xFFB040), 0.5 * std::exp(-(d - 64) / 30));
        // Clouds in bands.
        const double cloud = Fbm(x, y * 3, w, w * 3, 4, 211, 4);
        if (y < 420)
            c = Mix(c, Hex(0xC8F0D8), Smooth(0.58, 0.75, cloud) * 0.6);
        // Crystal mountains: sharp peaks with a lit and a shaded face.
        const int period = 64;
        const double local = std::fmod(x + 0.5, period);
        const double peakH = 150 + 90 * Noise(static_cast<int>(x / period), 0, 213);
        const double top = 560 - peakH * (1 - std::fabs(local - period / 2.0) / (period / 2.0));
        if (y > top)
            c = local < period / 2.0 ? Hex(0x9A6AD0) : Hex(0x5A3A90);
        const double top2 = 600 - 70 * Ridge(x, w, 6, 215);
        if (y > top2)
            c = Mix(Hex(0x3A2A70), Hex(0x6A4AA0), (x % 16) < 8 ? 0.3 : 0.0);
        const double ground = 630;
        if (y > ground) {
            c = Mix(Hex(0xD0703A), Hex(0x702818), (y - ground) / (h - ground));
            const double ripple = std::sin((x + 20 * Fbm(x, y, w, w, 8, 217, 2)) * 2 * kPi / 32 + y * 0.35);
            c = Scale(c, 0.92 + 0.1 * ripple);
        }
        return c;
    });
}

QImage Rainbow(double saturation, double value, double pale) {
    const int w = 64;
    const int h = 768;
    return Make(w, h, [&](int, int y) {
        const double hue = std::clamp((y - 40) / double(h - 80), 0.0, 1.0) * 280.0;
        QColor q = QColor::fromHsvF(hue / 360.0, saturation, value);
        Rgbf c{q.redF() * 255, q.greenF() * 255, q.blueF() * 255};
        return Mix(c, Hex(0xFFFFFF), pale);
    });
}

QImage Seascape() {
    const int w = 256;
    const int h = 768;
    const int horizon = 440;
    return Make(w, h, [&](int x, int y) {
        Rgbf c;
        if (y < horizon) {
            c = Ramp({{0.0, Hex(0x2A62C8)}, {0.7, Hex(0x78B4F0)}, {1.0, Hex(0xD8ECFA)}}, y / double(horizon));
            const double d = WrapDist(x, y, 170, 330, w);
            c = Mix(c, Hex(0xFFF8D0), d < 22 ? 1.0 : 0.6 * std::exp(-(d - 22) / 28));
            const double cloud = Fbm(x, y * 2.5, w, w * 2, 4, 221, 5);
            const double amount = Smooth(0.55, 0.72, cloud) * (y < 380 ? 1.0 : (horizon - y) / 60.0);
            c = Mix(c, Mix(Hex(0xFFFFFF), Hex(0xB8C8E0), Smooth(0.6, 0.8, cloud)), amount);
        } else if (y < 690) {
            const double t = (y - horizon) / double(690 - horizon);
            c = Mix(Hex(0x3A82C8), Hex(0x0C3A70), t);
            // A whole number of waves across the strip, so that it repeats cleanly.
            const double waves = std::round(8 - 6 * t);
            const double wave =
                std::sin((x + 30 * Fbm(x, y, w, w, 4, 223, 3)) * 2 * kPi * waves / w + y * (0.6 - 0.4 * t));
            if (wave > 0.93 - 0.1 * t)
                c = Mix(c, Hex(0xD8F0FF), 0.7 - 0.3 * t);
            // The sun's path on the water.
            const double dx = std::min(std::fabs(x - 170.0), w - std::fabs(x - 170.0));
            if (dx < 18 - 12 * t && wave > 0.3)
                c = Mix(c, Hex(0xFFF8D0), 0.6);
        } else {
            const double t = (y - 690) / double(h - 690);
            c = Mix(Hex(0xB8A070), Hex(0xF0D8A0), std::min(1.0, t * 3));
            if (y < 694 + 3 * std::sin(x * 2 * kPi / 64))
                c = Hex(0xFFFFFF);
            c = Scale(c, 0.95 + 0.1 * Noise(x, y, 225));
        }
        return c;
    });
}

QImage SkyPicture(bool cloudy) {
    const int s = 256;
    const int seed = cloudy ? 233 : 231;
    return Make(s, s, [&](int x, int y) {
        // Clouds are wider than they are tall: the noise is squeezed downwards.
        const double n = Fbm(x, y * 2, s, 2 * s, 3, seed, 6);
        const double lit = Fbm(x - 3, y * 2 - 8, s, 2 * s, 3, seed, 6);
        if (!cloudy) {
            const Rgbf c = Mix(Hex(0x4A92EA), Hex(0x62A6F2), Fbm(x, y, s, s, 2, 232, 2));
            const double cover = Smooth(0.6, 0.7, n);
            const Rgbf cloud = Mix(Hex(0xC4D4EC), Hex(0xFFFFFF), Smooth(-0.02, 0.05, lit - n + 0.02));
            return Mix(c, cloud, cover);
        }
        const Rgbf c = Mix(Hex(0x6A7C98), Hex(0x8A9AB0), Fbm(x, y, s, s, 2, 234, 2));
        const double cover = Smooth(0.4, 0.62, n);
        const Rgbf cloud = Mix(Hex(0x8A94A8), Hex(0xE8ECF2), Smooth(-0.03, 0.06, lit - n + 0.02));
        return Mix(c, cloud, cover);
    });
}

QImage EveningStars() {
    const int w = 256;
    const int h = 768;
    return Make(w, h, [&](int x, int y) {
        Rgbf c = Ramp({{0.0, Hex(0x05061A)},
                       {0.45, Hex(0x16164E)},
                       {0.75, Hex(0x4A2A72)},
                       {0.9, Hex(0xB0507A)},
                       {1.0, Hex(0xF09050)}},
                      y / double(h));
        const double s = Star(x, y, 241, 0.006 * std::max(0.0, 1 - y / 600.0));
        if (s > 0)
            c = Mix(c, Hex(0xFFFFF0), s);
        // A crescent moon.
        const double d1 = WrapDist(x, y, 190, 140, w);
        const double d2 = WrapDist(x, y, 199, 134, w);
        if (d1 < 18 && d2 >= 16)
            c = Mix(Hex(0xE8E0B0), Hex(0xFFFCE8), (140 - y) / 36.0 + 0.5);
        else if (d1 < 30)
            c = Mix(c, Hex(0x8080A0), 0.15 * (1 - (d1 - 18) / 12.0) * (d1 >= 18));
        // Distant hills at the foot.
        if (y > 740 - 20 * Ridge(x, w, 4, 243))
            c = Hex(0x1A1030);
        return c;
    });
}

QImage DeepSpace() {
    const int s = 256;
    return Make(s, s, [&](int x, int y) {
        Rgbf c = Hex(0x03040C);
        const double n = Fbm(x, y, s, s, 3, 251, 6);
        const double m = Fbm(x, y, s, s, 4, 252, 5);
        c = Mix(c, Hex(0x3A1660), Smooth(0.5, 0.75, n) * 0.7);
        c = Mix(c, Hex(0x10406A), Smooth(0.55, 0.8, m) * 0.6);
        const double st = Star(x, y, 253, 0.01);
        if (st > 0)
            c = Mix(c, Hex(0xFFFFFF), st * 0.9);
        // A few bright stars with glints, placed so that they repeat cleanly.
        for (auto [sx, sy] : {std::pair{40, 60}, {170, 30}, {210, 180}, {90, 200}, {130, 120}}) {
            const int dx = std::abs(x - sx);
            const int dy = std::abs(y - sy);
            if ((dx == 0 && dy <= 4) || (dy == 0 && dx <= 4))
                c = Mix(c, Hex(0xE8F0FF), 1.0 - 0.2 * (dx + dy));
        }
        return c;
    });
}

QImage WallBricks() {
    const int s = 256;
    return Make(s, s, [&](int x, int y) {
        const int course = y / 16;
        const int yy = y % 16;
        const int xs = (x + (course % 2) * 16) % s;
        const int brick = xs / 32;
        const int xx = xs % 32;
        const Rgbf mortar = Mix(Hex(0xB0A898), Hex(0xC8C0B0), Noise(x, y, 261));
        if (yy >= 14 || xx >= 30)
            return yy == 14 || xx == 30 ? Scale(mortar, 0.8) : mortar;
        const double v = Noise(brick, course, 262);
        Rgbf c = Mix(Hex(0x9A3A28), Hex(0xB85A38), v);
        if (v < 0.15)
            c = Hex(0x7A2E24);
        c = Scale(c, 0.9 + 0.2 * Noise(x, y, 263));
        if (yy == 0 || xx == 0)
            c = Scale(c, 1.18);
        if (yy == 13 || xx == 29)
            c = Scale(c, 0.75);
        return c;
    });
}

QImage WallEmbossed() {
    const int s = 128;
    auto height = [&](double x, double y) {
        // Raised diamonds with a round boss in each, on a 32-pixel lattice.
        const double u = std::fmod(x + s, 32.0) - 16;
        const double v = std::fmod(y + s, 32.0) - 16;
        const double diamond = std::max(0.0, 1.0 - (std::fabs(u) + std::fabs(v)) / 14.0);
        const double boss = std::max(0.0, 1.0 - std::sqrt(u * u + v * v) / 5.0);
        const double rim = std::fabs(std::fabs(u) + std::fabs(v) - 15.5) < 1.0 ? 0.4 : 0.0;
        return std::min(0.5, diamond * 2.0) + boss + rim;
    };
    return Make(s, s, [&](int x, int y) {
        const double slope = height(x - 1, y - 1) - height(x + 1, y + 1);
        Rgbf c = Mix(Hex(0xB8B0A0), Hex(0xC8C0B0), Noise(x, y, 271));
        return Scale(c, 1.0 + std::clamp(slope * 0.55, -0.35, 0.35));
    });
}

QImage WallStone() {
    const int s = 256;
    const int cells = 5;
    const double cell = double(s) / cells;
    auto point = [&](int i, int j, double* px, double* py) {
        const int wi = ((i % cells) + cells) % cells;
        const int wj = ((j % cells) + cells) % cells;
        *px = (i + 0.15 + 0.7 * Noise(wi, wj, 281)) * cell;
        *py = (j + 0.15 + 0.7 * Noise(wi, wj, 282)) * cell;
    };
    return Make(s, s, [&](int x, int y) {
        // Stones are the cells of scattered points (wrapping at the edges).
        const int ci = static_cast<int>(x / cell);
        const int cj = static_cast<int>(y / cell);
        double best = 1e9;
        double second = 1e9;
        int bi = 0;
        int bj = 0;
        double bx = 0;
        double by = 0;
        for (int j = cj - 2; j <= cj + 2; ++j)
            for (int i = ci - 2; i <= ci + 2; ++i) {
                double px = 0;
                double py = 0;
                point(i, j, &px, &py);
                const double dx = (x + 0.5 - px) * 1.0;
                const double dy = (y + 0.5 - py) * 1.5;
                const double d = std::sqrt(dx * dx + dy * dy);
                if (d < best) {
                    second = best;
                    best = d;
                    bi = i;
                    bj = j;
                    bx = px;
                    by = py;
                } else if (d < second) {
                    second = d;
                }
            }
        const double edge = (second - best) / 2;
        if (edge < 2.0)
            return Mix(Hex(0x3A3632), Hex(0x5A5650), edge / 2);
        const int wi = ((bi % cells) + cells) % cells;
        const int wj = ((bj % cells) + cells) % cells;
        Rgbf c = Mix(Hex(0x8A8478), Hex(0xB4AC9C), Noise(wi, wj, 283));
        if (Noise(wi, wj, 284) < 0.25)
            c = Mix(c, Hex(0x9A8068), 0.5);
        c = Scale(c, 0.9 + 0.2 * Fbm(x, y, s, s, 16, 285, 3));
        // A bevel: lit towards the top left of each stone, shaded on the far side.
        if (edge < 5.0) {
            const double dirx = x - bx;
            const double diry = y - by;
            c = Scale(c, dirx + diry < 0 ? 1.15 : 0.8);
        }
        return c;
    });
}

// Our logo: three cubes stacked, seen from above at an angle, on a quiet ground.
QImage Logo() {
    const int s = 128;
    QImage img = Make(s, s, [&](int x, int y) {
        Rgbf c = Hex(0x141430);
        if ((x + y) % 16 == 0 || (x - y + s) % 16 == 0)
            c = Hex(0x1A1A3C);
        return c;
    });
    auto inPoly = [](double px, double py, const std::vector<std::pair<double, double>>& pts) {
        bool inside = false;
        for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
            const auto [xi, yi] = pts[i];
            const auto [xj, yj] = pts[j];
            if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi)
                inside = !inside;
        }
        return inside;
    };
    auto cube = [&](double cx, double cy, double r, Rgbf colour) {
        // Top, left and right faces of an isometric cube whose top corner is (cx, cy).
        const double hw = r * 0.866;
        const std::vector<std::pair<double, double>> top = {
            {cx, cy}, {cx + hw, cy + r / 2}, {cx, cy + r}, {cx - hw, cy + r / 2}};
        const std::vector<std::pair<double, double>> left = {
            {cx - hw, cy + r / 2}, {cx, cy + r}, {cx, cy + 2 * r}, {cx - hw, cy + 1.5 * r}};
        const std::vector<std::pair<double, double>> right = {
            {cx, cy + r}, {cx + hw, cy + r / 2}, {cx + hw, cy + 1.5 * r}, {cx, cy + 2 * r}};
        for (int y = 0; y < s; ++y)
            for (int x = 0; x < s; ++x) {
                const double px = x + 0.5;
                const double py = y + 0.5;
                if (inPoly(px, py, top))
                    img.setPixel(x, y, ToRgb(Mix(colour, Hex(0xFFFFFF), 0.35)));
                else if (inPoly(px, py, left))
                    img.setPixel(x, y, ToRgb(colour));
                else if (inPoly(px, py, right))
                    img.setPixel(x, y, ToRgb(Scale(colour, 0.6)));
            }
    };
    const double r = 20;
    const double hw = r * 0.866;
    cube(64 - hw, 50, r, Hex(0xAC3232));
    cube(64 + hw, 50, r, Hex(0x306082));
    cube(64, 50 + r / 2 - r, r, Hex(0x6ABE30));
    cube(64, 50 + r, r, Hex(0xDF7126));
    return img;
}

QImage DesertSand() {
    const int s = 256;
    return Make(s, s, [&](int x, int y) {
        const double warp = 24 * Fbm(x, y, s, s, 4, 291, 3);
        const double ripple = std::sin((y + warp + 6 * std::sin(x * 2 * kPi / s * 2)) * 2 * kPi / 16);
        Rgbf c = Mix(Hex(0xD8A868), Hex(0xEAC488), Fbm(x, y, s, s, 2, 292, 3));
        c = Scale(c, 1.0 + 0.08 * ripple);
        if (ripple > 0.9)
            c = Mix(c, Hex(0xFFE8B8), 0.4);
        return Scale(c, 0.96 + 0.08 * Noise(x, y, 293));
    });
}

} // namespace

std::vector<BackgroundPicture> MakeBackgrounds() {
    return {
        {"AL1", AlienLandscape1(), false},
        {"AL2", AlienLandscape2(), false},
        {"CS1", Logo(), true},
        {"DS1", DesertSand(), true},
        {"RB2", Rainbow(0.85, 0.42, 0.0), false},
        {"RB3", Rainbow(0.55, 1.0, 0.45), false},
        {"RB1", Rainbow(1.0, 1.0, 0.0), false},
        {"SS1", Seascape(), false},
        {"BS1", SkyPicture(false), true},
        {"BS2", SkyPicture(true), true},
        {"SP2", EveningStars(), false},
        {"SP1", DeepSpace(), true},
        {"WL1", WallBricks(), true},
        {"WL3", WallEmbossed(), true},
        {"WL2", WallStone(), true},
    };
}

} // namespace art
