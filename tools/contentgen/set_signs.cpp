// Block set: lights, signs and arrows.

#include "content_sets.h"

#include <cmath>

namespace art {

namespace {

constexpr double kPi = 3.14159265358979;

// Text of the pixel font in a palette colour, centred on x.
void Label(Pixels& pic, int cx, int y, const std::string& text, int pal) {
    DrawText(pic, PixelFont::Letters, cx - TextWidth(PixelFont::Letters, text) / 2, y, text, Rgb(pal));
}

// A glow: a chequer of a light colour around a shape, where nothing is drawn
// yet. A turned picture passes the chequer turned with it.
void Glow(Pixels& pic, const Mask& around, int pal, const Mask& pattern = Mask::Chequer()) {
    const Mask halo = (around.grown().grown() - around) & pattern;
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x)
            if (halo.at(x, y) && (pic.at(x, y) | 0xFF000000) == kMagenta)
                Put(pic, x, y, pal);
}

Pixels StreetLamp() {
    Pixels pic = NewPic();
    Shade(pic, Mask().rect(14, 10, 4, 22).rect(12, 28, 8, 4), kDark);
    Mask head;
    head.poly({{9, 4}, {23, 4}, {20, 10}, {12, 10}});
    Fill(pic, head, Yellow);
    Fill(pic, Mask().rect(12, 5, 3, 4), White);
    Outline(pic, head, Ash);
    Shade(pic, Mask().rect(8, 2, 16, 3).rect(14, 0, 4, 2), kDark);
    Glow(pic, head, Yellow);
    return pic;
}

Pixels GasLamp() {
    Pixels pic = NewPic();
    Shade(pic, Mask().rect(15, 14, 3, 18).rect(12, 29, 9, 3), kNight);
    Mask lantern;
    lantern.poly({{11, 4}, {22, 4}, {20, 13}, {13, 13}});
    Fill(pic, lantern, Orange);
    Fill(pic, Mask().rect(15, 6, 3, 5), Yellow);
    Outline(pic, lantern, Night);
    Fill(pic, Mask().rect(16, 4, 1, 9), Night);
    Shade(pic, Mask().poly({{10, 4}, {16.5, 0}, {23, 4}}), kNight);
    Glow(pic, lantern, Yellow);
    return pic;
}

Pixels Torch() {
    Pixels pic = NewPic();
    Shade(pic, Mask().poly({{13, 14}, {19, 14}, {17, 30}, {15, 30}}), kWood);
    Shade(pic, Mask().rect(12, 14, 8, 3), kDark);
    Mask flame;
    flame.ellipse(16, 9, 4.5, 5.5).poly({{12, 8}, {16, -1}, {20, 8}});
    Fill(pic, flame, Orange);
    Fill(pic, Mask().ellipse(16, 10, 2.5, 3.5), Yellow);
    Fill(pic, Mask().ellipse(16, 11, 1, 1.5), White);
    Outline(pic, flame, Red);
    return pic;
}

Pixels Candle() {
    Pixels pic = NewPic();
    Shade(pic, Mask().rect(12, 14, 8, 15), kSnow);
    Fill(pic, Mask().rect(16, 11, 1, 3), Night);
    Mask flame;
    flame.ellipse(16.5, 7, 2.5, 4);
    Fill(pic, flame, Yellow);
    Fill(pic, Mask().ellipse(16.5, 8, 1, 2), White);
    Outline(pic, flame, Orange);
    Shade(pic, Mask().ellipse(16, 30, 9, 2).rect(7, 28, 18, 2), kGold);
    Glow(pic, flame, Yellow);
    return pic;
}

Pixels TrafficLight() {
    Pixels pic = NewPic();
    Shade(pic, Mask().rect(14, 20, 4, 12), kDark);
    Shade(pic, Mask().rect(10, 1, 12, 20), kNight);
    Shade(pic, Mask().disc(16, 5.5, 2.8), kRedR, {true, false, true});
    Shade(pic, Mask().disc(16, 11, 2.8), Ramp{Umber, Ochre, Ochre, Brown, Tan}, {true, false, true});
    Shade(pic, Mask().disc(16, 16.5, 2.8), Ramp{Slate, Moss, Moss, Olive, Fern}, {true, false, true});
    Put(pic, 15, 4, White);
    return pic;
}

Pixels PostBox() {
    Pixels pic = NewPic();
    Mask box;
    box.rect(9, 8, 14, 22).ellipse(16, 8, 7, 5);
    Shade(pic, box, kRedR);
    Shade(pic, Mask().rect(7, 28, 18, 4).ellipse(16, 4, 8, 2).rect(8, 4, 16, 2), kRedR);
    Fill(pic, Mask().rect(11, 12, 10, 2), Night);
    Shade(pic, Mask().rect(12, 17, 8, 6), kGold);
    return pic;
}

Pixels BusStop() {
    Pixels pic = NewPic();
    Shade(pic, Mask().rect(15, 10, 3, 22), kMetal);
    Mask sign;
    sign.disc(16.5, 8, 7.5);
    Shade(pic, sign, kRedR);
    Fill(pic, Mask().disc(16.5, 8, 5), White);
    Fill(pic, Mask().rect(10, 6, 14, 4), Blue);
    Label(pic, 17, 5, "BUS", White);
    return pic;
}

Pixels Hydrant() {
    Pixels pic = NewPic();
    Mask body;
    body.rect(11, 12, 11, 17).ellipse(16.5, 12, 5.5, 5).rect(7, 16, 19, 5).rect(9, 28, 15, 4);
    Shade(pic, body, kRedR);
    Shade(pic, Mask().rect(15, 4, 3, 3), kRedR);
    Shade(pic, Mask().disc(16.5, 18.5, 2), kGold);
    return pic;
}

Pixels Bench() {
    Pixels pic = NewPic();
    Paint(pic, Mask().rect(2, 10, 28, 4).rect(2, 16, 28, 4), Planks({Plum, Umber, Brown, Tan, 32, 111}));
    Outline(pic, Mask().rect(2, 10, 28, 4), Plum);
    Outline(pic, Mask().rect(2, 16, 28, 4), Plum);
    Paint(pic, Mask().rect(1, 21, 30, 3), Planks({Plum, Umber, Brown, Tan, 32, 112}));
    Outline(pic, Mask().rect(1, 21, 30, 3), Plum);
    Shade(pic, Mask().rect(4, 20, 3, 12).rect(25, 20, 3, 12), kDark);
    return pic;
}

Pixels Bin() {
    Pixels pic = NewPic();
    Mask can;
    can.poly({{8, 11}, {24, 11}, {22, 31}, {10, 31}});
    Shade(pic, can, kLeaf);
    for (int x = 12; x < 22; x += 3)
        Fill(pic, Mask().line(x, 13, x - 0.3, 29) & Eroded(can), Moss);
    Shade(pic, Mask().rect(6, 8, 20, 4).rect(13, 5, 6, 3), kLeaf);
    return pic;
}

// An arrow pointing up, from the middle of the cell; with twoWay, pointing both ways.
Mask ArrowMask(bool twoWay, double scale = 1.0) {
    auto sx = [&](double x) { return 16 + (x - 16) * scale; };
    auto sy = [&](double y) { return 16 + (y - 16) * scale; };
    Mask m;
    m.poly({{sx(16), sy(2)},
            {sx(28), sy(14)},
            {sx(21), sy(14)},
            {sx(21), sy(twoWay ? 18 : 29)},
            {sx(11), sy(twoWay ? 18 : 29)},
            {sx(11), sy(14)},
            {sx(4), sy(14)}});
    if (twoWay)
        m.poly({{sx(16), sy(30)},
                {sx(28), sy(18)},
                {sx(21), sy(18)},
                {sx(21), sy(14)},
                {sx(11), sy(14)},
                {sx(11), sy(18)},
                {sx(4), sy(18)}});
    return m;
}

Pixels RoundSign(const Ramp& ramp) {
    Pixels pic = NewPic();
    Mask sign;
    sign.disc(15.5, 15.5, 14.5);
    RoundShade(pic, sign, ramp, 15.5, 15.5, 14.5);
    Fill(pic, sign.border(), White);
    return pic;
}

Pixels StopSign() {
    Pixels pic = NewPic();
    Mask octagon;
    octagon.poly({{10, 1}, {22, 1}, {31, 10}, {31, 22}, {22, 31}, {10, 31}, {1, 22}, {1, 10}});
    Shade(pic, octagon, kRedR);
    Outline(pic, Eroded(octagon, 1), White);
    Label(pic, 16, 12, "STOP", White);
    return pic;
}

Pixels NoEntry() {
    Pixels pic = RoundSign(kRedR);
    Shade(pic, Mask().rect(6, 13, 20, 6), kSnow);
    return pic;
}

Pixels Warning() {
    Pixels pic = NewPic();
    Mask tri;
    tri.poly({{16, 1}, {31, 29}, {1, 29}});
    Shade(pic, tri, kRedR);
    Mask inner;
    inner.poly({{16, 8}, {26, 26}, {6, 26}});
    Fill(pic, inner, White);
    Fill(pic, Mask().rect(15, 13, 2, 7).rect(15, 22, 2, 2), Night);
    return pic;
}

Pixels SquareSign(const std::string& text, const Ramp& ramp) {
    Pixels pic = NewPic();
    Shade(pic, Mask().rect(2, 2, 28, 28), ramp);
    Outline(pic, Mask().rect(4, 4, 24, 24), White);
    DrawText(pic, PixelFont::Letters, 16 - TextWidth(PixelFont::Letters, text, 2) / 2, 9, text, Rgb(White),
             2);
    return pic;
}

Pixels SpeedSign() {
    Pixels pic = RoundSign(kRedR);
    Fill(pic, Mask().disc(15.5, 15.5, 11), White);
    Label(pic, 16, 12, "30", Night);
    return pic;
}

Pixels Neon(int kind) {
    Pixels pic = NewPic();
    Shade(pic, Mask().rect(1, 3, 30, 26), kNight);
    Mask tube;
    if (kind == 0) {
        for (double t = 0; t < 2 * kPi; t += 0.01) {
            const double x = 16 * std::pow(std::sin(t), 3);
            const double y = 13 * std::cos(t) - 5 * std::cos(2 * t) - 2 * std::cos(3 * t) - std::cos(4 * t);
            tube.set(static_cast<int>(std::lround(15.5 + x * 0.7)),
                     static_cast<int>(std::lround(15 - y * 0.7)));
        }
        Glow(pic, tube, Plum);
        Fill(pic, tube, Pink);
    } else if (kind == 1) {
        std::vector<std::pair<double, double>> star;
        for (int i = 0; i < 10; ++i) {
            const double a = -kPi / 2 + i * kPi / 5;
            const double r = i % 2 ? 5 : 11;
            star.emplace_back(16 + r * std::cos(a), 16.5 + r * std::sin(a));
        }
        Mask s;
        s.poly(star);
        tube = s.border();
        Fill(pic, tube.grown() & Eroded(Mask().rect(1, 3, 30, 26)), Indigo);
        Fill(pic, tube, Cyan);
    } else {
        Pixels text = NewPic();
        DrawText(text, PixelFont::Letters, 4, 12, "OPEN", Rgb(Rose));
        tube = Opaque(text);
        Fill(pic, tube.grown() & Eroded(Mask().rect(1, 3, 30, 26)), Plum);
        Fill(pic, tube, Rose);
        Fill(pic, Mask().rect(4, 8, 24, 1).rect(4, 22, 24, 1), Cyan);
    }
    return pic;
}

Pixels FlagPole(int a, int b, bool stripes) {
    Pixels pic = NewPic();
    Shade(pic, Mask().rect(5, 2, 2, 30), kMetal, {true, false});
    Shade(pic, Mask().disc(6, 2, 1.5), kGold, {false, false, true});
    Mask flag;
    for (int x = 7; x < 30; ++x) {
        const int dy = static_cast<int>(std::lround(1.5 * std::sin((x - 7) * kPi / 11)));
        flag.rect(x, 4 + dy, 1, 14);
    }
    Paint(pic, flag, [=](int x, int y) {
        if (stripes)
            return ((y - 4 - static_cast<int>(std::lround(1.5 * std::sin((x - 7) * kPi / 11)))) / 5) % 2 ? b
                                                                                                         : a;
        return x < 16 ? b : a;
    });
    Outline(pic, flag, Night);
    return pic;
}

Pixels Firework(int a, int b) {
    Pixels pic = NewPic();
    for (int i = 0; i < 12; ++i) {
        const double ang = i * kPi / 6 + 0.2;
        const double r0 = 4;
        const double r1 = i % 2 ? 11 : 14;
        Mask ray;
        ray.line(16 + r0 * std::cos(ang), 16 + r0 * std::sin(ang), 16 + r1 * std::cos(ang),
                 16 + r1 * std::sin(ang), 1);
        Fill(pic, ray, i % 2 ? a : b);
        Put(pic, static_cast<int>(std::lround(16 + (r1 + 1.5) * std::cos(ang))),
            static_cast<int>(std::lround(16 + (r1 + 1.5) * std::sin(ang))), White);
    }
    Fill(pic, Mask().disc(16, 16, 1.5), White);
    return pic;
}

Pixels RocketTrail() {
    Pixels pic = NewPic();
    for (int y = 12; y < kCell; y += 2)
        Put(pic, 16 + (y % 4 == 0 ? 1 : -1), y, y < 20 ? Yellow : Orange);
    Shade(pic, Mask().rect(14, 4, 5, 8).poly({{14, 4}, {16.5, 0}, {19, 4}}), kRedR);
    Fill(pic, Mask().rect(16, 12, 1, 4), Umber);
    Put(pic, 16, 17, White);
    return pic;
}

// The board of a sign, with its gold frame along the masked edges.
Pixels Board(const Mask& board, const Mask& frame) {
    Pixels pic = NewPic();
    Paint(pic, board, [](int x, int y) { return Noise(x, y, 121) < 0.03 ? Moss : Slate; });
    Fill(pic, board.border(true), Night);
    Shade(pic, frame & board, kGold, {true, true});
    return pic;
}

Pixels WallLamp(int q) {
    Pixels pic = NewPic();
    Mask bracket;
    bracket.rect(15, 0, 2, 8).rect(12, 0, 8, 2);
    Shade(pic, bracket.turned(q), kDark, {true, true});
    Mask shade;
    shade.poly({{10, 14}, {13, 8}, {19, 8}, {22, 14}});
    Shade(pic, shade.turned(q), kDark);
    Mask bulb;
    bulb.ellipse(16, 15, 4, 2.5);
    Fill(pic, bulb.turned(q), Yellow);
    Fill(pic, Mask().rect(15, 14, 2, 2).turned(q), White);
    Glow(pic, bulb.turned(q), Yellow, Mask::Chequer().turned(q));
    return pic;
}

Pixels LightBeam(int q) {
    Pixels pic = NewPic();
    Mask beam;
    beam.poly({{12, 0}, {20, 0}, {31, 32}, {1, 32}});
    beam = beam & Mask::Chequer();
    Mask sparks;
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x)
            if ((x * 7 + y * 3) % 5 == 0)
                sparks.set(x, y);
    Fill(pic, beam.turned(q + 2), Yellow);
    Fill(pic, (beam & sparks).turned(q + 2), White);
    return pic;
}

