#pragma once

// The small pixel-art kit the block pictures are drawn with: palette colours
// by their index, shape masks that can be turned by quarter turns, and
// shading of a mask with light from the top left.

#include "pixelart/palette.h"
#include "pixelart/pixel_font.h"
#include "pixelart/pixels.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

namespace art {

// The palette (a colour is its index), the canvas and the fonts.
using namespace pixelart;

constexpr int kCell = 32;

// A ramp from the outline colour to the highlight.
struct Ramp {
    int outline, dark, mid, light, hi;
};

extern const Ramp kWood, kBrick, kStone, kMetal, kLeaf, kPine, kWater, kBlue, kSkin, kGold, kRedR, kPurpleR,
    kSand, kSnow, kFernR, kOrangeR, kDark, kPinkR, kTealR, kNight;

// A 32 x 32 shape.
class Mask {
public:
    Mask() { m_bits.fill(0); }
    static Mask Full();

    bool at(int x, int y) const {
        return x >= 0 && y >= 0 && x < kCell && y < kCell && m_bits[y * kCell + x];
    }
    void set(int x, int y, bool on = true) {
        if (x >= 0 && y >= 0 && x < kCell && y < kCell)
            m_bits[y * kCell + x] = on;
    }
    int count() const;
    bool empty() const { return count() == 0; }

    Mask& rect(int x, int y, int w, int h, bool on = true);
    // Pixels whose centres lie inside the ellipse (cx, cy are pixel coordinates).
    Mask& ellipse(double cx, double cy, double rx, double ry, bool on = true);
    Mask& disc(double cx, double cy, double r, bool on = true) { return ellipse(cx, cy, r, r, on); }
    // Pixels whose centres lie inside the polygon (corner coordinates, not centres).
    Mask& poly(std::initializer_list<std::pair<double, double>> points, bool on = true);
    Mask& poly(const std::vector<std::pair<double, double>>& points, bool on = true);
    // A line of the given thickness between two pixel centres.
    Mask& line(double x0, double y0, double x1, double y1, double thick = 1.0, bool on = true);

    Mask operator|(const Mask& o) const;
    Mask operator&(const Mask& o) const;
    Mask operator-(const Mask& o) const;
    Mask operator~() const;
    bool operator==(const Mask& o) const { return m_bits == o.m_bits; }

    // Quarter turns clockwise.
    Mask turned(int quarters) const;
    Mask flippedX() const;
    Mask shifted(int dx, int dy) const;
    // The mask's pixels that touch a pixel outside it (4-neighbours). With
    // openEdges, the cell's edges do not count as outside.
    Mask border(bool openEdges = false) const;
    Mask grown() const;
    // Every other pixel, (x + y + phase) even: a dither pattern to turn with a shape.
    static Mask Chequer(int phase = 0);

private:
    std::array<uint8_t, kCell * kCell> m_bits;
};

// A block picture: 32 x 32, magenta where transparent.
Pixels NewPic(QRgb fill = kMagenta);
Pixels NewPicPal(int pal);

void Put(Pixels& pic, int x, int y, int pal);
int Get(const Pixels& pic, int x, int y); // palette index, -1 for magenta or a foreign colour
void Fill(Pixels& pic, const Mask& mask, int pal);
void HLine(Pixels& pic, int x0, int x1, int y, int pal);
void VLine(Pixels& pic, int x, int y0, int y1, int pal);
void Box(Pixels& pic, int x, int y, int w, int h, int pal);
// Every other pixel of the mask in colour pal (a chequer dither).
void Dither(Pixels& pic, const Mask& mask, int pal, int phase = 0);
// Paints all non-magenta pixels of src over dst.
void Over(Pixels& dst, const Pixels& src);

struct ShadeStyle {
    bool outline = true;    // a one-pixel outline in the ramp's outline colour
    bool openEdges = false; // the cell's edges are not edges of the shape
    bool light = true;      // lit top-left edge, shaded bottom-right edge
    bool fill = true;       // fill the inside with the ramp's middle colour
};

// Draws the mask as a solid object of the ramp: light from the top left.
void Shade(Pixels& pic, const Mask& mask, const Ramp& ramp, ShadeStyle style = {});
// A flat shape without outline but with its light and shade edges.
void ShadeFlat(Pixels& pic, const Mask& mask, const Ramp& ramp);
// An outline only (the mask's border pixels).
void Outline(Pixels& pic, const Mask& mask, int pal, bool openEdges = false);

// Deterministic noise.
uint32_t Hash(int x, int y, int seed);
double Noise(int x, int y, int seed); // 0 <= n < 1

// The transparency pattern of a picture (true where not magenta).
Mask Opaque(const Pixels& pic);
// A picture turned by quarter turns clockwise, pixels and all.
Pixels TurnPixels(const Pixels& pic, int quarters);

} // namespace art
