// Block set: plants and trees. Overlays that stand on the ground.

#include "content_sets.h"

#include <cmath>

namespace art {

namespace {

constexpr double kPi = 3.14159265358979;

// Foliage: clumps of leaves, each lit on its top left, in a repeating pattern.
Texture Leafy(const Ramp& ramp, int seed, int grid = 6) {
    return [ramp, seed, grid](int x, int y) {
        double du = 0;
        double dv = 0;
        if (InBlob(x, y, seed, grid, 1.0, grid * 0.45, grid * 0.62, &du, &dv)) {
            if (du + dv < -0.6)
                return ramp.light;
            if (du + dv > 0.7)
                return ramp.dark;
            return ramp.mid;
        }
        return ramp.dark;
    };
}

// Foliage in a shape: the leafy pattern, darker towards the bottom right of
// the whole shape (centre cx, cy in the coordinates shifted by ox, oy).
void Foliage(Pixels& pic, const Mask& shape, const Ramp& ramp, int seed, double cx, double cy, double r,
             int ox = 0, int oy = 0) {
    const Texture leafy = Leafy(ramp, seed);
    const Mask edge = shape.border(true);
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
            if (!shape.at(x, y))
                continue;
            if (edge.at(x, y)) {
                Put(pic, x, y, ramp.outline);
                continue;
            }
            int pal = leafy(x + ox, y + oy);
            const double toLight = -((x + ox + 0.5 - cx) + (y + oy + 0.5 - cy)) / (1.414 * r);
            if (toLight < -0.35 && pal != ramp.dark)
                pal = pal == ramp.light ? ramp.mid : ramp.dark;
            else if (toLight > 0.45 && pal == ramp.mid)
                pal = ramp.light;
            Put(pic, x, y, pal);
        }
}

Texture Bark(bool vertical) {
    return [vertical](int px, int py) {
        const int across = vertical ? px : py;
        const int along = vertical ? py : px;
        const double n = Noise(across, along / 5, 7);
        if (n < 0.2)
            return Plum;
        if (n > 0.85)
            return Brown;
        return Noise(px, py, 8) < 0.1 ? Brown : Umber;
    };
}

void Trunk(Pixels& pic, const Mask& trunk, bool vertical) {
    Paint(pic, trunk, Bark(vertical));
    const Mask edge = trunk.border(true);
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x)
            if (edge.at(x, y))
                Put(pic, x, y, Plum);
            else if (trunk.at(x, y) && (vertical ? !trunk.at(x - 2, y) : !trunk.at(x, y - 2)))
                Put(pic, x, y, Brown);
}

Pixels Flower(int petal, int light, int centre, int kind) {
    Pixels pic = NewPic();
    if (kind == 0) {
        // A sunflower.
        Fill(pic, Mask().rect(15, 14, 2, 18), Moss);
        Shade(pic, Mask().ellipse(11, 22, 4, 2).ellipse(21, 19, 4, 2), kLeaf);
        Mask petals;
        for (int i = 0; i < 10; ++i) {
            const double a = i * kPi / 5;
            petals.disc(15.5 + 6 * std::cos(a), 9 + 6 * std::sin(a), 2.5);
        }
        Shade(pic, petals, Ramp{Ochre, Orange, petal, light, White});
        Shade(pic, Mask().disc(15.5, 9, 4), Ramp{Plum, Umber, centre, Brown, Tan});
        return pic;
    }
    const int n = kind == 1 ? 3 : 4;
    for (int i = 0; i < n; ++i) {
        const double x = 6 + i * (20.0 / (n - 1));
        const double top = 8 + (i % 2) * 6;
        Fill(pic, Mask().line(x, top, x + (i % 2 ? 1 : -1), 31, 1.2), Moss);
        Shade(pic, Mask().ellipse(x + 2.5, top + 12, 2.5, 1.5), kLeaf);
        Mask head;
        if (kind == 1)
            head.ellipse(x, top, 3, 4)
                .poly({{x - 3, top - 3},
                       {x - 1.5, top - 6},
                       {x, top - 3},
                       {x + 1.5, top - 6},
                       {x + 3, top - 3}});
        else if (kind == 2)
            for (int k = 0; k < 6; ++k)
                head.disc(x + 3 * std::cos(k * kPi / 3), top + 3 * std::sin(k * kPi / 3), 1.6);
        else
            head.ellipse(x, top, 2, 3).ellipse(x + 1, top + 4, 2, 2);
        Shade(pic, head, Ramp{Plum, petal == White ? Silver : petal, petal, light, White});
        if (kind == 2)
            Shade(pic, Mask().disc(x, top, 1.5), kGold, {false, false, false});
    }
    (void)centre;
    return pic;
}

