// Block set: sky, weather and space.

#include "content_sets.h"

#include <cmath>

namespace art {

namespace {

constexpr double kPi = 3.14159265358979;

Pixels StreakySky(int base, int streak, int seed, bool vertical) {
    Pixels pic = NewPic();
    PaintAll(pic, [=](int px, int py) {
        const int along = vertical ? py : px;
        const int across = vertical ? px : py;
        const int lane = across / 4;
        if (across % 4 == 1) {
            const int start = static_cast<int>(Hash(lane, 0, seed) % 32);
            const int len = 6 + static_cast<int>(Hash(lane, 1, seed) % 10);
            if ((along - start + 32) % 32 < len && Noise(lane, 2, seed) < 0.6)
                return streak;
        }
        return base;
    });
    return pic;
}

Pixels Plain(int base, int speck, double amount, int seed) {
    Pixels pic = NewPic();
    PaintAll(pic, Speckled(base, speck, amount, seed));
    return pic;
}

Pixels Dusk() {
    Pixels pic = NewPic();
    PaintAll(pic, [](int x, int y) {
        // Colour bands that blend by a chequer where they meet.
        const int band = y / 8;
        const int yy = y % 8;
        static const int kBands[] = {Indigo, Purple, Rose, Orange};
        const bool blend = yy >= 6 && (x + y) % 2 == 0 && band < 3;
        return kBands[blend ? band + 1 : band];
    });
    return pic;
}

Pixels Starfield(int base, int seed, bool many) {
    Pixels pic = Plain(base, base == Black ? Night : Indigo, 0.05, seed);
    for (int i = 0; i < (many ? 9 : 5); ++i) {
        const int x = static_cast<int>(Hash(i, 0, seed) % 30) + 1;
        const int y = static_cast<int>(Hash(i, 1, seed) % 30) + 1;
        Put(pic, x, y, i % 3 == 0 ? White : Ice);
        if (i % 4 == 0) {
            Put(pic, x - 1, y, Grey);
            Put(pic, x + 1, y, Grey);
            Put(pic, x, y - 1, Grey);
            Put(pic, x, y + 1, Grey);
        }
    }
    return pic;
}

// A puffy cloud shape drawn with white puffs, shaded from the top left.
void Cloud(Pixels& pic, const Mask& shape, double cx, double cy, double r, int ox = 0, int oy = 0) {
    RoundShade(pic, shape, kSnow, cx, cy, r, ox, oy);
}

Pixels SmallCloud(const Ramp& ramp, int extra) {
    Pixels pic = NewPic();
    Mask c;
    c.disc(10, 16, 6).disc(17, 12, 7.5).disc(24, 16, 5.5).rect(6, 16, 20, 6);
    RoundShade(pic, c, ramp, 14, 12, 12);
    if (extra == 1)
        for (int i = 0; i < 6; ++i)
            Fill(pic, Mask().line(8 + i * 3.2, 24 + (i % 2) * 2, 7 + i * 3.2, 27 + (i % 2) * 2), Sky);
    if (extra == 2) {
        Mask bolt;
        bolt.poly({{17, 21}, {21, 21}, {18, 25}, {21, 25}, {14, 32}, {16, 26}, {13, 26}});
        Fill(pic, bolt, Yellow);
        Outline(pic, bolt, Orange);
    }
    return pic;
}

Pixels Sun() {
    Pixels pic = NewPic();
    for (int i = 0; i < 12; ++i) {
        const double a = i * kPi / 6;
        Mask ray;
        ray.line(15.5 + 10 * std::cos(a), 15.5 + 10 * std::sin(a), 15.5 + (i % 2 ? 13 : 15) * std::cos(a),
                 15.5 + (i % 2 ? 13 : 15) * std::sin(a), 2);
        Fill(pic, ray, i % 2 ? Orange : Yellow);
    }
    Mask disc;
    disc.disc(15.5, 15.5, 8.5);
    RoundShade(pic, disc, kGold, 15.5, 15.5, 8.5);
    return pic;
}

Pixels SettingSun() {
    Pixels pic = NewPic();
    Mask disc;
    disc.disc(15.5, 22, 13);
    disc = disc & Mask().rect(0, 0, 32, 24);
    Paint(pic, disc, [](int, int y) { return y % 4 == 3 && y > 12 ? Red : (y < 14 ? Yellow : Orange); });
    Outline(pic, disc, Red);
    for (int y = 25; y < 31; y += 2)
        HLine(pic, 8 + (y - 25), 23 - (y - 25), y, Orange);
    return pic;
}

Pixels Moon(int kind) {
    Pixels pic = NewPic();
    Mask m;
    m.disc(15.5, 15.5, 11);
    if (kind == 1)
        m = m - Mask().disc(20.5, 12.5, 10);
    if (kind == 2)
        m = m & Mask().rect(0, 0, 16, 32);
    RoundShade(pic, m, kSnow, 15.5, 15.5, 11);
    if (kind == 0)
        for (auto [x, y, r] :
             {std::tuple{12.0, 12.0, 2.5}, {19.0, 18.0, 3.0}, {18.0, 9.0, 1.5}, {10.0, 20.0, 1.5}})
            Fill(pic, Mask().disc(x, y, r) - Mask().disc(x - 0.8, y - 0.8, r), Silver);
    return pic;
}

Pixels BigStar() {
    Pixels pic = NewPic();
    std::vector<std::pair<double, double>> pts;
    for (int i = 0; i < 10; ++i) {
        const double a = -kPi / 2 + i * kPi / 5;
        const double r = i % 2 ? 6 : 14;
        pts.emplace_back(16 + r * std::cos(a), 17 + r * std::sin(a));
    }
    Mask star;
    star.poly(pts);
    Shade(pic, star, kGold);
    Put(pic, 14, 13, White);
    return pic;
}

Pixels Twinkles() {
    Pixels pic = NewPic();
    const int stars[][3] = {{6, 7, 2}, {22, 5, 1}, {14, 16, 3}, {27, 20, 2}, {7, 26, 1}, {20, 28, 1}};
    for (const auto& s : stars) {
        Put(pic, s[0], s[1], White);
        for (int r = 1; r <= s[2]; ++r) {
            const int pal = r == s[2] ? Sky : Ice;
            Put(pic, s[0] - r, s[1], pal);
            Put(pic, s[0] + r, s[1], pal);
            Put(pic, s[0], s[1] - r, pal);
            Put(pic, s[0], s[1] + r, pal);
        }
    }
    return pic;
}

Pixels Planet(int kind) {
    Pixels pic = NewPic();
    if (kind == 0) {
        Mask back;
        back.ellipse(16, 16, 15, 4.5);
        back = back - Mask().ellipse(16, 16, 11, 2.5);
        Fill(pic, back & Mask().rect(0, 0, 32, 16), Ochre);
        Mask body;
        body.disc(16, 16, 9);
        RoundShade(pic, body, kSand, 16, 16, 9);
        for (int y = 10; y < 24; y += 4)
            Fill(pic, Mask().rect(0, y, 32, 1) & Eroded(body), Ochre);
        Fill(pic, back & Mask().rect(0, 16, 32, 16), Peach);
        Outline(pic, back, Umber);
    } else if (kind == 1) {
        Mask body;
        body.disc(16, 16, 12);
        RoundShade(pic, body, kOrangeR, 16, 16, 12);
        Fill(pic, (Mask().ellipse(12, 13, 4, 2).ellipse(20, 21, 3, 1.5)) & Eroded(body), Brown);
    } else {
        Mask body;
        body.disc(16, 16, 12);
        RoundShade(pic, body, kWater, 16, 16, 12);
        Mask land;
        land.ellipse(12, 12, 5, 4).ellipse(20, 20, 5, 3).ellipse(22, 9, 2, 3);
        land = land & Eroded(body);
        Fill(pic, land, Green);
        Fill(pic, land - land.shifted(1, 1), Lime);
        Fill(pic, Mask().ellipse(14, 6, 4, 1.5) & Eroded(body), White);
    }
    return pic;
}

Pixels Ufo() {
    Pixels pic = NewPic();
    Mask dome;
    dome.ellipse(16, 13, 7, 6);
    dome = dome & Mask().rect(0, 0, 32, 14);
    RoundShade(pic, dome, kWater, 14, 10, 7);
    Mask saucer;
    saucer.ellipse(16, 16, 15, 4.5);
    RoundShade(pic, saucer, kMetal, 12, 13, 15);
    for (int x = 6; x < 28; x += 5)
        Put(pic, x, 17, Yellow);
    Mask beam;
    beam.poly({{11, 20}, {21, 20}, {27, 32}, {5, 32}});
    for (int y = 21; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x)
            if (beam.at(x, y) && (x + y) % 2 == 0)
                Put(pic, x, y, Lime);
    return pic;
}

Pixels Satellite() {
    Pixels pic = NewPic();
    for (int side : {1, 21}) {
        Mask panel;
        panel.rect(side, 11, 10, 10);
        Shade(pic, panel, kBlue);
        for (int i = 1; i < 3; ++i) {
            VLine(pic, side + i * 3 + 1, 12, 19, Indigo);
            HLine(pic, side + 1, side + 8, 11 + i * 3 + 1, Indigo);
        }
    }
    Fill(pic, Mask().rect(11, 15, 10, 2), Grey);
    Shade(pic, Mask().rect(12, 9, 8, 14), kGold);
    Shade(pic, Mask().ellipse(16, 5, 4, 2), kSnow);
    Fill(pic, Mask().rect(16, 6, 1, 3), Grey);
    return pic;
}

Pixels Astronaut() {
    Pixels pic = NewPic();
    Shade(pic, Mask().rect(7, 12, 5, 11).rect(20, 12, 5, 11), kSnow);
    Shade(pic, Mask().rect(11, 21, 4, 9).rect(17, 21, 4, 9), kSnow);
    Shade(pic, Mask().rect(10, 29, 5, 3).rect(17, 29, 5, 3), kStone);
    Shade(pic, Mask().rect(10, 11, 12, 12), kSnow);
    Shade(pic, Mask().rect(13, 14, 6, 4), kRedR);
    Shade(pic, Mask().rect(22, 12, 4, 10), kStone);
    Mask helmet;
    helmet.disc(16, 7, 6.5);
    Shade(pic, helmet, kSnow);
    Mask visor;
    visor.ellipse(16, 7.5, 4.5, 3.5);
    Fill(pic, visor, Ocean);
    Fill(pic, Mask().rect(13, 5, 2, 2), Cyan);
    Outline(pic, visor, Night);
    return pic;
}

// Snow lying along the top edge, lumpy underneath.
Mask SnowCap() {
    Mask m;
    m.rect(0, 0, 32, 4);
    for (int x = 0; x < kCell; ++x)
        m.rect(x, 4, 1,
               static_cast<int>(std::lround(1.5 + 1.5 * std::sin(x * kPi / 6) + (x % 11 == 5 ? 3 : 0))));
    return m;
}

Pixels HighCloud(int q) {
    return StreakySky(Sky, Ice, 131, q != 0);
}

Pixels CloudQuarter(int q) {
    Pixels pic = NewPic();
    // A round, puffy cloud centred on the corner the four pieces share.
    Mask cloud;
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
            const double dx = x + 0.5 - kCell;
            const double dy = y + 0.5 - kCell;
            const double r = 27.5 + 3.5 * std::cos(8 * std::atan2(dy, dx));
            if (dx * dx + dy * dy <= r * r)
                cloud.set(x, y);
        }
    Cloud(pic, cloud.turned(q), 32, 32, 30, CornerOffsetX(q), CornerOffsetY(q));
    return pic;
}

Pixels Lightning(int q) {
    Pixels pic = NewPic();
    Mask bolt;
    bolt.poly({{14, 0}, {22, 0}, {18, 11}, {24, 11}, {12, 32}, {15, 17}, {9, 17}});
    bolt = bolt.turned(q + 3);
    Fill(pic, bolt, Yellow);
    Fill(pic, Eroded(bolt) & Eroded(bolt).shifted(1, 0), White);
    Outline(pic, bolt, Orange);
    return pic;
}

Pixels SnowOnSlope(int q) {
    Pixels pic = NewPic();
    Mask snow;
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x)
            if (x + y >= 28 && x + y <= 34)
                snow.set(x, y);
    for (int i = 1; i < 32; i += 6)
        snow.disc(i + 0.5, 26.5 - i, 3);
    snow = snow.turned(q);
    Shade(pic, snow, kSnow, {true, true});
    return pic;
}

