// Block set: windows, doors and fittings. Overlays for the walls.

#include "content_sets.h"

#include <cmath>

namespace art {

namespace {

// Glass with the sky reflected in a diagonal streak.
void Glass(Pixels& pic, const Mask& glass, int base = Ocean) {
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
            if (!glass.at(x, y))
                continue;
            const int d = ((x + y) % 20 + 20) % 20;
            int pal = base;
            if (d == 8 || d == 9)
                pal = Sky;
            else if (d == 11)
                pal = Cyan;
            if (!glass.at(x, y - 1) || !glass.at(x - 1, y))
                pal = Indigo; // the shadow of the frame
            Put(pic, x, y, pal);
        }
}

// A framed window: the frame shape, then the glass.
void FramedWindow(Pixels& pic, const Mask& frame, const Mask& glass, const Ramp& ramp = kSnow) {
    Shade(pic, frame, ramp);
    Glass(pic, glass);
}

Pixels Sill(Pixels pic, int y = 27) {
    Shade(pic, Mask().rect(3, y, 26, 3), kStone);
    return pic;
}

Pixels SashWindow() {
    Pixels pic = NewPic();
    Mask frame = Mask().rect(6, 2, 20, 26);
    Mask glass = Mask().rect(8, 4, 16, 22);
    FramedWindow(pic, frame, glass);
    Fill(pic, Mask().rect(15, 4, 2, 22).rect(8, 14, 16, 2), Ice);
    return Sill(pic);
}

Pixels CurtainWindow() {
    Pixels pic = SashWindow();
    Mask curtains;
    curtains.poly({{8, 4}, {14, 4}, {11, 14}, {9, 26}, {8, 26}})
        .poly({{18, 4}, {24, 4}, {24, 26}, {23, 26}, {21, 14}});
    Shade(pic, curtains, kRedR, {false, false, true, true});
    Fill(pic, Mask().line(10, 6, 10, 24).line(22, 6, 22, 24), Red);
    return pic;
}

Pixels LitWindow() {
    Pixels pic = NewPic();
    Shade(pic, Mask().rect(6, 2, 20, 26), kWood);
    for (int y = 4; y < 26; ++y)
        for (int x = 8; x < 24; ++x)
            Put(pic, x, y, (x + y) % 9 == 0 ? White : (y < 9 ? Orange : Yellow));
    Fill(pic, Mask().rect(15, 4, 2, 22).rect(8, 14, 16, 2), Umber);
    // A lamp shade in the room.
    Shade(pic, Mask().poly({{10, 20}, {14, 20}, {15, 24}, {9, 24}}), kRedR, {true, false, false});
    return Sill(pic);
}

Pixels PotWindow() {
    Pixels pic = SashWindow();
    Shade(pic, Mask().poly({{11, 21}, {21, 21}, {19, 28}, {13, 28}}), kOrangeR);
    Mask leaves;
    leaves.disc(13, 17, 3).disc(19, 16, 3).disc(16, 13, 3.5).disc(11, 12, 2).disc(21, 11, 2);
    Shade(pic, leaves, kLeaf);
    for (auto [x, y] : {std::pair{16, 11}, {12, 15}, {20, 14}})
        Shade(pic, Mask().disc(x, y, 1.5), kRedR, {false, false, false});
    return pic;
}

Pixels ArchedWindow() {
    Pixels pic = NewPic();
    Mask frame = Mask().rect(6, 10, 20, 18).disc(15.5, 11, 10);
    Mask glass = Mask().rect(8, 11, 16, 15).disc(15.5, 11, 8);
    glass = glass & Mask().rect(8, 0, 16, 26);
    FramedWindow(pic, frame, glass, kStone);
    Fill(pic, Mask().rect(15, 3, 2, 23).rect(8, 15, 16, 1), Ice);
    return Sill(pic);
}

Pixels BoardedWindow() {
    Pixels pic = NewPic();
    Shade(pic, Mask().rect(6, 2, 20, 26), kDark);
    Fill(pic, Mask().rect(8, 4, 16, 22), Night);
    // Broken glass in one corner.
    Fill(pic, Mask().poly({{8, 4}, {15, 4}, {8, 12}}), Ocean);
    Fill(pic, Mask().line(9, 5, 13, 5), Sky);
    Mask boards;
    boards.line(4, 9, 28, 13, 4).line(4, 21, 28, 17, 4);
    Paint(pic, boards, Planks({Plum, Umber, Brown, Tan, 32, 61}));
    Outline(pic, boards, Plum);
    for (auto [x, y] : {std::pair{7, 10}, {25, 12}, {7, 20}, {25, 18}})
        Put(pic, x, y, Night);
    return Sill(pic);
}

Pixels Door(const Ramp& ramp, int kind) {
    Pixels pic = NewPic();
    // The frame and the step.
    Shade(pic, Mask().rect(4, 1, 24, 31), kStone, {true, true});
    Mask leaf = Mask().rect(7, 4, 18, 28);
    Shade(pic, leaf, ramp, {true, true});
    if (kind == 0) {
        // Wooden boards with an arched top panel.
        for (int x = 11; x < 25; x += 4)
            VLine(pic, x, 5, 31, ramp.dark);
        Shade(pic, Mask().disc(21, 18, 1.5), kGold);
    } else if (kind == 1) {
        Glass(pic, Mask().rect(10, 7, 12, 9));
        Shade(pic, Mask().rect(10, 19, 12, 10), ramp, {true, false});
        Shade(pic, Mask().rect(20, 17, 3, 2), kGold);
    } else if (kind == 2) {
        Shade(pic, Mask().rect(10, 7, 5, 9).rect(17, 7, 5, 9), ramp, {true, false});
        Shade(pic, Mask().rect(10, 19, 5, 10).rect(17, 19, 5, 10), ramp, {true, false});
        Shade(pic, Mask().disc(15.5, 17.5, 2), kGold);
        Shade(pic, Mask().rect(13, 11, 6, 2), kGold);
    } else {
        Glass(pic, Mask().rect(9, 6, 14, 24));
        Shade(pic, Mask().rect(10, 17, 12, 2), kMetal);
    }
    return pic;
}

Pixels PlankDoor() {
    Pixels pic = NewPic();
    Mask leaf = Mask().rect(5, 2, 22, 30);
    Paint(pic, leaf, Planks({Plum, Umber, Brown, Tan, 6, 91, true}));
    Outline(pic, leaf, Plum, true);
    Mask brace;
    brace.rect(6, 7, 20, 3).rect(6, 24, 20, 3).line(8, 23, 24, 10, 2.5);
    Paint(pic, brace, Planks({Plum, Umber, Brown, Tan, 32, 92}));
    Outline(pic, brace, Plum);
    Shade(pic, Mask().disc(23, 17, 1.5), kDark);
    return pic;
}

Pixels BarnDoor() {
    Pixels pic = NewPic();
    Mask leaf = Mask().rect(1, 1, 30, 31);
    Paint(pic, leaf, Planks({Plum, Plum, Red, Rose, 5, 93, true}));
    Outline(pic, leaf, Plum, true);
    Mask frame;
    frame.rect(1, 1, 30, 3)
        .rect(1, 1, 3, 31)
        .rect(28, 1, 3, 31)
        .rect(15, 1, 2, 31)
        .line(3, 3, 14, 30, 2.5)
        .line(14, 3, 3, 30, 2.5)
        .line(17, 3, 28, 30, 2.5)
        .line(28, 3, 17, 30, 2.5);
    Shade(pic, frame & leaf, kSnow, {false, false, true, true});
    return pic;
}

Pixels GarageDoor() {
    Pixels pic = NewPic();
    Mask leaf = Mask().rect(1, 2, 30, 30);
    Shade(pic, leaf, kStone, {true, true});
    for (int y = 5; y < kCell; y += 4) {
        HLine(pic, 2, 29, y, Grey);
        HLine(pic, 2, 29, y + 1, Ice);
    }
    Shade(pic, Mask().rect(13, 27, 6, 2), kDark);
    return pic;
}

Pixels ShopFront() {
    Pixels pic = NewPic();
    Shade(pic, Mask().rect(0, 0, 32, 32), kDark, {true, true});
    Glass(pic, Mask().rect(2, 2, 28, 20));
    // Goods in the window.
    Shade(pic, Mask().rect(4, 14, 6, 8), kRedR);
    Shade(pic, Mask().disc(15, 18, 4), kGold);
    Shade(pic, Mask().rect(21, 12, 6, 10), kLeaf);
    Shade(pic, Mask().rect(2, 24, 28, 6), kWood);
    return pic;
}

Pixels Awning(int stripe) {
    Pixels pic = NewPic();
    Mask canvas;
    canvas.poly({{0, 2}, {32, 2}, {32, 16}, {0, 16}});
    Paint(pic, canvas, [stripe](int x, int y) {
        const bool band = (x / 4) % 2 == 0;
        if (y == 3)
            return band ? Ice : Rose;
        return band ? White : stripe;
    });
    Outline(pic, canvas, Plum, true);
    // The scalloped valance.
    Mask valance;
    for (int x = 0; x < kCell; x += 8)
        valance.disc(x + 3.5, 16, 4);
    valance = valance & Mask().rect(0, 16, 32, 6);
    Paint(pic, valance, [stripe](int x, int) { return (x / 4) % 2 == 0 ? Ice : stripe; });
    Outline(pic, valance, Plum, true);
    return pic;
}

Pixels Balcony() {
    Pixels pic = NewPic();
    Shade(pic, Mask().rect(0, 26, 32, 5), kStone, {true, true});
    Mask rail;
    rail.rect(0, 10, 32, 2);
    for (int x = 2; x < kCell; x += 5)
        rail.rect(x, 12, 1, 14);
    for (int x = 4; x < kCell; x += 10)
        rail.disc(x + 0.5, 18, 2);
    Fill(pic, rail, Night);
    Fill(pic, Mask().rect(0, 10, 32, 1), Ash);
    return pic;
}

Pixels WindowBox(int flower, int flowerLight) {
    Pixels pic = NewPic();
    Mask leaves;
    for (int i = 0; i < 7; ++i)
        leaves.disc(5 + i * 3.7, 19 - (i % 2) * 3, 3);
    Shade(pic, leaves, kLeaf);
    if (flower >= 0)
        for (int i = 0; i < 5; ++i) {
            const int x = 6 + i * 5;
            const int y = 13 + (i % 2) * 3;
            Mask f;
            f.disc(x, y, 2);
            Shade(pic, f, Ramp{Plum, flower, flower, flowerLight, White}, {true, false});
            Put(pic, x, y, Yellow);
        }
    Paint(pic, Mask().rect(3, 21, 26, 8), Planks({Plum, Umber, Brown, Tan, 4, 95}));
    Outline(pic, Mask().rect(3, 21, 26, 8), Plum);
    return pic;
}

// A leaf of ivy: a small lobed shape.
Mask Leaf(double x, double y, double r) {
    Mask m;
    m.disc(x, y, r).disc(x - r * 0.6, y - r * 0.5, r * 0.7).disc(x + r * 0.6, y - r * 0.5, r * 0.7);
    return m;
}

Pixels Window(int q) {
    Pixels pic = NewPic();
    FramedWindow(pic, Mask().rect(3, 7, 26, 18).turned(q), Mask().rect(5, 9, 22, 14).turned(q));
    Fill(pic, Mask().rect(15, 9, 2, 14).turned(q), Ice);
    return pic;
}

Pixels ShutteredWindow(int q) {
    Pixels pic = NewPic();
    FramedWindow(pic, Mask().rect(9, 5, 14, 22).turned(q), Mask().rect(11, 7, 10, 18).turned(q));
    Fill(pic, Mask().rect(11, 15, 10, 2).turned(q), Ice);
    for (int side : {2, 23}) {
        const Mask shutter = Mask().rect(side, 5, 7, 22).turned(q);
        Shade(pic, shutter, kLeaf);
        Mask slats;
        for (int y = 8; y < 26; y += 3)
            slats.rect(side + 1, y, 5, 1);
        Fill(pic, slats.turned(q), Moss);
    }
    return pic;
}

Pixels ShopWindow(int q) {
    Pixels pic = NewPic();
    FramedWindow(pic, Mask().rect(1, 3, 30, 26).turned(q), Mask().rect(3, 5, 26, 22).turned(q), kDark);
    Shade(pic, Mask().rect(5, 19, 7, 8).turned(q), kRedR);
    Shade(pic, Mask().rect(14, 16, 6, 11).turned(q), kGold);
    Shade(pic, Mask().rect(22, 21, 5, 6).turned(q), kLeaf);
    return pic;
}

Pixels OvalWindow(int q) {
    Pixels pic = NewPic();
    const Mask frame = Mask().ellipse(15.5, 15.5, 14, 9).turned(q);
    const Mask glass = Mask().ellipse(15.5, 15.5, 11, 6).turned(q);
    FramedWindow(pic, frame, glass, kStone);
    Fill(pic, Mask().rect(15, 9, 2, 14).turned(q) & glass, Ice);
    return pic;
}

Pixels RoundWindow() {
    Pixels pic = NewPic();
    Mask ring;
    ring.disc(15.5, 15.5, 12);
    RoundShade(pic, ring, kGold, 15.5, 15.5, 12);
    Mask glass;
    glass.disc(15.5, 15.5, 8.5);
    Glass(pic, glass);
    for (int i = 0; i < 8; ++i) {
        const double a = i * 3.14159265 / 4;
        Shade(pic, Mask().disc(15.5 + 10.2 * std::cos(a), 15.5 + 10.2 * std::sin(a), 1), kDark,
              {false, false, false});
    }
    return pic;
}

Pixels DrainpipeBend(int q) {
    Pixels pic = NewPic();
    Mask pipe = Mask().rect(24, 0, 6, 20);
    pipe.poly({{24, 18}, {30, 18}, {30, 22}, {22, 28}, {17, 28}, {17, 23}, {24, 20}});
    Shade(pic, pipe.turned(q), kDark, {true, true});
    Mask clips;
    clips.rect(23, 4, 8, 2).rect(23, 13, 8, 2);
    Shade(pic, clips.turned(q), kDark, {true, false});
    return pic;
}

Pixels Drainpipe(int q) {
    Pixels pic = NewPic();
    Shade(pic, Mask().rect(0, 2, 32, 6).turned(q), kDark, {true, true});
    Shade(pic, Mask().rect(6, 1, 2, 8).rect(22, 1, 2, 8).turned(q), kDark, {true, false});
    return pic;
}

Pixels IvyHanging(int q) {
    Pixels pic = NewPic();
    Mask stem;
    stem.line(4, 0, 8, 10).line(8, 10, 6, 20).line(24, 0, 22, 8).line(22, 8, 25, 14).line(14, 0, 15, 6);
    Fill(pic, stem.turned(q), Olive);
    const double leaves[][3] = {{3, 3, 3},     {9, 2, 3},    {15, 3, 3.5}, {21, 2, 3}, {27, 3, 3},
                                {6, 8, 3},     {12, 7, 2.5}, {18, 8, 3},   {25, 8, 3}, {8, 13, 2.5},
                                {22, 13, 2.5}, {6, 18, 2.5}, {25, 18, 2},  {7, 23, 2}};
    for (const auto& l : leaves)
        Shade(pic, Leaf(l[0], l[1] + 1, l[2]).turned(q), kLeaf);
    return pic;
}

Pixels IvyClimbing(int q) {
    Pixels pic = NewPic();
    Mask stem;
    stem.line(5, 0, 8, 10).line(8, 10, 4, 21).line(4, 21, 6, 31);
    Fill(pic, stem.turned(q + 1), Olive);
    const double leaves[][3] = {{3, 2, 3},  {10, 6, 3}, {4, 9, 2.5},  {10, 14, 2.5},
                                {3, 17, 3}, {9, 22, 3}, {3, 26, 2.5}, {9, 30, 2.5}};
    for (const auto& l : leaves)
        Shade(pic, Leaf(l[0], l[1] + 1, l[2]).turned(q + 1), kLeaf);
    return pic;
}

Pixels Ladder(int q) {
    Pixels pic = NewPic();
    Mask rails;
    rails.rect(6, 0, 4, 32).rect(22, 0, 4, 32);
    Mask rungs;
    for (int y = 3; y < kCell; y += 8)
        rungs.rect(10, y, 12, 3);
    Shade(pic, rungs.turned(q + 1), kWood, {true, false});
    Shade(pic, rails.turned(q + 1), kWood, {true, true});
    return pic;
}

} // namespace