Pixels BoardCorner(int q) {
    const Mask board = Mask().rect(2, 2, 30, 30).turned(q);
    const Mask frame = (Mask().rect(2, 2, 30, 4) | Mask().rect(2, 2, 4, 30)).turned(q);
    Pixels pic = Board(board, frame);
    Put(pic, q == 0 || q == 3 ? 3 : 28, q < 2 ? 3 : 28, White);
    return pic;
}

Pixels HangingSign(int q) {
    Pixels pic = NewPic();
    Mask bracket;
    bracket.rect(0, 3, 30, 2).line(2, 12, 14, 4, 1.5);
    Shade(pic, bracket.turned(q), kNight, {true, true});
    Fill(pic, Mask().rect(8, 5, 1, 5).rect(24, 5, 1, 5).turned(q), Night);
    const Mask board = Mask().rect(5, 10, 22, 18).turned(q);
    Shade(pic, board, kWood);
    Shade(pic, Mask().disc(16, 19, 5).turned(q), kGold);
    return pic;
}

Pixels Arrow(int q) {
    Pixels pic = NewPic();
    Shade(pic, ArrowMask(false).turned(q), kGold);
    return pic;
}

Pixels DoubleArrow(int q) {
    Pixels pic = NewPic();
    Shade(pic, ArrowMask(true).turned(q + 1), kGold);
    return pic;
}

