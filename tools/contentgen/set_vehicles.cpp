// Block set: vehicles, boats and aircraft, seen from the side (aircraft in
// flight from below), facing right. Two-cell vehicles come in halves.

#include "content_sets.h"

#include <cmath>

namespace art {

namespace {

void Wheel(Pixels& pic, double x, double y, double r = 4) {
    Mask tyre;
    tyre.disc(x, y, r);
    Shade(pic, tyre, kDark);
    Mask hub;
    hub.disc(x, y, r * 0.45);
    Shade(pic, hub, kMetal, {false, false, true});
}

void Window(Pixels& pic, const Mask& m) {
    Fill(pic, m, Ocean);
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x)
            if (m.at(x, y) && ((x + y) % 7 == 0 || !m.at(x, y - 1)))
                Put(pic, x, y, Cyan);
}

Pixels Car(const Ramp& body, int kind) {
    Pixels pic = NewPic();
    Mask shell;
    shell.rect(2, 14, 28, 10).disc(5, 17, 3).disc(27, 17, 3);
    if (kind == 3)
        shell.poly({{6, 15}, {8, 6}, {24, 6}, {26, 15}}); // a jeep's square cabin
    else
        shell.poly({{7, 15}, {11, 7}, {22, 7}, {26, 15}});
    Shade(pic, shell, body);
    Window(pic, kind == 3 ? Mask().rect(9, 8, 6, 6).rect(17, 8, 6, 6)
                          : Mask()
                                .poly({{10, 14}, {12.5, 9}, {16, 9}, {16, 14}})
                                .poly({{18, 9}, {21, 9}, {24, 14}, {18, 14}}));
    HLine(pic, 4, 28, 19, body.dark);
    Fill(pic, Mask().rect(29, 16, 2, 2), Yellow);
    Fill(pic, Mask().rect(1, 16, 2, 2), Red);
    Fill(pic, Mask().rect(18, 17, 3, 1), body.outline);
    if (kind == 1) {
        Shade(pic, Mask().rect(12, 3, 8, 4), kGold);
        Fill(pic, Mask().rect(13, 4, 6, 1), Night);
    } else if (kind == 2) {
        Shade(pic, Mask().rect(14, 4, 4, 3), kBlue);
        Fill(pic, Mask().rect(3, 20, 26, 2), Blue);
    }
    Wheel(pic, 8.5, 24.5);
    Wheel(pic, 23.5, 24.5);
    return pic;
}

// One half of a long vehicle: the picture of the whole vehicle is 64 wide.
Pixels Half(const std::function<void(Pixels&, int)>& draw, int half) {
    Pixels pic = NewPic();
    draw(pic, -kCell * half);
    return pic;
}

void DrawBus(Pixels& pic, int ox) {
    Mask body;
    body.rect(2 + ox, 5, 60, 20).disc(59.5 + ox, 8, 3);
    body = body & Mask::Full();
    Shade(pic, body, kGold, {true, true});
    for (int i = 0; i < 5; ++i)
        Window(pic, Mask().rect(5 + ox + i * 10, 8, 8, 7) & Mask::Full());
    Window(pic, Mask().rect(55 + ox, 8, 6, 9) & Mask::Full());
    Fill(pic, Mask().rect(2 + ox, 18, 60, 2) & Mask::Full(), Red);
    Fill(pic, Mask().rect(48 + ox, 17, 6, 8) & Mask::Full(), Ochre);
    Wheel(pic, 12 + ox, 25);
    Wheel(pic, 51 + ox, 25);
}

void DrawLorry(Pixels& pic, int ox) {
    Mask box;
    box.rect(1 + ox, 4, 40, 18);
    Shade(pic, box & Mask::Full(), kSnow, {true, true});
    Fill(pic, Mask().rect(4 + ox, 8, 34, 1).rect(4 + ox, 16, 34, 1) & Mask::Full(), Silver);
    Mask cab;
    cab.rect(43 + ox, 9, 18, 14).poly({{43.0 + ox, 9}, {50.0 + ox, 4}, {58.0 + ox, 4}, {61.0 + ox, 12}});
    Shade(pic, cab & Mask::Full(), kRedR, {true, true});
    Window(pic,
           Mask().poly({{48.0 + ox, 11}, {51.0 + ox, 6}, {57.0 + ox, 6}, {59.0 + ox, 11}}) & Mask::Full());
    Fill(pic, Mask().rect(1 + ox, 22, 60, 2) & Mask::Full(), Night);
    Wheel(pic, 9 + ox, 25);
    Wheel(pic, 31 + ox, 25);
    Wheel(pic, 53 + ox, 25);
}

Pixels Locomotive() {
    Pixels pic = NewPic();
    Shade(pic, Mask().rect(2, 8, 10, 15), kRedR);
    Window(pic, Mask().rect(4, 10, 6, 5));
    Shade(pic, Mask().rect(1, 6, 12, 3), kDark);
    Mask boiler;
    boiler.rect(12, 12, 18, 11).disc(29, 17.5, 5);
    boiler = boiler & Mask().rect(0, 0, 31, 32);
    Shade(pic, boiler, kNight);
    Fill(pic, Mask().rect(18, 12, 1, 11).rect(24, 12, 1, 11), Ocean);
    Shade(pic, Mask().rect(24, 4, 4, 8).rect(23, 3, 6, 2), kDark);
    Shade(pic, Mask().rect(16, 8, 4, 4), kGold);
    Fill(pic, Mask().rect(1, 23, 30, 2), Night);
    Wheel(pic, 7, 26, 4.5);
    Wheel(pic, 17, 26, 4.5);
    Wheel(pic, 26, 27, 3.5);
    Fill(pic, Mask().rect(7, 26, 11, 1), Silver);
    return pic;
}

Pixels Coach(bool goods) {
    Pixels pic = NewPic();
    if (goods) {
        Mask box;
        box.rect(1, 6, 30, 17);
        Paint(pic, box, Planks({Plum, Umber, Brown, Tan, 4, 101, true}));
        Outline(pic, box, Plum);
        Fill(pic, Mask().line(3, 8, 28, 21, 1.5).line(3, 21, 28, 8, 1.5), Umber);
    } else {
        Mask body;
        body.rect(1, 7, 30, 16).ellipse(16, 7, 15, 3);
        Shade(pic, body, kLeaf);
        for (int i = 0; i < 4; ++i)
            Window(pic, Mask().rect(4 + i * 7, 10, 5, 6));
        HLine(pic, 2, 29, 18, Yellow);
    }
    Fill(pic, Mask().rect(0, 23, 32, 2), Night);
    Wheel(pic, 7, 26, 3.5);
    Wheel(pic, 25, 26, 3.5);
    return pic;
}

Pixels Track() {
    Pixels pic = NewPic();
    Mask sleepers;
    for (int x = 1; x < kCell; x += 8)
        sleepers.rect(x, 28, 6, 4);
    Shade(pic, sleepers, kWood, {true, true});
    Shade(pic, Mask().rect(0, 28, 32, 3), kMetal, {true, true});
    return pic;
}

Pixels Boat(int kind) {
    Pixels pic = NewPic();
    Mask hull;
    if (kind == 2)
        hull.poly({{1, 18}, {31, 18}, {27, 27}, {4, 27}});
    else
        hull.poly({{2, 21}, {30, 21}, {26, 28}, {6, 28}});
    Shade(pic, hull, kind == 2 ? kNight : kWood);
    if (kind == 0 || kind == 3) {
        Shade(pic, Mask().rect(15, 2, 2, 19), kWood);
        Mask sail;
        sail.poly({{17, 2}, {29, 19}, {17, 19}});
        Shade(pic, sail, kind == 0 ? kSnow : kRedR);
        Mask jib;
        jib.poly({{15, 5}, {15, 19}, {5, 19}});
        Shade(pic, jib, kind == 0 ? kSnow : kGold);
        if (kind == 0)
            Fill(pic, Mask().rect(2, 22, 28, 1) & hull, Blue);
    } else if (kind == 1) {
        Fill(pic, Mask().line(6, 15, 12, 24, 1.5).line(26, 15, 20, 24, 1.5), Brown);
        Fill(pic, Mask().rect(5, 22, 22, 1) & hull, Tan);
    } else {
        Shade(pic, Mask().rect(6, 11, 19, 7), kSnow);
        for (int i = 0; i < 4; ++i)
            Shade(pic, Mask().disc(9 + i * 4.5, 14.5, 1.2), kBlue, {false, false, false});
        Shade(pic, Mask().rect(13, 3, 6, 8), kRedR);
        Fill(pic, Mask().rect(13, 3, 6, 2), Night);
        Fill(pic, Mask().rect(1, 23, 30, 1) & hull, Red);
    }
    return pic;
}

Pixels Bicycle(bool motor) {
    Pixels pic = NewPic();
    for (double x : {7.0, 25.0}) {
        Mask tyre;
        tyre.disc(x, 24, motor ? 5.5 : 6);
        tyre = tyre - Mask().disc(x, 24, motor ? 3 : 4.8);
        Fill(pic, tyre, Night);
        Put(pic, static_cast<int>(x), 24, Grey);
    }
    if (motor) {
        Mask body;
        body.poly({{9, 22}, {13, 15}, {24, 15}, {26, 22}});
        Shade(pic, body, kRedR);
        Shade(pic, Mask().rect(10, 12, 9, 3), kDark);
        Fill(pic, Mask().line(24, 15, 27, 8, 1.5).line(27, 8, 29, 8, 1.5), Grey);
        Fill(pic, Mask().rect(27, 10, 3, 2), Yellow);
    } else {
        Mask frame;
        frame.line(7, 24, 14, 14, 1.3)
            .line(14, 14, 23, 14, 1.3)
            .line(23, 14, 16, 24, 1.3)
            .line(16, 24, 7, 24, 1.3)
            .line(14, 14, 16, 24, 1.3)
            .line(23, 14, 25, 24, 1.3)
            .line(22, 11, 24, 17, 1.3);
        Fill(pic, frame, Blue);
        Fill(pic, Mask().rect(11, 12, 6, 2).rect(21, 10, 4, 2), Night);
    }
    return pic;
}

Pixels Tractor() {
    Pixels pic = NewPic();
    Shade(pic, Mask().rect(12, 14, 18, 9), kLeaf);
    Shade(pic, Mask().rect(4, 5, 11, 14), kLeaf);
    Window(pic, Mask().rect(6, 7, 7, 6));
    Shade(pic, Mask().rect(25, 7, 2, 7), kDark);
    Wheel(pic, 9, 23, 8);
    Wheel(pic, 25, 26, 5);
    return pic;
}

Pixels HotAirBalloon() {
    Pixels pic = NewPic();
    Mask envelope;
    envelope.ellipse(16, 11, 12, 11).poly({{7, 17}, {25, 17}, {19, 24}, {13, 24}});
    Paint(pic, envelope, [](int x, int) {
        const int band = (x + 2) / 5;
        static const int kBands[] = {Red, Yellow, Blue, Yellow, Red, Yellow, Blue, Yellow};
        return kBands[band % 8];
    });
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x)
            if (envelope.at(x, y) && (x - 16) + (y - 11) > 9)
                Put(pic, x, y, Get(pic, x, y) == Yellow ? Orange : Get(pic, x, y) == Blue ? Indigo : Plum);
    Outline(pic, envelope, Plum);
    Fill(pic, Mask().line(13, 24, 13, 27).line(19, 24, 19, 27), Umber);
    Shade(pic, Mask().rect(12, 27, 9, 5), kWood);
    return pic;
}