Pixels Bush(int berries, int seed) {
    Pixels pic = NewPic();
    Mask bush;
    bush.ellipse(16, 20, 14, 11).disc(11, 14, 7).disc(21, 13, 7);
    bush = bush & Mask().rect(0, 0, 32, 31);
    Foliage(pic, bush, kLeaf, seed, 14, 16, 14);
    if (berries >= 0)
        for (int i = 0; i < 9; ++i) {
            const int x = 6 + static_cast<int>(Hash(i, 0, seed) % 20);
            const int y = 10 + static_cast<int>(Hash(i, 1, seed) % 16);
            if (bush.at(x, y) && bush.at(x + 1, y + 1)) {
                Put(pic, x, y, berries);
                Put(pic, x + 1, y, berries);
                Put(pic, x, y + 1, berries);
                Put(pic, x + 1, y + 1, Plum);
                Put(pic, x, y, White);
            }
        }
    return pic;
}

Pixels SmallTree(int kind) {
    Pixels pic = NewPic();
    if (kind == 0) {
        // An apple tree.
        Trunk(pic, Mask().rect(13, 18, 6, 14), true);
        Mask crown;
        crown.disc(16, 12, 11).disc(9, 15, 6).disc(23, 15, 6);
        Foliage(pic, crown, kLeaf, 11, 14, 10, 12);
        for (auto [x, y] : {std::pair{10, 10}, {19, 7}, {22, 15}, {13, 16}, {16, 12}})
            Shade(pic, Mask().disc(x, y, 1.5), kRedR, {false, false, true});
    } else if (kind == 1) {
        // A young birch.
        Mask stem = Mask().rect(15, 8, 3, 24);
        Shade(pic, stem, kSnow, {true, true});
        for (int y = 10; y < kCell; y += 5)
            HLine(pic, 15, 16, y, Night);
        Mask crown;
        crown.ellipse(16, 9, 8, 9);
        Foliage(pic, crown, kFernR, 12, 14, 7, 9);
    } else if (kind == 2) {
        // A palm.
        Mask stem;
        stem.line(14, 31, 17, 10, 3.5);
        Paint(pic, stem, [](int, int y) { return y % 4 == 0 ? Umber : Tan; });
        Outline(pic, stem, Umber, true);
        Mask fronds;
        fronds.line(17, 9, 3, 12, 3)
            .line(17, 9, 30, 13, 3)
            .line(17, 9, 8, 2, 3)
            .line(17, 9, 27, 3, 3)
            .line(17, 9, 12, 17, 2.5);
        Shade(pic, fronds, kLeaf);
        Shade(pic, Mask().disc(16, 11, 1.5).disc(19, 11, 1.5), kWood);
    } else {
        // A cactus.
        Mask c;
        c.rect(13, 6, 7, 26)
            .disc(16, 6, 3.5)
            .rect(5, 13, 4, 8)
            .rect(5, 19, 9, 3)
            .disc(7, 13, 2)
            .rect(23, 10, 4, 8)
            .rect(19, 16, 8, 3)
            .disc(25, 10, 2);
        Shade(pic, c, kLeaf);
        for (int y = 8; y < 30; y += 4)
            Put(pic, 16, y, Lime);
        Shade(pic, Mask().disc(16, 3, 2), kPinkR, {true, false});
    }
    return pic;
}

