#include "textures.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace art {

void Paint(Pixels& pic, const Mask& mask, const Texture& tex) {
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x)
            if (mask.at(x, y))
                Put(pic, x, y, tex(x, y));
}

void PaintAll(Pixels& pic, const Texture& tex) {
    Paint(pic, Mask::Full(), tex);
}

Texture Bricks(const BrickStyle& s) {
    return [s](int px, int py) {
        const int x = s.vertical ? py : px;
        const int y = s.vertical ? px : py;
        const int course = y / s.height;
        const int yy = y % s.height;
        const int shift = (course % 2) ? s.offset : 0;
        const int xs = (x + shift) % kCell;
        const int brick = xs / s.length;
        const int xx = xs % s.length;
        if (yy == s.height - 1 || xx == s.length - 1)
            return s.mortar;
        // The lit and shaded sides, in screen terms even for standing bricks.
        const bool top = s.vertical ? xx == 0 : yy == 0;
        const bool left = s.vertical ? yy == 0 : xx == 0;
        const bool bottom = s.vertical ? xx == s.length - 2 : yy == s.height - 2;
        const bool right = s.vertical ? yy == s.height - 2 : xx == s.length - 2;
        if (bottom || right)
            return s.dark;
        const bool odd = Noise(brick, course, s.seed) < 0.22;
        if (top || left)
            return odd ? s.mid : s.light;
        if (Noise(px, py, s.seed + 7) < 0.06)
            return s.dark;
        return odd ? s.alt : s.mid;
    };
}

Texture Stones(const StoneStyle& s) {
    // Courses of 10, 6, 10 and 6 pixels; joints placed by the hash of the course.
    return [s](int px, int py) {
        const int x = s.vertical ? py : px;
        const int y = s.vertical ? px : py;
        static constexpr std::array<int, 4> kHeights = {10, 6, 10, 6};
        int course = 0;
        int top = 0;
        while (top + kHeights[static_cast<size_t>(course)] <= y) {
            top += kHeights[static_cast<size_t>(course)];
            ++course;
        }
        const int h = kHeights[static_cast<size_t>(course)];
        const int yy = y - top;
        // Two or three joints per course.
        std::array<int, 3> joints{};
        const int n = 2 + static_cast<int>(Hash(course, 0, s.seed) % 2);
        const int base = static_cast<int>(Hash(course, 1, s.seed) % 32);
        for (int i = 0; i < n; ++i)
            joints[static_cast<size_t>(i)] =
                (base + i * (32 / n) + static_cast<int>(Hash(course, i + 2, s.seed) % 5)) % 32;
        int stone = 0;
        // Distance to the nearest joint on the left, wrapping.
        int best = 64;
        for (int i = 0; i < n; ++i) {
            const int d = (x - joints[static_cast<size_t>(i)] + 32) % 32;
            if (d < best) {
                best = d;
                stone = i;
            }
        }
        int next = 64;
        for (int i = 0; i < n; ++i) {
            const int d = (joints[static_cast<size_t>(i)] - x + 32) % 32;
            if (d > 0 && d < next)
                next = d;
        }
        if (best == 0 || yy == h - 1)
            return s.joint;
        const bool top1 = s.vertical ? best == 1 : yy == 0;
        const bool left1 = s.vertical ? yy == 0 : best == 1;
        const bool bottom1 = s.vertical ? next == 1 : yy == h - 2;
        const bool right1 = s.vertical ? yy == h - 2 : next == 1;
        if (bottom1 || right1)
            return s.dark;
        if (top1 || left1)
            return s.light;
        const double n2 = Noise(px, py, s.seed + course * 13 + stone);
        if (n2 < 0.08)
            return s.speck;
        if (Noise(stone, course, s.seed + 99) < 0.3 && n2 < 0.5)
            return s.dark;
        return s.mid;
    };
}

