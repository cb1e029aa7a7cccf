// The window artwork: sizes and state columns as the windows lay them out, the
// palette, the magenta key only where the block box's frames let blocks show
// through, the state columns of the buttons, and dark room for the windows' texts.
#include "resource_checks.h"

namespace {

QImage LoadArt(const QString& path) {
    return QImage(path).convertToFormat(QImage::Format_ARGB32);
}

int Luma(QRgb c) {
    return (qRed(c) * 299 + qGreen(c) * 587 + qBlue(c) * 114) / 1000;
}

// The brightest luma in the rectangle (sum = false), or the sum of the lumas.
int Light(const QImage& image, const QRect& r, bool sum = false) {
    int light = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            light = sum ? light + Luma(image.pixel(x, y)) : std::max(light, Luma(image.pixel(x, y)));
    return light;
}

class ArtTest : public ResourceTest {};

// Disabled columns are grey, pressed ones a darker face with the glyph moved one
// pixel down and right; the mode button's latched column is pressed in with its own glyph.
TEST_F(ArtTest, PicturesHaveTheirSizesPaletteAndButtonStates) {
    const QSet<QRgb> greys = {0xff000000, 0xff222034, 0xff323c39, 0xff595652,
                              0xff696a6a, 0xff847e87, 0xff9badb7, 0xffffffff};
    std::vector<std::tuple<QString, int, int, int>> art = {
        {"toolbox", 464, 54, 1},           {"blockbox", 112, 416, 1},
        {"blockbox_back", 112, 349, 1},    {"rot", 5, 5, 1},
        {"splash", 328, 206, 1},           {"buttons/mode", 34, 28, 4},
        {"buttons/left", 10, 17, 3},       {"buttons/right", 10, 17, 3},
        {"buttons/up", 17, 10, 3},         {"buttons/down", 17, 10, 3},
        {"buttons/blocksetup", 36, 15, 3}, {"buttons/blocksetdown", 36, 15, 3},
        {"buttons/rowup", 36, 15, 3},      {"buttons/rowdown", 36, 15, 3}};
    for (const char* name : {"new", "open", "save", "print", "file", "grid", "blockbox", "display",
                             "attributes", "preferences", "help", "exit"})
        art.push_back({QStringLiteral("buttons/") + name, 22, 22, 1});
    for (const auto& [path, w, h, columns] : art) {
        SCOPED_TRACE(path.toStdString());
        const QImage strip = LoadArt(":/art/" + path + ".png");
        ASSERT_EQ(strip.size(), QSize(w * columns, h));
        EXPECT_EQ(Strays(strip, false, false), 0);
        if (columns < 3)
            continue;
        const QImage up = strip.copy(0, 0, w, h), disabled = strip.copy(w, 0, w, h),
                     pressed = strip.copy(2 * w, 0, w, h);
        int glyph = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                EXPECT_TRUE(greys.contains(disabled.pixel(x, y))) << "disabled not grey at " << x << "," << y;
                if (x > 0 && y > 0 && x < w - 2 && y < h - 2 && up.pixel(x, y) != up.pixel(1, 1) && ++glyph) {
                    EXPECT_EQ(pressed.pixel(x + 1, y + 1), up.pixel(x, y)) << "glyph pixel " << x << "," << y;
                }
            }
        EXPECT_GT(glyph, 6) << "no glyph on the button";
        const QRect inner(1, 1, w - 2, h - 2);
        EXPECT_LT(Light(pressed, inner, true), Light(up, inner, true)) << "pressed face not darker";
        if (columns == 4) {
            const QImage latched = strip.copy(3 * w, 0, w, h);
            EXPECT_LT(Light(latched, inner, true), Light(up, inner, true));
            int differing = 0;
            for (int i = 0; i < w * h; ++i)
                differing += latched.pixel(i % w, i / w) != pressed.pixel(i % w, i / w);
            EXPECT_GT(differing, 40) << "edit mode is not told apart from paint mode";
        }
    }
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QImage icon = LoadArt(QString(":/art/icon%1.png").arg(size));
        ASSERT_EQ(icon.size(), QSize(size, size));
        const int clear = Strays(icon, false, false) - Strays(icon, true, false);
        EXPECT_EQ(Strays(icon, true, false), 0) << size;
        EXPECT_TRUE(clear > 0 && clear < size * size / 4) << size;
    }
    EXPECT_EQ(LoadArt(":/art/icon.png"), LoadArt(":/art/icon32.png"));

    // The block box's frames: magenta over the framed block and the slots above and below, the frame around
    // it.
    for (const auto& [path, size, block, aboveRows, belowFirst] :
         {std::tuple(":/art/leftmarker.png", QSize(52, 42), QRect(7, 5, 32, 32), 3, 39),
          std::tuple(":/art/rightmarker.png", QSize(54, 45), QRect(14, 6, 32, 32), 4, 40)}) {
        const QImage frame = LoadArt(path);
        ASSERT_EQ(frame.size(), size);
        EXPECT_EQ(Strays(frame, false, true), 0);
        for (int y = 0; y < frame.height(); ++y)
            for (int x = block.left(); x <= block.right(); ++x)
                if (block.contains(x, y) || y < aboveRows || y >= belowFirst) {
                    ASSERT_EQ(frame.pixel(x, y), kMagenta) << path << " " << x << "," << y;
                }
        for (const QPoint& side : {QPoint(16, -1), QPoint(16, 32), QPoint(-1, 16), QPoint(32, 16)})
            EXPECT_NE(frame.pixel(block.topLeft() + side), kMagenta) << path;
    }

    // The light labels of the windows stay readable on the pictures; the hide marks and title show.
    const QImage toolbox = LoadArt(":/art/toolbox.png"), box = LoadArt(":/art/blockbox.png"),
                 splash = LoadArt(":/art/splash.png");
    EXPECT_LE(Light(toolbox, QRect(19, 5, 304, 14)), 40) << "hint line and progress bar";
    EXPECT_LE(Light(toolbox, QRect(329, 6, 110, 12)), 40) << "model name";
    EXPECT_GE(Light(toolbox, QRect(444, 0, 20, 20)), 150) << "no hide mark";
    EXPECT_LE(Light(box, QRect(25, 7, 64, 12)), 80) << "BLOCK BOX caption";
    EXPECT_GE(Light(box, QRect(93, 0, 19, 20)), 150) << "no hide mark";
    EXPECT_EQ(box.copy(0, 42, 112, 349), LoadArt(":/art/blockbox_back.png")); // until its first redraw
    EXPECT_LE(Light(splash, QRect(11, 121, 302, 16)), 40) << "version line";
    EXPECT_LE(Light(splash, QRect(16, 153, 300, 16)), 40) << "Loading, please wait...";
    EXPECT_GE(Light(splash, QRect(0, 0, 328, 115)), 200) << "no title above the texts";
}

} // namespace
