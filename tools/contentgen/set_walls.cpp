// Block set: walls and bricks. Full-cell walls for layer 0, and wall pieces
// (edges, gables, arches, battlements, corners, stairs) that stand on magenta.

#include "content_sets.h"

#include <cmath>

namespace art {

namespace {

// A wall piece: the bricks inside the mask, a dark line where the wall is cut.
void WallPiece(Pixels& pic, const Mask& mask, const Texture& tex) {
    Paint(pic, mask, tex);
    Outline(pic, mask, Plum, true);
}

// A band of stone sitting on a wall (a coping, a sill, a plinth).
void StoneBand(Pixels& pic, const Mask& band) {
    Shade(pic, band, kStone, {true, true});
}

Pixels BrickWall(const BrickStyle& style) {
    Pixels pic = NewPic();
    PaintAll(pic, Bricks(style));
    return pic;
}

Pixels CrackedBricks() {
    Pixels pic = BrickWall(TownBrick());
    // A crack running down through the bricks and the mortar.
    Mask crack;
    crack.line(9, 2, 13, 9).line(13, 9, 11, 15).line(11, 15, 17, 22).line(17, 22, 16, 29).line(13, 9, 19, 11);
    Fill(pic, crack, Plum);
    Fill(pic, crack.shifted(1, 0) - crack, Rose);
    return pic;
}

Pixels DampBricks() {
    BrickStyle s = TownBrick();
    s.dark = Plum;
    s.mid = Umber;
    s.light = Brown;
    s.alt = Plum;
    s.mortar = Grey;
    s.seed = 21;
    Pixels pic = BrickWall(s);
    // Moss creeping up from the bottom.
    for (int y = 18; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
            const double n = Noise(x, y, 77);
            const double reach = (y - 18) / 14.0;
            if (n < reach * 0.45)
                Put(pic, x, y, n < reach * 0.2 ? Fern : Moss);
        }
    return pic;
}

Pixels StoneWall(StoneStyle s) {
    Pixels pic = NewPic();
    PaintAll(pic, Stones(s));
    return pic;
}

Pixels MossyStone() {
    StoneStyle s;
    s.seed = 17;
    Pixels pic = StoneWall(s);
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x)
            if (Get(pic, x, y) == Ash && Noise(x, y, 5) < 0.7)
                Put(pic, x, y, Moss);
            else if (Noise(x / 3, y / 3, 8) < 0.18 && Noise(x, y, 9) < 0.6)
                Put(pic, x, y, Noise(x, y, 10) < 0.5 ? Fern : Green);
    return pic;
}

Pixels Ashlar(bool vertical) {
    // Regular long blocks: courses of 8, blocks of 16 offset by 8, wide joints.
    BrickStyle s;
    s.mortar = Ash;
    s.dark = Grey;
    s.mid = Silver;
    s.light = Ice;
    s.alt = Silver;
    s.length = 16;
    s.height = 8;
    s.seed = 41;
    s.vertical = vertical;
    Pixels pic = BrickWall(s);
    // Tooling marks.
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x)
            if (Get(pic, x, y) == Silver && Noise(x, y, 42) < 0.1)
                Put(pic, x, y, Grey);
    return pic;
}

Pixels PlankWall(PlankStyle s) {
    Pixels pic = NewPic();
    PaintAll(pic, Planks(s));
    return pic;
}

Pixels Plaster(int base, int speck, int light, int dark, int seed) {
    Pixels pic = NewPic();
    PaintAll(pic, Speckled(base, speck, 0.07, seed));
    SoftEdges(pic, light, dark);
    return pic;
}

Pixels ConcretePanel() {
    Pixels pic = Plaster(Silver, Grey, Ice, Grey, 61);
    // Form-tie holes and a panel joint.
    HLine(pic, 0, 31, 15, Grey);
    for (int x : {7, 23})
        for (int y : {7, 23}) {
            Put(pic, x, y, Ash);
            Put(pic, x + 1, y + 1, Ice);
        }
    return pic;
}

Pixels Tiles() {
    Pixels pic = NewPic();
    PaintAll(pic, [](int x, int y) {
        const int xx = x % 8;
        const int yy = y % 8;
        if (xx == 7 || yy == 7)
            return Silver;
        const bool blue = ((x / 8) + (y / 8)) % 2 == 0;
        if (xx == 0 || yy == 0)
            return blue ? Sky : White;
        if (xx == 6 || yy == 6)
            return blue ? Blue : Ice;
        return blue ? Sky : White;
    });
    return pic;
}

// Town bricks in a mask with the cut edges outlined.
Pixels TownPiece(const Mask& mask) {
    Pixels pic = NewPic();
    WallPiece(pic, mask, Bricks(TownBrick()));
    return pic;
}

} // namespace

