// The block library and backgrounds: loading every set (synthetic ones and
// the real ones the build makes), name lookups as a model load makes them, and
// rendering a full-size background.

#include "bench_support.h"

#include "common/program_folder.h"
#include "imaging/bitmap_file.h"
#include "library/background.h"
#include "library/block_list.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int kSets = 10;
constexpr int kRows = 20;
constexpr int kNames = 10; // 200 blocks a set

// Ten sets of 20 rows of 10 names each, and a background picture, in a temporary program folder.
class LibraryFolder {
public:
    LibraryFolder() {
        for (int set = 1; set <= kSets; ++set)
            WriteBenchSet(
                m_dir.path(), set, "Set " + QByteArray::number(set), kRows, kNames,
                [set](int row, int k) { return Name(set, row, k); },
                [set](int x, int y) {
                    return (x + y) % 7 == 0 ? qRgb(255, 0, 255) : qRgb(set * 20, x % 256, y % 256);
                });
        QImage picture(200, 150, QImage::Format_RGB32);
        for (int y = 0; y < 150; ++y)
            for (int x = 0; x < 200; ++x)
                picture.setPixel(x, y, qRgb(x, y, 99));
        WriteBenchFile(m_dir.path(), "System/bdBEN.csb", EncodeBitmap24(picture));
        SetProgramFolder(m_dir.path());
    }
    ~LibraryFolder() { SetProgramFolder(QString()); }

    static std::string Name(int set, int row, int k) {
        return {static_cast<char>('0' + set % 10), static_cast<char>('A' + row), static_cast<char>('a' + k)};
    }

private:
    QTemporaryDir m_dir;
};

void BM_LoadTenSets(benchmark::State& state) {
    LibraryFolder folder;
    for (auto _ : state) {
        TBlockList list;
        if (list.Count != kSets * kRows * kNames)
            state.SkipWithError("the sets did not load");
        benchmark::DoNotOptimize(list.Count);
    }
    state.SetItemsProcessed(state.iterations() * kSets * kRows * kNames);
}
BENCHMARK(BM_LoadTenSets)->Unit(benchmark::kMillisecond);

// The ten sets the build draws, from the built program folder, as the block box loads them at start.
void BM_LoadRealSets(benchmark::State& state) {
    if (!RealSetsPresent(state))
        return;
    SetProgramFolder(RealProgramFolder());
    int64_t blocks = 0;
    for (auto _ : state) {
        TBlockList list;
        if (list.SetCount != kSets || !list.LoadError.isEmpty())
            state.SkipWithError("the real sets did not all load");
        blocks = list.Count;
        benchmark::DoNotOptimize(list.Count);
    }
    SetProgramFolder(QString());
    state.counters["blocks"] = static_cast<double>(blocks);
    state.SetItemsProcessed(state.iterations() * blocks);
}
BENCHMARK(BM_LoadRealSets)->Unit(benchmark::kMillisecond);

// A full model asks for 6144 names (32 x 24 cells, 8 levels), a few of them unknown.
void BM_IndexFromName6144(benchmark::State& state) {
    LibraryFolder folder;
    TBlockList list;
    std::vector<std::string> names;
    for (int i = 0; i < 6144; ++i) {
        const int set = 1 + i % kSets;
        names.push_back(i % 97 == 0 ? std::string("zz?")
                                    : LibraryFolder::Name(set, (i / 10) % kRows, i % kNames));
    }
    for (auto _ : state) {
        int64_t sum = 0;
        for (const std::string& name : names)
            sum += list.IndexFromName(name);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(names.size()));
}
BENCHMARK(BM_IndexFromName6144)->Unit(benchmark::kMicrosecond);

void BM_Background1024x768(benchmark::State& state) {
    LibraryFolder folder;
    TBackground background;
    background.WindowSize = QSize(1024, 768);
    background.SetWidth(1024);
    background.SetHeight(768);
    background.Color = RGBColor(40, 120, 220);
    background.Code = "BEN";
    const auto kind = static_cast<uint8_t>(state.range(0));
    for (auto _ : state) {
        background.SetKind(kind);
        benchmark::DoNotOptimize(background.Bitmap.constBits());
    }
}
BENCHMARK(BM_Background1024x768)->ArgName("kind")->DenseRange(0, 5)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarks<QGuiApplication>(argc, argv);
}
