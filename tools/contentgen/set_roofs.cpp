// Block set: roofs, chimneys and towers.

#include "content_sets.h"

#include <algorithm>
#include <cmath>

namespace art {

namespace {

// Clay tiles in overlapping rows, each with a rounded lower edge; standing
// rows when turned.
Texture ClayTiles(bool vertical) {
    return [vertical](int px, int py) {
        const int x = vertical ? py : px;
        const int y = vertical ? px : py;
        const int row = y / 8;
        const int v = y % 8;
        const int u = (x + (row % 2) * 4) % 8;
        const double t = (u - 3.5) / 4.0;
        const double edge = 4.6 + 2.4 * std::sqrt(std::max(0.0, 1.0 - t * t));
        if (v > edge)
            return Umber; // the tile below, in the shade of this one
        if (v > edge - 1.0)
            return Plum;
        if (v > edge - 2.2)
            return Brown;
        if (u == 0 || (v == 0 && u < 5) || (u == 1 && v < 4))
            return Orange;
        return Noise(px, py, 3) < 0.05 ? Brown : Red;
    };
}

// Rectangular slates in rows.
Texture Slates(int dark, int mid, int light, int line, int seed, bool vertical = false) {
    return [=](int px, int py) {
        const int x = vertical ? py : px;
        const int y = vertical ? px : py;
        const int row = y / 6;
        const int yy = y % 6;
        if (yy == 5)
            return line;
        if (((x + (row % 2) * 5) % 10) == 0 && x < 30)
            return line;
        if (yy == 0)
            return light;
        if (yy == 4)
            return dark;
        return Noise(px, py, seed) < 0.07 ? dark : mid;
    };
}

Texture Thatch() {
    return [](int x, int y) {
        const int yy = y % 8;
        const double n = Noise(x, y / 2, 19);
        if (yy == 7)
            return Ochre;
        if (n < 0.18)
            return Ochre;
        if (n > 0.85)
            return Peach;
        if (yy < 2)
            return Yellow;
        return Tan;
    };
}

Pixels Chimney(const Ramp& capRamp, const Texture& body) {
    Pixels pic = NewPic();
    const Mask stack = Mask().rect(9, 10, 14, 22);
    Paint(pic, stack, body);
    Outline(pic, stack, Plum, true);
    Shade(pic, Mask().rect(7, 7, 18, 4), capRamp);
    Shade(pic, Mask().rect(11, 1, 4, 7).rect(17, 3, 4, 5), kOrangeR);
    return pic;
}

Pixels Smoke() {
    Pixels pic = NewPic();
    Mask puffs;
    puffs.disc(13, 24, 4.5).disc(18, 17, 5.5).disc(12, 9, 5).disc(20, 5, 4).disc(24, 12, 3.5);
    Shade(pic, puffs, kSnow);
    Dither(pic, Eroded(puffs, 2) & Mask().rect(0, 16, 32, 16), Silver);
    return pic;
}

Pixels Aerial() {
    Pixels pic = NewPic();
    Mask pole;
    pole.rect(15, 6, 2, 26);
    Mask arms;
    for (int y : {6, 11, 16})
        arms.rect(8 + (y - 6) / 3, y, 16 - 2 * (y - 6) / 3, 2);
    Shade(pic, pole | arms, kMetal, {true, false, false});
    Put(pic, 15, 6, Ice);
    return pic;
}

Pixels Dish() {
    Pixels pic = NewPic();
    Mask bowl;
    bowl.ellipse(14, 13, 10, 11);
    bowl = bowl - Mask().ellipse(19, 11, 8, 11);
    Shade(pic, Mask().rect(14, 18, 3, 14), kMetal);
    RoundShade(pic, bowl, kSnow, 14, 13, 11);
    Shade(pic, Mask().line(14, 13, 22, 9, 1.5), kMetal, {false, false, false});
    Shade(pic, Mask().disc(22, 9, 1.5), kDark);
    return pic;
}

Pixels Dormer() {
    Pixels pic = NewPic();
    Mask front;
    front.rect(6, 12, 20, 20);
    Paint(pic, front, Planks({Plum, Umber, Brown, Tan, 6, 81}));
    Outline(pic, front, Plum, true);
    Mask roof;
    roof.poly({{2, 14}, {16, 2}, {30, 14}, {30, 17}, {16, 6}, {2, 17}});
    Shade(pic, roof, kRedR);
    Shade(pic, Mask().rect(10, 17, 12, 12), kBlue);
    Fill(pic, Mask().rect(15, 17, 2, 12).rect(10, 22, 12, 2), Ice);
    Put(pic, 12, 19, White);
    return pic;
}

Pixels Skylight() {
    Pixels pic = NewPic();
    PaintAll(pic, ClayTiles(false));
    Shade(pic, Mask().rect(6, 6, 20, 20), kMetal);
    Mask glass;
    glass.rect(9, 9, 14, 14);
    Fill(pic, glass, Ocean);
    Fill(pic, Mask().line(11, 20, 20, 11, 2), Sky);
    Fill(pic, Mask().line(15, 21, 21, 15, 1), Cyan);
    return pic;
}

Pixels Weathervane() {
    Pixels pic = NewPic();
    Shade(pic, Mask().rect(15, 12, 2, 20), kDark, {true, false, false});
    Mask arrow;
    arrow.rect(5, 9, 22, 2)
        .poly({{24, 6}, {29, 10}, {24, 14}})
        .poly({{4, 6}, {8, 10}, {4, 14}, {2, 14}, {6, 10}, {2, 6}});
    Shade(pic, arrow, kDark, {true, false, false});
    // The cockerel on top.
    Mask bird;
    bird.ellipse(15, 5, 5, 3).disc(20, 2.5, 2).poly({{10, 1}, {12, 5}, {9, 7}});
    Shade(pic, bird, kGold);
    Put(pic, 21, 2, Night);
    return pic;
}

Pixels Spire(const Ramp& ramp, bool flag) {
    Pixels pic = NewPic();
    Mask cone;
    cone.poly({{16, 4}, {29, 32}, {3, 32}});
    Paint(pic, cone, [&](int x, int y) {
        const int row = (y + 1) / 4;
        if (y % 4 == 3)
            return ramp.outline;
        if (x < 16 - (y - 4) / 4 + 2 && row > 1)
            return ramp.light;
        if (x > 16 + (y - 4) / 5)
            return ramp.dark;
        return ramp.mid;
    });
    Outline(pic, cone, ramp.outline, true);
    Shade(pic, Mask().rect(15, 0, 2, 6), kGold, {true, false, false});
    if (flag) {
        Mask f;
        f.poly({{17, 0}, {27, 2}, {17, 5}});
        Shade(pic, f, kRedR);
    } else {
        Shade(pic, Mask().disc(15.5, 2, 2), kGold);
    }
    return pic;
}

Pixels Turret() {
    Pixels pic = NewPic();
    Mask cone;
    cone.poly({{16, 2}, {31, 22}, {1, 22}});
    Paint(pic, cone, ClayTiles(false));
    Outline(pic, cone, Plum, true);
    Mask body;
    body.rect(4, 22, 24, 10);
    Paint(pic, body, Stones({Ash, Grey, Silver, Ice, Grey, 88}));
    Outline(pic, body, Night, true);
    Shade(pic, Mask().rect(13, 24, 6, 8), kNight);
    Shade(pic, Mask().rect(0, 20, 32, 3), kWood, {true, true});
    return pic;
}

Pixels ClockFace() {
    Pixels pic = NewPic();
    Mask rim;
    rim.disc(15.5, 15.5, 14);
    RoundShade(pic, rim, kGold, 15.5, 15.5, 14);
    Mask face;
    face.disc(15.5, 15.5, 11);
    Fill(pic, face, Ice);
    Fill(pic, face.border(), Silver);
    for (int i = 0; i < 12; ++i) {
        const double a = i * 3.14159265 / 6.0;
        Put(pic, static_cast<int>(std::lround(15.5 + 9 * std::sin(a))),
            static_cast<int>(std::lround(15.5 - 9 * std::cos(a))), i % 3 == 0 ? Night : Grey);
    }
    Fill(pic, Mask().line(15.5, 15.5, 15.5, 8, 1.5), Night);
    Fill(pic, Mask().line(15.5, 15.5, 20, 18, 1.5), Night);
    Put(pic, 15, 15, Red);
    return pic;
}

Pixels Bell() {
    Pixels pic = NewPic();
    Mask arch;
    arch.rect(3, 10, 26, 22).disc(15.5, 12, 13);
    arch = arch & Mask().rect(0, 0, 32, 32);
    Paint(pic, arch, Stones({Ash, Grey, Silver, Ice, Grey, 91}));
    Outline(pic, arch, Night, true);
    Mask opening;
    opening.rect(8, 12, 16, 20).disc(15.5, 12, 8);
    Fill(pic, opening, Night);
    Mask bell;
    bell.poly({{12, 14}, {19, 14}, {22, 26}, {9, 26}}).disc(15.5, 14, 4);
    RoundShade(pic, bell, kGold, 13, 16, 10);
    Shade(pic, Mask().disc(15.5, 27, 1.5), kGold);
    return pic;
}

Pixels RoseWindow() {
    Pixels pic = NewPic();
    Mask frame;
    frame.disc(15.5, 15.5, 14.5);
    RoundShade(pic, frame, kStone, 15.5, 15.5, 14.5);
    static const int kGlass[] = {Red, Blue, Yellow, Green, Purple, Sky, Orange, Rose};
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
            const double dx = x - 15.5;
            const double dy = y - 15.5;
            const double d = std::sqrt(dx * dx + dy * dy);
            if (d > 11.5)
                continue;
            const double a = std::atan2(dy, dx) + 3.14159265;
            const int sector = static_cast<int>(a / (2 * 3.14159265) * 8) % 8;
            const bool lead = d < 4.5 ? d > 3.5 : std::fmod(a / (2 * 3.14159265) * 8, 1.0) < 0.12 || d > 10.5;
            Put(pic, x, y, lead ? Night : (d < 3.5 ? Yellow : kGlass[sector]));
        }
    return pic;
}

Pixels Girder(int quarters) {
    Pixels pic = NewPic();
    Mask chords;
    chords.rect(0, 7, 32, 4).rect(0, 21, 32, 4);
    Mask struts;
    for (int x = 0; x < kCell; x += 16) {
        struts.line(x, 10, x + 8, 22, 2.5).line(x + 8, 22, x + 16, 10, 2.5);
    }
    struts = struts & Mask().rect(0, 10, 32, 12);
    const Ramp ramp{Plum, Red, Orange, Yellow, White};
    Shade(pic, struts.turned(quarters), ramp, {true, true});
    Shade(pic, chords.turned(quarters), ramp, {true, true});
    Mask rivets;
    for (int x = 2; x < kCell; x += 4) {
        rivets.set(x, 9);
        rivets.set(x, 23);
    }
    Fill(pic, rivets.turned(quarters), Umber);
    return pic;
}

Pixels RoofTiles(int q) {
    Pixels pic = NewPic();
    PaintAll(pic, ClayTiles(q != 0));
    return pic;
}

Pixels TilesWithBoard(int q) {
    Pixels pic = NewPic();
    PaintAll(pic, ClayTiles(false));
    Shade(pic, Mask().rect(0, 0, 32, 5).turned(q), kWood, {true, true});
    return pic;
}

Pixels TiledSlope(int q) {
    Pixels pic = NewPic();
    const Mask roof = SlopeMask(q);
    Paint(pic, roof, ClayTiles(false));
    Shade(pic, SlopeBand(q, 3), kWood, {true, true});
    return pic;
}

Pixels DomeQuarter(int q) {
    Pixels pic = NewPic();
    const Mask dome = QuarterDisc(q, 31.5);
    RoundShade(pic, dome, kTealR, 32, 32, 31.5, CornerOffsetX(q), CornerOffsetY(q));
    // Ribs running up the dome.
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
            const int gx = x + CornerOffsetX(q);
            if (dome.at(x, y) && gx % 10 == 2 && !dome.border(true).at(x, y))
                Put(pic, x, y, Slate);
        }
    return pic;
}

