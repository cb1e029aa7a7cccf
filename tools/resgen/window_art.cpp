// The backgrounds of the toolbox and the block box, the pieces the block box
// composes its picture area from, and the splash picture. The floating boxes
// are dark bevelled panels with a lighter title strip; labels, buttons and
// the hint line sit in recessed places left for them.
#include "pictures.h"
#include "pixelart/palette.h"
#include "pixelart/pixel_font.h"

using namespace pixelart;

namespace {

// A recessed place: shadow on the top and left edges, light on the others.
void Well(Pixels& p, const QRect& r, QRgb inside = pal::Black) {
    p.fill(r, inside);
    p.bevel(r, pal::Black, pal::Indigo);
}

// Rows of little dots that show where a box can be taken hold of.
void Grip(Pixels& p, const QRect& r) {
    for (int y = r.top(); y + 1 <= r.bottom(); y += 3)
        for (int x = r.left(); x + 1 <= r.right(); x += 3) {
            p.set(x, y, pal::Sky);
            p.set(x + 1, y + 1, pal::Night);
        }
}

// The hide mark: a small raised square with a cross.
void HideMark(Pixels& p, int x, int y) {
    p.fill(QRect(x, y, 13, 13), pal::Indigo);
    p.bevel(QRect(x, y, 13, 13), pal::Blue, pal::Black);
    for (int i = 0; i < 5; ++i) {
        p.set(x + 4 + i, y + 4 + i, pal::Ice);
        p.set(x + 8 - i, y + 4 + i, pal::Ice);
        p.set(x + 5 + i, y + 5 + i, pal::Night); // its shadow
    }
    p.set(x + 4, y + 8, pal::Ice);
}

// A floating box: a panel with a title strip of the given height.
Pixels BoxPanel(int w, int h, int titleHeight) {
    Pixels p(w, h, pal::Night);
    p.fill(QRect(0, 0, w, titleHeight), pal::Indigo);
    p.hline(0, w - 1, 0, pal::Blue);
    p.hline(0, w - 1, titleHeight - 1, pal::Night);
    p.hline(0, w - 1, titleHeight, pal::Black);
    p.hline(1, w - 2, titleHeight + 1, pal::Indigo);
    p.vline(0, 0, h - 1, pal::Blue);
    p.vline(w - 1, 1, h - 1, pal::Black);
    p.hline(1, w - 1, h - 1, pal::Black);
    return p;
}

Picture Toolbox() {
    Pixels p = BoxPanel(464, 54, 20);
    Grip(p, QRect(3, 4, 12, 13));
    Well(p, QRect(17, 3, 309, 17));  // the hint line and the progress bar
    Well(p, QRect(327, 3, 115, 17)); // the model's name
    HideMark(p, 447, 3);
    // Trays for the button groups; the buttons cover all but their rims.
    Well(p, QRect(16, 24, 122, 26));
    Well(p, QRect(144, 24, 74, 26));
    Well(p, QRect(223, 24, 50, 26));
    Well(p, QRect(278, 24, 50, 26));
    Well(p, QRect(343, 21, 38, 32));
    Well(p, QRect(399, 24, 60, 26));
    // A small hub between the four scroll buttons.
    p.fill(QRect(426, 36, 5, 2), pal::Indigo);
    return Picture{QStringLiteral("art/toolbox.png"), p};
}

// The look of the empty picture area: two troughs of ten block slots.
Pixels BlockBoxBack() {
    Pixels p(112, 349, pal::Night);
    for (int column : {9, 67}) {
        Well(p, QRect(column - 3, 2, 38, 344));
        for (int i = 0; i < 10; ++i) {
            const QRect slot(column, i * 34 + 5, 32, 32);
            p.fill(slot, pal::Night);
            p.bevel(slot, pal::Black, pal::Slate);
            p.set(column + 15, i * 34 + 20, pal::Slate); // a faint centre mark
        }
    }
    return p;
}

Picture BlockBox() {
    Pixels p = BoxPanel(112, 416, 20);
    Grip(p, QRect(3, 4, 18, 13));
    Well(p, QRect(22, 3, 70, 17), pal::Night); // the "BLOCK BOX" caption
    HideMark(p, 96, 3);
    for (int y : {22, 391}) {
        Well(p, QRect(5, y, 40, 19));
        Well(p, QRect(63, y, 40, 19));
    }
    p.draw(Pixels(BlockBoxBack()), 0, 42);
    return Picture{QStringLiteral("art/blockbox.png"), p};
}

// The mark under a block that has variations: a small "next" triangle.
Picture Rot() {
    // clang-format off
    return Picture{QStringLiteral("art/rot.png"), Sprite(
                                                      {
                                                          "kkkkk",
                                                          "kyKkk",
                                                          "kyyKk",
                                                          "koKkk",
                                                          "kkkkk",
                                                      },
                                                      {{'k', pal::Night},
                                                       {'y', pal::Yellow},
                                                       {'o', pal::Orange},
                                                       {'K', pal::Black}})};
    // clang-format on
}

// A frame around a block picture on magenta. The frame's rows lie in the two
// pixel gaps between the slots, so it never covers a neighbouring block; its
// sides run the full height like brackets. inner is the block's place.
Pixels Frame(int w, int h, const QRect& inner, QRgb light, QRgb mid, QRgb dark) {
    Pixels p(w, h, pal::Magenta);
    const int l = inner.left() - 2, r = inner.right() + 1;
    const int t = inner.top() - 2, b = inner.bottom() + 1;
    // Brackets: the sides, with short feet along the gaps.
    for (int y = 0; y < h; ++y) {
        p.set(l, y, light);
        p.set(l + 1, y, mid);
        p.set(r, y, mid);
        p.set(r + 1, y, dark);
    }
    for (int x = l; x <= r + 1; ++x) {
        p.set(x, t, light);
        p.set(x, t + 1, mid);
        p.set(x, b, mid);
        p.set(x, b + 1, dark);
    }
    // Corners keep the light from the top left.
    p.set(r + 1, t, light);
    p.set(l, b + 1, mid);
    return p;
}

Picture LeftMarker() {
    Pixels p = Frame(52, 42, QRect(7, 5, 32, 32), pal::Ice, pal::Cyan, pal::Ocean);
    // An arrow towards the row column: these are the blocks of this set.
    // clang-format off
    const Pixels arrow = Sprite(
        {
            "nn.....",
            "ncn....",
            "nccn...",
            "ncccn..",
            "nccccn.",
            "ncccccn",
            "nccccn.",
            "ncccn..",
            "nccn...",
            "ncn....",
            "nn.....",
        },
        {{'n', pal::Ocean}, {'c', pal::Cyan}});
    // clang-format on
    p.draw(arrow, 43, 15);
    return Picture{QStringLiteral("art/leftmarker.png"), p};
}

Picture RightMarker() {
    Pixels p = Frame(54, 45, QRect(14, 6, 32, 32), pal::Yellow, pal::Orange, pal::Umber);
    // A pointer at the chosen block.
    // clang-format off
    const Pixels pointer = Sprite(
        {
            "uu.....",
            "uyu....",
            "uyyu...",
            "uyyyu..",
            "uyyyyu.",
            "uyyyyyu",
            "uyyyyu.",
            "uyyyu..",
            "uyyu...",
            "uyu....",
            "uu.....",
        },
        {{'u', pal::Umber}, {'y', pal::Yellow}});
    // clang-format on
    p.draw(pointer, 2, 16);
    return Picture{QStringLiteral("art/rightmarker.png"), p};
}

// A bevelled square block of the given colour ramp.
void Block(Pixels& p, const QRect& r, QRgb light, QRgb face, QRgb dark, QRgb outline) {
    p.fill(r, face);
    p.frame(r, outline);
    const QRect in = r.adjusted(1, 1, -1, -1);
    p.hline(in.left(), in.right(), in.top(), light);
    p.vline(in.left(), in.top(), in.bottom(), light);
    p.hline(in.left() + 1, in.right(), in.bottom(), dark);
    p.vline(in.right(), in.top() + 1, in.bottom(), dark);
    // A glint in the lit corner.
    p.set(in.left() + 2, in.top() + 2, light);
}

struct Ramp {
    QRgb light, face, dark, outline;
};
const Ramp kRed{pal::Rose, pal::Red, pal::Umber, pal::Plum};
const Ramp kYellow{pal::Yellow, pal::Orange, pal::Brown, pal::Umber};
const Ramp kGreen{pal::Lime, pal::Green, pal::Moss, pal::Olive};
const Ramp kBlue{pal::Sky, pal::Blue, pal::Indigo, pal::Night};
const Ramp kCyan{pal::Ice, pal::Cyan, pal::Ocean, pal::Night};
const Ramp kPurple{pal::Pink, pal::Purple, pal::Plum, pal::Night};

void Block(Pixels& p, const QRect& r, const Ramp& ramp) {
    Block(p, r, ramp.light, ramp.face, ramp.dark, ramp.outline);
}

Picture Splash() {
    Pixels p(328, 206, pal::Night);
    p.bevel(QRect(0, 0, 328, 206), pal::Blue, pal::Black);
    p.bevel(QRect(1, 1, 326, 204), pal::Indigo, pal::Black);

    // A small stack of blocks: four in a square, a fifth coming down on top.
    Block(p, QRect(20, 80, 26, 26), kBlue);
    Block(p, QRect(46, 80, 26, 26), kGreen);
    Block(p, QRect(20, 54, 26, 26), kRed);
    Block(p, QRect(46, 54, 26, 26), kYellow);
    Block(p, QRect(46, 18, 26, 26), kCyan);
    for (int i = 0; i < 3; ++i) // it moves: a few streaks above it
        p.vline(51 + i * 8, 7 + (i % 2) * 2, 13, pal::Blue);
    p.hline(14, 78, 106, pal::Blue); // the ground they stand on
    p.hline(15, 79, 107, pal::Black);

    // The title, with a shadow to the bottom right.
    auto title = [&](int x, int y, const QString& text, QRgb ink, int scale) {
        DrawText(p, PixelFont::Title, x + scale / 2 + 1, y + scale / 2 + 1, text, pal::Black, scale);
        DrawText(p, PixelFont::Title, x, y, text, ink, scale);
    };
    title(108, 40, QStringLiteral("QUADRANTINE"), pal::Sky, 2);
    title(108, 62, QStringLiteral("CUBESTACKS"), pal::Ice, 3);
    p.hline(108, 310, 92, pal::Blue);
    p.hline(109, 311, 93, pal::Black);

    // The lines of text the splash writes: the version and "Loading, please wait...".
    Well(p, QRect(8, 116, 312, 58));

    // A row of blocks along the bottom.
    const Ramp ramps[] = {kRed, kYellow, kGreen, kCyan, kBlue, kPurple};
    for (int i = 0; i < 19; ++i)
        Block(p, QRect(12 + i * 16, 182, 16, 16), ramps[(i * 5 + i / 3) % 6]);
    return Picture{QStringLiteral("art/splash.png"), p};
}

} // namespace

std::vector<Picture> MakeWindowArt() {
    return {Toolbox(), BlockBox(),   Picture{QStringLiteral("art/blockbox_back.png"), BlockBoxBack()},
            Rot(),     LeftMarker(), RightMarker(),
            Splash()};
}