Pixels SnowLayer(int q) {
    Pixels pic = NewPic();
    Shade(pic, SnowCap().turned(q), kSnow, {true, true});
    return pic;
}

Pixels Comet(int q) {
    Pixels pic = NewPic();
    Mask tail;
    tail.poly({{16, 9}, {23, 32}, {9, 32}});
    Fill(pic, (tail & Mask::Chequer()).turned(q), Cyan);
    Mask inner;
    inner.poly({{16, 9}, {19, 30}, {13, 30}});
    Fill(pic, (inner & Mask::Chequer(1)).turned(q), Ice);
    Mask head;
    head.disc(16, 8, 5);
    RoundShade(pic, head.turned(q), Ramp{Sky, Ice, White, White, White}, 15, 7, 5);
    return pic;
}

Pixels Rocket(int q) {
    Pixels pic = NewPic();
    Mask flame;
    flame.poly({{12, 25}, {20, 25}, {16, 32}});
    Fill(pic, flame.turned(q), Orange);
    Fill(pic, Mask().poly({{14, 25}, {18, 25}, {16, 29}}).turned(q), Yellow);
    Mask fins;
    fins.poly({{11, 16}, {6, 25}, {11, 23}}).poly({{21, 16}, {26, 25}, {21, 23}});
    Shade(pic, fins.turned(q), kRedR);
    Mask body;
    body.ellipse(16, 14, 5, 12).rect(11, 14, 11, 11);
    body = body & Mask().rect(0, 0, 32, 25);
    Shade(pic, body.turned(q), kSnow);
    Mask nose;
    nose.ellipse(16, 14, 5, 12);
    nose = nose & Mask().rect(0, 0, 32, 8);
    Shade(pic, nose.turned(q), kRedR);
    Mask port;
    port.disc(16, 13, 2.2);
    Shade(pic, port.turned(q), kWater);
    return pic;
}

