// The model: drawing a full model (32 x 24 cells, 8 levels) beside the floor
// of a memcpy of the image's pixel bytes, redrawing one cell, and saving and
// loading a full model file. Each runs on synthetic blocks (every block with
// see-through pixels in the same places, so that all 8 levels show somewhere:
// the worst case) and on the real block sets the build makes.

#include "bench_support.h"

#include "common/program_folder.h"
#include "imaging/bitmap.h"
#include "imaging/bitmap_file.h"
#include "library/background.h"
#include "library/block_list.h"
#include "model/model.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <chrono>
#include <cstring>
#include <ctime>
#include <memory>
#include <vector>

namespace {

constexpr int kRows = 8;
constexpr int kNames = 8; // 64 synthetic blocks

enum Blocks : int64_t { kSynthetic = 0, kReal = 1 };

// A block library (synthetic, in a temporary program folder, or the real
// sets) and a full model of its blocks, optionally with a text overlay.
class Fixture {
public:
    Fixture(int64_t blocks, bool withText) {
        if (blocks == kReal) {
            SetProgramFolder(RealProgramFolder());
        } else {
            WriteSyntheticSet();
            SetProgramFolder(m_dir.path());
        }
        library = std::make_unique<TBlockList>();
        TModelContext context;
        context.Library = library.get();
        context.WindowSize = QSize(1024, 768);
        context.Defaults.GridVisible = true;
        model = std::make_unique<TModel>(context);
        const int count = std::max(1, library->Count);
        for (int y = 0; y < model->Rows; ++y)
            for (int x = 0; x < model->Cols; ++x)
                for (int level = 0; level < model->Levels; ++level)
                    model->SetBlockIndex(x, y, (x * 7 + y * 13 + level * 29) % count, level);
        model->Background.Color = RGBColor(30, 60, 200);
        model->SetBackgroundKind(bkGradient);
        if (withText) {
            model->TextOverlay.Text =
                "Quadrantine Cubestacks\r\nA model of every block, eight high,\tfull size.";
            model->TextOverlay.TextCol = 3;
            model->TextOverlay.TextRow = 4;
            model->TextOverlay.Shadow = 2;
            model->TextOverlay.Font.FontHeight = -24;
        }
        bitmap = NewBitmap(1024, 768);
        canvas.Bitmap = &bitmap;
    }
    ~Fixture() { SetProgramFolder(QString()); }

    static std::string Name(int n) {
        return {static_cast<char>('A' + n / 26), static_cast<char>('a' + n % 26), 'N'};
    }
    QString path(const char* name) const { return m_dir.filePath(name); }

