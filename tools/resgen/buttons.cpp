// The button pictures: a bevelled face with a glyph. Multi-state buttons keep
// their states side by side: up, disabled, pressed (and latched). The pressed
// picture is the up glyph moved down and right by one pixel on a darker,
// sunken face; the disabled picture is drawn in the palette's greys.
#include "pictures.h"
#include "pixelart/palette.h"
#include "pixelart/pixel_font.h"

#include <cmath>

using namespace pixelart;

namespace {

const std::map<char, QRgb> kLegend = {
    {'k', pal::Night}, {'K', pal::Black},  {'w', pal::White},  {'i', pal::Ice},    {'s', pal::Silver},
    {'g', pal::Grey},  {'r', pal::Iron},   {'y', pal::Yellow}, {'o', pal::Orange}, {'t', pal::Tan},
    {'b', pal::Brown}, {'u', pal::Umber},  {'B', pal::Blue},   {'S', pal::Sky},    {'c', pal::Cyan},
    {'n', pal::Ocean}, {'R', pal::Red},    {'p', pal::Rose},   {'G', pal::Green},  {'l', pal::Lime},
    {'f', pal::Moss},  {'I', pal::Indigo}, {'m', pal::Peach},
};

enum class Face { Up, Disabled, Pressed, Latched };

Pixels ButtonFace(int w, int h, Face face) {
    switch (face) {
    case Face::Up: {
        Pixels p(w, h, pal::Indigo);
        p.bevel(QRect(0, 0, w, h), pal::Blue, pal::Night);
        return p;
    }
    case Face::Disabled: {
        Pixels p(w, h, pal::Slate);
        p.bevel(QRect(0, 0, w, h), pal::Ash, pal::Night);
        return p;
    }
    case Face::Pressed:
    case Face::Latched: {
        // Sunken: the shadow falls on the top and left edges.
        Pixels p(w, h, pal::Night);
        p.bevel(QRect(0, 0, w, h), pal::Black, pal::Indigo);
        if (face == Face::Latched) // held down: a lit rim inside the sunken edge
            p.bevel(QRect(1, 1, w - 2, h - 2), pal::Night, pal::Ocean);
        return p;
    }
    }
    return Pixels(w, h, pal::Black);
}

// A glyph in the disabled look: its light parts in a mid grey, its dark parts
// in the darkest, so that the shape still shows on the grey face.
Pixels DisabledGlyph(const Pixels& glyph) {
    Pixels out(glyph.width(), glyph.height(), pal::Clear);
    for (int y = 0; y < glyph.height(); ++y)
        for (int x = 0; x < glyph.width(); ++x) {
            if (!glyph.opaqueAt(x, y))
                continue;
            const QRgb c = glyph.at(x, y);
            const int luma = (qRed(c) * 299 + qGreen(c) * 587 + qBlue(c) * 114) / 1000;
            out.set(x, y, luma < 70 ? pal::Night : luma < 150 ? pal::Iron : pal::Grey);
        }
    return out;
}

// One state column: the face with the glyph centred (moved by shift).
Pixels State(int w, int h, Face face, const Pixels& glyph, int shift) {
    Pixels p = ButtonFace(w, h, face);
    p.draw(face == Face::Disabled ? DisabledGlyph(glyph) : glyph, (w - glyph.width()) / 2 + shift,
           (h - glyph.height()) / 2 + shift);
    return p;
}

Picture Strip(const QString& name, const std::vector<Pixels>& states) {
    const int w = states.front().width(), h = states.front().height();
    Picture pic{QStringLiteral("art/buttons/%1.png").arg(name),
                Pixels(w * int(states.size()), h, pal::Black)};
    for (std::size_t i = 0; i < states.size(); ++i)
        pic.pixels.draw(states[i], int(i) * w, 0);
    pic.columns = int(states.size());
    return pic;
}

// A one-picture toolbox button: 22 x 22; the button itself moves the picture
// when pressed and veils it when disabled.
Picture ToolButton(const char* name, const Pixels& glyph) {
    return Strip(QLatin1String(name), {State(22, 22, Face::Up, glyph, 0)});
}

// A three-state button: up, disabled, pressed.
Picture ThreeState(const char* name, int w, int h, const Pixels& glyph) {
    return Strip(QLatin1String(name), {State(w, h, Face::Up, glyph, 0), State(w, h, Face::Disabled, glyph, 0),
                                       State(w, h, Face::Pressed, glyph, 1)});
}

Pixels Glyph(std::initializer_list<const char*> rows) {
    return Sprite(rows, kLegend);
}

// Round shapes drawn from a rule: inside(dx, dy) for pixel centres measured
// from the middle of a size x size glyph.
template <typename F> Pixels RoundGlyph(int size, QRgb colour, F inside) {
    Pixels p(size, size, pal::Clear);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (inside(x + 0.5 - size / 2.0, y + 0.5 - size / 2.0))
                p.set(x, y, colour);
    return p;
}

Pixels NewGlyph() {
    // clang-format off
    return Glyph({
        ".kkkkkkkk...y...",
        ".kwwwwwwkk..y...",
        ".kwwwwwwksk.....",
        ".kwwwwwwkssk....",
        ".kwwwwwwkkkk....",
        ".kwwwwwwwwwk.y..",
        ".kwwwwwwwwsk....",
        ".kwwwwwwwwsk....",
        ".kwwwwwwwwsk....",
        ".kwwwwwwwwsk....",
        ".kwwwwwwwwsk....",
        ".kwwwwwwwwsk....",
        ".kwwwwwwwwsk....",
        ".kssssssssssk...",
        ".kkkkkkkkkkkk...",
        "................",
    });
    // clang-format on
}

Pixels OpenGlyph() {
    // clang-format off
    return Glyph({
        "................",
        "................",
        ".kkkkk..........",
        "kbttttk.........",
        "kbttttkkkkkkk...",
        "kbtttttttttttk..",
        "kbttkkkkkkkkkkkk",
        "kbtkyyyyyyyyyyyk",
        "kbtkyyyyyyyyyyk.",
        "kbkyyyyyyyyyyyk.",
        "kbkyyyyyyyyyyk..",
        "kkyyyyyyyyyyyk..",
        "kkyoooooooooook.",
        "kkkkkkkkkkkkkk..",
        "................",
        "................",
    });
    // clang-format on
}

Pixels SaveGlyph() {
    // clang-format off
    return Glyph({
        "kkkkkkkkkkkkkk..",
        "kSkwwwwwwwwkSk..",
        "kSkwwwwwwwwkSSk.",
        "kSkwiiiiiiwkSSk.",
        "kSkwwwwwwwwkSSk.",
        "kSkwiiiiiiwkSSk.",
        "kSkwwwwwwwwkSSk.",
        "kSSkkkkkkkkSSSk.",
        "kSSSSSSSSSSSSSk.",
        "kSSSkkkkkkkSSSk.",
        "kSSkssskkskkSSk.",
        "kSSkssskkskkSBk.",
        "kSBkssskkskkBBk.",
        "kBBkssssssskBBk.",
        "kkkkkkkkkkkkkkk.",
        "................",
    });
    // clang-format on
}

Pixels PrintGlyph() {
    // clang-format off
    return Glyph({
        "................",
        "...kkkkkkkkk....",
        "...kwwwwwwwk....",
        "...kwiiiiiwk....",
        "...kwwwwwwwk....",
        ".kkkkkkkkkkkkk..",
        "kssssssssssssssk",
        "ksiiiiiiiiiiiGsk",
        "kssssssssssssssk",
        "ksgkkkkkkkkkkgsk",
        "kggkwwwwwwwwkggk",
        "kkkkwiiiiiiwkkkk",
        "...kwwwwwwwwk...",
        "...kwiiiiiiwk...",
        "...kkkkkkkkkk...",
        "................",
    });
    // clang-format on
}

Pixels FileGlyph() {
    // clang-format off
    return Glyph({
        "...kkkkkkkk.....",
        "...kiiiiiiik....",
        ".kkkkkkkkkkik...",
        ".kwwwwwwwwkik...",
        ".kwkkkkkwwkik...",
        ".kwwwwwwwwkik...",
        ".kwkkkkkkwkik...",
        ".kwwwwwwwwkik...",
        ".kwkkkkkwwkik...",
        ".kwwwwwwwwkkk...",
        ".kwwwwwwwwk.....",
        ".kkkkkkkkkk.....",
        "...........kkkkk",
        "...........kcccK",
        "............kcK.",
        ".............K..",
    });
    // clang-format on
}

Pixels GridGlyph() {
    // clang-format off
    return Glyph({
        "................",
        ".iiiiiiiiiiiiii.",
        ".innnnninnnnnni.",
        ".inSnnninSnnnni.",
        ".innnnninnnnnni.",
        ".innnnninnnnnni.",
        ".innnnninnnnnni.",
        ".iiiiiiiiiiiiii.",
        ".inSnnninSnnnni.",
        ".innnnninnnnnni.",
        ".innnnninnnnnni.",
        ".innnnninnnnnni.",
        ".innnnninnnnnni.",
        ".iiiiiiiiiiiiii.",
        "................",
        "................",
    });
    // clang-format on
}

Pixels BlockBoxGlyph() {
    // clang-format off
    return Glyph({
        "kkkkkkkkkkkkkkk.",
        "kpppppkkyyyyyyk.",
        "kpRRRokkywwwyok.",
        "kpRRRokkywwyyok.",
        "kpRRRokkyyyyyok.",
        "kpoooookyooooook",
        "kkkkkkkkkkkkkkk.",
        "kkkkkkkkkkkkkkk.",
        "klllllkkSSSSSSk.",
        "klGGGfkkSBBBBnk.",
        "klGGGfkkSBBBBnk.",
        "klGGGfkkSBBBBnk.",
        "kfffffkkSnnnnnk.",
        "kkkkkkkkkkkkkkk.",
        "................",
        "................",
    });
    // clang-format on
}

Pixels DisplayGlyph() {
    // clang-format off
    return Glyph({
        "kkkkkkkkkkkkkk..",
        "ksssssssssssgk..",
        "ksnnnnnnnnnnrk..",
        "ksnSSnnnnnnnrk..",
        "ksnSnnnnnnnnrk..",
        "ksnnnnnnnnnnrk..",
        "ksnnnnnnnnnnrk..",
        "ksnnnnnnnnnnrk..",
        "ksrrrrrrrrrrrk..",
        "kkkkkkkkkkkkkk..",
        ".....ksrk.......",
        "...kkkkkkkk.....",
        "...krrrrrrk.kkkk",
        "...kkkkkkkk.kccK",
        ".............kK.",
        "................",
    });
    // clang-format on
}

Pixels AttributesGlyph() {
    // clang-format off
    return Glyph({
        "kkkkkkkkkkkkkkkk",
        "kttttttttttttttk",
        "ktSSSSSSSSSSSSbk",
        "ktSSSSSSSSyySSbk",
        "ktSSSSSSSyyyySbk",
        "ktSSlSSSSSyySSbk",
        "ktSllGSSSSSSSSbk",
        "ktllGGGSSSlSSSbk",
        "ktlGGGGGSllGSSbk",
        "ktGGGGGGGlGGGGbk",
        "ktGGfGGGGGGfGGbk",
        "kbbbbbbbbbbbbbbk",
        "kkkkkkkkkkkkkkkk",
        "................",
        "..iiiiiiiiiii...",
        "................",
    });
    // clang-format on
}

Pixels PreferencesGlyph() {
    constexpr double kPi = 3.14159265358979323846;
    Pixels gear = RoundGlyph(14, pal::Silver, [](double dx, double dy) {
        const double r = std::sqrt(dx * dx + dy * dy);
        const double a = std::atan2(dy, dx);
        const bool tooth = std::cos(8 * a) > 0.25;
        return r >= 2.0 && (r <= 4.6 || (tooth && r <= 6.6));
    });
    (void)kPi;
    ShadeByLight(gear, pal::Silver, pal::White, pal::Grey);
    Pixels out = gear.padded(1);
    out.outline(pal::Night);
    return out;
}

Pixels HelpGlyph() {
    Pixels disc =
        RoundGlyph(14, pal::Blue, [](double dx, double dy) { return dx * dx + dy * dy <= 6.6 * 6.6; });
    ShadeByLight(disc, pal::Blue, pal::Sky, pal::Ocean);
    Pixels out = disc.padded(1);
    out.outline(pal::Night);
    // clang-format off
    out.draw(Glyph({
                 ".wwww.",
                 "ww..ww",
                 "....ww",
                 "...ww.",
                 "..ww..",
                 "..ww..",
                 "......",
                 "..ww..",
             }),
             5, 4);
    // clang-format on
    return out;
}

Pixels ExitGlyph() {
    constexpr double kPi = 3.14159265358979323846;
    Pixels ring = RoundGlyph(14, pal::Rose, [](double dx, double dy) {
        const double r = std::sqrt(dx * dx + dy * dy);
        const double a = std::atan2(-dy, dx) * 180 / kPi;
        return r >= 4.2 && r <= 6.6 && !(a > 55 && a < 125);
    });
    ring.fill(QRect(6, 0, 2, 8), pal::Rose);
    ShadeByLight(ring, pal::Rose, pal::Pink, pal::Red);
    Pixels out = ring.padded(1);
    out.outline(pal::Night);
    return out;
}

// The paint glyph of the mode button: a brush laying a stroke of paint.
Pixels BrushGlyph() {
    // clang-format off
    return Glyph({
        "...........kk.",
        "..........ktbk",
        ".........ktbk.",
        "........ktbk..",
        ".......ktbk...",
        "......ksgk....",
        ".....kssgk....",
        "....kRRsk.....",
        "...kRpRk......",
        "...kRRRk......",
        "..kRRRk.......",
        ".kRRkk........",
        "kRkk..........",
        "kk............",
    });
    // clang-format on
}

// The edit glyph of the mode button: the hand that picks blocks up.
Pixels HandGlyph() {
    // clang-format off
    return Glyph({
        "......kk......",
        "...kk.kwk.kk..",
        "..kwkkkwkkwk..",
        "..kwkkwsk.kwk.",
        "..kwkkwskkwsk.",
        "..kwskwskkwskk",
        "kk.kwwwwwwwkwk",
        "kwkkwwwwwwwwwk",
        ".kwwwwwwwwwwsk",
        "..kwwwwwwwwwsk",
        "...kwwwwwwwsk.",
        "....kwwwwwwsk.",
        "....kwwwwwsk..",
        "....kkkkkkkk..",
    });
    // clang-format on
}

// The mode button: up shows paint mode, latched shows edit mode.
Picture ModeButton() {
    constexpr int w = 34, h = 28;
    auto state = [&](Face face, const Pixels& glyph, const QString& word, QRgb ink, int shift) {
        Pixels p = ButtonFace(w, h, face);
        const Pixels g = face == Face::Disabled ? DisabledGlyph(glyph) : glyph;
        p.draw(g, (w - g.width()) / 2 + shift, 3 + shift);
        DrawText(p, PixelFont::Small, (w - TextWidth(PixelFont::Small, word)) / 2 + shift, 20 + shift, word,
                 face == Face::Disabled ? pal::Iron : ink);
        return p;
    };
    const QString paint = QStringLiteral("PAINT"), edit = QStringLiteral("EDIT");
    return Strip(QStringLiteral("mode"), {state(Face::Up, BrushGlyph(), paint, pal::Ice, 0),
                                          state(Face::Disabled, BrushGlyph(), paint, pal::Ice, 0),
                                          state(Face::Pressed, BrushGlyph(), paint, pal::Ice, 1),
                                          state(Face::Latched, HandGlyph(), edit, pal::Yellow, 1)});
}

Pixels Arrow(char direction) {
    switch (direction) {
    case 'L':
        return Glyph({"...i", "..ii", ".iii", "iiii", ".iii", "..ii", "...i"});
    case 'R':
        return Glyph({"i...", "ii..", "iii.", "iiii", "iii.", "ii..", "i..."});
    case 'U':
        return Glyph({"...i...", "..iii..", ".iiiii.", "iiiiiii"});
    default:
        return Glyph({"iiiiiii", ".iiiii.", "..iii..", "...i..."});
    }
}

// The block set buttons scroll a whole column: their arrows carry a bar.
Pixels BarArrow(char direction) {
    Pixels p(7, 6, pal::Clear);
    if (direction == 'U') {
        p.hline(0, 6, 0, pal::Ice);
        p.draw(Arrow('U'), 0, 2);
    } else {
        p.draw(Arrow('D'), 0, 0);
        p.hline(0, 6, 5, pal::Ice);
    }
    return p;
}

} // namespace

std::vector<Picture> MakeButtons() {
    return {
        ToolButton("new", NewGlyph()),
        ToolButton("open", OpenGlyph()),
        ToolButton("save", SaveGlyph()),
        ToolButton("print", PrintGlyph()),
        ToolButton("file", FileGlyph()),
        ToolButton("grid", GridGlyph()),
        ToolButton("blockbox", BlockBoxGlyph()),
        ToolButton("display", DisplayGlyph()),
        ToolButton("attributes", AttributesGlyph()),
        ToolButton("preferences", PreferencesGlyph()),
        ToolButton("help", HelpGlyph()),
        ToolButton("exit", ExitGlyph()),
        ModeButton(),
        ThreeState("left", 10, 17, Arrow('L')),
        ThreeState("right", 10, 17, Arrow('R')),
        ThreeState("up", 17, 10, Arrow('U')),
        ThreeState("down", 17, 10, Arrow('D')),
        ThreeState("blocksetup", 36, 15, BarArrow('U')),
        ThreeState("blocksetdown", 36, 15, BarArrow('D')),
        ThreeState("rowup", 36, 15, Arrow('U')),
        ThreeState("rowdown", 36, 15, Arrow('D')),
    };
}
