// Block set: ground, rock and water. Mostly full cells for layer 0, with
// edges, slopes and corners that meet the sky.

#include "content_sets.h"

#include <cmath>

namespace art {

namespace {

// A pebble: lit on its top left.
int Pebble(double du, double dv, int dark, int mid, int light) {
    if (du + dv < -0.7)
        return light;
    if (du + dv > 0.6 || du * du + dv * dv > 0.7)
        return dark;
    return mid;
}

Texture Soil(int seed, double stones = 0.35) {
    return [=](int x, int y) {
        double du = 0;
        double dv = 0;
        if (InBlob(x, y, seed, 8, stones, 1.6, 2.8, &du, &dv))
            return Pebble(du, dv, Ash, Grey, Silver);
        const double n = Noise(x, y, seed + 5);
        if (n < 0.12)
            return Umber;
        if (n > 0.94)
            return Tan;
        return Brown;
    };
}

Pixels Full(const Texture& tex) {
    Pixels pic = NewPic();
    PaintAll(pic, tex);
    return pic;
}

Pixels ClayStrata() {
    return Full([](int x, int y) {
        const int band = (y + static_cast<int>(2 * std::sin(x * 3.14159265 / 16))) % 32;
        const double n = Noise(x, y, 31);
        int pal = band < 7 ? Orange : band < 12 ? Tan : band < 20 ? Brown : band < 24 ? Ochre : Orange;
        if (n < 0.08)
            pal = Umber;
        return pal;
    });
}

Pixels DarkEarth() {
    Pixels pic = Full([](int x, int y) {
        const double n = Noise(x, y, 33);
        return n < 0.2 ? Plum : n > 0.95 ? Brown : Umber;
    });
    Mask roots;
    roots.line(4, 0, 8, 9)
        .line(8, 9, 6, 17)
        .line(8, 9, 14, 14)
        .line(22, 0, 21, 8)
        .line(21, 8, 26, 16)
        .line(26, 16, 25, 24);
    Fill(pic, roots, Tan);
    Fill(pic, roots.shifted(1, 1) - roots, Plum);
    return pic;
}

Pixels Seam(int dark, int mid, int light, int seed) {
    Pixels pic = Full(Soil(seed, 0.15));
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
            double du = 0;
            double dv = 0;
            if (InBlob(x, y, seed + 50, 8, 0.75, 2.0, 3.4, &du, &dv))
                Put(pic, x, y, Pebble(du, dv, dark, mid, light));
        }
    return pic;
}

Pixels Fossil() {
    Pixels pic = Full(Soil(37, 0.2));
    Mask shell;
    shell.disc(15.5, 15.5, 9);
    RoundShade(pic, shell, kSand, 15.5, 15.5, 9);
    // The spiral.
    for (double a = 0; a < 14; a += 0.05) {
        const double r = 1 + a * 0.55;
        Put(pic, static_cast<int>(std::lround(15.5 + r * std::cos(a))),
            static_cast<int>(std::lround(15.5 + r * std::sin(a))), Ochre);
    }
    return pic;
}

Pixels Granite() {
    Pixels pic = Full([](int x, int y) {
        const double n = Noise(x, y, 41);
        return n < 0.15 ? Grey : n < 0.22 ? Ash : n > 0.93 ? Ice : Silver;
    });
    Mask cracks;
    cracks.line(0, 9, 10, 12)
        .line(10, 12, 19, 8)
        .line(19, 8, 31, 11)
        .line(13, 20, 18, 31)
        .line(13, 20, 24, 23);
    Fill(pic, cracks, Ash);
    Fill(pic, cracks.shifted(0, 1) - cracks, Ice);
    return pic;
}

Pixels Basalt() {
    return Full([](int x, int y) {
        const int col = x / 8;
        const int xx = x % 8;
        const int shift = (col % 2) * 4;
        const int yy = (y + shift) % 16;
        if (xx == 7 || yy == 15)
            return Night;
        if (xx == 0 || yy == 0)
            return Iron;
        if (xx == 6)
            return Slate;
        return Noise(x, y, 43) < 0.1 ? Slate : Ash;
    });
}

Pixels Cobbles(int seed, int dark, int mid, int light, int gap) {
    return Full([=](int x, int y) {
        double du = 0;
        double dv = 0;
        if (InBlob(x, y, seed, 8, 1.0, 3.4, 4.4, &du, &dv))
            return Pebble(du, dv, dark, mid, light);
        return gap;
    });
}

Pixels Gravel() {
    return Full([](int x, int y) {
        double du = 0;
        double dv = 0;
        if (InBlob(x, y, 47, 4, 0.8, 1.2, 2.0, &du, &dv))
            return Pebble(du, dv, Ash, Grey, Silver);
        return Noise(x, y, 48) < 0.5 ? Iron : Ash;
    });
}

Pixels IceBlock() {
    Pixels pic = Full([](int x, int y) {
        const int d = (x - y + 64) % 16;
        if (d == 0)
            return White;
        if (d == 1)
            return Ice;
        return Noise(x, y, 49) < 0.06 ? White : Cyan;
    });
    SoftEdges(pic, White, Sky);
    return pic;
}

Pixels LavaRock() {
    Pixels pic = Full([](int x, int y) {
        const double n = Noise(x, y, 51);
        return n < 0.15 ? Night : n > 0.9 ? Ash : Slate;
    });
    Mask cracks;
    cracks.line(0, 6, 9, 11).line(9, 11, 14, 22).line(14, 22, 31, 26).line(9, 11, 24, 7).line(24, 7, 31, 2);
    Fill(pic, cracks.grown() - cracks, Red);
    Fill(pic, cracks, Yellow);
    return pic;
}

Pixels Boulder() {
    Pixels pic = NewPic();
    Mask rock;
    rock.ellipse(16, 19, 14, 11).ellipse(12, 14, 8, 8);
    rock = rock & Mask().rect(0, 0, 32, 30);
    RoundShade(pic, rock, kStone, 13, 14, 15);
    Fill(pic, Mask().line(18, 12, 22, 20).line(22, 20, 21, 26), Grey);
    Put(pic, 9, 10, White);
    return pic;
}

Pixels StonePile() {
    Pixels pic = NewPic();
    const double stones[][3] = {{8, 25, 6}, {22, 25, 7}, {15, 16, 6}, {26, 15, 4}};
    for (const auto& s : stones) {
        Mask m;
        m.ellipse(s[0], s[1], s[2], s[2] * 0.8);
        RoundShade(pic, m, kStone, s[0] - 1, s[1] - 1, s[2]);
    }
    return pic;
}

Pixels Crystals() {
    Pixels pic = NewPic();
    const double c[][4] = {
        {16, 4, 4, 28}, {9, 12, 3.5, 28}, {23, 14, 3, 28}, {4, 20, 2.5, 29}, {28, 21, 2.5, 29}};
    for (const auto& k : c) {
        Mask m;
        m.poly({{k[0], k[1]},
                {k[0] + k[2], k[1] + k[2] * 1.2},
                {k[0] + k[2], k[3]},
                {k[0] - k[2], k[3]},
                {k[0] - k[2], k[1] + k[2] * 1.2}});
        Shade(pic, m, kPurpleR);
        Fill(pic, Mask().line(k[0] - 0.5, k[1] + 2, k[0] - 0.5, k[3] - 2) & m, Pink);
    }
    Shade(pic, Mask().rect(2, 28, 28, 4), kStone, {true, true});
    return pic;
}

Pixels Stalagmite() {
    Pixels pic = NewPic();
    Mask m;
    m.poly({{15, 2}, {18, 2}, {25, 32}, {7, 32}});
    Paint(pic, m, [](int x, int y) {
        const int band = y % 6;
        if (x < 13 + (y / 6))
            return band == 0 ? Silver : Grey;
        return band == 0 ? Grey : Iron;
    });
    Outline(pic, m, Night, true);
    return pic;
}

Texture Sand(int seed) {
    return [seed](int x, int y) {
        const int ripple = (y + static_cast<int>(2.5 * std::sin(x * 3.14159265 / 16 + 1))) % 8;
        const double n = Noise(x, y, seed);
        if (ripple == 0)
            return Peach;
        if (ripple == 1 && n < 0.5)
            return Ochre;
        return n < 0.08 ? Ochre : n > 0.95 ? Peach : Tan;
    };
}

Pixels Shells() {
    Pixels pic = Full(Sand(61));
    const double shells[][2] = {{8, 9}, {22, 20}, {25, 6}};
    for (const auto& s : shells) {
        Mask m;
        m.poly({{s[0], s[1] - 3}, {s[0] + 4, s[1] + 2}, {s[0] - 4, s[1] + 2}});
        m.disc(s[0], s[1] + 1, 3.5);
        m = m & Mask().rect(0, static_cast<int>(s[1]) - 4, 32, 7);
        Shade(pic, m, kPinkR);
        Put(pic, static_cast<int>(s[0]), static_cast<int>(s[1]) - 1, Rose);
        Put(pic, static_cast<int>(s[0]), static_cast<int>(s[1]) + 1, Rose);
    }
    return pic;
}

Texture Snow(int seed) {
    return [seed](int x, int y) {
        const double n = Noise(x, y, seed);
        if (n < 0.06)
            return Silver;
        if (n < 0.2)
            return Ice;
        return White;
    };
}

Texture Water(int deep, int mid, int light, int seed) {
    return [=](int x, int y) {
        const int wave = (x + static_cast<int>(2 * std::sin(y * 3.14159265 / 8)) + 64) % 16;
        const int row = y % 8;
        if (row == 2 && wave < 5)
            return light;
        if (row == 3 && wave >= 2 && wave < 6)
            return mid == Sky ? Cyan : light;
        if (row == 6 && wave >= 8 && wave < 13)
            return deep;
        return Noise(x, y, seed) < 0.05 ? deep : mid;
    };
}

Pixels Lava() {
    return Full([](int x, int y) {
        const double v = std::sin(x * 3.14159265 / 8) + std::sin(y * 3.14159265 / 16 + x * 3.14159265 / 16) +
                         std::sin((x + y) * 3.14159265 / 8);
        if (v > 1.6)
            return Yellow;
        if (v > 0.4)
            return Orange;
        if (v > -1.2)
            return Red;
        return Plum;
    });
}

Texture Flow(bool vertical) {
    // Streaks of foam and of darker water drawn out along the flow.
    return [vertical](int px, int py) {
        const int along = vertical ? py : px;
        const int across = vertical ? px : py;
        const int lane = across / 4;
        const int sub = across % 4;
        const int pos = (along + static_cast<int>(Hash(lane, 0, 71) % 32)) % 16;
        const int len = 5 + static_cast<int>(Hash(lane, 1, 71) % 6);
        if (pos < len && sub == 1)
            return Hash(lane, 2, 71) % 2 ? White : Cyan;
        if (pos < len - 2 && sub == 2)
            return Cyan;
        if (pos >= len + 2 && pos < len + 6 && sub == 3)
            return Blue;
        return Noise(px, py, 73) < 0.04 ? Blue : Sky;
    };
}

Pixels Flagstones() {
    return Full([](int x, int y) {
        // Big slabs of two sizes, joints in dark grey.
        const int sx = y < 16 ? (x + 4) % 20 : (x + 12) % 18;
        const int sy = y % 16;
        if (sy == 15 || sx == 0)
            return Ash;
        if (sy == 0 || sx == 1)
            return Silver;
        if (sy == 14)
            return Grey;
        return Noise(x, y, 81) < 0.1 ? Grey : (y < 16 ? Silver : Ice);
    });
}

Pixels Chequer() {
    return Full([](int x, int y) {
        const bool dark = ((x / 8) + (y / 8)) % 2 == 0;
        const int xx = x % 8;
        const int yy = y % 8;
        if (dark)
            return (xx == 0 || yy == 0) ? Ash : Night;
        return (xx == 7 || yy == 7) ? Silver : (xx == 0 || yy == 0) ? White : Ice;
    });
}

Pixels Carpet() {
    Pixels pic = Full([](int x, int y) {
        const int d = std::abs((x % 16) - 8) + std::abs((y % 16) - 8);
        if (d == 6)
            return Yellow;
        if (d < 3)
            return Orange;
        return Noise(x, y, 83) < 0.15 ? Plum : Red;
    });
    return pic;
}

// A band of grass along the top of a cell: the lawn, then blades that reach
// down into the soil.
Mask GrassTop() {
    Mask m;
    m.rect(0, 0, 32, 5);
    for (int x = 0; x < kCell; ++x) {
        const int reach = 5 + static_cast<int>(Hash(x, 0, 91) % 4);
        m.rect(x, 5, 1, reach - 5);
    }
    return m;
}

void GrassBand(Pixels& pic, const Mask& band, const Mask& face) {
    Fill(pic, band, Green);
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
            if (!band.at(x, y))
                continue;
            if (face.at(x, y))
                Put(pic, x, y, Lime);
            else if (!band.at(x, y + 1) || !band.at(x + 1, y) || !band.at(x - 1, y) || !band.at(x, y - 1))
                Put(pic, x, y, Moss);
            else if (Noise(x, y, 93) < 0.2)
                Put(pic, x, y, Lime);
        }
}

