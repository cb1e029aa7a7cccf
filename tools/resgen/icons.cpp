// The program's icon at every size: four bevelled blocks in a square, one in
// each quadrant, on a transparent ground.
#include "pictures.h"
#include "pixelart/palette.h"

#include <algorithm>

using namespace pixelart;

namespace {

Pixels Icon(int size) {
    Pixels p(size, size, pal::Clear);
    const int gap = std::max(1, size / 32);
    const int edge = std::max(1, size / 32);  // outline width
    const int bevel = std::max(1, size / 16); // lit and shaded rims
    const int block = (size - gap) / 2;
    struct Ramp {
        QRgb light, face, dark, outline;
    };
    const Ramp ramps[4] = {{pal::Rose, pal::Red, pal::Umber, pal::Night},
                           {pal::Yellow, pal::Orange, pal::Brown, pal::Night},
                           {pal::Sky, pal::Blue, pal::Indigo, pal::Night},
                           {pal::Lime, pal::Green, pal::Moss, pal::Night}};
    for (int q = 0; q < 4; ++q) {
        const int x0 = (q % 2) * (block + gap), y0 = (q / 2) * (block + gap);
        const Ramp& r = ramps[q];
        p.fill(QRect(x0, y0, block, block), r.outline);
        const QRect face(x0 + edge, y0 + edge, block - 2 * edge, block - 2 * edge);
        p.fill(face, r.face);
        for (int i = 0; i < bevel; ++i) {
            const QRect ring = face.adjusted(i, i, -i, -i);
            p.hline(ring.left(), ring.right(), ring.top(), r.light);
            p.vline(ring.left(), ring.top(), ring.bottom(), r.light);
            p.hline(ring.left() + 1, ring.right(), ring.bottom(), r.dark);
            p.vline(ring.right(), ring.top() + 1, ring.bottom(), r.dark);
        }
        if (size >= 32) { // a glint in the lit corner
            const int g = std::max(1, size / 32);
            p.fill(QRect(face.left() + bevel + g, face.top() + bevel + g, g, g), pal::White);
        }
    }
    return p;
}

} // namespace

std::vector<Picture> MakeIcons() {
    std::vector<Picture> icons;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        Picture pic{QStringLiteral("art/icon%1.png").arg(size), Icon(size)};
        pic.keepAlpha = true;
        icons.push_back(pic);
    }
    return icons;
}
