#pragma once

// Surface patterns that repeat every 32 pixels, so that cells of one kind join
// without a seam. A texture gives the palette index of a pixel.

#include "pixel_art.h"

#include <functional>

namespace art {

using Texture = std::function<int(int x, int y)>;

void Paint(Pixels& pic, const Mask& mask, const Texture& tex);
void PaintAll(Pixels& pic, const Texture& tex);

struct BrickStyle {
    int mortar = Silver;
    int dark = Umber;
    int mid = Red;
    int light = Rose;
    int alt = Brown; // colour of an odd brick here and there
    int height = 8;  // course height including the mortar line
    int length = 16; // brick length including the joint
    int offset = 8;  // shift of every other course
    int seed = 1;
    bool vertical = false; // courses run downwards (bricks standing)
};
Texture Bricks(const BrickStyle& style);

// Irregular blocks of stone in courses.
struct StoneStyle {
    int joint = Ash;
    int dark = Grey;
    int mid = Silver;
    int light = Ice;
    int speck = Grey;
    int seed = 3;
    bool vertical = false;
};
Texture Stones(const StoneStyle& style);

// Boards with grain and nails.
struct PlankStyle {
    int gap = Plum;
    int dark = Umber;
    int mid = Brown;
    int light = Tan;
    int width = 8;
    int seed = 5;
    bool vertical = false;
};
Texture Planks(const PlankStyle& style);

// A flat surface with a sparse dither of a second colour.
Texture Speckled(int base, int speck, double amount, int seed);

// Darkens the bottom row and right column and lights the top row and left
// column of a full cell, every other pixel, so that a large area shows its cells.
void SoftEdges(Pixels& pic, int light, int dark);

// The mask without its border (cell edges open): one pixel thinner.
Mask Eroded(const Mask& mask, int times = 1);

// Shades a rounded body lit from the top left: each pixel by the direction from
// the body's centre (cx, cy), in coordinates shifted by (ox, oy) so that the
// quarters of a 2 x 2 body share one centre. Border pixels get the outline
// unless the border lies on the cell's edge.
void RoundShade(Pixels& pic, const Mask& mask, const Ramp& ramp, double cx, double cy, double r, int ox = 0,
                int oy = 0, bool outline = true);
// Small round blobs scattered on a grid that repeats every 32 pixels (stones in
// soil, pebbles, shells). True when (x, y) lies in one; du and dv give the
// position inside it (-1 to 1), for shading.
bool InBlob(int x, int y, int seed, int grid, double chance, double rmin, double rmax, double* du = nullptr,
            double* dv = nullptr);

// Where corner piece q (J, K, L, M) lies in its 2 x 2 square, in pixels.
int CornerOffsetX(int q);
int CornerOffsetY(int q);

} // namespace art