Pixels GrassEdge(int q) {
    Pixels pic = Full(Soil(11));
    const Mask band = GrassTop().turned(q);
    GrassBand(pic, band, Mask().rect(0, 0, 32, 1).turned(q));
    return pic;
}

Pixels GrassSlope(int q) {
    Pixels pic = NewPic();
    Paint(pic, SlopeMask(q), Soil(11));
    GrassBand(pic, SlopeBand(q, 5), SlopeBand(q, 1));
    return pic;
}

Pixels GrassBankCorner(int q) {
    Pixels pic = NewPic();
    const Mask ground = QuarterDisc(q, 31.5);
    Paint(pic, ground, Soil(11));
    GrassBand(pic, ground - QuarterDisc(q, 25.5), ground - QuarterDisc(q, 30.5));
    return pic;
}

Pixels SoftSnow() {
    Pixels p = Full(Snow(67));
    SoftEdges(p, White, Silver);
    return p;
}

Pixels SnowCover(int q) {
    Pixels pic = Full(Soil(11));
    Mask snow;
    snow.rect(0, 0, 32, 6);
    for (int x = 0; x < kCell; ++x)
        snow.rect(x, 6, 1, static_cast<int>(2 + 2 * std::sin(x * 3.14159265 / 8)));
    Paint(pic, snow.turned(q), Snow(68));
    Outline(pic, snow.turned(q), Silver, true);
    return pic;
}

