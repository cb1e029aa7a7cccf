#include "contact_sheet.h"

#include "pixelart/contact_sheet.h"
#include "pixelart/palette.h"
#include "pixelart/pixel_font.h"

#include <algorithm>

using namespace pixelart;

namespace {

constexpr int kGap = 12;
constexpr int kZoom = 4;

// Transparent pixels show as a grey checkerboard.
const Ground kChecks{pal::Grey, pal::Iron, 4};

const Pixels& Find(const std::vector<Picture>& pictures, const QString& path) {
    for (const Picture& p : pictures)
        if (p.path == path)
            return p.pixels;
    static const Pixels none(1, 1, pal::Clear);
    return none;
}

// One state column of a button picture.
Pixels Column(const Pixels& strip, int columns, int column) {
    const int w = strip.width() / columns;
    Pixels out(w, strip.height(), pal::Clear);
    for (int y = 0; y < strip.height(); ++y)
        for (int x = 0; x < w; ++x)
            out.set(x, y, strip.at(column * w + x, y));
    return out;
}

// A stand-in block picture of one colour with a little shading.
Pixels FakeBlock(QRgb face, QRgb light, QRgb dark) {
    Pixels b(32, 32, face);
    b.bevel(QRect(0, 0, 32, 32), light, dark);
    b.fill(QRect(10, 10, 12, 12), light);
    return b;
}

} // namespace

std::vector<Picture> AssembledBoxes(const std::vector<Picture>& pics) {
    auto button = [&](const char* name, int columns, int column) {
        return Column(Find(pics, QStringLiteral("art/buttons/%1.png").arg(QLatin1String(name))), columns,
                      column);
    };
    Pixels tool(Find(pics, QStringLiteral("art/toolbox.png")));
    DrawText(tool, PixelFont::Small, 21, 9, QStringLiteral("DRAG TO MOVE THIS BOX"), 0xffccccff);
    DrawText(tool, PixelFont::Small, 330, 9, QStringLiteral("WELCOME*"), 0xffccccff);
    const char* ones[] = {"new",      "open",    "save",       "print",       "file", "grid",
                          "blockbox", "display", "attributes", "preferences", "help", "exit"};
    const int xs[] = {18, 42, 66, 90, 114, 146, 170, 194, 225, 249, 280, 304};
    for (int i = 0; i < 12; ++i) {
        Pixels b = button(ones[i], 1, 0);
        if (i == 6) { // the block box button held down: moved by one pixel on black
            Pixels moved(22, 22, pal::Black);
            moved.draw(b, 1, 1);
            b = moved;
        }
        tool.draw(b, xs[i], 26);
    }
    tool.draw(button("mode", 4, 0), 345, 23);
    tool.draw(button("left", 3, 0), 401, 28);
    tool.draw(button("up", 3, 1), 420, 26);
    tool.draw(button("down", 3, 2), 420, 38);
    tool.draw(button("right", 3, 0), 447, 28);

    Pixels box(Find(pics, QStringLiteral("art/blockbox.png")));
    DrawText(box, PixelFont::Small, 27, 9, QStringLiteral("BLOCK BOX"), 0xffccccff);
    box.draw(button("blocksetup", 3, 1), 7, 24);
    box.draw(button("blocksetdown", 3, 1), 7, 393);
    box.draw(button("rowup", 3, 0), 65, 24);
    box.draw(button("rowdown", 3, 2), 65, 393);
    Pixels area(Find(pics, QStringLiteral("art/blockbox_back.png")));
    const QRgb faces[][3] = {{pal::Red, pal::Rose, pal::Umber},    {pal::Green, pal::Lime, pal::Moss},
                             {pal::Blue, pal::Sky, pal::Indigo},   {pal::Orange, pal::Yellow, pal::Brown},
                             {pal::Purple, pal::Pink, pal::Plum},  {pal::Teal, pal::Cyan, pal::Ocean},
                             {pal::Silver, pal::White, pal::Grey}, {pal::Tan, pal::Peach, pal::Brown}};
    for (int i = 0; i < 5; ++i) { // five sets loaded
        area.draw(FakeBlock(faces[i][0], faces[i][1], faces[i][2]), 9, i * 34 + 5);
        if (i % 2 == 0)
            area.draw(Find(pics, QStringLiteral("art/rot.png")), 36, i * 34 + 32);
    }
    // The markers with magenta as the transparent colour, as the block box draws them.
    area.drawKeyed(Find(pics, QStringLiteral("art/leftmarker.png")), 2, 1 * 34, pal::Magenta);
    for (int i = 0; i < 8; ++i) { // eight rows in the current set
        area.draw(FakeBlock(faces[i][0], faces[i][1], faces[i][2]), 67, i * 34 + 5);
        if (i % 3 == 1)
            area.draw(Find(pics, QStringLiteral("art/rot.png")), 94, i * 34 + 32);
    }
    area.drawKeyed(Find(pics, QStringLiteral("art/rightmarker.png")), 53, 3 * 34 - 1, pal::Magenta);
    box.draw(area, 0, 42);
    return {Picture{QStringLiteral("assembled toolbox"), tool},
            Picture{QStringLiteral("assembled block box"), box}};
}

Pixels ContactSheet(const std::vector<Picture>& pictures) {
    struct Placed {
        const Picture* picture;
        int x, y;
    };
    std::vector<Placed> placed;
    int sheetWidth = 2000;
    for (const Picture& pic : pictures)
        sheetWidth = std::max(sheetWidth, pic.pixels.width() * (1 + kZoom) + 4 * kGap);
    int x = kGap, y = kGap, rowHeight = 0;
    for (const Picture& pic : pictures) {
        const int w =
            std::max(pic.pixels.width() * (1 + kZoom) + kGap, TextWidth(PixelFont::Small, pic.path));
        const int h = 8 + pic.pixels.height() * kZoom;
        if (x + w > sheetWidth - kGap && x > kGap) {
            x = kGap;
            y += rowHeight + kGap;
            rowHeight = 0;
        }
        placed.push_back({&pic, x, y});
        x += w + kGap * 2;
        rowHeight = std::max(rowHeight, h);
    }
    Pixels sheet(sheetWidth, y + rowHeight + kGap, pal::Slate);
    for (const Placed& p : placed) {
        const Picture& pic = *p.picture;
        DrawText(sheet, PixelFont::Small, p.x, p.y, pic.path, pal::Ice);
        DrawOnGround(sheet, pic.pixels, p.x, p.y + 8, 1, kChecks);
        const int zx = p.x + pic.pixels.width() + kGap;
        DrawOnGround(sheet, pic.pixels, zx, p.y + 8, kZoom, kChecks);
        if (pic.hotX >= 0) { // the hot spot, marked beside the enlarged pointer
            sheet.fill(QRect(zx - 3, p.y + 8 + pic.hotY * kZoom + 1, 2, 2), pal::Yellow);
            sheet.fill(QRect(zx + pic.hotX * kZoom + 1, p.y + 5, 2, 2), pal::Yellow);
        }
    }
    return sheet;
}