Pixels Beam(int q) {
    Pixels pic = NewPic();
    const Mask beam = Mask().rect(0, 10, 32, 12).turned(q);
    Paint(pic, beam, Planks({Plum, Umber, Brown, Tan, 32, 83, q != 0}));
    Outline(pic, beam, Plum, true);
    Mask pegs;
    pegs.rect(7, 15, 2, 2).rect(23, 15, 2, 2);
    Fill(pic, pegs.turned(q), Plum);
    return pic;
}

Pixels GreySlate() {
    Pixels p = NewPic();
    PaintAll(p, Slates(Ash, Iron, Grey, Night, 1));
    return p;
}

Pixels BlueSlate() {
    Pixels p = NewPic();
    PaintAll(p, Slates(Indigo, Ocean, Blue, Night, 2));
    return p;
}

Pixels CopperRoof() {
    Pixels p = NewPic();
    PaintAll(p, [](int x, int y) {
        const int xx = x % 8;
        if (xx == 0)
            return Slate;
        if (xx == 1)
            return Lime;
        if (xx == 7)
            return Teal;
        return Noise(x, y, 4) < 0.1 ? Teal : Green;
    });
    return p;
}

Pixels ThatchedRoof() {
    Pixels p = NewPic();
    PaintAll(p, Thatch());
    return p;
}