Pixels Helicopter() {
    Pixels pic = NewPic();
    Shade(pic, Mask().rect(1, 4, 30, 2), kDark);
    Shade(pic, Mask().rect(15, 5, 2, 4), kDark);
    Mask body;
    body.ellipse(19, 16, 10, 7).rect(2, 13, 10, 4).rect(1, 8, 3, 8);
    Shade(pic, body, kRedR);
    Window(pic, Mask().ellipse(23, 14, 5, 4) & Mask().rect(19, 0, 13, 17));
    Fill(pic, Mask().rect(10, 26, 20, 2).rect(14, 23, 2, 3).rect(24, 23, 2, 3), Night);
    return pic;
}

Pixels Aeroplane(int q) {
    Pixels pic = NewPic();
    Mask wings;
    wings.poly({{16, 9}, {31, 17}, {31, 20}, {16, 16}, {1, 20}, {1, 17}});
    Shade(pic, wings.turned(q), kSnow);
    Mask tail;
    tail.poly({{16, 25}, {23, 29}, {23, 31}, {16, 29}, {9, 31}, {9, 29}});
    Shade(pic, tail.turned(q), kSnow);
    Mask body;
    body.ellipse(16, 16, 3, 14);
    Shade(pic, body.turned(q), kSnow);
    Mask stripe;
    stripe.rect(16, 4, 1, 25);
    Fill(pic, stripe.turned(q) & Eroded(body.turned(q)), Blue);
    Mask engines;
    engines.rect(8, 15, 2, 4).rect(22, 15, 2, 4);
    Fill(pic, engines.turned(q), Grey);
    return pic;
}

