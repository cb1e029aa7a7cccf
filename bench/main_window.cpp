// The main window: one paint step of a stroke, as the mouse moves with the
// left button held in paint mode: the handler, the model's tool, the cell
// redrawn and its square repainted on the offscreen platform, the hint line.
// The real block sets and the real main window; sounds go to a counter.

#include "main_window_support.h"

#include "app/main_form.h"
#include "common/program_folder.h"
#include "widgets/bmp_wnd.h"
#include "library/block_list.h"
#include "model/model.h"
#include "windows/preference_values.h"
#include "windows/sounds_and_pointers.h"

#include <memory>

namespace {

class CountingPlayer : public SoundEffectPlayer {
public:
    void Load() override {}
    void Play(int number) override { clicks += number == kSoundClick ? 1 : 0; }
    void Free() override {}
    int64_t clicks = 0;
};


void BM_PaintStepOnMouseMove(benchmark::State& state) {
    if (!RealSetsPresent(state))
        return;
    SetProgramFolder(RealProgramFolder());
    CountingPlayer sounds;
    SetSoundEffectPlayer(&sounds);
    Preferences().SoundsEnabled = true; // each painted cell plays its click: the count checks the steps
    {
        TBlockList library;
        TMainForm form(QSize(1280, 1024));
        form.SetLibrary(&library);
        form.show();
        if (!WaitUntilExposed(form)) {
            state.SkipWithError("the main window was not shown");
        } else {
            const int32_t cols = form.Model->Cols;
            const int32_t rows = form.Model->Rows;
            // Two blocks taken in turn, one for each pass over the grid, so
            // that every step changes its cell, also once the stacks are full.
            const int32_t blocks[2] = {library.IndexFromMap(0, 0, 0), library.IndexFromMap(1, 0, 0)};
            library.SelectIndex(blocks[0]);
            form.BmpWndMouseDown(Qt::LeftButton, Qt::LeftButton, false, 16, 16);
            sounds.clicks = 0;
            int64_t step = 1;
            for (auto _ : state) {
                const int64_t cell = step % (int64_t{cols} * rows);
                if (cell == 0)
                    library.SelectIndex(blocks[(step / (int64_t{cols} * rows)) % 2]);
                const int x = static_cast<int>(cell % cols) * 32 + 16;
                const int y = static_cast<int>(cell / cols) * 32 + 16;
                form.BmpWndMouseMove(Qt::LeftButton, false, x, y);
                ++step;
            }
            if (sounds.clicks != state.iterations())
                state.SkipWithError("not every step painted its cell");
            form.BmpWndMouseUp(Qt::LeftButton, Qt::NoButton, false, 16, 16);
        }
    }
    SetSoundEffectPlayer(nullptr);
    SetProgramFolder(QString());
}
BENCHMARK(BM_PaintStepOnMouseMove)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) { return RunMainWindowBenchmarks(argc, argv); }
