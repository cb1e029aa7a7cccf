// The generated resources: the window artwork (sizes and state columns as the
// windows lay them out, the palette, the states of the buttons), the pointers and
// the sounds.
#include "resource_checks.h"
#include "resources/program_resources.h"
#include "support/test_support.h"

#include <QCursor>
#include <QPixmap>
#include <QtEndian>

namespace {

class ResourcesTest : public CubestacksTest {
protected:
    void SetUp() override {
        CubestacksTest::SetUp();
        InitProgramResources();
    }
};

// Pixels of the picture that are neither fully opaque palette colours nor (when allowed) clear or magenta.
int Strays(const QImage& image, bool clearAllowed, bool magentaAllowed) {
    int strays = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (!(qAlpha(c) == 0 && clearAllowed) && !(c == kMagenta && magentaAllowed))
                strays += qAlpha(c) != 255 || c == kMagenta || !PaletteColours().contains(c);
        }
    return strays;
}

QImage LoadArt(const QString& path) {
    return QImage(path).convertToFormat(QImage::Format_ARGB32);
}

// The sum of the lumas in the rectangle.
int Light(const QImage& image, const QRect& r) {
    int light = 0;
    for (int i = 0; i < r.width() * r.height(); ++i)
        light += qGray(image.pixel(r.x() + i % r.width(), r.y() + i / r.width()));
    return light;
}

// Disabled columns are grey, pressed ones a darker face with the glyph moved one
// pixel down and right; the mode button's latched column is pressed in with its own glyph.
TEST_F(ResourcesTest, PicturesHaveTheirSizesPaletteAndButtonStates) {
    const QSet<QRgb> greys = {0xff000000, 0xff222034, 0xff323c39, 0xff595652,
                              0xff696a6a, 0xff847e87, 0xff9badb7, 0xffffffff};
    for (const QStringList& row : DataCases("art")) {
        const int w = row[1].toInt(), h = row[2].toInt(), columns = row[3].toInt();
        SCOPED_TRACE(row[0].toStdString());
        const QImage strip = LoadArt(":/art/" + row[0] + ".png");
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
        EXPECT_LT(Light(pressed, inner), Light(up, inner)) << "pressed face not darker";
        if (columns == 4) {
            const QImage latched = strip.copy(3 * w, 0, w, h);
            EXPECT_LT(Light(latched, inner), Light(up, inner));
            int differing = 0;
            for (int i = 0; i < w * h; ++i)
                differing += latched.pixel(i % w, i / w) != pressed.pixel(i % w, i / w);
            EXPECT_GT(differing, 40) << "edit mode is not told apart from paint mode";
        }
    }
    for (int size : {16, 32, 48, 64, 128, 256}) { // on a clear ground, of which there is little
        const QImage icon = LoadArt(QString(":/art/icon%1.png").arg(size));
        const int clear = Strays(icon, false, false) - Strays(icon, true, false);
        EXPECT_TRUE(icon.size() == QSize(size, size) && Strays(icon, true, false) == 0 && clear > 0 &&
                    clear < size * size / 4)
            << size;
    }
    EXPECT_EQ(LoadArt(":/art/icon.png"), LoadArt(":/art/icon32.png"));

    // Until its first redraw the block box shows the empty look its picture area is composed from.
    EXPECT_EQ(LoadArt(":/art/blockbox.png").copy(0, 42, 112, 349), LoadArt(":/art/blockbox_back.png"));
}

// Crisp distinct 32 x 32 pictures with a real alpha channel, their hot spots
// stored in the picture, on the shape, where users expect them: the circular
// arrow about the middle, brush and eraser at their lower ends, the hands in their palms.
TEST_F(ResourcesTest, EveryPointerIsACrispDistinctPictureWithItsHotSpotOnTheShape) {
    QList<QImage> seen;
    const std::pair<QString, QRect> pointers[] = {{"POINT", {0, 0, 32, 32}},  {"NEXT", {0, 0, 32, 32}},
                                                  {"ROTATE", {15, 15, 3, 3}}, {"PAINT", {0, 21, 12, 11}},
                                                  {"ERASE", {0, 21, 12, 11}}, {"OPEN", {8, 8, 16, 16}},
                                                  {"GRAB", {8, 8, 16, 16}}};
    for (const auto& [name, area] : pointers) {
        SCOPED_TRACE(name.toStdString());
        const QImage raw(":/cursors/" + name + ".png"), image = raw.convertToFormat(QImage::Format_ARGB32);
        ASSERT_TRUE(raw.size() == QSize(32, 32) && raw.hasAlphaChannel());
        EXPECT_EQ(Strays(image, true, false), 0); // no blur, no magenta: pointers use alpha
        const int clear = Strays(image, false, false);
        EXPECT_TRUE(clear > 300 && clear < 1024 - 60) << clear << " clear pixels";
        EXPECT_FALSE(seen.contains(image)) << "the same as another pointer";
        seen << image;
        const QPoint h(raw.text("HotSpotX").toInt(), raw.text("HotSpotY").toInt());
        ASSERT_TRUE(!raw.text("HotSpotY").isEmpty() && area.contains(h)) << h.x() << "," << h.y();
        EXPECT_EQ(qAlpha(raw.pixel(h)), 255);
        EXPECT_EQ(QCursor(QPixmap::fromImage(raw), h.x(), h.y()).hotSpot(), h);
    }
}

// Canonical WAVE images of 8-bit mono at 22050 Hz: short, distinct, loud enough,
// never clipped, starting and ending quietly (a jump there plays as a click).
TEST_F(ResourcesTest, EverySoundIsAShortDistinctEightBitMonoWaveThatStartsAndEndsQuietly) {
    QList<QByteArray> seen;
    for (const char* name : {"click1", "unclick1", "rotate", "openbucket", "closebucket", "changelib"}) {
        SCOPED_TRACE(name);
        const QByteArray wave = ReadAll(QStringLiteral(":/sounds/%1.wav").arg(name)), samples = wave.mid(44);
        ASSERT_GT(samples.size(), 22050 / 50); // longer than 20 ms: audible
        EXPECT_LT(samples.size(), 22050 * 4 / 10);
        // RIFF, its length, WAVE, a 16-byte fmt chunk (PCM, 1 channel, 22050 Hz, 22050 bytes
        // a second, 1 byte a sample, 8 bits), then the data chunk to the end.
        const QByteArray fmt("WAVEfmt \x10\0\0\0\x01\0\x01\0\x22\x56\0\0\x22\x56\0\0\x01\0\x08\0data", 32);
        EXPECT_EQ(Hex(wave.left(4) + wave.mid(8, 32)), Hex("RIFF" + fmt));
        EXPECT_EQ(qFromLittleEndian<quint32>(wave.constData() + 4), quint32(wave.size() - 8));
        EXPECT_EQ(qFromLittleEndian<quint32>(wave.constData() + 40), quint32(samples.size()));
        int peak = 0, clipped = 0;
        for (char c : samples) {
            peak = std::max(peak, std::abs(quint8(c) - 128));
            clipped += quint8(c) == 0 || quint8(c) == 255;
        }
        EXPECT_GT(peak, 40) << "too quiet to hear";
        EXPECT_EQ(clipped, 0) << "samples at the limits: the sound is distorted";
        EXPECT_LE(std::abs(quint8(samples.front()) - 128), 8);
        EXPECT_LE(std::abs(quint8(samples.back()) - 128), 4);
        EXPECT_FALSE(seen.contains(samples)) << "repeats another sound";
        seen << samples;
    }
}

} // namespace
