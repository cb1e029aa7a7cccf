#include "contact_sheet.h"

#include "palette.h"
#include "pixel_font.h"

#include <algorithm>

namespace {

constexpr int kSheetWidth = 2000;
constexpr int kGap = 12;
constexpr int kZoom = 4;

// Transparent pixels show as a grey checkerboard.
void DrawOnChecks(Pixels& sheet, const Pixels& picture, int x, int y) {
    for (int py = 0; py < picture.height(); ++py)
        for (int px = 0; px < picture.width(); ++px) {
            const bool odd = ((px / 4) + (py / 4)) % 2;
            sheet.set(x + px, y + py, picture.opaqueAt(px, py) ? picture.at(px, py)
                                      : odd                    ? pal::Iron
                                                               : pal::Grey);
        }
}

} // namespace

Pixels ContactSheet(const std::vector<Picture>& pictures) {
    struct Placed {
        const Picture* picture;
        int x, y;
    };
    std::vector<Placed> placed;
    int x = kGap, y = kGap, rowHeight = 0;
    for (const Picture& pic : pictures) {
        const int w = std::max(pic.pixels.width() * (1 + kZoom) + kGap, TextWidth(PixelFont::Small, pic.path));
        const int h = 8 + pic.pixels.height() * kZoom;
        if (x + w > kSheetWidth - kGap && x > kGap) {
            x = kGap;
            y += rowHeight + kGap;
            rowHeight = 0;
        }
        placed.push_back({&pic, x, y});
        x += w + kGap * 2;
        rowHeight = std::max(rowHeight, h);
    }
    Pixels sheet(kSheetWidth, y + rowHeight + kGap, pal::Slate);
    for (const Placed& p : placed) {
        const Picture& pic = *p.picture;
        DrawText(sheet, PixelFont::Small, p.x, p.y, pic.path, pal::Ice);
        DrawOnChecks(sheet, pic.pixels, p.x, p.y + 8);
        const int zx = p.x + pic.pixels.width() + kGap;
        DrawOnChecks(sheet, pic.pixels.scaled(kZoom), zx, p.y + 8);
        if (pic.hotX >= 0) { // the hot spot, marked beside the enlarged pointer
            sheet.fill(QRect(zx - 3, p.y + 8 + pic.hotY * kZoom + 1, 2, 2), pal::Yellow);
            sheet.fill(QRect(zx + pic.hotX * kZoom + 1, p.y + 5, 2, 2), pal::Yellow);
        }
    }
    return sheet;
}
