#pragma once

#include "support/widget_helpers.h"
#include "windows/hint_line.h"
#include "windows/sounds_and_pointers.h"

class RecordingSoundPlayer : public SoundEffectPlayer {
public:
    void Load() override { ++loads; }
    void Play(int number) override { played.push_back(number); }
    void Free() override { ++frees; }
    int loads = 0, frees = 0;
    std::vector<int> played;
};

inline QString HintAfterIdle() {
    LetEventsRun();
    return CurrentHint();
}
