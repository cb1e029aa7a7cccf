// The mouse pointers: 32 x 32 with a real alpha channel, white shapes with a
// dark outline so that they read over black, over the blocks and over the
// boxes alike.
#include "pictures.h"
#include "pixelart/palette.h"

#include <cmath>
#include <functional>

using namespace pixelart;

namespace {

const std::map<char, QRgb> kHandLegend = {
    {'k', pal::Night}, {'w', pal::White}, {'s', pal::Silver}, {'i', pal::Ice}};

Picture Cursor(const char* name, const Pixels& shape, int atX, int atY, int hotX, int hotY) {
    Picture pic{QStringLiteral("cursors/%1.png").arg(QLatin1String(name)), Pixels(32, 32, pal::Clear)};
    pic.pixels.draw(shape, atX, atY);
    pic.hotX = hotX;
    pic.hotY = hotY;
    return pic;
}

// A hand pointing up; the hot spot is the tip of the index finger.
Picture Point() {
    // clang-format off
    const Pixels hand = Sprite(
        {
            "......kk..........",
            ".....kwwk.........",
            ".....kwsk.........",
            ".....kwsk.........",
            ".....kwsk.........",
            ".....kwskkk.......",
            ".....kwskwskkk....",
            ".....kwskwskwskkk.",
            ".kk..kwskwskwskwsk",
            "kwwk.kwskwskwskwsk",
            "kwswkkwwwwwwwwwwsk",
            ".kwswkwwwwwwwwwwsk",
            ".kwwswwwwwwwwwwwsk",
            "..kwwwwwwwwwwwwwsk",
            "..kwwwwwwwwwwwwwsk",
            "...kwwwwwwwwwwwsk.",
            "...kwwwwwwwwwwwsk.",
            "....kwwwwwwwwwsk..",
            "....kwwwwwwwwwsk..",
            ".....kwwwwwwwwsk..",
            ".....kwwwwwwwwsk..",
            ".....kkkkkkkkkkk..",
        },
        kHandLegend);
    // clang-format on
    return Cursor("POINT", hand, 4, 1, 4 + 6, 1 + 0);
}

// An open hand, fingers spread: a block can be taken here.
Picture Open() {
    // clang-format off
    const Pixels hand = Sprite(
        {
            "........kk.........",
            "....kk.kwwk.kk.....",
            "...kwwkkwskkwwk....",
            "...kwskkwskkwsk....",
            "...kwskkwskkwsk.kk.",
            "...kwskkwskkwskkwwk",
            "...kwskkwskkwskkwsk",
            "...kwskkwskkwskkwsk",
            "...kwskkwskkwskkwsk",
            ".kkkwswwwswwwswkwsk",
            "kwwkwwwwwwwwwwwwwsk",
            "kwswkwwwwwwwwwwwwsk",
            ".kwswwwwwwwwwwwwwsk",
            ".kwwswwwwwwwwwwwwsk",
            "..kwwwwwwwwwwwwwsk.",
            "..kwwwwwwwwwwwwwsk.",
            "...kwwwwwwwwwwwsk..",
            "....kwwwwwwwwwwsk..",
            ".....kwwwwwwwwwsk..",
            ".....kwwwwwwwwwsk..",
            ".....kkkkkkkkkkkk..",
        },
        kHandLegend);
    // clang-format on
    return Cursor("OPEN", hand, 6, 5, 6 + 10, 5 + 12);
}

// A closed hand holding a block.
Picture Grab() {
    // clang-format off
    const Pixels hand = Sprite(
        {
            ".....kk.kk.kk.....",
            "....kwwkwwkwwkkk..",
            "....kwskwskwskwwk.",
            "....kwwswwswwswsk.",
            "..kkkwwwwwwwwwwwsk",
            ".kwwkwwwwwwwwwwwsk",
            ".kwwwwwwwwwwwwwwsk",
            ".kwswwwwwwwwwwwwsk",
            "..kswwwwwwwwwwwwsk",
            "..kwwwwwwwwwwwwsk.",
            "...kwwwwwwwwwwwsk.",
            "....kwwwwwwwwwsk..",
            ".....kwwwwwwwwsk..",
            ".....kwwwwwwwwsk..",
            ".....kkkkkkkkkkk..",
        },
        kHandLegend);
    // clang-format on
    return Cursor("GRAB", hand, 7, 9, 7 + 9, 9 + 7);
}

// A stick lying from the bottom left to the top right: colour(a, b) gives the
// colour at distance a along it from its lower end and b across it (0 when
// the point is not part of it).
Pixels Diagonal(double fromX, double fromY, const std::function<QRgb(double, double)>& colour) {
    Pixels p(32, 32, pal::Clear);
    const double r = std::sqrt(0.5);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const double dx = x + 0.5 - fromX, dy = y + 0.5 - fromY;
            const double a = (dx - dy) * r; // along, towards the top right
            const double b = (dx + dy) * r; // across, towards the bottom right
            const QRgb c = colour(a, b);
            if (qAlpha(c))
                p.set(x, y, c);
        }
    return p;
}

