#pragma once

#include <QCursor>
#include <QString>
#include <array>
#include <memory>

class QSoundEffect;

// The program's sound effects and mouse pointers, from its own resources:
// sounds ":/sounds/<name>.wav", pointers ":/cursors/<NAME>.png" with the hot
// spot in the picture's text keys "HotSpotX" and "HotSpotY".

// Sound numbers, in loading order.
enum SoundEffect : int {
    kSoundClick = 0,       // "click1": a block placed
    kSoundUnclick = 1,     // "unclick1": a block removed
    kSoundRotate = 2,      // "rotate"
    kSoundOpenBucket = 3,  // "openbucket"
    kSoundCloseBucket = 4, // "closebucket"
    kSoundChangeLib = 5,   // "changelib": the block set changed
};
constexpr int kSoundEffectCount = 6;
// "click1", "unclick1", ...; empty outside 0..5.
QString SoundEffectName(int number);

// Pointer numbers; 0 is the standard arrow, 5 is not assigned.
enum PointerNumber : int {
    kPointerDefault = 0,
    kPointerPoint = 1,
    kPointerOpen = 2,
    kPointerGrab = 3,
    kPointerErase = 4,
    kPointerPaint = 6,
    kPointerRotate = 7,
    kPointerNext = 8,
};
// "POINT", "OPEN", ...; empty for numbers without a pointer.
QString PointerName(int number);

// What plays the sounds. The program's player keeps each sound in memory and
// plays it asynchronously, a new sound stopping the one that plays; tests
// install their own to see what was played.
class SoundEffectPlayer {
public:
    virtual ~SoundEffectPlayer() = default;
    virtual void Load() = 0;
    virtual void Play(int number) = 0; // 0..5, and only while sounds are on
    virtual void Free() = 0;
};

// The program's player: each sound a QSoundEffect over its resource, loaded
// once; a missing sound stays silent.
class TResourceSoundPlayer : public SoundEffectPlayer {
public:
    TResourceSoundPlayer();
    ~TResourceSoundPlayer() override;
    void Load() override;
    void Play(int number) override;
    void Free() override;
    const QSoundEffect* Effect(int number) const; // nullptr when not loaded

private:
    std::array<std::unique_ptr<QSoundEffect>, kSoundEffectCount> m_effects;
};

// Not owned; nullptr goes back to the program's own player.
void SetSoundEffectPlayer(SoundEffectPlayer* player);
SoundEffectPlayer& CurrentSoundEffectPlayer();

// Once, while the main window is created: registers the program's resources,
// loads the six sounds and the seven pointers. A resource that is missing or
// damaged plays nothing / shows the standard arrow.
void LoadSoundsAndCursors();

// Plays sound number 0..5 when SoundsEnabled is on; returns at once. Other
// numbers play nothing.
void PlaySoundEffect(int number);

// Releases the sounds (the main window's destruction).
void FreeSounds();

// The pointer installed under that number; the standard arrow for 0, for a
// number without a pointer, for one that could not be loaded and before
// LoadSoundsAndCursors.
QCursor PointerCursor(int number);

// A pointer from a picture file (resources included), its hot spot from the
// text keys "HotSpotX" and "HotSpotY" (the centre where a key is missing or
// outside the picture); the standard arrow when the picture cannot be read.
QCursor CursorFromPicture(const QString& fileName);

// Forgets the pointers and the player set by a test.
void ResetSoundsAndPointers();