Texture Planks(const PlankStyle& s) {
    return [s](int px, int py) {
        const int x = s.vertical ? py : px;
        const int y = s.vertical ? px : py;
        const int board = y / s.width;
        const int yy = y % s.width;
        // A butt joint somewhere along each board.
        const int joint = static_cast<int>(Hash(board, 0, s.seed) % 32);
        if (yy == s.width - 1 || x == joint)
            return s.gap;
        if ((x == (joint + 2) % 32 || x == (joint + 30) % 32) && yy == s.width / 2)
            return s.gap; // nail heads
        const bool first = s.vertical ? (x + 1) % 32 == joint : yy == 0;
        if (yy == 0 || (!s.vertical && first))
            return s.light;
        if (yy == s.width - 2)
            return s.dark;
        // Grain: long streaks along the board.
        const double g = Noise(x / 6, board * 8 + yy, s.seed);
        if (g < 0.12)
            return s.dark;
        if (g > 0.93)
            return s.light;
        return s.mid;
    };
}

Texture Speckled(int base, int speck, double amount, int seed) {
    return [=](int x, int y) { return Noise(x, y, seed) < amount ? speck : base; };
}

void SoftEdges(Pixels& pic, int light, int dark) {
    for (int i = 0; i < kCell; ++i) {
        if (i % 2 == 0) {
            Put(pic, i, 0, light);
            Put(pic, 0, i, light);
        } else {
            Put(pic, i, kCell - 1, dark);
            Put(pic, kCell - 1, i, dark);
        }
    }
}

Mask Eroded(const Mask& mask, int times) {
    Mask m = mask;
    for (int i = 0; i < times; ++i)
        m = m - m.border(true);
    return m;
}

void RoundShade(Pixels& pic, const Mask& mask, const Ramp& ramp, double cx, double cy, double r, int ox,
                int oy, bool outline) {
    const Mask edge = outline ? mask.border(true) : Mask();
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
            if (!mask.at(x, y))
                continue;
            if (edge.at(x, y)) {
                Put(pic, x, y, ramp.outline);
                continue;
            }
            // A sphere lit from the top left and a little from the front.
            const double nx = (x + ox + 0.5 - cx) / r;
            const double ny = (y + oy + 0.5 - cy) / r;
            const double nz = std::sqrt(std::max(0.0, 1.0 - nx * nx - ny * ny));
            const double lit = -nx * 0.55 - ny * 0.55 + nz * 0.63;
            int pal = ramp.mid;
            if (lit > 0.93)
                pal = ramp.hi;
            else if (lit > 0.7)
                pal = ramp.light;
            else if (lit < 0.3)
                pal = ramp.dark;
            Put(pic, x, y, pal);
        }
}

bool InBlob(int x, int y, int seed, int grid, double chance, double rmin, double rmax, double* du,
            double* dv) {
    const int cells = kCell / grid;
    const int gx = x / grid;
    const int gy = y / grid;
    for (int j = -1; j <= 1; ++j)
        for (int i = -1; i <= 1; ++i) {
            const int cx = gx + i;
            const int cy = gy + j;
            const int wx = ((cx % cells) + cells) % cells;
            const int wy = ((cy % cells) + cells) % cells;
            if (Noise(wx, wy, seed) >= chance)
                continue;
            const double r = rmin + (rmax - rmin) * Noise(wx, wy, seed + 1);
            const double px = cx * grid + grid * (0.2 + 0.6 * Noise(wx, wy, seed + 2));
            const double py = cy * grid + grid * (0.2 + 0.6 * Noise(wx, wy, seed + 3));
            const double ex = (x + 0.5 - px) / r;
            const double ey = (y + 0.5 - py) / (r * 0.8);
            if (ex * ex + ey * ey <= 1.0) {
                if (du)
                    *du = ex;
                if (dv)
                    *dv = ey;
                return true;
            }
        }
    return false;
}

int CornerOffsetX(int q) {
    return (q == 1 || q == 2) ? kCell : 0;
}
int CornerOffsetY(int q) {
    return (q == 2 || q == 3) ? kCell : 0;
}

} // namespace art