Pixels Airship(int q) {
    Pixels pic = NewPic();
    Mask fins;
    fins.poly({{1, 7}, {7, 12}, {7, 20}, {1, 25}});
    Shade(pic, fins.turned(q), kRedR);
    Mask hull;
    hull.ellipse(17, 16, 14, 8);
    hull = hull.turned(q);
    RoundShade(pic, hull, kSnow, 12, 12, 16);
    Mask gondola;
    gondola.rect(14, 23, 8, 4);
    Shade(pic, gondola.turned(q), kWood);
    Mask band;
    band.rect(10, 9, 2, 15);
    Fill(pic, band.turned(q) & Eroded(hull), Red);
    return pic;
}

} // namespace

BlockSet MakeVehiclesSet() {
    SetBuilder b("Vehicles, boats and aircraft");

    b.row()
        .add("V11", Car(kRedR, 0))
        .add("V12", Car(kBlue, 0))
        .add("V13", Car(kGold, 1))
        .add("V14", Car(kSnow, 2))
        .add("V15", Car(kLeaf, 3));

    // A bus and a lorry, each in two halves.
    b.row()
        .add("V21", Half(DrawBus, 0))
        .add("V22", Half(DrawBus, 1))
        .add("V23", Half(DrawLorry, 0))
        .add("V24", Half(DrawLorry, 1));

    b.row().add("V31", Locomotive()).add("V32", Coach(false)).add("V33", Coach(true)).add("V34", Track());

    b.row().add("V41", Boat(0)).add("V42", Boat(1)).add("V43", Boat(2)).add("V44", Boat(3));

    b.row()
        .add("V61", Bicycle(false))
        .add("V62", Bicycle(true))
        .add("V63", Tractor())
        .add("V64", HotAirBalloon())
        .add("V65", Helicopter());

    // An aeroplane seen from below, flying towards its letter.
    b.row().turns("V5", Aeroplane);

    // An airship, lying (H) and rising (V).
    b.row().pair("58", Airship);

    return b.done();
}

} // namespace art