Pixels SlateSlope(int q) {
    Pixels pic = NewPic();
    Paint(pic, SlopeMask(q), Slates(Ash, Iron, Grey, Night, 5));
    Shade(pic, SlopeBand(q, 2), kMetal, {true, true});
    return pic;
}

Pixels ChimneyCowl() {
    Pixels pic = NewPic();
    Shade(pic, Mask().rect(12, 8, 8, 24), kMetal, {true, true});
    Mask cowl;
    cowl.poly({{8, 8}, {16, 2}, {24, 8}});
    Shade(pic, cowl, kDark);
    Shade(pic, Mask().rect(11, 20, 10, 3), kDark);
    return pic;
}

} // namespace

BlockSet MakeRoofsSet() {
    SetBuilder b("Roofs, chimneys and towers");

    // Clay tiles for the body of a roof.
    b.row().pair("20", RoofTiles);

    // Tiles with a wooden board along one edge: the ridge (N), the eaves (S).
    b.row().turns("21", TilesWithBoard);

    // Slopes of a tiled roof (N and E make a gable), a chimney and its smoke.
    b.row().turns("22", TiledSlope);
    b.add("221", Chimney(kStone, Bricks(TownBrick()))).add("220", Smoke());

    // A dome in four quarters.
    b.row().corners("23", DomeQuarter);

    // A wooden beam.
    b.row().pair("25", Beam);

    // Slate, copper and thatch.
    b.row()
        .add("261", GreySlate())
        .add("262", BlueSlate())
        .add("263", CopperRoof())
        .add("26T", ThatchedRoof());

    // Slate slopes.
    b.row().turns("27", SlateSlope);

    // Chimneys and what stands on roofs.
    b.row()
        .add("281", Chimney(kStone, Stones({Ash, Grey, Silver, Ice, Grey, 7})))
        .add("282", ChimneyCowl())
        .add("283", Aerial())
        .add("284", Dish());

    // Roof windows and a weathervane.
    b.row().add("291", Dormer()).add("292", Skylight()).add("293", Weathervane());

    // A steel girder.
    b.row().pair("2A", Girder);

    // Spires and a turret.
    b.row().add("2C0", Spire(kStone, false)).add("2C1", Spire(kTealR, true)).add("2C2", Turret());

    // Tower pieces.
    b.row().add("2B1", ClockFace()).add("2B2", Bell()).add("2B3", RoseWindow());

    return b.done();
}

} // namespace art
