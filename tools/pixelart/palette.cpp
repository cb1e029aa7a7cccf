#include "pixelart/palette.h"

#include <algorithm>
#include <cstdlib>

namespace pixelart {

int IndexOf(QRgb colour) {
    const auto it = std::find(kPalette.begin(), kPalette.end(), colour | 0xFF000000u);
    return it == kPalette.end() ? -1 : static_cast<int>(it - kPalette.begin());
}

QRgb pal::ToGrey(QRgb colour) {
    // Perceived brightness, matched to the nearest grey of the palette.
    const int luma = (qRed(colour) * 299 + qGreen(colour) * 587 + qBlue(colour) * 114) / 1000;
    QRgb best = kGreys[0];
    int bestDistance = 1 << 30;
    for (QRgb grey : kGreys) {
        const int g = (qRed(grey) * 299 + qGreen(grey) * 587 + qBlue(grey) * 114) / 1000;
        const int d = std::abs(g - luma);
        if (d < bestDistance) {
            bestDistance = d;
            best = grey;
        }
    }
    return best;
}

} // namespace pixelart