Pixels WaterEdge(int q) {
    Pixels pic = NewPic();
    Mask water;
    for (int x = 0; x < kCell; ++x)
        water.rect(x, static_cast<int>(std::lround(7 + 2 * std::sin(x * 3.14159265 / 8))), 1, 32);
    water = water.turned(q);
    Paint(pic, water, Water(Ocean, Sky, Cyan, 75));
    const Mask crest = water - Eroded(water, 2);
    Fill(pic, crest, White);
    Fill(pic, water.border(true), Ice);
    Fill(pic, Eroded(water, 2) - Eroded(water, 3), Cyan);
    return pic;
}

Pixels RunningWater(int q) {
    return Full(Flow(q != 0));
}

} // namespace

BlockSet MakeGroundSet() {
    SetBuilder b("Ground, rock and water");

    // Soil and what lies in it.
    b.row()
        .add("G01", Full(Soil(11)))
        .add("G02", Full(Soil(12, 0.8)))
        .add("G03", ClayStrata())
        .add("G04", DarkEarth())
        .add("G05", Seam(Night, Slate, Iron, 14))
        .add("G06", Seam(Ochre, Yellow, White, 15))
        .add("G07", Fossil());

    // Soil with grass along one edge.
    b.row().turns("G1", GrassEdge);

    // A grassy slope (N and E make a hilltop).
    b.row().turns("G2", GrassSlope);

    // Rounded corners of a grassy bank.
    b.row().corners("G3", GrassBankCorner);

    // Rock.
    b.row()
        .add("R01", Granite())
        .add("R02", Basalt())
        .add("R03", Cobbles(53, Ash, Grey, Silver, Night))
        .add("R04", Gravel())
        .add("R05", IceBlock())
        .add("R06", LavaRock());

    // Rocks to stand on the ground.
    b.row().add("R21", Boulder()).add("R22", StonePile()).add("R23", Crystals()).add("R24", Stalagmite());

    // Sand and snow.
    b.row()
        .add("S01", Full(Sand(63)))
        .add("S02", Shells())
        .add("S03", Cobbles(65, Brown, Tan, Peach, Ochre))
        .add("S04", SoftSnow());

    // Soil under a cover of snow.
    b.row().turns("S1", SnowCover);

    // Water and lava.
    b.row()
        .add("W01", Full(Water(Ocean, Sky, Cyan, 75)))
        .add("W02", Full(Water(Indigo, Ocean, Sky, 76)))
        .add("W03", Full(Water(Moss, Teal, Green, 77)))
        .add("W04", Lava());

    // The surface of the water: waves along one edge.
    b.row().turns("W1", WaterEdge);

    // Running water: falling (V) and flowing (H).
    b.row().pair("W2", RunningWater);

    // Floors and paving.
    b.row()
        .add("P01", Cobbles(85, Iron, Grey, Silver, Ash))
        .add("P02", Flagstones())
        .add("P03", Full(Planks({Plum, Umber, Brown, Tan, 8, 87})))
        .add("P04", Chequer())
        .add("P05", Carpet());

    return b.done();
}

} // namespace art