Pixels Grass(int kind) {
    Pixels pic = NewPic();
    Mask blades;
    if (kind == 0) {
        for (int i = 0; i < 7; ++i) {
            const double x = 8 + i * 2.6;
            blades.line(x, 31, x + (i - 3) * 1.6, 20 - (i % 3) * 3, 2);
        }
        Fill(pic, blades, Green);
        Fill(pic, blades - blades.shifted(-1, 0), Moss);
        Fill(pic, blades - blades.shifted(0, 1), Lime);
    } else if (kind == 1) {
        for (int i = 0; i < 10; ++i) {
            const double x = 2 + i * 3.1;
            blades.line(x, 31, x + ((i * 7) % 5 - 2) * 1.5, 6 + (i * 5) % 9, 2);
        }
        Fill(pic, blades, Fern);
        Fill(pic, blades - blades.shifted(-1, 0), Olive);
        Fill(pic, blades - blades.shifted(0, 1), Lime);
    } else {
        // Reeds with their brown heads.
        for (int i = 0; i < 4; ++i) {
            const double x = 6 + i * 6.5;
            blades.line(x, 31, x + (i % 2 ? 1 : -1), 8 + (i % 2) * 5, 1.3);
        }
        blades.line(4, 31, 1, 18, 1.3).line(28, 31, 31, 16, 1.3);
        Fill(pic, blades, Green);
        Fill(pic, blades - blades.shifted(-1, 0), Moss);
        for (int i = 0; i < 4; ++i) {
            const double x = 6 + i * 6.5 + (i % 2 ? 1 : -1) * 0.7;
            Shade(pic, Mask().ellipse(x, 11 + (i % 2) * 5, 1.8, 4), kWood);
        }
    }
    return pic;
}

Pixels Mushrooms(bool red) {
    Pixels pic = NewPic();
    const double m[][3] = {{12, 16, 9}, {24, 23, 5}};
    for (const auto& k : m) {
        Shade(pic,
              Mask().rect(static_cast<int>(k[0] - k[2] / 3), static_cast<int>(k[1]),
                          static_cast<int>(k[2] * 0.66) + 1, static_cast<int>(30 - k[1])),
              kSnow);
        Mask cap;
        cap.ellipse(k[0], k[1], k[2], k[2] * 0.7);
        cap = cap & Mask().rect(0, 0, 32, static_cast<int>(k[1]) + 2);
        RoundShade(pic, cap, red ? kRedR : kWood, k[0] - 1, k[1] - 2, k[2]);
        if (red)
            for (auto [dx, dy] : {std::pair{-0.4, -0.3}, {0.3, -0.4}, {0.0, 0.0}, {0.55, 0.0}})
                Put(pic, static_cast<int>(k[0] + dx * k[2]), static_cast<int>(k[1] - 1 + dy * k[2]), White);
    }
    return pic;
}

Pixels Vegetable(int kind) {
    Pixels pic = NewPic();
    if (kind == 0) {
        Mask p;
        p.ellipse(16, 21, 13, 9);
        RoundShade(pic, p, kOrangeR, 13, 18, 13);
        for (int x : {10, 16, 22})
            Fill(pic, Mask().line(x, 14, x + (x - 16) / 3.0, 29) & Eroded(p), Brown);
        Shade(pic, Mask().rect(15, 9, 3, 5), kLeaf);
    } else if (kind == 1) {
        Mask c;
        c.disc(16, 19, 11);
        Foliage(pic, c, kFernR, 21, 14, 16, 11);
        Shade(pic, Mask().disc(16, 19, 5), Ramp{Olive, Fern, Lime, Lime, White});
    } else {
        for (int i = 0; i < 3; ++i) {
            const double x = 8 + i * 8;
            Mask leaves;
            leaves.line(x, 18, x - 3, 6, 2).line(x, 18, x, 4, 2).line(x, 18, x + 3, 7, 2);
            Shade(pic, leaves, kLeaf, {true, false, false});
            Mask root;
            root.poly({{x - 3, 18}, {x + 3, 18}, {x, 31}});
            Shade(pic, root, kOrangeR);
        }
        Fill(pic, Mask().rect(0, 20, 32, 1), Umber);
    }
    return pic;
}

Pixels TreeCrown(int q) {
    Pixels pic = NewPic();
    Mask crown;
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
            const double dx = x + 0.5 - kCell;
            const double dy = y + 0.5 - kCell;
            const double a = std::atan2(dy, dx);
            const double r = 28.5 + 2.5 * std::sin(a * 7);
            if (dx * dx + dy * dy <= r * r)
                crown.set(x, y);
        }
    crown = crown.turned(q);
    Foliage(pic, crown, kLeaf, 31, 32, 32, 30, CornerOffsetX(q), CornerOffsetY(q));
    return pic;
}

