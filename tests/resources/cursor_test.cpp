// The mouse pointers: 32 x 32 pictures with a real alpha channel and a hot
// spot stored in the picture.
#include "resource_checks.h"

#include <QCursor>
#include <QPixmap>

namespace {

const QStringList kCursors = {"POINT", "OPEN", "GRAB", "ERASE", "PAINT", "ROTATE", "NEXT"};

class CursorTest : public ResourceTest {};

QImage Pointer(const QString& name) {
    return QImage(":/cursors/" + name + ".png");
}

// The hot spot stored in the picture; (-1, -1) when it is missing or not numbers.
QPoint HotSpot(const QImage& image) {
    bool okX = false, okY = false;
    const QPoint h(image.text("HotSpotX").toInt(&okX), image.text("HotSpotY").toInt(&okY));
    return okX && okY ? h : QPoint(-1, -1);
}

TEST_F(CursorTest, EveryPointerIsACrispDistinct32By32PictureWithItsHotSpotOnTheShape) {
    QList<QImage> seen;
    for (const QString& name : kCursors) {
        SCOPED_TRACE(name.toStdString());
        const QImage raw = Pointer(name);
        ASSERT_EQ(raw.size(), QSize(32, 32));
        EXPECT_TRUE(raw.hasAlphaChannel());
        const QImage image = raw.convertToFormat(QImage::Format_ARGB32);
        int opaque = 0, strays = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const QRgb c = image.pixel(x, y);
                if (qAlpha(c) == 0)
                    continue;
                ++opaque;
                // Half-transparent or off-palette pixels blur the pointer; pointers use alpha, not magenta.
                strays += qAlpha(c) != 255 || !PaletteColours().contains(c) || c == kMagenta;
            }
        EXPECT_GT(opaque, 60) << "hardly anything drawn";
        EXPECT_LT(opaque, 1024 - 300) << "a pointer must let the picture behind it show";
        EXPECT_EQ(strays, 0);
        EXPECT_FALSE(seen.contains(image)) << "the same as another pointer";
        seen << image;

        // The click lands where the picture shows it: on the shape, not beside it.
        const QPoint h = HotSpot(raw);
        ASSERT_TRUE(QRect(0, 0, 32, 32).contains(h)) << "HotSpotX/HotSpotY missing or outside";
        EXPECT_EQ(qAlpha(raw.pixel(h)), 255);
        EXPECT_EQ(QCursor(QPixmap::fromImage(raw), h.x(), h.y()).hotSpot(), h);
    }
}

TEST_F(CursorTest, HotSpotsSitWhereUsersExpectThem) {
    // The pointing hand and the arrow click with their tips: above the hot spot there is
    // nothing but the outline.
    for (const char* tipped : {"POINT", "NEXT"}) {
        SCOPED_TRACE(tipped);
        const QImage image = Pointer(tipped).convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < HotSpot(image).y(); ++y)
            for (int x = 0; x < 32; ++x)
                if (qAlpha(image.pixel(x, y)) && image.pixel(x, y) != 0xff222034)
                    ADD_FAILURE() << "drawn above the tip at " << x << "," << y;
    }
    // The circular arrow turns about the middle of the picture.
    EXPECT_TRUE(QRect(15, 15, 3, 3).contains(HotSpot(Pointer("ROTATE"))));
    // Brush and eraser work with their lower ends: the hot spot is in the lower left quarter.
    for (const char* tool : {"PAINT", "ERASE"})
        EXPECT_TRUE(QRect(0, 21, 12, 11).contains(HotSpot(Pointer(tool)))) << tool;
    // The hands hold in their palms, away from the edges.
    for (const char* hand : {"OPEN", "GRAB"})
        EXPECT_TRUE(QRect(8, 8, 16, 16).contains(HotSpot(Pointer(hand)))) << hand;
}

} // namespace