Pixels Rain() {
    Pixels pic = NewPic();
    for (int i = 0; i < 14; ++i) {
        const int x = static_cast<int>(Hash(i, 0, 141) % 30) + 1;
        const int y = static_cast<int>(Hash(i, 1, 141) % 28);
        Fill(pic, Mask().line(x, y, x - 1, y + 3), i % 2 ? Sky : Cyan);
    }
    return pic;
}

Pixels Snowfall() {
    Pixels pic = NewPic();
    for (int i = 0; i < 10; ++i) {
        const int x = static_cast<int>(Hash(i, 0, 143) % 28) + 2;
        const int y = static_cast<int>(Hash(i, 1, 143) % 28) + 2;
        Put(pic, x, y, White);
        if (i % 2) {
            Put(pic, x - 1, y, Ice);
            Put(pic, x + 1, y, Ice);
            Put(pic, x, y - 1, Ice);
            Put(pic, x, y + 1, Ice);
        }
    }
    return pic;
}

Pixels Birds() {
    Pixels pic = NewPic();
    const int birds[][2] = {{8, 10}, {18, 6}, {24, 14}, {12, 20}, {22, 24}};
    for (const auto& bd : birds) {
        Fill(pic,
             Mask().line(bd[0] - 3, bd[1] - 2, bd[0], bd[1], 1).line(bd[0], bd[1], bd[0] + 3, bd[1] - 2, 1),
             Night);
    }
    return pic;
}

} // namespace