Pixels TreeTrunk(int q) {
    Pixels pic = NewPic();
    Trunk(pic, Mask().rect(9, 0, 14, 32).turned(q + 1), q != 0);
    return pic;
}

Pixels BirchLog(int q) {
    Pixels pic = NewPic();
    const Mask log = Mask().rect(0, 10, 32, 12).turned(q);
    Shade(pic, log, kSnow, {true, true});
    Mask marks;
    marks.rect(3, 13, 4, 1).rect(12, 18, 3, 1).rect(20, 12, 5, 1).rect(27, 17, 3, 1).rect(8, 20, 2, 1);
    Fill(pic, marks.turned(q), Night);
    return pic;
}

Pixels Branch(int q) {
    Pixels pic = NewPic();
    Mask branch;
    branch.poly({{9, 32}, {23, 32}, {19, 22}, {17, 14}, {14, 14}, {13, 22}});
    Trunk(pic, branch.turned(q), q % 2 == 0);
    Mask leaves;
    leaves.disc(15.5, 10, 10).disc(7, 15, 6.5).disc(24, 15, 6.5).disc(12, 4, 4.5).disc(21, 5, 5);
    leaves = leaves & Mask().rect(0, 0, 32, 24);
    Foliage(pic, leaves.turned(q), kLeaf, 33, 15.5, 9, 12);
    return pic;
}

Pixels PineTree(int q) {
    Pixels pic = NewPic();
    Trunk(pic, Mask().rect(14, 26, 4, 6).turned(q), q % 2 == 0);
    for (int tier = 0; tier < 3; ++tier) {
        const double top = 1 + tier * 7;
        const double half = 6 + tier * 3.5;
        Mask t;
        t.poly({{16, top}, {16 + half, top + 11}, {16 - half, top + 11}});
        t = t.turned(q);
        Shade(pic, t, kPine);
        for (int y = 0; y < kCell; ++y)
            for (int x = 0; x < kCell; ++x)
                if (t.at(x, y) && !t.border().at(x, y) && Noise(x, y, 35) < 0.12)
                    Put(pic, x, y, Slate);
    }
    return pic;
}

Pixels WillowTwigs(int q) {
    Pixels pic = NewPic();
    // Drawn hanging from the top edge, then turned round.
    Mask twigs;
    for (int i = 0; i < 6; ++i) {
        const double x = 3 + i * 5.2;
        const double len = 14 + (i * 7) % 13;
        twigs.line(x, 0, x + ((i % 2) ? 2 : -1), len, 1);
    }
    Fill(pic, twigs.turned(q + 2), Moss);
    for (int i = 0; i < 6; ++i) {
        const double x = 3 + i * 5.2;
        const double len = 14 + (i * 7) % 13;
        for (double y = 3; y < len; y += 3.5) {
            const double t = y / len;
            const double lx = x + ((i % 2) ? 2 : -1) * t;
            Shade(pic,
                  Mask().ellipse(lx + ((static_cast<int>(y) % 2) ? 1.5 : -1.5), y, 1.5, 2.5).turned(q + 2),
                  kLeaf);
        }
    }
    return pic;
}

Pixels FernFrond(int q) {
    Pixels pic = NewPic();
    Mask frond;
    frond.line(16, 31, 16, 3, 1.5);
    for (int i = 0; i < 7; ++i) {
        const double y = 5 + i * 3.7;
        const double len = 3 + i * 1.6;
        frond.line(16, y + 2, 16 - len, y - 1, 2).line(16, y + 2, 16 + len, y - 1, 2);
    }
    Shade(pic, frond.turned(q), kLeaf, {true, false});
    return pic;
}

