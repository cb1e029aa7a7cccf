// Undo and redo of a step that changed the whole of a full 32 x 24 x 8 model,
// on the real main window: the state put back, the whole model redrawn and
// shown on the offscreen platform, the name label, Revert and the scroll
// buttons brought up to date. Also the memory one such step keeps.

#include "main_window_support.h"

#include "app/main_form.h"
#include "common/program_folder.h"
#include "library/block_list.h"
#include "model/model.h"
#include "windows/sounds_and_pointers.h"

#include <QAction>

namespace {

class SilentPlayer : public SoundEffectPlayer {
public:
    void Load() override {}
    void Play(int) override {}
    void Free() override {}
};

// Every cell and level of the model holds a block of the library, taken in turn from offset on.
void Fill(TModel& model, const TBlockList& library, int offset) {
    const int count = static_cast<int>(library.ImageList.size());
    for (int level = 0; level < model.Levels; ++level)
        for (int row = 0; row < model.Rows; ++row)
            for (int col = 0; col < model.Cols; ++col)
                model.SetBlockIndex(col, row, (offset + col + row * 7 + level * 13) % count, level);
}

void BM_UndoRedoFullModelStep(benchmark::State& state) {
    if (!RealSetsPresent(state))
        return;
    SetProgramFolder(RealProgramFolder());
    SilentPlayer sounds;
    SetSoundEffectPlayer(&sounds);
    {
        TBlockList library;
        TMainForm form(QSize(1280, 1024));
        form.SetLibrary(&library);
        form.show();
        if (!WaitUntilExposed(form)) {
            state.SkipWithError("the main window was not shown");
        } else if (form.Model->Cols * form.Model->Rows * form.Model->Levels != 32 * 24 * 8) {
            state.SkipWithError("the model is not a full 32 x 24 x 8 one");
        } else {
            Fill(*form.Model, library, 0);
            form.StartFreshHistory();
            Fill(*form.Model, library, 1);
            form.CommitStep(QStringLiteral("paint"));
            const int32_t painted = form.Model->GetBlockIndex(5, 5, 7);
            // Each iteration one command: undo and redo in turn.
            bool undo = true;
            for (auto _ : state) {
                if (undo)
                    form.Undo1Click();
                else
                    form.Redo1Click();
                undo = !undo;
            }
            if (form.History.UndoCount() + form.History.RedoCount() != 1 ||
                (form.Model->GetBlockIndex(5, 5, 7) == painted) != undo) // undo next: redone last
                state.SkipWithError("undo and redo did not take turns");
            state.counters["bytes_per_step"] =
                static_cast<double>(form.History.Bytes()) /
                static_cast<double>(form.History.UndoCount() + form.History.RedoCount() + 1);
        }
        form.Model->Modified = false;
    }
    SetSoundEffectPlayer(nullptr);
    SetProgramFolder(QString());
}
BENCHMARK(BM_UndoRedoFullModelStep)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) { return RunMainWindowBenchmarks(argc, argv); }