const BrickStyle& TownBrick() {
    static const BrickStyle style{};
    return style;
}

Mask SlopeMask(int quarters) {
    Mask m;
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x)
            if (x + y >= kCell - 1)
                m.set(x, y);
    return m.turned(quarters);
}

Mask SlopeBand(int quarters, int width) {
    Mask m;
    const int reach = static_cast<int>(std::lround(width * 1.42));
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x)
            if (x + y >= kCell - 1 && x + y < kCell - 1 + reach)
                m.set(x, y);
    return m.turned(quarters);
}

Mask QuarterDisc(int quarters, double radius) {
    Mask m;
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
            const double dx = x + 0.5 - kCell;
            const double dy = y + 0.5 - kCell;
            if (dx * dx + dy * dy <= radius * radius)
                m.set(x, y);
        }
    return m.turned(quarters);
}

namespace {

Pixels Coping(int q) {
    Pixels pic = BrickWall(TownBrick());
    StoneBand(pic, Mask().rect(0, 0, 32, 5).turned(q));
    return pic;
}

Pixels BrokenWall(int q) {
    Mask wall = Mask::Full();
    wall.rect(0, 0, 9, 8, false).rect(9, 0, 7, 16, false).rect(16, 0, 10, 8, false).rect(26, 0, 6, 4, false);
    wall.rect(12, 16, 3, 4, false);
    return TownPiece(wall.turned(q));
}

Pixels LowWall(int q) {
    const Mask wall = Mask().rect(0, 14, 32, 18).turned(q);
    Pixels pic = TownPiece(wall);
    StoneBand(pic, Mask().rect(0, 13, 32, 4).turned(q));
    return pic;
}

Pixels Gable(int q) {
    Pixels pic = TownPiece(SlopeMask(q));
    StoneBand(pic, SlopeBand(q, 3));
    return pic;
}

Pixels Archway(int q) {
    // Drawn pointing down (S), the opening at the bottom edge.
    Mask opening;
    opening.rect(9, 16, 14, 16).disc(15.5, 16, 7);
    Mask ring = (opening.grown().grown().grown() - opening) & Mask().rect(0, 0, 32, 32);
    ring.rect(6, 29, 20, 3, false);
    const Mask wall = (Mask::Full() - opening).turned(q + 2);
    Pixels pic = TownPiece(wall);
    Shade(pic, ring.turned(q + 2) - opening.turned(q + 2), kStone, {true, true});
    // The keystone.
    Shade(pic, Mask().rect(14, 5, 4, 5).turned(q + 2), kStone, {true, false});
    return pic;
}

Pixels Battlements(int q) {
    Mask wall = Mask::Full();
    for (int x = 8; x < kCell; x += 16)
        wall.rect(x, 0, 8, 10, false);
    Pixels pic = TownPiece(wall.turned(q));
    Mask caps;
    caps.rect(0, 0, 8, 3).rect(16, 0, 8, 3).rect(8, 10, 8, 3).rect(24, 10, 8, 3);
    StoneBand(pic, caps.turned(q));
    return pic;
}

Pixels TownCorner(int q) {
    const Mask wall = Mask().rect(4, 4, 28, 28).turned(q);
    Pixels pic = TownPiece(wall);
    Mask quoins;
    for (int y = 8; y < kCell; y += 8)
        quoins.rect(4, y, (y / 8) % 2 ? 10 : 6, 7);
    Shade(pic, quoins.turned(q), kStone, {true, true});
    StoneBand(pic, Mask().rect(2, 2, 30, 6).turned(q));
    return pic;
}

Pixels Stairs(int q) {
    Mask steps;
    for (int i = 0; i < 4; ++i)
        steps.rect(i * 8, 24 - i * 8, 8, 8 + i * 8);
    Pixels pic = TownPiece(steps.turned(q));
    Mask treads;
    for (int i = 0; i < 4; ++i)
        treads.rect(i * 8, 24 - i * 8, 8, 3);
    StoneBand(pic, treads.turned(q));
    return pic;
}

Pixels PillarAndLintel(int q) {
    const Mask pillar = Mask().rect(7, 0, 18, 32).turned(q + 1);
    Pixels pic = NewPic();
    Paint(pic, pillar, Bricks(TownBrick()));
    Outline(pic, pillar, Plum, true);
    Shade(pic, Mask().rect(5, 0, 3, 32).turned(q + 1), kStone, {true, true});
    Shade(pic, Mask().rect(24, 0, 3, 32).turned(q + 1), kStone, {true, true});
    return pic;
}

Pixels StoneRing(int q) {
    Pixels pic = NewPic();
    const Mask outer = QuarterDisc(q, 31.5);
    const Mask inner = QuarterDisc(q, 17.5);
    const Mask ring = outer - inner;
    Shade(pic, ring, kStone, {true, true});
    // Joints between the voussoirs, pointing to the centre.
    for (int i = 1; i < 4; ++i) {
        const double a = i * 3.14159265 / 8.0;
        Mask joint;
        joint.line(32 - 19 * std::cos(a), 32 - 19 * std::sin(a), 32 - 30 * std::cos(a),
                   32 - 30 * std::sin(a));
        Fill(pic, joint.turned(q) & Eroded(ring), Ash);
    }
    return pic;
}

// Old bricks in three clays, cracked, damp, long and standing.
void AddOldBricks(SetBuilder& b) {
    BrickStyle brown{Silver, Umber, Brown, Tan, Red, 8, 16, 8, 11};
    BrickStyle purple{Grey, Plum, Umber, Brown, Plum, 8, 16, 8, 12};
    BrickStyle yellow{Grey, Ochre, Tan, Peach, Orange, 8, 16, 8, 13};
    BrickStyle roman{Peach, Umber, Brown, Tan, Orange, 4, 32, 12, 14};
    b.row()
        .add("101", BrickWall(brown))
        .add("102", BrickWall(purple))
        .add("103", BrickWall(yellow))
        .add("10C", CrackedBricks())
        .add("10D", DampBricks())
        .pair("10", [roman](int q) {
            BrickStyle s = roman;
            s.vertical = q != 0;
            return BrickWall(s);
        });
}

// Stone walls.
void AddStoneWalls(SetBuilder& b) {
    StoneStyle grey;
    StoneStyle sand{Ochre, Tan, Peach, White, Ochre, 31};
    StoneStyle dark{Night, Ash, Iron, Grey, Ash, 37};
    b.row()
        .add("111", StoneWall(grey))
        .add("112", StoneWall(sand))
        .add("113", StoneWall(dark))
        .add("11C", MossyStone())
        .pair("11", [](int q) { return Ashlar(q != 0); });
}

// Wooden boards.
void AddWoodenBoards(SetBuilder& b) {
    PlankStyle darkWood{Night, Plum, Umber, Brown, 8, 51};
    PlankStyle birch{Ochre, Tan, Peach, White, 8, 52};
    PlankStyle barn{Plum, Plum, Red, Rose, 8, 53};
    PlankStyle grey{Ash, Iron, Grey, Silver, 8, 54};
    b.row()
        .add("12D", PlankWall(darkWood))
        .add("12B", PlankWall(birch))
        .add("12R", PlankWall(barn))
        .add("12G", PlankWall(grey))
        .pair("12", [](int q) {
            PlankStyle s{Plum, Umber, Brown, Tan, 8, 55};
            s.vertical = q != 0;
            return PlankWall(s);
        });
}

} // namespace