Pixels Bamboo(int q) {
    Pixels pic = NewPic();
    for (int i = 0; i < 3; ++i) {
        const int x = 5 + i * 9;
        const Mask stalk = Mask().rect(x, 0, 4, 32).turned(q + 1);
        Shade(pic, stalk, kFernR, {true, true});
        Mask nodes;
        for (int y = (i * 5) % 10 + 2; y < kCell; y += 10)
            nodes.rect(x - 1, y, 6, 2);
        Shade(pic, nodes.turned(q + 1), kFernR, {true, false});
        Mask leaf;
        leaf.poly(
            {{x + 4.0, (i * 5) % 10 + 4.0}, {x + 9.0, (i * 5) % 10 + 2.0}, {x + 5.0, (i * 5) % 10 + 6.0}});
        Shade(pic, leaf.turned(q + 1), kLeaf);
    }
    return pic;
}

Pixels HedgeCorner(int q) {
    Pixels pic = NewPic();
    Mask hedge = Mask::Full();
    for (int y = 0; y < 14; ++y)
        for (int x = 0; x < 14; ++x) {
            const double dx = x + 0.5 - 14;
            const double dy = y + 0.5 - 14;
            if (dx * dx + dy * dy > 13.5 * 13.5)
                hedge.set(x, y, false);
        }
    hedge.rect(0, 0, 32, 2, false).rect(0, 0, 2, 32, false);
    hedge = hedge.turned(q);
    Foliage(pic, hedge, kPine, 37, 32, 32, 70, CornerOffsetX(q), CornerOffsetY(q));
    return pic;
}

Pixels Hedge() {
    Pixels pic = NewPic();
    Foliage(pic, Mask::Full(), kPine, 37, 16, 16, 60);
    return pic;
}

Pixels FloweringHedge() {
    Pixels pic = NewPic();
    Foliage(pic, Mask::Full(), kPine, 37, 16, 16, 60);
    for (int i = 0; i < 8; ++i) {
        const int x = 2 + static_cast<int>(Hash(i, 3, 39) % 28);
        const int y = 2 + static_cast<int>(Hash(i, 4, 39) % 28);
        Shade(pic, Mask().disc(x, y, 1.5), kPinkR, {false, false, true});
        Put(pic, x, y, White);
    }
    return pic;
}

} // namespace

BlockSet MakePlantsSet() {
    SetBuilder b("Plants and trees");

    // A big tree crown in four quarters.
    b.row().corners("62", TreeCrown);

    // A trunk, standing (V) and felled (H), and a birch log.
    b.row().pair("67", TreeTrunk, 3);
    b.row().pair("60", BirchLog);

    // A branch growing towards its letter from a trunk beside it.
    b.row().turns("68", Branch);

    // A pine tree pointing up (N).
    b.row().turns("66", PineTree);

    // Hanging willow twigs (S), and reaching up from the ground (N).
    b.row().turns("61", WillowTwigs);

    // A fern frond pointing up (N).
    b.row().turns("6B", FernFrond);

    // Bamboo: standing (V) and lying (H).
    b.row().pair("69", Bamboo, 3);

    // A hedge: rounded corners in four pieces, and its middle.
    b.row().corners("63", HedgeCorner);
    b.add("6E1", Hedge());
    b.add("6E2", FloweringHedge());

    // Flowers.
    b.row()
        .add("6A0", Flower(Yellow, White, Umber, 0))
        .add("6A1", Flower(Red, Rose, 0, 1))
        .add("6A2", Flower(White, White, 0, 2))
        .add("6A3", Flower(Pink, Peach, 0, 3))
        .add("6A4", Flower(Blue, Sky, 0, 1))
        .add("6A5", Flower(Purple, Pink, 0, 3));

    // Bushes and small trees.
    b.row().add("641", Bush(-1, 41)).add("642", Bush(Red, 42)).add("643", Bush(Blue, 43));
    b.row()
        .add("651", SmallTree(0))
        .add("652", SmallTree(1))
        .add("653", SmallTree(2))
        .add("654", SmallTree(3));

    // Grass, reeds, mushrooms and the vegetable patch.
    b.row().add("6C1", Grass(0)).add("6C2", Grass(1)).add("6C3", Grass(2));
    b.row().add("6D1", Mushrooms(true)).add("6D2", Mushrooms(false));
    b.row().add("6F1", Vegetable(0)).add("6F2", Vegetable(1)).add("6F3", Vegetable(2));

    return b.done();
}

} // namespace art