    std::unique_ptr<TBlockList> library;
    std::unique_ptr<TModel> model;
    QImage bitmap;
    TCanvas canvas;

private:
    void WriteSyntheticSet() {
        // Magenta where x * y is a multiple of 11: at the pitch of 33 every
        // picture has its holes in the same places.
        WriteBenchSet(
            m_dir.path(), 1, "Bench", kRows, kNames, [](int row, int k) { return Name(row * kNames + k); },
            [](int x, int y) { return (x * y) % 11 == 0 ? qRgb(255, 0, 255) : qRgb(x % 256, y % 256, 90); });
    }
    QTemporaryDir m_dir;
};

// The thread's own processor time: other work on a shared machine does not
// count against the draw or its floor.
struct Clock {
    using duration = std::chrono::nanoseconds;
    using rep = duration::rep;
    static std::chrono::time_point<Clock, duration> now() {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return std::chrono::time_point<Clock, duration>(duration(t.tv_sec * rep{1000000000} + t.tv_nsec));
    }
};

// A full draw, timed beside its floor: a memcpy of the image's pixel bytes
// (the background's into the model image), measured in the same iteration.
// Counters: floor_ms, the memcpy's time, and x_floor, the draw's time over it.
void DrawBesideTheFloor(benchmark::State& state, Fixture& fixture) {
    const QImage& background = fixture.model->BackgroundBitmap();
    Clock::duration drawing{}, copying{};
    for (auto _ : state) {
        const auto start = Clock::now();
        fixture.model->Draw(fixture.canvas);
        benchmark::DoNotOptimize(fixture.bitmap.constBits());
        const auto drawn = Clock::now();
        state.PauseTiming();
        const auto copyStart = Clock::now();
        std::memcpy(fixture.bitmap.bits(), background.constBits(),
                    static_cast<size_t>(std::min(background.sizeInBytes(), fixture.bitmap.sizeInBytes())));
        benchmark::ClobberMemory();
        copying += Clock::now() - copyStart;
        drawing += drawn - start;
        state.ResumeTiming();
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["floor_ms"] = std::chrono::duration<double, std::milli>(copying).count() / iterations;
    state.counters["x_floor"] =
        static_cast<double>(drawing.count()) / static_cast<double>(std::max<Clock::rep>(1, copying.count()));
}

void BM_DrawFullModel(benchmark::State& state) {
    if (state.range(0) == kReal && !RealSetsPresent(state))
        return;
    Fixture fixture(state.range(0), state.range(1) != 0);
    const QImage& background = fixture.model->BackgroundBitmap();
    if (background.sizeInBytes() != fixture.bitmap.sizeInBytes()) {
        state.SkipWithError("the background is not the model image's size");
        return;
    }
    DrawBesideTheFloor(state, fixture);
}
BENCHMARK(BM_DrawFullModel)
    ->ArgNames({"real", "text"})
    ->ArgsProduct({{kSynthetic, kReal}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// The welcome model on the real sets, as the program shows it at start.
void BM_DrawWelcomeModel(benchmark::State& state) {
    if (!RealSetsPresent(state))
        return;
    Fixture fixture(kReal, false);
    if (!fixture.model->LoadFromFile(RealProgramFolder() + QStringLiteral("Models/Welcome.cst"))) {
        state.SkipWithError("the welcome model did not load");
        return;
    }
    DrawBesideTheFloor(state, fixture);
}
BENCHMARK(BM_DrawWelcomeModel)->Unit(benchmark::kMillisecond);

void BM_MemcpySamePixelBytes(benchmark::State& state) {
    std::vector<uint32_t> from(size_t{1024} * 768);
    std::vector<uint32_t> to(size_t{1024} * 768);
    for (size_t i = 0; i < from.size(); ++i)
        from[i] = static_cast<uint32_t>(i * 2654435761u);
    const int layers = static_cast<int>(state.range(0));
    for (auto _ : state) {
        for (int layer = 0; layer < layers; ++layer) {
            std::memcpy(to.data(), from.data(), from.size() * 4);
            benchmark::ClobberMemory();
        }
        benchmark::DoNotOptimize(to.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * layers * 1024 * 768 * 4);
}
// 1 layer: the image's own bytes; 9 layers: as many bytes as the background and 8 full block layers.
BENCHMARK(BM_MemcpySamePixelBytes)->ArgName("layers")->Arg(1)->Arg(9)->Unit(benchmark::kMillisecond);

void BM_DrawCell(benchmark::State& state) {
    if (state.range(0) == kReal && !RealSetsPresent(state))
        return;
    Fixture fixture(state.range(0), state.range(1) != 0);
    fixture.model->Draw(fixture.canvas);
    int n = 0;
    for (auto _ : state) {
        // Cells under the text and beside it.
        fixture.model->DrawCell(fixture.canvas, 3 + n % 6, 4 + (n / 6) % 3);
        ++n;
        benchmark::DoNotOptimize(fixture.bitmap.constBits());
    }
}
BENCHMARK(BM_DrawCell)
    ->ArgNames({"real", "text"})
    ->ArgsProduct({{kSynthetic, kReal}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

void BM_SaveFullModel(benchmark::State& state) {
    if (state.range(0) == kReal && !RealSetsPresent(state))
        return;
    Fixture fixture(state.range(0), true);
    QTemporaryDir out;
    const QString name = out.filePath("full.cst");
    for (auto _ : state)
        fixture.model->SaveToFile(name);
    state.counters["bytes"] = static_cast<double>(QFile(name).size());
}
BENCHMARK(BM_SaveFullModel)->ArgName("real")->Arg(kSynthetic)->Arg(kReal)->Unit(benchmark::kMicrosecond);

void BM_LoadFullModel(benchmark::State& state) {
    if (state.range(0) == kReal && !RealSetsPresent(state))
        return;
    Fixture fixture(state.range(0), true);
    QTemporaryDir out;
    const QString name = out.filePath("full.cst");
    fixture.model->SaveToFile(name);
    TModel model(fixture.model->Context());
    for (auto _ : state) {
        if (!model.LoadFromFile(name))
            state.SkipWithError("the model did not load");
        benchmark::DoNotOptimize(model.Cells.data());
    }
    if (model.Cells != fixture.model->Cells)
        state.SkipWithError("the model read back differs from the one saved");
}
BENCHMARK(BM_LoadFullModel)->ArgName("real")->Arg(kSynthetic)->Arg(kReal)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarks<QGuiApplication>(argc, argv);
}
