// Sound effects go to the player by number and only while sounds are on;
// pointers fall back to the arrow when they are missing.
#include "support/test_support.h"
#include "support/windows_test_support.h"
#include "windows/preference_values.h"
#include "windows/qt_printers.h"
#include "windows/settings_store.h"
#include "windows/sounds_and_pointers.h"

#include <QImage>
#include <QStringList>
#include <QSoundEffect>
#include <QTest>
#include <QUrl>
#include <vector>

namespace {

class SoundsAndPointersTest : public CubestacksTest {
protected:
    void SetUp() override {
        CubestacksTest::SetUp();
        OpenSettingsStore()->clear();
        ResetPreferences();
        ResetSoundsAndPointers();
        SetSoundEffectPlayer(&m_player);
    }
    void TearDown() override {
        ResetSoundsAndPointers();
        CubestacksTest::TearDown();
    }
    RecordingSoundPlayer m_player;
};

TEST_F(SoundsAndPointersTest, SoundsPlayByNumberOnlyWhileSwitchedOn) {
    LoadSoundsAndCursors();
    EXPECT_EQ(m_player.loads, 1);

    PlaySoundEffect(kSoundClick); // sounds are off until the settings are read
    EXPECT_TRUE(m_player.played.empty());

    Preferences().SoundsEnabled = true;
    for (int number : {0, 1, 2, 3, 4, 5, -1, 6, 100})
        PlaySoundEffect(number);
    EXPECT_EQ(m_player.played, (std::vector<int>{0, 1, 2, 3, 4, 5}));

    Preferences().SoundsEnabled = false;
    PlaySoundEffect(kSoundChangeLib);
    EXPECT_EQ(m_player.played.size(), 6u);

    FreeSounds();
    EXPECT_EQ(m_player.frees, 1);

    QStringList names;
    for (int number = 0; number <= 6; ++number)
        names << SoundEffectName(number);
    EXPECT_EQ(names, QStringList({"click1", "unclick1", "rotate", "openbucket", "closebucket", "changelib", ""}));
}

TEST_F(SoundsAndPointersTest, PointersComeFromTheResourcesWithTheirHotSpots) {
    for (int number = 0; number <= 9; ++number)
        EXPECT_EQ(PointerCursor(number).shape(), Qt::ArrowCursor) << number; // nothing before loading

    LoadSoundsAndCursors();
    const std::pair<int, const char*> pointers[] = {{1, "POINT"}, {2, "OPEN"},   {3, "GRAB"}, {4, "ERASE"},
                                                    {6, "PAINT"}, {7, "ROTATE"}, {8, "NEXT"}};
    for (const auto& [number, name] : pointers) {
        SCOPED_TRACE(name);
        EXPECT_EQ(PointerName(number), QLatin1String(name));
        const QImage picture(QStringLiteral(":/cursors/%1.png").arg(QLatin1String(name)));
        ASSERT_FALSE(picture.isNull());
        const QCursor cursor = PointerCursor(number);
        ASSERT_EQ(cursor.shape(), Qt::BitmapCursor);
        EXPECT_EQ(cursor.pixmap().size(), QSize(32, 32));
        EXPECT_EQ(cursor.hotSpot(), QPoint(picture.text(QStringLiteral("HotSpotX")).toInt(),
                                           picture.text(QStringLiteral("HotSpotY")).toInt()));
        EXPECT_EQ(cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32),
                  picture.convertToFormat(QImage::Format_ARGB32));
    }
    for (int number : {0, 5, 9, -3}) {
        EXPECT_EQ(PointerCursor(number).shape(), Qt::ArrowCursor) << number;
        EXPECT_EQ(PointerName(number), QString());
    }
}

TEST_F(SoundsAndPointersTest, DamagedOrMissingPointerPicturesFallBack) {
    TempProgramFolder folder;
    EXPECT_EQ(CursorFromPicture(folder.file(QStringLiteral("none.png"))).shape(), Qt::ArrowCursor);
    folder.write(QStringLiteral("bad.png"), QByteArray("\x89PNG not really"));
    EXPECT_EQ(CursorFromPicture(folder.file(QStringLiteral("bad.png"))).shape(), Qt::ArrowCursor);

    QImage picture(32, 32, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    picture.setPixel(3, 4, qRgba(255, 255, 255, 255));
    picture.setText(QStringLiteral("HotSpotX"), QStringLiteral("3"));
    picture.setText(QStringLiteral("HotSpotY"), QStringLiteral("4"));
    ASSERT_TRUE(picture.save(folder.file(QStringLiteral("good.png"))));
    QCursor cursor = CursorFromPicture(folder.file(QStringLiteral("good.png")));
    EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursor.hotSpot(), QPoint(3, 4));

    // A hot spot that is missing, not a number or outside the picture: the centre.
    picture.setText(QStringLiteral("HotSpotX"), QStringLiteral("40"));
    picture.setText(QStringLiteral("HotSpotY"), QStringLiteral("x"));
    ASSERT_TRUE(picture.save(folder.file(QStringLiteral("odd.png"))));
    cursor = CursorFromPicture(folder.file(QStringLiteral("odd.png")));
    EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursor.hotSpot(), QPoint(16, 16));
}

TEST_F(SoundsAndPointersTest, TheProgramsPlayerLoadsEverySoundAndPlaysOneAtATime) {
    TResourceSoundPlayer player;
    for (int number = 0; number < kSoundEffectCount; ++number)
        EXPECT_EQ(player.Effect(number), nullptr);
    player.Play(kSoundClick); // nothing loaded: silence, no failure

    SetSoundEffectPlayer(&player);
    LoadSoundsAndCursors();
    for (int number = 0; number < kSoundEffectCount; ++number) {
        const QSoundEffect* effect = player.Effect(number);
        ASSERT_NE(effect, nullptr) << number;
        EXPECT_EQ(effect->source(), QUrl(QStringLiteral("qrc:/sounds/%1.wav").arg(SoundEffectName(number))));
        EXPECT_TRUE(QTest::qWaitFor([effect] { return effect->status() != QSoundEffect::Loading; }, 5000));
        EXPECT_EQ(effect->status(), QSoundEffect::Ready) << number;
    }

    Preferences().SoundsEnabled = true;
    PlaySoundEffect(kSoundRotate);
    EXPECT_TRUE(player.Effect(kSoundRotate)->isPlaying());
    PlaySoundEffect(kSoundOpenBucket); // cuts the first one off
    EXPECT_FALSE(player.Effect(kSoundRotate)->isPlaying());
    EXPECT_TRUE(player.Effect(kSoundOpenBucket)->isPlaying());
    Preferences().SoundsEnabled = false;
    PlaySoundEffect(kSoundClick);
    EXPECT_FALSE(player.Effect(kSoundClick)->isPlaying());

    FreeSounds();
    for (int number = 0; number < kSoundEffectCount; ++number)
        EXPECT_EQ(player.Effect(number), nullptr);
    Preferences().SoundsEnabled = true;
    PlaySoundEffect(kSoundClick); // after freeing: silence
}

} // namespace