BlockSet MakeFacadeSet() {
    SetBuilder b("Windows, doors and fittings");

    // A window, wide and tall.
    b.row().pair("40", Window);

    // A window with shutters.
    b.row().pair("41", ShutteredWindow);

    // A shop window.
    b.row().pair("44", ShopWindow);

    // An oval window, lying and standing, and a round one.
    b.row().pair("45", OvalWindow);
    b.add("45F", RoundWindow());

    // A drainpipe: straight up the wall (V), as a gutter (H), and its ends.
    b.row().turns("42", DrainpipeBend);
    b.pair("42", Drainpipe);

    // Ivy: hanging from the top (N) and round, climbing (V) or along the top (H).
    b.row().turns("43", IvyHanging);
    b.pair("43", IvyClimbing, 3);

    // A ladder (V), and the same lying as a rail (H).
    b.row().pair("47", Ladder, 3);

    // Window boxes.
    b.row()
        .add("480", WindowBox(-1, -1))
        .add("481", WindowBox(Red, Rose))
        .add("482", WindowBox(Yellow, White))
        .add("483", WindowBox(Blue, Sky));

    // Awnings and a balcony.
    b.row().add("4A1", Awning(Red)).add("4A2", Awning(Green)).add("4A3", Awning(Blue)).add("4B0", Balcony());

    // Doors.
    b.row()
        .add("901", Door(kWood, 0))
        .add("902", Door(kLeaf, 1))
        .add("903", Door(kRedR, 2))
        .add("904", Door(kDark, 3));
    b.row().add("911", PlankDoor()).add("912", BarnDoor()).add("913", GarageDoor());
    b.row().add("931", ShopFront());

    // Windows with sills.
    b.row()
        .add("950", SashWindow())
        .add("951", CurtainWindow())
        .add("952", LitWindow())
        .add("953", PotWindow())
        .add("954", ArchedWindow())
        .add("955", BoardedWindow());

    return b.done();
}

} // namespace art
