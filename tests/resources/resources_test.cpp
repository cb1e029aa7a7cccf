// The generated pointers and sounds.
#include "resource_checks.h"

#include <QCursor>
#include <QPixmap>
#include <QtEndian>

namespace {

class ResourcesTest : public ResourceTest {};

// Crisp distinct 32 x 32 pictures with a real alpha channel, their hot spots
// stored in the picture, on the shape, where users expect them: the tips at the
// top (nothing but the outline above), the circular arrow about the middle, brush
// and eraser at their lower ends, the hands in their palms.
TEST_F(ResourcesTest, EveryPointerIsACrispDistinctPictureWithItsHotSpotOnTheShape) {
    QList<QImage> seen;
    for (const auto& [name, area] : std::vector<std::pair<QString, QRect>>{{"POINT", QRect(0, 0, 32, 32)},
                                                                           {"NEXT", QRect(0, 0, 32, 32)},
                                                                           {"ROTATE", QRect(15, 15, 3, 3)},
                                                                           {"PAINT", QRect(0, 21, 12, 11)},
                                                                           {"ERASE", QRect(0, 21, 12, 11)},
                                                                           {"OPEN", QRect(8, 8, 16, 16)},
                                                                           {"GRAB", QRect(8, 8, 16, 16)}}) {
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
        for (int y = 0; (name == "POINT" || name == "NEXT") && y < h.y(); ++y)
            for (int x = 0; x < 32; ++x)
                EXPECT_FALSE(qAlpha(image.pixel(x, y)) && image.pixel(x, y) != 0xff222034) << x << "," << y;
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