// An eraser, its rubber end at the bottom left, where it rubs out.
Picture Erase() {
    Pixels p = Diagonal(6, 26, [](double a, double b) -> QRgb {
        if (a < 0 || a > 22 || std::abs(b) > 5.6)
            return pal::Clear;
        return a < 8 ? pal::Pink : pal::Sky;
    });
    ShadeByLight(p, pal::Pink, pal::White, pal::Rose);
    ShadeByLight(p, pal::Sky, pal::Ice, pal::Blue);
    // The line where the rubber meets the sleeve.
    Pixels seam = Diagonal(6, 26, [](double a, double b) -> QRgb {
        return a >= 8 && a < 9 && std::abs(b) <= 5.6 ? pal::Ocean : pal::Clear;
    });
    p.draw(seam, 0, 0);
    p.outline(pal::Night);
    return Cursor("ERASE", p, 0, 0, 5, 26);
}

// A paint brush, its wet tip at the bottom left.
Picture Paint() {
    Pixels p = Diagonal(4, 28, [](double a, double b) -> QRgb {
        const double w = std::abs(b);
        if (a < 0 || a > 27)
            return pal::Clear;
        if (a < 8) // bristles, narrowing to the tip
            return w <= 0.6 + a * 0.32 ? pal::Red : pal::Clear;
        if (a < 12) // metal ferrule
            return w <= 3.2 ? pal::Silver : pal::Clear;
        return w <= 2.2 ? pal::Tan : pal::Clear; // wooden handle
    });
    ShadeByLight(p, pal::Red, pal::Rose, pal::Umber);
    ShadeByLight(p, pal::Silver, pal::White, pal::Grey);
    ShadeByLight(p, pal::Tan, pal::Peach, pal::Brown);
    p.outline(pal::Night);
    return Cursor("PAINT", p, 0, 0, 4, 27);
}

// A circular arrow around a small cross that marks the hot spot.
Picture Rotate() {
    constexpr double kPi = 3.14159265358979323846;
    Pixels p(32, 32, pal::Clear);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const double dx = x + 0.5 - 16.5, dy = y + 0.5 - 16.5;
            const double r = std::sqrt(dx * dx + dy * dy);
            const double angle = std::atan2(-dy, dx) * 180 / kPi; // 0 right, 90 up
            if (r >= 6.5 && r <= 10.0 && !(angle > -50 && angle < 25))
                p.set(x, y, pal::White);
        }
    // Arrow head at the upper end of the ring, pointing down: clockwise.
    // clang-format off
    const Pixels head = Sprite(
        {
            "#########",
            ".#######.",
            "..#####..",
            "...###...",
            "....#....",
        },
        {{'#', pal::White}});
    // clang-format on
    p.draw(head, 19, 13);
    ShadeByLight(p, pal::White, pal::White, pal::Silver);
    p.set(16, 15, pal::White);
    p.set(15, 16, pal::White);
    p.set(16, 16, pal::White);
    p.set(17, 16, pal::White);
    p.set(16, 17, pal::White);
    p.outline(pal::Night);
    p.set(16, 16, pal::Night);
    return Cursor("ROTATE", p, 0, 0, 16, 16);
}

// The arrow pointer with a "next" badge: click to step to the next variation.
Picture Next() {
    // clang-format off
    Pixels arrow = Sprite(
        {
            "#",
            "##",
            "###",
            "####",
            "#####",
            "######",
            "#######",
            "########",
            "#########",
            "##########",
            "######",
            "###.##",
            "##..##",
            "#....##",
            ".....##",
            "......##",
            "......##",
        },
        {{'#', pal::White}}).padded(1);
    // clang-format on
    ShadeByLight(arrow, pal::White, pal::White, pal::Silver);
    arrow.outline(pal::Night);
    Pixels p(32, 32, pal::Clear);
    p.draw(arrow, 0, 0);
    Pixels badge(32, 32, pal::Clear);
    FillDisc(badge, 2 * 20, 2 * 20, 13, pal::Yellow);
    ShadeByLight(badge, pal::Yellow, pal::Yellow, pal::Orange);
    badge.outline(pal::Night);
    // clang-format off
    const Pixels chevrons = Sprite(
        {
            "k..k..",
            "kk.kk.",
            ".kk.kk",
            "kk.kk.",
            "k..k..",
        },
        {{'k', pal::Night}});
    // clang-format on
    badge.draw(chevrons, 18, 18);
    p.draw(badge, 0, 0);
    return Cursor("NEXT", p, 0, 0, 1, 1);
}

} // namespace

void ShadeByLight(Pixels& p, QRgb base, QRgb light, QRgb dark) {
    const Pixels before(p);
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x) {
            if (before.at(x, y) != base)
                continue;
            if (!before.opaqueAt(x + 1, y) || !before.opaqueAt(x, y + 1))
                p.set(x, y, dark);
            else if (!before.opaqueAt(x - 1, y) || !before.opaqueAt(x, y - 1))
                p.set(x, y, light);
        }
}

std::vector<Picture> MakeCursors() {
    return {Point(), Open(), Grab(), Erase(), Paint(), Rotate(), Next()};
}
