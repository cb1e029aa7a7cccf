// Sound effects go to the player by number and only while sounds are on;
// pointers fall back to the arrow when they are missing.
#include "support/test_support.h"
#include "windows/preference_values.h"
#include "windows/preferences_form.h"
#include "windows/qt_printers.h"
#include "windows/settings_store.h"
#include "windows/sounds_and_pointers.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <vector>

namespace {

class RecordingPlayer : public SoundEffectPlayer {
public:
    void Load() override { ++loads; }
    void Play(int number) override { played.push_back(number); }
    void Free() override { ++frees; }
    int loads = 0;
    int frees = 0;
    std::vector<int> played;
};

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
    RecordingPlayer m_player;
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

    EXPECT_EQ(SoundEffectName(0), QStringLiteral("click1"));
    EXPECT_EQ(SoundEffectName(1), QStringLiteral("unclick1"));
    EXPECT_EQ(SoundEffectName(2), QStringLiteral("rotate"));
    EXPECT_EQ(SoundEffectName(3), QStringLiteral("openbucket"));
    EXPECT_EQ(SoundEffectName(4), QStringLiteral("closebucket"));
    EXPECT_EQ(SoundEffectName(5), QStringLiteral("changelib"));
    EXPECT_EQ(SoundEffectName(6), QString());
}

TEST_F(SoundsAndPointersTest, TheSoundsSwitchFollowsTheDialog) {
    TPreferencesForm form;
    OpenSettingsStore()->setValue(QStringLiteral("Preferences/Sounds"), QStringLiteral("0"));
    form.LoadSettings(); // reading the settings switches sounds at once
    PlaySoundEffect(kSoundRotate);
    EXPECT_TRUE(m_player.played.empty());

    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QTabBar* bar = form.PageControl1->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(2).center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.SoundsCheck->isVisible(); }));
    QTest::mouseClick(form.SoundsCheck, Qt::LeftButton, Qt::NoModifier,
                      QPoint(8, form.SoundsCheck->height() / 2));
    ASSERT_TRUE(form.SoundsCheck->isChecked());
    PlaySoundEffect(kSoundRotate); // not before the dialog closes with OK
    EXPECT_TRUE(m_player.played.empty());

    QTest::mouseClick(form.OKBtn, Qt::LeftButton);
    PlaySoundEffect(kSoundRotate);
    EXPECT_EQ(m_player.played, std::vector<int>{kSoundRotate});
}

TEST_F(SoundsAndPointersTest, PointersAreArrowsUntilLoadedAndWhereMissing) {
    for (int number = 0; number <= 9; ++number)
        EXPECT_EQ(PointerCursor(number).shape(), Qt::ArrowCursor) << number;
    EXPECT_EQ(PointerName(1), QStringLiteral("POINT"));
    EXPECT_EQ(PointerName(2), QStringLiteral("OPEN"));
    EXPECT_EQ(PointerName(3), QStringLiteral("GRAB"));
    EXPECT_EQ(PointerName(4), QStringLiteral("ERASE"));
    EXPECT_EQ(PointerName(5), QString());
    EXPECT_EQ(PointerName(6), QStringLiteral("PAINT"));
    EXPECT_EQ(PointerName(7), QStringLiteral("ROTATE"));
    EXPECT_EQ(PointerName(8), QStringLiteral("NEXT"));

    LoadSoundsAndCursors();
    EXPECT_EQ(PointerCursor(0).shape(), Qt::ArrowCursor);
    EXPECT_EQ(PointerCursor(5).shape(), Qt::ArrowCursor);
    EXPECT_EQ(PointerCursor(-3).shape(), Qt::ArrowCursor);
}

TEST_F(SoundsAndPointersTest, TheProgramsOwnPlayerStaysSilentWithoutItsSounds) {
    SetSoundEffectPlayer(nullptr);
    Preferences().SoundsEnabled = true;
    PlaySoundEffect(kSoundClick); // before loading: nothing to play, no crash
    LoadSoundsAndCursors();
    for (int number = 0; number < kSoundEffectCount; ++number)
        PlaySoundEffect(number);
    FreeSounds();
    PlaySoundEffect(kSoundClick); // after freeing: silence
    SUCCEED();
}

} // namespace
