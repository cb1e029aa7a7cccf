#include "contact_sheet.h"

#include "pixel_art.h"

#include "pixelart/contact_sheet.h"
#include "pixelart/pixel_font.h"

#include <algorithm>

namespace art {

namespace {

constexpr int kMargin = 16;
constexpr int kSmallStep = 40;
constexpr int kLargeStep = 72;
constexpr int kRowHeight = 78;
constexpr int kLargeLeft = kMargin + 13 * kSmallStep + 24;
constexpr int kWidth = kLargeLeft + 13 * kLargeStep + kMargin;
constexpr QRgb kPage = 0xFF101018;
constexpr QRgb kDarkGround = 0xFF2A2A3A;
constexpr QRgb kLightGround = 0xFFB8C4D0;
constexpr QRgb kText = 0xFFCCCCFF;
constexpr QRgb kDimText = 0xFF8888AA;

int BackgroundsHeight(const std::vector<NamedPicture>& backgrounds) {
    const int perLine = kWidth / 300;
    const int lines = (static_cast<int>(backgrounds.size()) + perLine - 1) / perLine;
    return lines * 430;
}

} // namespace

QImage MakeContactSheet(const std::vector<BlockSet>& sets, const std::vector<NamedPicture>& backgrounds,
                        const QImage& welcome) {
    int height = kMargin;
    for (const BlockSet& set : sets)
        height += 30 + static_cast<int>(set.rows.size()) * kRowHeight + 20;
    height += 30 + BackgroundsHeight(backgrounds);
    height += 30 + welcome.height() + kMargin;

    Pixels sheet(kWidth, height, kPage);
    int y = kMargin;
    int number = 1;
    for (const BlockSet& set : sets) {
        int count = 0;
        for (const auto& row : set.rows)
            count += static_cast<int>(row.size());
        const std::string header = "Blockset " + std::to_string(number++) + ": " + set.title + "  (" +
                                   std::to_string(count) + " blocks)";
        DrawText(sheet, PixelFont::Letters, kMargin, y, header, kText, 2);
        y += 30;
        for (const auto& row : set.rows) {
            for (size_t v = 0; v < row.size(); ++v) {
                const int sx = kMargin + static_cast<int>(v) * kSmallStep;
                DrawOnGround(sheet, row[v].pic, sx, y, 1, {kDarkGround}, kMagenta);
                DrawText(sheet, PixelFont::Letters,
                         sx + (kCell - TextWidth(PixelFont::Letters, row[v].name)) / 2, y + kCell + 3,
                         row[v].name, kDimText);
                const int lx = kLargeLeft + static_cast<int>(v) * kLargeStep;
                DrawOnGround(sheet, row[v].pic, lx, y, 2, {kLightGround}, kMagenta);
                DrawText(sheet, PixelFont::Letters,
                         lx + (2 * kCell - TextWidth(PixelFont::Letters, row[v].name)) / 2, y + 2 * kCell + 3,
                         row[v].name, kText);
            }
            y += kRowHeight;
        }
        y += 20;
    }

    DrawText(sheet, PixelFont::Letters, kMargin, y, "Background pictures (two by two repeats at half size)",
             kText, 2);
    y += 30;
    const int perLine = kWidth / 300;
    for (size_t i = 0; i < backgrounds.size(); ++i) {
        const NamedPicture& bg = backgrounds[i];
        const int left = kMargin + static_cast<int>(i % static_cast<size_t>(perLine)) * 300;
        const int top = y + static_cast<int>(i / static_cast<size_t>(perLine)) * 430;
        const Pixels half(bg.image.scaled(bg.image.width() / 2, bg.image.height() / 2, Qt::IgnoreAspectRatio,
                                          Qt::FastTransformation));
        const int across = 2;
        const int down = bg.tileDown ? 2 : 1;
        for (int j = 0; j < down; ++j)
            for (int k = 0; k < across; ++k)
                sheet.draw(half, left + k * half.width(), top + 12 + j * half.height());
        DrawText(sheet, PixelFont::Letters, left, top, bg.name, kText);
    }
    y += BackgroundsHeight(backgrounds);

    DrawText(sheet, PixelFont::Letters, kMargin, y, "Welcome model", kText, 2);
    y += 30;
    sheet.draw(Pixels(welcome), kMargin, y);
    return sheet.image().convertToFormat(QImage::Format_RGB32);
}

} // namespace art
