#pragma once

// Test pieces that stand in for parts of the program's windows; for the test
// programs that link cs_windows.

#include "support/widget_helpers.h"
#include "windows/hint_line.h"
#include "windows/sounds_and_pointers.h"

#include <QString>
#include <vector>

// A sound player that records what it is asked to do instead of playing.
class RecordingSoundPlayer : public SoundEffectPlayer {
public:
    void Load() override { ++loads; }
    void Play(int number) override { played.push_back(number); }
    void Free() override { ++frees; }
    int loads = 0;
    int frees = 0;
    std::vector<int> played;
};

// The hint line after the program has become idle.
inline QString HintAfterIdle() {
    LetEventsRun();
    return CurrentHint();
}
