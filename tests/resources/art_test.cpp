// The window artwork: sizes and state columns as the windows lay them out,
// the palette, the magenta key only where a picture is transparent, and room
// left where the windows write their texts.
#include "resource_checks.h"

#include <QColor>

namespace {

struct ArtPicture {
    const char* path;
    int width, height, columns;
};

// Every picture the windows load, with the size of one state column.
const ArtPicture kOpaqueArt[] = {
    {":/art/toolbox.png", 464, 54, 1},
    {":/art/blockbox.png", 112, 416, 1},
    {":/art/blockbox_back.png", 112, 349, 1},
    {":/art/rot.png", 5, 5, 1},
    {":/art/splash.png", 328, 206, 1},
    {":/art/buttons/new.png", 22, 22, 1},
    {":/art/buttons/open.png", 22, 22, 1},
    {":/art/buttons/save.png", 22, 22, 1},
    {":/art/buttons/print.png", 22, 22, 1},
    {":/art/buttons/file.png", 22, 22, 1},
    {":/art/buttons/grid.png", 22, 22, 1},
    {":/art/buttons/blockbox.png", 22, 22, 1},
    {":/art/buttons/display.png", 22, 22, 1},
    {":/art/buttons/attributes.png", 22, 22, 1},
    {":/art/buttons/preferences.png", 22, 22, 1},
    {":/art/buttons/help.png", 22, 22, 1},
    {":/art/buttons/exit.png", 22, 22, 1},
    {":/art/buttons/mode.png", 34, 28, 4},
    {":/art/buttons/left.png", 10, 17, 3},
    {":/art/buttons/right.png", 10, 17, 3},
    {":/art/buttons/up.png", 17, 10, 3},
    {":/art/buttons/down.png", 17, 10, 3},
    {":/art/buttons/blocksetup.png", 36, 15, 3},
    {":/art/buttons/blocksetdown.png", 36, 15, 3},
    {":/art/buttons/rowup.png", 36, 15, 3},
    {":/art/buttons/rowdown.png", 36, 15, 3},
};

// The palette's greys: the colours a disabled picture may use.
const QSet<QRgb> kGreys = {0xff000000, 0xff222034, 0xff323c39, 0xff595652,
                           0xff696a6a, 0xff847e87, 0xff9badb7, 0xffffffff};

int Luma(QRgb c) {
    return (qRed(c) * 299 + qGreen(c) * 587 + qBlue(c) * 114) / 1000;
}

int BrightestIn(const QImage& image, const QRect& r) {
    int most = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            most = std::max(most, Luma(image.pixel(x, y)));
    return most;
}

double MeanLuma(const QImage& image, const QRect& r) {
    double sum = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            sum += Luma(image.pixel(x, y));
    return sum / (r.width() * r.height());
}

QImage Column(const QImage& strip, int columns, int column) {
    const int w = strip.width() / columns;
    return strip.copy(column * w, 0, w, strip.height());
}

class ArtTest : public ResourceTest {};

TEST_F(ArtTest, EveryPictureHasItsSizeAndColumnsInOpaquePaletteColours) {
    for (const ArtPicture& art : kOpaqueArt) {
        SCOPED_TRACE(art.path);
        const QImage image = LoadArt(art.path);
        ASSERT_EQ(image.size(), QSize(art.width * art.columns, art.height));
        int strays = 0; // see-through, magenta or off the palette
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb c = image.pixel(x, y);
                strays += qAlpha(c) != 255 || c == kMagenta || !PaletteColours().contains(c);
            }
        EXPECT_EQ(strays, 0);
    }
    EXPECT_EQ(LoadArt(":/art/leftmarker.png").size(), QSize(52, 42));
    EXPECT_EQ(LoadArt(":/art/rightmarker.png").size(), QSize(54, 45));
    EXPECT_EQ(LoadArt(":/art/icon.png"), LoadArt(":/art/icon32.png"));
}

TEST_F(ArtTest, IconsAreSquaresOfPaletteColoursOnATransparentGround) {
    for (int size : {16, 32, 48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        const QImage image = LoadArt(QString(":/art/icon%1.png").arg(size));
        ASSERT_EQ(image.size(), QSize(size, size));
        int clear = 0, strays = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const QRgb c = image.pixel(x, y);
                if (qAlpha(c) == 0)
                    ++clear;
                else if (qAlpha(c) != 255 || !PaletteColours().contains(c) || c == kMagenta)
                    ++strays;
            }
        EXPECT_EQ(strays, 0);
        EXPECT_GT(clear, 0);
        EXPECT_LT(clear, size * size / 4);
    }
}