BlockSet MakeSkySet() {
    SetBuilder b("Sky, weather and space");

    // Sky with streaks of high cloud (H) or rain (V).
    b.row().pair("31", HighCloud);

    b.row()
        .add("K01", Plain(Sky, Cyan, 0.03, 133))
        .add("K02", Plain(Blue, Sky, 0.03, 134))
        .add("K03", Dusk())
        .add("K04", Starfield(Night, 135, false))
        .add("K05", Starfield(Black, 136, true));

    // A big cloud in four quarters.
    b.row().corners("C1", CloudQuarter);

    b.row()
        .add("K71", SmallCloud(kSnow, 0))
        .add("K72", SmallCloud(kStone, 1))
        .add("K73", SmallCloud(kDark, 2));

    // Lightning: falling (V) and across the sky (H).
    b.row().pair("59", Lightning, 1);

    // Snow lying on a flat top (H), down a side (V), and on slopes whose
    // faces point towards the letter (to lie on the roof slopes).
    b.row().turns("5A", SnowOnSlope).pair("5A", SnowLayer);

    // A comet heading towards its letter, its tail behind.
    b.row().turns("5F", Comet);

    b.row().add("K11", Sun()).add("K12", SettingSun());
    b.row().add("K21", Moon(0)).add("K22", Moon(1)).add("K23", Moon(2));
    b.row().add("K31", BigStar()).add("K32", Twinkles());
    b.row().add("K41", Planet(0)).add("K42", Planet(1)).add("K43", Planet(2));

    // A rocket flying towards its letter.
    b.row().turns("K5", Rocket);

    b.row().add("K61", Ufo()).add("K62", Satellite()).add("K63", Astronaut());

    // Rain, snow and a flock of birds.
    b.row().add("K81", Rain()).add("K82", Snowfall()).add("K83", Birds());

    return b.done();
}

} // namespace art
