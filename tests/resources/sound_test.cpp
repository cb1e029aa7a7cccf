// The sound effects: complete WAVE images of the agreed format that the
// platform can play from memory.
#include "resource_checks.h"

#include <QFile>
#include <QtEndian>
#include <cstdlib>

namespace {

const QStringList kSounds = {"click1", "unclick1", "rotate", "openbucket", "closebucket", "changelib"};

struct Wave {
    QString problem; // empty when the image is sound
    int format = 0, channels = 0, rate = 0, byteRate = 0, blockAlign = 0, bits = 0;
    QByteArray samples;
};

quint32 U32(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}
quint16 U16(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint16>(b.constData() + at);
}

// Walks the chunks of a RIFF WAVE image and checks that every length adds up.
Wave ParseWave(const QByteArray& b) {
    Wave w;
    auto fail = [&w](const QString& why) {
        w.problem = why;
        return w;
    };
    if (b.size() < 12 || b.left(4) != "RIFF" || b.mid(8, 4) != "WAVE")
        return fail("no RIFF WAVE header");
    if (U32(b, 4) != quint32(b.size() - 8))
        return fail(QString("RIFF length %1 for %2 bytes").arg(U32(b, 4)).arg(b.size()));
    qsizetype at = 12;
    bool haveFormat = false, haveData = false;
    while (at < b.size()) {
        if (at + 8 > b.size())
            return fail("chunk header cut short");
        const QByteArray id = b.mid(at, 4);
        const quint32 length = U32(b, at + 4);
        const qsizetype body = at + 8;
        if (body + qsizetype(length) > b.size())
            return fail("chunk " + QString::fromLatin1(id) + " runs past the end");
        if (id == "fmt ") {
            if (length < 16)
                return fail("short fmt chunk");
            w.format = U16(b, body);
            w.channels = U16(b, body + 2);
            w.rate = int(U32(b, body + 4));
            w.byteRate = int(U32(b, body + 8));
            w.blockAlign = U16(b, body + 12);
            w.bits = U16(b, body + 14);
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat)
                return fail("data before fmt");
            w.samples = b.mid(body, length);
            haveData = true;
        }
        at = body + length + (length & 1);
    }
    if (at != b.size())
        return fail("trailing bytes");
    if (!haveData)
        w.problem = "no data chunk";
    return w;
}

class SoundTest : public ResourceTest {};

TEST_F(SoundTest, EverySoundIsAShortDistinctEightBitMonoWaveThatStartsAndEndsQuietly) {
    QList<QByteArray> seen;
    for (const QString& name : kSounds) {
        SCOPED_TRACE(name.toStdString());
        const Wave w = ParseWave(ReadAll(":/sounds/" + name + ".wav"));
        ASSERT_TRUE(w.problem.isEmpty()) << w.problem.toStdString();
        EXPECT_EQ(w.format, 1);
        EXPECT_EQ(w.channels, 1);
        EXPECT_EQ(w.rate, 22050);
        EXPECT_EQ(w.byteRate, 22050);
        EXPECT_EQ(w.blockAlign, 1);
        EXPECT_EQ(w.bits, 8);
        EXPECT_LT(w.samples.size(), 22050 * 4 / 10);
        ASSERT_GT(w.samples.size(), 22050 / 50); // longer than 20 ms: audible
        int peak = 0, clipped = 0;
        for (char c : w.samples) {
            const int v = quint8(c);
            peak = std::max(peak, std::abs(v - 128));
            clipped += (v == 0 || v == 255);
        }
        EXPECT_GT(peak, 40) << "too quiet to hear";
        EXPECT_EQ(clipped, 0) << "samples at the limits: the sound is distorted";
        // An abrupt jump at either end plays as a click of its own.
        EXPECT_LE(std::abs(int(quint8(w.samples.front())) - 128), 8);
        EXPECT_LE(std::abs(int(quint8(w.samples.back())) - 128), 4);
        EXPECT_FALSE(seen.contains(w.samples)) << "repeats another sound";
        seen << w.samples;
    }
}

} // namespace