// The frames are drawn with magenta as the transparent colour over the block
// pictures: the block's own place and everything over the neighbouring slots
// must be magenta, and the frame itself must show around the block.
TEST_F(ArtTest, MarkerFramesAreMagentaWhereTheBlocksShowThrough) {
    struct Marker {
        const char* path;
        QRect block;    // the framed block picture, in the frame's pixels
        int aboveRows;  // rows over the slot above (its picture's lower rows)
        int belowFirst; // first row over the slot below
    };
    // Left marker at (2, slot x 34) around the set picture at (9, slot x 34 + 5);
    // right marker at (53, slot x 34 - 1) around the row picture at (67, slot x 34 + 5).
    const Marker markers[] = {{":/art/leftmarker.png", QRect(7, 5, 32, 32), 3, 39},
                              {":/art/rightmarker.png", QRect(14, 6, 32, 32), 4, 40}};
    for (const Marker& m : markers) {
        SCOPED_TRACE(m.path);
        const QImage image = LoadArt(m.path);
        ASSERT_FALSE(image.isNull());
        auto allMagenta = [&](const QRect& r) {
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x)
                    if (image.pixel(x, y) != kMagenta)
                        return false;
            return true;
        };
        EXPECT_TRUE(allMagenta(m.block)) << "the frame covers its own block";
        const int l = m.block.left(), r = m.block.right();
        EXPECT_TRUE(allMagenta(QRect(QPoint(l, 0), QPoint(r, m.aboveRows - 1)))) << "covers the block above";
        EXPECT_TRUE(allMagenta(QRect(QPoint(l, m.belowFirst), QPoint(r, image.height() - 1))))
            << "covers the block below";
        // The frame: all four sides show in the gaps right around the block.
        EXPECT_NE(image.pixel(l + 16, m.block.top() - 1), kMagenta);
        EXPECT_NE(image.pixel(l + 16, m.block.bottom() + 1), kMagenta);
        EXPECT_NE(image.pixel(l - 1, m.block.top() + 16), kMagenta);
        EXPECT_NE(image.pixel(r + 1, m.block.top() + 16), kMagenta);
        int offPalette = 0, seeThrough = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb c = image.pixel(x, y);
                seeThrough += qAlpha(c) != 255;
                offPalette += c != kMagenta && !PaletteColours().contains(c);
            }
        EXPECT_EQ(seeThrough, 0);
        EXPECT_EQ(offPalette, 0);
    }
}

TEST_F(ArtTest, DisabledPicturesAreGreyAndPressedPicturesMoveTheGlyphOntoADarkerFace) {
    for (const ArtPicture& art : kOpaqueArt) {
        if (art.columns < 3)
            continue;
        SCOPED_TRACE(art.path);
        const QImage strip = LoadArt(art.path);
        ASSERT_EQ(strip.width(), art.width * art.columns);
        const QImage up = Column(strip, art.columns, 0);
        const QImage disabled = Column(strip, art.columns, 1);
        const QImage pressed = Column(strip, art.columns, 2);
        for (int y = 0; y < art.height; ++y)
            for (int x = 0; x < art.width; ++x)
                if (!kGreys.contains(disabled.pixel(x, y)))
                    ADD_FAILURE() << "disabled picture not grey at " << x << "," << y;
        // The up face is the colour in the middle of its top inner row; the glyph is
        // everything inside the bevel that differs from it.
        const QRgb face = up.pixel(1, 1);
        int glyphPixels = 0;
        for (int y = 1; y < art.height - 2; ++y)
            for (int x = 1; x < art.width - 2; ++x) {
                if (up.pixel(x, y) == face)
                    continue;
                ++glyphPixels;
                EXPECT_EQ(pressed.pixel(x + 1, y + 1), up.pixel(x, y)) << "glyph pixel " << x << "," << y;
            }
        EXPECT_GT(glyphPixels, 6) << "no glyph on the button";
        const QRect inner(1, 1, art.width - 2, art.height - 2);
        EXPECT_LT(MeanLuma(pressed, inner), MeanLuma(up, inner)) << "pressed face not darker";
    }
}

TEST_F(ArtTest, ModeButtonShowsPaintModeUpAndEditModeLatched) {
    const QImage strip = LoadArt(":/art/buttons/mode.png");
    ASSERT_EQ(strip.size(), QSize(136, 28));
    const QImage up = Column(strip, 4, 0), pressed = Column(strip, 4, 2), latched = Column(strip, 4, 3);
    // Latched looks pressed in (as dark as the pressed face) but shows another glyph.
    const QRect inner(2, 2, 30, 24);
    EXPECT_LT(MeanLuma(latched, inner), MeanLuma(up, inner));
    int differing = 0;
    for (int y = 0; y < 28; ++y)
        for (int x = 0; x < 34; ++x)
            differing += latched.pixel(x, y) != pressed.pixel(x, y);
    EXPECT_GT(differing, 40) << "edit mode is not told apart from paint mode";
}

// The labels the windows place over the artwork are light (CCCCFF or white):
// where they sit, the picture must stay dark so that they can be read.
TEST_F(ArtTest, ArtworkLeavesDarkRoomWhereTheWindowsWriteTheirTexts) {
    const QImage toolbox = LoadArt(":/art/toolbox.png");
    ASSERT_FALSE(toolbox.isNull());
    EXPECT_LE(BrightestIn(toolbox, QRect(19, 5, 304, 14)), 40) << "hint line and progress bar";
    EXPECT_LE(BrightestIn(toolbox, QRect(329, 6, 110, 12)), 40) << "model name";
    EXPECT_GE(BrightestIn(toolbox, QRect(444, 0, 20, 20)), 150) << "no hide mark";

    const QImage box = LoadArt(":/art/blockbox.png");
    ASSERT_FALSE(box.isNull());
    EXPECT_LE(BrightestIn(box, QRect(25, 7, 64, 12)), 80) << "BLOCK BOX caption";
    EXPECT_GE(BrightestIn(box, QRect(93, 0, 19, 20)), 150) << "no hide mark";
    // Until its first redraw the picture area shows the box's own background:
    // the same empty look the block box composes its picture area from.
    EXPECT_EQ(box.copy(0, 42, 112, 349), LoadArt(":/art/blockbox_back.png"));

    const QImage splash = LoadArt(":/art/splash.png");
    ASSERT_FALSE(splash.isNull());
    EXPECT_LE(BrightestIn(splash, QRect(11, 121, 302, 16)), 40) << "version line";
    EXPECT_LE(BrightestIn(splash, QRect(16, 153, 300, 16)), 40) << "Loading, please wait...";
    EXPECT_GE(BrightestIn(splash, QRect(0, 0, 328, 115)), 200) << "no title above the texts";
}

} // namespace