BlockSet MakeWallsSet() {
    SetBuilder b("Walls and bricks");

    // The town brick: running bond and standing bricks.
    b.row().pair("30", [](int q) {
        BrickStyle s = TownBrick();
        s.vertical = q != 0;
        return BrickWall(s);
    });

    AddOldBricks(b);
    AddStoneWalls(b);
    AddWoodenBoards(b);

    // Plaster, concrete and tiles.
    b.row()
        .add("131", Plaster(Ice, White, White, Silver, 71))
        .add("132", Plaster(Peach, Tan, White, Tan, 72))
        .add("133", Plaster(Pink, Rose, Peach, Rose, 73))
        .add("134", Plaster(Sky, Cyan, Ice, Blue, 74))
        .add("135", ConcretePanel())
        .add("136", Tiles());

    // A wall topped with a coping.
    b.row().turns("14", Coping);

    // A broken wall: the bricks of one side knocked out.
    b.row().turns("34", BrokenWall);

    // A low wall, half a cell high, with its coping.
    b.row().turns("35", LowWall);

    // A gable: bricks under a slope with a stone edge.
    b.row().turns("36", Gable);

    // An archway: the opening shows what lies behind.
    b.row().turns("37", Archway);

    // Battlements.
    b.row().turns("38", Battlements);

    // Building corners: quoins up the side, a coping along the top. J and K are
    // the top corners; turned down, the coping becomes the plinth.
    b.row().corners("16", TownCorner);

    // Stairs climbing to the right (N), each tread edged in stone.
    b.row().turns("17", Stairs);

    // A brick pillar (V) and a brick lintel (H).
    b.row().pair("33", PillarAndLintel, 1);

    // A round stone opening in four quarters: a tunnel mouth or a rose window.
    b.row().corners("24", StoneRing);

    return b.done();
}

} // namespace art
