#include "windows/sounds_and_pointers.h"
#include "windows/windows_fixture.h"

#include <QSoundEffect>

using SoundsAndPointersTest = WindowsTest;

TEST_F(SoundsAndPointersTest, SoundsPlayOnlyWhileSwitchedOnAndPointersComeWithTheirHotSpots) {
    EXPECT_EQ(PointerCursor(kPointerPoint).shape(), Qt::ArrowCursor); // nothing before loading
    RecordingSoundPlayer recorder;
    SetSoundEffectPlayer(&recorder);
    LoadSoundsAndCursors();
    PlaySoundEffect(kSoundClick); // off until the settings are read
    Preferences().SoundsEnabled = true;
    for (int number : {0, 1, 2, 3, 4, 5, -1, 6, 100})
        PlaySoundEffect(number);
    Preferences().SoundsEnabled = false;
    PlaySoundEffect(kSoundChangeLib);
    FreeSounds();
    EXPECT_EQ(std::tuple(recorder.loads, recorder.played, recorder.frees),
              std::tuple(1, std::vector<int>{0, 1, 2, 3, 4, 5}, 1));

    // The program's own player: every sound loaded from the resources, one playing at a time.
    TResourceSoundPlayer player;
    player.Play(kSoundClick); // nothing loaded: silence, no failure
    SetSoundEffectPlayer(&player);
    LoadSoundsAndCursors();
    QStringList names;
    for (int number = 0; number < kSoundEffectCount; ++number) {
        const QSoundEffect* effect = player.Effect(number);
        ASSERT_NE(effect, nullptr) << number;
        names << effect->source().toString();
        EXPECT_TRUE(QTest::qWaitFor([effect] { return effect->status() != QSoundEffect::Loading; }, 5000));
        EXPECT_EQ(effect->status(), QSoundEffect::Ready) << number;
    }
    EXPECT_EQ(names.join(' ').remove("qrc:/sounds/"),
              "click1.wav unclick1.wav rotate.wav openbucket.wav closebucket.wav changelib.wav");
    EXPECT_EQ(SoundEffectName(6), QString());
    Preferences().SoundsEnabled = true;
    PlaySoundEffect(kSoundRotate);
    EXPECT_TRUE(player.Effect(kSoundRotate)->isPlaying());
    PlaySoundEffect(kSoundOpenBucket); // cuts the first one off
    EXPECT_TRUE(!player.Effect(kSoundRotate)->isPlaying() && player.Effect(kSoundOpenBucket)->isPlaying());
    FreeSounds();
    EXPECT_EQ(player.Effect(kSoundClick), nullptr);
    PlaySoundEffect(kSoundClick); // after freeing: silence

    for (int number = -3; number <= 9; ++number) {
        const QString name = PointerName(number);
        const QCursor cursor = PointerCursor(number);
        if (name.isEmpty()) {
            EXPECT_EQ(cursor.shape(), Qt::ArrowCursor) << number;
            continue;
        }
        const QImage picture(QStringLiteral(":/cursors/%1.png").arg(name));
        ASSERT_FALSE(picture.isNull()) << number;
        ASSERT_EQ(cursor.shape(), Qt::BitmapCursor) << number;
        EXPECT_EQ(
            std::pair(cursor.hotSpot(), cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32)),
            std::pair(QPoint(picture.text("HotSpotX").toInt(), picture.text("HotSpotY").toInt()),
                      picture.convertToFormat(QImage::Format_ARGB32)));
    }
    names.clear();
    for (int number : {1, 2, 3, 4, 6, 7, 8, 0, 5})
        names << PointerName(number);
    EXPECT_EQ(names.join(' '), "POINT OPEN GRAB ERASE PAINT ROTATE NEXT  ");

    TempProgramFolder folder;
    folder.write("bad.png", QByteArray("\x89PNG not really"));
    for (const char* name : {"none.png", "bad.png"})
        EXPECT_EQ(CursorFromPicture(folder.file(name)).shape(), Qt::ArrowCursor) << name;
    QImage picture(32, 32, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    // A hot spot that is not a number or outside the picture gives the centre.
    for (const auto& [x, y, spot] :
         {std::tuple{"3", "4", QPoint(3, 4)}, {"32", "x", QPoint(16, 16)}, {"-1", " 31", QPoint(16, 31)}}) {
        picture.setText("HotSpotX", QLatin1String(x));
        picture.setText("HotSpotY", QLatin1String(y));
        ASSERT_TRUE(picture.save(folder.file("good.png")));
        const QCursor cursor = CursorFromPicture(folder.file("good.png"));
        EXPECT_EQ(std::pair(cursor.shape(), cursor.hotSpot()), std::pair(Qt::BitmapCursor, spot))
            << x << "," << y;
    }
}
