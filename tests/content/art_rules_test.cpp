// The look every block keeps (outlines, light), the drawing primitives the
// pictures are made of, and the review sheet.

#include "content_fixture.h"

#include "contact_sheet.h"
#include "pixel_art.h"

using namespace art;

namespace {

int Luma(QRgb c) {
    return qRed(c) * 3 + qGreen(c) * 6 + qBlue(c);
}

bool Clear(const QImage& picture, int x, int y) {
    if (x < 0 || y < 0 || x >= 32 || y >= 32)
        return false; // the cell's edge is not the edge of a shape
    return !Opaque(picture, x, y);
}

} // namespace

class ArtRulesTest : public ContentTest {};

TEST_F(ArtRulesTest, OverlaysAreOutlinedButNeverInPureBlack) {
    int overlays = 0;
    for (int i = 0; i < Library().Count; ++i) {
        const QImage& picture = Library().ImageList[static_cast<size_t>(i)];
        bool overlay = false;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                if (!Opaque(picture, x, y))
                    continue;
                if (Clear(picture, x - 1, y) || Clear(picture, x + 1, y) || Clear(picture, x, y - 1) ||
                    Clear(picture, x, y + 1)) {
                    overlay = true;
                    ASSERT_NE(picture.pixel(x, y) & 0xFFFFFF, 0u)
                        << Library().NameFromIndex(i) << " has a black edge at " << x << "," << y;
                }
            }
        overlays += overlay;
    }
    EXPECT_GT(overlays, 250);
}

TEST_F(ArtRulesTest, OverlaysAreLitFromTheTopLeft) {
    // Inside each shape's outline, the side facing up or left is lighter than
    // the side facing down or right.
    int judged = 0;
    int lit = 0;
    std::string darkOnes;
    for (int i = 0; i < Library().Count; ++i) {
        const QImage& p = Library().ImageList[static_cast<size_t>(i)];
        long topLeft = 0, bottomRight = 0;
        int nTopLeft = 0, nBottomRight = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                if (!Opaque(p, x, y) || Clear(p, x - 1, y) || Clear(p, x + 1, y) || Clear(p, x, y - 1) ||
                    Clear(p, x, y + 1))
                    continue;
                const bool facesTopLeft = Clear(p, x, y - 2) || Clear(p, x - 2, y);
                const bool facesBottomRight = Clear(p, x, y + 2) || Clear(p, x + 2, y);
                if (facesTopLeft && !facesBottomRight) {
                    topLeft += Luma(p.pixel(x, y));
                    ++nTopLeft;
                } else if (facesBottomRight && !facesTopLeft) {
                    bottomRight += Luma(p.pixel(x, y));
                    ++nBottomRight;
                }
            }
        if (nTopLeft < 12 || nBottomRight < 12)
            continue;
        ++judged;
        if (topLeft * nBottomRight > bottomRight * nTopLeft)
            ++lit;
        else
            darkOnes += Library().NameFromIndex(i) + " ";
    }
    ASSERT_GT(judged, 150);
    RecordProperty("judged", judged);
    RecordProperty("lit", lit);
    EXPECT_GE(lit * 100, judged * 85) << "lit from elsewhere: " << darkOnes;
}

TEST(PixelArtShapes, PolygonsEllipsesAndLinesCoverTheirPixels) {
    Mask triangle;
    triangle.poly({{0, 0}, {32, 0}, {0, 32}});
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            if (x + y <= 30) {
                ASSERT_TRUE(triangle.at(x, y)) << x << "," << y;
            }
            if (x + y >= 32) {
                ASSERT_FALSE(triangle.at(x, y)) << x << "," << y;
            }
        }

    Mask disc;
    disc.disc(15.5, 15.5, 8);
    EXPECT_TRUE(disc.at(15, 15));
    EXPECT_TRUE(disc.at(15, 8));
    EXPECT_FALSE(disc.at(15, 7));
    EXPECT_TRUE(disc == disc.flippedX());
    EXPECT_TRUE(disc == disc.turned(1));

    Mask line;
    line.line(2, 5, 20, 5, 1);
    EXPECT_EQ(line.count(), 19);
    Mask thick;
    thick.line(2, 5, 20, 5, 3);
    EXPECT_TRUE(thick.at(10, 4) && thick.at(10, 6));
    EXPECT_FALSE(thick.at(10, 8));
    EXPECT_FALSE(thick.at(23, 5));
}

TEST(ContactSheet, ShowsEveryBlockAtOneAndTwoWithoutMagenta) {
    BlockSet set;
    set.title = "Review";
    Pixels pic = NewPic();
    pic.set(5, 6, qRgb(1, 2, 3)); // a colour nothing else on the sheet has
    Box(pic, 10, 10, 4, 4, Red);
    set.rows.push_back({{"RV0", pic}});
    QImage welcome(64, 48, QImage::Format_RGB32);
    welcome.fill(qRgb(4, 5, 6));
    NamedPicture background{"BG1", QImage(32, 32, QImage::Format_RGB32), true};
    background.image.fill(qRgb(7, 8, 9));

    const QImage sheet = MakeContactSheet({set}, {background}, welcome);
    int marker = 0, welcomePixels = 0, backgroundPixels = 0, magenta = 0;
    for (int y = 0; y < sheet.height(); ++y)
        for (int x = 0; x < sheet.width(); ++x) {
            const QRgb c = sheet.pixel(x, y) & 0xFFFFFF;
            marker += c == 0x010203;
            welcomePixels += c == 0x040506;
            backgroundPixels += c == 0x070809;
            magenta += c == 0xFF00FF;
        }
    EXPECT_EQ(marker, 1 + 4);                 // once at 1:1, a 2 x 2 square at 2:1
    EXPECT_EQ(welcomePixels, 64 * 48);        // the welcome model at 1:1
    EXPECT_EQ(backgroundPixels, 16 * 16 * 4); // two by two at half size
    EXPECT_EQ(magenta, 0);
}
