// The mouse pointers: 32 x 32 pictures with a real alpha channel and a hot
// spot stored in the picture.
#include "resource_checks.h"

#include <QCursor>
#include <QPixmap>

namespace {

const QStringList kCursors = {"POINT", "OPEN", "GRAB", "ERASE", "PAINT", "ROTATE", "NEXT"};

class CursorTest : public ResourceTest {};

struct HotSpot {
    bool ok = false;
    int x = -1, y = -1;
};

HotSpot ReadHotSpot(const QImage& image) {
    HotSpot h;
    bool okX = false, okY = false;
    h.x = image.text("HotSpotX").toInt(&okX);
    h.y = image.text("HotSpotY").toInt(&okY);
    h.ok = okX && okY;
    return h;
}

TEST_F(CursorTest, EveryPointerIsA32By32PictureWithAlphaAndCrispEdges) {
    for (const QString& name : kCursors) {
        SCOPED_TRACE(name.toStdString());
        QImage raw(":/cursors/" + name + ".png");
        ASSERT_FALSE(raw.isNull());
        EXPECT_EQ(raw.size(), QSize(32, 32));
        EXPECT_TRUE(raw.hasAlphaChannel());
        const QImage image = raw.convertToFormat(QImage::Format_ARGB32);
        int opaque = 0, clear = 0, strays = 0, magenta = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const QRgb c = image.pixel(x, y);
                if (qAlpha(c) == 0) {
                    ++clear;
                    continue;
                }
                ++opaque;
                if (qAlpha(c) != 255 || !PaletteColours().contains(c))
                    ++strays; // half-transparent or off-palette pixels blur the pointer
                magenta += (c == kMagenta);
            }
        EXPECT_GT(opaque, 60) << "hardly anything drawn";
        EXPECT_GT(clear, 300) << "a pointer must let the picture behind it show";
        EXPECT_EQ(strays, 0);
        EXPECT_EQ(magenta, 0) << "pointers use alpha, not the magenta key";
    }
}

TEST_F(CursorTest, HotSpotIsStoredInsideThePictureOnAPartThatIsDrawn) {
    for (const QString& name : kCursors) {
        SCOPED_TRACE(name.toStdString());
        const QImage image(":/cursors/" + name + ".png");
        const HotSpot h = ReadHotSpot(image);
        ASSERT_TRUE(h.ok) << "HotSpotX/HotSpotY missing or not numbers";
        ASSERT_TRUE(QRect(0, 0, 32, 32).contains(h.x, h.y));
        // The click lands where the picture shows it: on the shape, not beside it.
        EXPECT_EQ(qAlpha(image.pixel(h.x, h.y)), 255);
        const QCursor cursor(QPixmap::fromImage(image), h.x, h.y);
        EXPECT_EQ(cursor.hotSpot(), QPoint(h.x, h.y));
    }
}

TEST_F(CursorTest, HotSpotsSitWhereUsersExpectThem) {
    auto spot = [](const char* name) { return ReadHotSpot(QImage(QString(":/cursors/") + name + ".png")); };
    // The pointing hand and the arrow click with their tips: above the hot spot there is
    // nothing but the outline.
    for (const char* tipped : {"POINT", "NEXT"}) {
        SCOPED_TRACE(tipped);
        const QImage image =
            QImage(QString(":/cursors/") + tipped + ".png").convertToFormat(QImage::Format_ARGB32);
        const HotSpot h = spot(tipped);
        for (int y = 0; y < h.y; ++y)
            for (int x = 0; x < 32; ++x)
                if (qAlpha(image.pixel(x, y)) && image.pixel(x, y) != 0xff222034)
                    ADD_FAILURE() << "drawn above the tip at " << x << "," << y;
    }
    // The circular arrow turns about the middle of the picture.
    const HotSpot r = spot("ROTATE");
    EXPECT_NEAR(r.x, 16, 1);
    EXPECT_NEAR(r.y, 16, 1);
    // Brush and eraser work with their lower ends: the hot spot is in the lower left quarter.
    for (const char* tool : {"PAINT", "ERASE"}) {
        const HotSpot h = spot(tool);
        EXPECT_LT(h.x, 12) << tool;
        EXPECT_GT(h.y, 20) << tool;
    }
    // The hands hold in their palms, away from the edges.
    for (const char* hand : {"OPEN", "GRAB"}) {
        const HotSpot h = spot(hand);
        EXPECT_TRUE(QRect(8, 8, 16, 16).contains(h.x, h.y)) << hand;
    }
}

TEST_F(CursorTest, PointersDifferFromEachOther) {
    QList<QImage> seen;
    for (const QString& name : kCursors) {
        const QImage image = LoadArt(":/cursors/" + name + ".png");
        EXPECT_FALSE(seen.contains(image)) << name.toStdString();
        seen << image;
    }
}

} // namespace
