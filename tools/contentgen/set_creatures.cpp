// Block set: people and animals. Figures stand on magenta, feet at the bottom
// of the cell, so that they can be put in front of anything.

#include "content_sets.h"

#include <cmath>

namespace art {

namespace {

constexpr double kPi = 3.14159265358979;

struct Figure {
    Ramp skin = kSkin;
    Ramp hair = kWood;
    Ramp top = kBlue; // shirt, coat or dress
    Ramp legs = kDark;
    Ramp shoes = kNight;
    bool dress = false;
    bool longHair = false;
    int height = 0; // 0 a grown-up; up to 8 pixels shorter for a child
    int hat = 0;    // 0 none, 1 helmet, 2 chef's hat, 3 hard hat
    Ramp hatRamp = kNight;
};

// A person seen from the front.
Pixels Person(const Figure& f) {
    Pixels pic = NewPic();
    const int d = f.height;
    const double shrink = 1.0 - d / 40.0;
    const int headY = 6 + d;
    // Legs and shoes.
    const int legTop = 20 + d / 2;
    if (!f.dress) {
        Shade(pic, Mask().rect(12, legTop, 4, 29 - legTop).rect(17, legTop, 4, 29 - legTop), f.legs);
    } else {
        Shade(pic, Mask().rect(13, legTop + 4, 2, 25 - legTop).rect(18, legTop + 4, 2, 25 - legTop), f.skin);
    }
    Shade(pic, Mask().rect(11, 28, 5, 3).rect(17, 28, 5, 3), f.shoes);
    // Arms and body.
    const int bodyTop = headY + 5;
    Mask arms;
    arms.rect(8, bodyTop + 1, 4, static_cast<int>(9 * shrink))
        .rect(21, bodyTop + 1, 4, static_cast<int>(9 * shrink));
    Shade(pic, arms, f.top);
    const int handY = bodyTop + 1 + static_cast<int>(9 * shrink);
    Shade(pic, Mask().rect(8, handY - 1, 4, 3).rect(21, handY - 1, 4, 3), f.skin);
    Mask body;
    if (f.dress)
        body.poly({{11.0, double(bodyTop)},
                   {22.0, double(bodyTop)},
                   {25.0, double(legTop + 5)},
                   {8.0, double(legTop + 5)}});
    else
        body.rect(11, bodyTop, 11, legTop - bodyTop + 1);
    Shade(pic, body, f.top);
    // Head, hair and face.
    if (f.longHair)
        Shade(pic, Mask().rect(10, headY - 3, 13, 10).disc(16.5, headY - 1, 6), f.hair);
    Mask head;
    head.ellipse(16.5, headY + 0.5, 5, 5.5);
    Shade(pic, head, f.skin);
    Mask hair;
    hair.ellipse(16.5, headY - 2, 5.5, 4).rect(11, headY - 2, 2, 4).rect(20, headY - 2, 2, 4);
    hair = hair - Mask().rect(12, headY, 9, 8);
    if (f.hat == 0)
        Shade(pic, hair, f.hair);
    Put(pic, 14, headY + 1, Night);
    Put(pic, 18, headY + 1, Night);
    HLine(pic, 15, 17, headY + 4, Brown);
    if (f.hat == 1) {
        Mask helmet;
        helmet.ellipse(16.5, headY - 3, 5.5, 5).rect(11, headY - 1, 11, 2);
        helmet = helmet & Mask().rect(0, 0, 32, headY + 1);
        Shade(pic, helmet, f.hatRamp);
        Shade(pic, Mask().disc(16.5, headY - 4, 1.2), kGold, {false, false, false});
    } else if (f.hat == 2) {
        Shade(pic,
              Mask()
                  .rect(12, headY - 4, 9, 3)
                  .disc(13, headY - 7, 3)
                  .disc(17, headY - 8, 3.5)
                  .disc(20, headY - 6, 3),
              kSnow);
    } else if (f.hat == 3) {
        Mask helmet;
        helmet.ellipse(16.5, headY - 2, 5.5, 4.5).rect(9, headY - 1, 15, 2);
        helmet = helmet & Mask().rect(0, 0, 32, headY + 1);
        Shade(pic, helmet, f.hatRamp);
    }
    return pic;
}

Pixels Balloon(Pixels pic) {
    Fill(pic, Mask().line(23, 20, 27, 9, 1), Grey);
    Mask b;
    b.ellipse(27, 5, 4, 5);
    RoundShade(pic, b, kRedR, 26, 4, 5);
    return pic;
}

Pixels Dog() {
    Pixels pic = NewPic();
    Mask body;
    body.ellipse(13, 19, 9, 5).rect(5, 21, 3, 10).rect(10, 21, 3, 10).rect(16, 21, 3, 10).rect(20, 20, 3, 11);
    body.line(4, 17, 1, 10, 2.5);
    Shade(pic, body, kWood);
    Mask head;
    head.ellipse(23, 13, 5, 4.5).ellipse(28, 15, 3, 2.5);
    Shade(pic, head, kWood);
    Shade(pic, Mask().ellipse(20, 12, 2, 4), kSkin);
    Put(pic, 24, 12, Night);
    Put(pic, 30, 14, Night);
    Fill(pic, Mask().rect(17, 17, 5, 2), Red);
    return pic;
}

Pixels Cat() {
    Pixels pic = NewPic();
    Mask tail;
    tail.line(22, 28, 28, 24, 2.5).line(28, 24, 27, 16, 2.5);
    Shade(pic, tail, kStone);
    Mask body;
    body.ellipse(15.5, 23, 8, 8).rect(8, 28, 16, 3);
    Shade(pic, body, kStone);
    Mask head;
    head.ellipse(15.5, 12, 6.5, 5.5).poly({{9, 11}, {10, 3}, {14, 8}}).poly({{22, 11}, {21, 3}, {17, 8}});
    Shade(pic, head, kStone);
    Put(pic, 11, 7, Pink);
    Put(pic, 20, 7, Pink);
    for (int x : {13, 18}) {
        Put(pic, x, 11, Lime);
        Put(pic, x, 12, Night);
    }
    Put(pic, 15, 14, Pink);
    Put(pic, 16, 14, Pink);
    HLine(pic, 8, 11, 14, Ice);
    HLine(pic, 20, 23, 14, Ice);
    return pic;
}

Pixels Rabbit() {
    Pixels pic = NewPic();
    Mask ears;
    ears.ellipse(13, 8, 2, 7).ellipse(19, 8, 2, 7);
    Shade(pic, ears, kSnow);
    Fill(pic, Mask().ellipse(13, 8, 0.8, 5).ellipse(19, 8, 0.8, 5), Pink);
    Mask body;
    body.ellipse(16, 25, 9, 6.5).disc(16, 17, 5);
    Shade(pic, body, kSnow);
    Put(pic, 14, 16, Night);
    Put(pic, 18, 16, Night);
    Put(pic, 16, 18, Pink);
    Shade(pic, Mask().disc(25, 26, 2.5), kSnow);
    return pic;
}

Pixels Sparrow() {
    Pixels pic = NewPic();
    Mask body;
    body.ellipse(15, 19, 8, 6).disc(22, 13, 4.5).poly({{5, 17}, {0, 13}, {2, 21}});
    Shade(pic, body, kWood);
    Shade(pic, Mask().ellipse(13, 18, 6, 3), Ramp{Plum, Umber, Umber, Brown, Tan});
    Shade(pic, Mask().ellipse(17, 23, 5, 2), kSand);
    Put(pic, 23, 12, Night);
    Fill(pic, Mask().poly({{26, 12}, {30, 14}, {26, 15}}), Ochre);
    Fill(pic, Mask().rect(14, 25, 1, 5).rect(18, 25, 1, 5), Ochre);
    return pic;
}

Pixels Owl() {
    Pixels pic = NewPic();
    Mask body;
    body.ellipse(16, 19, 10, 12).poly({{7, 9}, {9, 2}, {13, 8}}).poly({{25, 9}, {23, 2}, {19, 8}});
    Shade(pic, body, kWood);
    Shade(pic, Mask().ellipse(16, 23, 6, 7), kSand);
    for (int x : {12, 20}) {
        Shade(pic, Mask().disc(x, 13, 3.5), kSnow);
        Shade(pic, Mask().disc(x, 13, 1.8), kGold, {false, false, false});
        Put(pic, x, 13, Night);
    }
    Fill(pic, Mask().poly({{15, 16}, {17, 16}, {16, 19}}), Ochre);
    Fill(pic, Mask().rect(11, 30, 4, 2).rect(18, 30, 4, 2), Ochre);
    return pic;
}

Pixels Duck() {
    Pixels pic = NewPic();
    Mask body;
    body.ellipse(14, 22, 11, 7).poly({{3, 20}, {0, 15}, {6, 18}});
    Shade(pic, body, kSnow);
    Shade(pic, Mask().ellipse(12, 21, 6, 3), kSnow, {true, false});
    Mask head;
    head.disc(22, 10, 5).rect(20, 12, 5, 8);
    Shade(pic, head, kLeaf);
    Fill(pic, Mask().rect(20, 16, 5, 2), White);
    Shade(pic, Mask().ellipse(28, 12, 3.5, 1.8), kOrangeR);
    Put(pic, 23, 9, Night);
    return pic;
}

Pixels Hen() {
    Pixels pic = NewPic();
    Mask body;
    body.ellipse(14, 19, 10, 8).poly({{4, 17}, {3, 7}, {9, 13}}).disc(22, 10, 4.5);
    Shade(pic, body, kSand);
    Shade(pic, Mask().ellipse(13, 19, 6, 4), kWood, {true, false});
    Shade(pic, Mask().disc(21, 5, 1.8).disc(23, 5, 1.8).ellipse(25, 14, 1.2, 2.2), kRedR);
    Fill(pic, Mask().poly({{26, 9}, {30, 11}, {26, 12}}), Orange);
    Put(pic, 23, 9, Night);
    Fill(pic, Mask().rect(12, 27, 1, 4).rect(17, 27, 1, 4), Orange);
    return pic;
}

Pixels Cow() {
    Pixels pic = NewPic();
    Mask body;
    body.rect(3, 10, 20, 12).rect(4, 22, 3, 9).rect(9, 22, 3, 9).rect(16, 22, 3, 9).rect(20, 22, 3, 9);
    Shade(pic, body, kSnow);
    Fill(pic, (Mask().ellipse(8, 14, 4, 3).ellipse(17, 17, 4, 3).ellipse(13, 11, 3, 1.5)) & Eroded(body),
         Night);
    Mask head;
    head.rect(22, 7, 8, 11).poly({{21, 7}, {19, 4}, {23, 6}});
    Shade(pic, head, kSnow);
    Shade(pic, Mask().rect(23, 14, 8, 5), kPinkR);
    Put(pic, 25, 10, Night);
    Fill(pic, Mask().line(2, 11, 1, 20), Night);
    Fill(pic, Mask().rect(3, 29, 20, 2) & body, Night);
    return pic;
}

Pixels Sheep() {
    Pixels pic = NewPic();
    Fill(pic, Mask().rect(8, 22, 3, 9).rect(19, 22, 3, 9), Night);
    Mask wool;
    for (int i = 0; i < 7; ++i)
        wool.disc(6 + i * 3.3, 14 + (i % 2) * 2, 4.5);
    wool.ellipse(15, 18, 11, 6);
    Shade(pic, wool, kSnow);
    for (int i = 0; i < 12; ++i)
        Put(pic, 6 + static_cast<int>(Hash(i, 0, 5) % 20), 12 + static_cast<int>(Hash(i, 1, 5) % 9), Silver);
    Mask head;
    head.ellipse(26, 14, 4, 5);
    Shade(pic, head, kDark);
    Put(pic, 27, 13, White);
    return pic;
}

Pixels Pig() {
    Pixels pic = NewPic();
    Mask body;
    body.ellipse(14, 19, 11, 8).rect(6, 24, 3, 7).rect(18, 24, 3, 7).poly({{23, 10}, {27, 9}, {25, 13}});
    Shade(pic, body, kPinkR);
    Shade(pic, Mask().ellipse(27, 18, 3, 3.5), kPinkR);
    Put(pic, 27, 17, Plum);
    Put(pic, 27, 19, Plum);
    Put(pic, 22, 15, Night);
    Fill(pic, Mask().line(3, 15, 1, 12), Rose);
    return pic;
}

Pixels Frog() {
    Pixels pic = NewPic();
    Mask legs;
    legs.ellipse(6, 26, 5, 3).ellipse(26, 26, 5, 3);
    Shade(pic, legs, kLeaf);
    Mask body;
    body.ellipse(16, 21, 10, 8).disc(10, 12, 4).disc(22, 12, 4);
    Shade(pic, body, kLeaf);
    Shade(pic, Mask().ellipse(16, 24, 6, 4), Ramp{Moss, Fern, Lime, Lime, White});
    for (int x : {10, 22}) {
        Shade(pic, Mask().disc(x, 11, 2.2), kSnow, {false, false, false});
        Put(pic, x, 11, Night);
    }
    HLine(pic, 12, 20, 18, Moss);
    return pic;
}

Pixels Bathers(int q) {
    Pixels pic = NewPic();
    // Swimming to the right.
    Mask legs;
    legs.line(2, 17, 10, 16, 3);
    Shade(pic, legs.turned(q), kSkin);
    Mask trunks;
    trunks.rect(9, 14, 5, 5);
    Shade(pic, trunks.turned(q), kRedR);
    Mask body;
    body.rect(13, 14, 8, 5);
    Shade(pic, body.turned(q), kSkin);
    Mask arm;
    arm.line(19, 15, 29, 12, 2.5);
    Shade(pic, arm.turned(q), kSkin);
    Mask head;
    head.disc(23.5, 16.5, 3.5);
    Shade(pic, head.turned(q), kSkin);
    Mask cap;
    cap.disc(24, 15.5, 3.5);
    cap = cap & Mask().rect(0, 0, 32, 16);
    Shade(pic, cap.turned(q), kGold);
    Mask splash;
    splash.disc(3, 20, 1.5).disc(6, 21, 1.2).disc(1, 22, 1);
    Shade(pic, splash.turned(q), kWater);
    return pic;
}

Pixels Goldfish(int q) {
    Pixels pic = NewPic();
    const int t = q + 3; // drawn swimming east
    Mask tail;
    tail.poly({{9, 16}, {2, 8}, {4, 16}, {2, 24}});
    Shade(pic, tail.turned(t), kOrangeR);
    Mask fins;
    fins.poly({{14, 10}, {20, 6}, {21, 11}}).poly({{15, 21}, {19, 25}, {20, 21}});
    Shade(pic, fins.turned(t), kOrangeR);
    Mask body;
    body.ellipse(18, 16, 11, 6.5);
    Shade(pic, body.turned(t), kGold);
    Mask gill;
    gill.line(23, 12, 23, 19);
    Fill(pic, gill.turned(t), Orange);
    Mask eye;
    eye.rect(25, 14, 2, 2);
    Fill(pic, eye.turned(t), Night);
    return pic;
}

Pixels Gull(int q) {
    Pixels pic = NewPic();
    Mask wings;
    wings.poly(
        {{16, 12}, {9, 8}, {1, 12}, {2, 14}, {9, 12}, {16, 17}, {23, 12}, {30, 14}, {31, 12}, {23, 8}});
    Shade(pic, wings.turned(q), kSnow);
    Mask tips;
    tips.poly({{1, 12}, {4, 10.5}, {5, 13}, {2, 14}}).poly({{31, 12}, {28, 10.5}, {27, 13}, {30, 14}});
    Fill(pic, tips.turned(q), Ash);
    Mask body;
    body.ellipse(16, 15, 2.5, 8);
    Shade(pic, body.turned(q), kSnow);
    Mask beak;
    beak.rect(15, 5, 2, 3);
    Fill(pic, beak.turned(q), Orange);
    return pic;
}

Pixels Butterfly(int q) {
    Pixels pic = NewPic();
    Mask upper;
    upper.ellipse(9, 11, 7, 6).ellipse(23, 11, 7, 6);
    Shade(pic, upper.turned(q), kOrangeR);
    Mask lower;
    lower.ellipse(11, 21, 5, 5).ellipse(21, 21, 5, 5);
    Shade(pic, lower.turned(q), kOrangeR);
    Mask spots;
    spots.disc(7, 10, 1.8).disc(25, 10, 1.8).disc(11, 22, 1.3).disc(21, 22, 1.3);
    Fill(pic, spots.turned(q), White);
    Mask body;
    body.ellipse(16, 16, 1.5, 9);
    body.line(15, 7, 12, 2).line(17, 7, 20, 2);
    Fill(pic, body.turned(q), Night);
    return pic;
}

Figure Woman() {
    Figure woman;
    woman.top = kRedR;
    woman.dress = true;
    woman.longHair = true;
    woman.hair = kGold;
    woman.shoes = kRedR;
    return woman;
}

const Ramp kDarkSkin{Plum, Umber, Brown, Tan, Peach};

void AddGrownUps(SetBuilder& b) {
    Figure man;
    Figure grandad;
    grandad.hair = kSnow;
    grandad.top = kWood;
    grandad.legs = kStone;
    Figure police;
    police.top = kNight;
    police.legs = kNight;
    police.hat = 1;
    police.hatRamp = kNight;
    Figure chef;
    chef.top = kSnow;
    chef.legs = kStone;
    chef.hat = 2;
    Figure builder;
    builder.top = kOrangeR;
    builder.legs = kBlue;
    builder.hat = 3;
    builder.hatRamp = kGold;
    builder.skin = kDarkSkin;
    Figure nurse;
    nurse.top = kWater;
    nurse.dress = true;
    nurse.skin = kDarkSkin;
    nurse.hair = kDark;
    nurse.longHair = true;
    b.row()
        .add("741", Person(man))
        .add("742", Person(Woman()))
        .add("743", Person(grandad))
        .add("744", Person(police))
        .add("745", Person(chef))
        .add("746", Person(builder))
        .add("747", Person(nurse));
}

void AddChildren(SetBuilder& b) {
    Figure boy;
    boy.height = 7;
    boy.top = kLeaf;
    boy.legs = kBlue;
    boy.hair = kGold;
    Figure girl;
    girl.height = 7;
    girl.top = kPinkR;
    girl.dress = true;
    girl.longHair = true;
    girl.hair = kWood;
    Figure toddler;
    toddler.height = 10;
    toddler.top = kGold;
    toddler.legs = kRedR;
    toddler.hair = kOrangeR;
    Figure kid = boy;
    kid.top = kPurpleR;
    kid.skin = kDarkSkin;
    kid.hair = kDark;
    b.row()
        .add("751", Person(boy))
        .add("752", Person(girl))
        .add("753", Person(toddler))
        .add("754", Balloon(Person(kid)));
}

// Bathers, a swimmer (H) and the swimmer diving (V).
void AddBathers(SetBuilder& b) {
    Figure bather;
    bather.top = kSkin;
    bather.legs = kRedR;
    Figure bather2 = Woman();
    bather2.top = kWater;
    bather2.dress = false;
    bather2.legs = kWater;
    b.row().add("701", Person(bather)).add("702", Person(bather2)).pair("70", Bathers);
}

} // namespace

BlockSet MakeCreaturesSet() {
    SetBuilder b("People and animals");
    AddGrownUps(b);
    AddChildren(b);
    AddBathers(b);

    // Pets.
    b.row().add("731", Dog()).add("732", Cat()).add("733", Rabbit());
    // Birds.
    b.row().add("761", Sparrow()).add("762", Owl()).add("763", Duck()).add("764", Hen());
    // Farm animals.
    b.row().add("771", Cow()).add("772", Sheep()).add("773", Pig()).add("774", Frog());

    // A goldfish swimming towards its letter.
    b.row().turns("72", Goldfish);

    // A gull in flight, seen from below, heading towards its letter.
    b.row().turns("57", Gull);

    // A butterfly heading towards its letter.
    b.row().turns("78", Butterfly);

    return b.done();
}

} // namespace art
