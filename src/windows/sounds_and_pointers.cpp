#include "windows/sounds_and_pointers.h"

#include "resources/program_resources.h"
#include "windows/preference_values.h"

#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QSoundEffect>
#include <QUrl>
#include <array>
#include <map>
#include <memory>

namespace {

const std::array<const char*, kSoundEffectCount> kSoundNames = {"click1",     "unclick1",    "rotate",
                                                                "openbucket", "closebucket", "changelib"};

struct PointerEntry {
    int number;
    const char* name;
};
const std::array<PointerEntry, 7> kPointers = {{{kPointerPoint, "POINT"},
                                                {kPointerOpen, "OPEN"},
                                                {kPointerGrab, "GRAB"},
                                                {kPointerErase, "ERASE"},
                                                {kPointerPaint, "PAINT"},
                                                {kPointerRotate, "ROTATE"},
                                                {kPointerNext, "NEXT"}}};

struct SoundsAndPointersState {
    std::unique_ptr<TResourceSoundPlayer> ownPlayer;
    SoundEffectPlayer* player = nullptr;
    std::map<int, QCursor> cursors;
};

SoundsAndPointersState& State() {
    static SoundsAndPointersState state;
    return state;
}

// A coordinate of the hot spot from the picture's text; -1 (the centre) when
// it is missing or outside the picture.
int HotSpotCoordinate(const QImage& image, const char* key, int size) {
    bool ok = false;
    const int value = image.text(QLatin1String(key)).trimmed().toInt(&ok);
    return ok && value >= 0 && value < size ? value : -1;
}

} // namespace

TResourceSoundPlayer::TResourceSoundPlayer() = default;

TResourceSoundPlayer::~TResourceSoundPlayer() = default;

void TResourceSoundPlayer::Load() {
    Free();
    for (int i = 0; i < kSoundEffectCount; ++i) {
        const QString path = QStringLiteral(":/sounds/%1.wav").arg(QLatin1String(kSoundNames[i]));
        if (!QFile::exists(path))
            continue; // silence rather than a failure
        auto effect = std::make_unique<QSoundEffect>();
        effect->setSource(QUrl(QStringLiteral("qrc") + path));
        m_effects[i] = std::move(effect);
    }
}

void TResourceSoundPlayer::Play(int number) {
    if (number < 0 || number >= kSoundEffectCount || !m_effects[number])
        return;
    // One sound at a time: the new one cuts off whatever plays.
    for (const auto& effect : m_effects) {
        if (effect && effect->isPlaying())
            effect->stop();
    }
    m_effects[number]->play();
}

void TResourceSoundPlayer::Free() {
    for (auto& effect : m_effects)
        effect.reset();
}

const QSoundEffect* TResourceSoundPlayer::Effect(int number) const {
    return number >= 0 && number < kSoundEffectCount ? m_effects[number].get() : nullptr;
}

QString SoundEffectName(int number) {
    if (number < 0 || number >= kSoundEffectCount)
        return QString();
    return QLatin1String(kSoundNames[number]);
}

QString PointerName(int number) {
    for (const PointerEntry& entry : kPointers) {
        if (entry.number == number)
            return QLatin1String(entry.name);
    }
    return QString();
}

void SetSoundEffectPlayer(SoundEffectPlayer* player) {
    State().player = player;
}

SoundEffectPlayer& CurrentSoundEffectPlayer() {
    SoundsAndPointersState& state = State();
    if (state.player)
        return *state.player;
    if (!state.ownPlayer)
        state.ownPlayer = std::make_unique<TResourceSoundPlayer>();
    return *state.ownPlayer;
}

void LoadSoundsAndCursors() {
    InitProgramResources();
    CurrentSoundEffectPlayer().Load();

    SoundsAndPointersState& state = State();
    state.cursors.clear();
    for (const PointerEntry& entry : kPointers) {
        const QCursor cursor =
            CursorFromPicture(QStringLiteral(":/cursors/%1.png").arg(QLatin1String(entry.name)));
        if (cursor.shape() == Qt::BitmapCursor)
            state.cursors[entry.number] = cursor;
    }
}

QCursor CursorFromPicture(const QString& fileName) {
    const QImage image(fileName);
    if (image.isNull())
        return QCursor(Qt::ArrowCursor);
    const int hotX = HotSpotCoordinate(image, "HotSpotX", image.width());
    const int hotY = HotSpotCoordinate(image, "HotSpotY", image.height());
    return QCursor(QPixmap::fromImage(image), hotX, hotY);
}

void PlaySoundEffect(int number) {
    if (!Preferences().SoundsEnabled || number < 0 || number >= kSoundEffectCount)
        return;
    CurrentSoundEffectPlayer().Play(number);
}

void FreeSounds() {
    CurrentSoundEffectPlayer().Free();
}

QCursor PointerCursor(int number) {
    const auto& cursors = State().cursors;
    const auto found = cursors.find(number);
    return found == cursors.end() ? QCursor(Qt::ArrowCursor) : found->second;
}

void ResetSoundsAndPointers() {
    SoundsAndPointersState& state = State();
    state.player = nullptr;
    if (state.ownPlayer)
        state.ownPlayer->Free();
    state.cursors.clear();
}
