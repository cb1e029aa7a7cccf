#include "pixelart/contact_sheet.h"

namespace pixelart {

void DrawOnGround(Pixels& sheet, const Pixels& picture, int x, int y, int scale, const Ground& ground,
                  QRgb key) {
    for (int py = 0; py < picture.height() * scale; ++py)
        for (int px = 0; px < picture.width() * scale; ++px) {
            const QRgb c = picture.at(px / scale, py / scale);
            QRgb shown = c;
            if (qAlpha(c) == 0 || (key != 0 && (c | 0xFF000000u) == key)) {
                const bool odd = ground.check > 0 && ((px / ground.check) + (py / ground.check)) % 2;
                shown = odd ? ground.other : ground.colour;
            }
            sheet.set(x + px, y + py, shown);
        }
}

} // namespace pixelart