Pixels ArrowSign(int q) {
    Pixels pic = RoundSign(kBlue);
    Shade(pic, ArrowMask(false, 0.62).turned(q), kSnow, {false, false, true});
    return pic;
}

Pixels DoubleArrowSign(int q) {
    Pixels pic = RoundSign(kBlue);
    Shade(pic, ArrowMask(true, 0.62).turned(q + 1), kSnow, {false, false, true});
    return pic;
}

Pixels Bunting(int q) {
    Pixels pic = NewPic();
    static const int kColours[] = {Red, Yellow, Blue, Green};
    Mask string;
    for (int x = 0; x < kCell; ++x)
        string.set(x, 3 + static_cast<int>(std::lround(2 * std::sin(x * kPi / 32))));
    Fill(pic, string.turned(q), Ash);
    for (int i = 0; i < 4; ++i) {
        const double x = 1 + i * 8;
        const double y = 4 + 2 * std::sin((x + 3) * kPi / 32);
        Mask f;
        f.poly({{x, y}, {x + 7, y}, {x + 3.5, y + 11}});
        Shade(pic, f.turned(q), Ramp{Night, kColours[i], kColours[i], White, White}, {true, false, false});
    }
    return pic;
}

} // namespace

BlockSet MakeSignsSet() {
    SetBuilder b("Lights, signs and arrows");

    b.row().add("800", StreetLamp()).add("801", GasLamp()).add("802", Torch()).add("803", Candle());
    b.row()
        .add("860", TrafficLight())
        .add("861", PostBox())
        .add("862", BusStop())
        .add("863", Hydrant())
        .add("864", Bench())
        .add("865", Bin());

    // A lamp on a bracket from the side of its letter (N: hanging from above).
    b.row().turns("4C", WallLamp);

    // A beam of light shining towards its letter.
    b.row().turns("84", LightBeam);

    // Sign boards to build any size: corners, edges and the middle.
    b.row().corners("83", BoardCorner);
    b.add("830", Board(Mask::Full(), Mask()));
    b.row().turns("8D", [](int q) {
        return Board(Mask().rect(0, 2, 32, 30).turned(q), Mask().rect(0, 2, 32, 4).turned(q));
    });

    // A hanging sign on its bracket.
    b.row().pair("50", HangingSign);

    // Arrows: pointing towards their letter, or both ways (H, V).
    b.row().turns("51", Arrow).pair("51", DoubleArrow);
    b.row().turns("54", ArrowSign).pair("54", DoubleArrowSign);

    // Bunting on a string.
    b.row().pair("53", Bunting);

    // Road signs.
    b.row()
        .add("8A1", StopSign())
        .add("8A2", NoEntry())
        .add("8A3", Warning())
        .add("8A4", SquareSign("P", kBlue))
        .add("8A5", SquareSign("H", kBlue))
        .add("8A6", SpeedSign());

    // Neon signs, flags and fireworks.
    b.row().add("8B1", Neon(0)).add("8B2", Neon(1)).add("8B3", Neon(2));
    b.row()
        .add("8C1", FlagPole(Red, Red, false))
        .add("8C2", FlagPole(White, Blue, true))
        .add("8C3", FlagPole(Yellow, Green, false));
    b.row().add("851", Firework(Red, Yellow)).add("852", Firework(Cyan, White)).add("853", RocketTrail());

    return b.done();
}

} // namespace art
