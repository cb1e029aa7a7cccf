// The model: drawing a full model (32 x 24 cells, 8 levels) beside a memcpy
// of as many pixel bytes, redrawing one cell, and saving and loading a full
// model file.

#include "model/model.h"
#include "common/main_window_size.h"
#include "common/program_folder.h"
#include "imaging/bitmap.h"
#include "imaging/bitmap_file.h"
#include "library/background.h"
#include "library/block_list.h"
#include "model/model_defaults.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr int kRows = 8;
constexpr int kNames = 8; // 64 blocks

// One block set of 64 blocks with see-through pixels, in a temporary program
// folder, the library loaded from it, and a full model of its blocks.
class Fixture {
public:
    explicit Fixture(bool withText) {
        QDir(m_dir.path()).mkpath("System");
        QByteArray bytes(160, '\0');
        QByteArray title("Bench");
        title.resize(63, '\0');
        bytes += title;
        bytes += '\0';
        bytes += static_cast<char>(kRows);
        for (int row = 0; row < kRows; ++row) {
            bytes += static_cast<char>(kNames);
            for (int k = 0; k < kNames; ++k)
                bytes += Name(row * kNames + k).c_str();
        }
        Write("System/sd01.csd", bytes);
        QImage sheet(33 * kNames, 33 * kRows, QImage::Format_RGB32);
        for (int y = 0; y < sheet.height(); ++y)
            for (int x = 0; x < sheet.width(); ++x)
                sheet.setPixel(x, y, (x * y) % 11 == 0 ? qRgb(255, 0, 255) : qRgb(x % 256, y % 256, 90));
        Write("System/sd01.csb", EncodeBitmap24(sheet));
        SetProgramFolder(m_dir.path());
        SetMainWindowSize(QSize(1024, 768));
        ModelDefaults().GridVisible = true;

        library = std::make_unique<TBlockList>();
        SetBlockList(library.get());
        model = std::make_unique<TModel>();
        for (int y = 0; y < model->Rows; ++y)
            for (int x = 0; x < model->Cols; ++x)
                for (int level = 0; level < model->Levels; ++level)
                    model->SetBlockIndex(x, y, (x + y * 3 + level * 7) % (kRows * kNames), level);
        model->Background->Color = RGBColor(30, 60, 200);
        model->Background->SetKind(bkGradient);
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
    ~Fixture() {
        SetBlockList(nullptr);
        SetProgramFolder(QString());
        ModelDefaults().GridVisible = false;
    }

    static std::string Name(int n) {
        return {static_cast<char>('A' + n / 26), static_cast<char>('a' + n % 26), 'N'};
    }
    QString path(const char* name) const { return m_dir.filePath(name); }

    std::unique_ptr<TBlockList> library;
    std::unique_ptr<TModel> model;
    QImage bitmap;
    TCanvas canvas;

private:
    void Write(const QString& relative, const QByteArray& bytes) {
        QFile file(m_dir.filePath(relative));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write the benchmark's files");
    }
    QTemporaryDir m_dir;
};

// The pixel bytes a full draw moves: the background once and 8 block layers.
constexpr size_t kDrawBytes = size_t{1024} * 768 * 4 * 9;

void BM_DrawFullModel(benchmark::State& state) {
    Fixture fixture(state.range(0) != 0);
    for (auto _ : state) {
        fixture.model->Draw(fixture.canvas);
        benchmark::DoNotOptimize(fixture.bitmap.constBits());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kDrawBytes));
}
BENCHMARK(BM_DrawFullModel)->ArgName("text")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

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
// 9 layers: every pixel byte a full draw writes; 1 layer: the image's own bytes.
BENCHMARK(BM_MemcpySamePixelBytes)->ArgName("layers")->Arg(9)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_DrawCell(benchmark::State& state) {
    Fixture fixture(state.range(0) != 0);
    fixture.model->Draw(fixture.canvas);
    int n = 0;
    for (auto _ : state) {
        // Cells under the text and beside it.
        fixture.model->DrawCell(fixture.canvas, 3 + n % 6, 4 + (n / 6) % 3);
        ++n;
        benchmark::DoNotOptimize(fixture.bitmap.constBits());
    }
}
BENCHMARK(BM_DrawCell)->ArgName("text")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_SaveFullModel(benchmark::State& state) {
    Fixture fixture(true);
    const QString name = fixture.path("full.cst");
    for (auto _ : state)
        fixture.model->SaveToFile(name);
    state.counters["bytes"] = static_cast<double>(QFile(name).size());
}
BENCHMARK(BM_SaveFullModel)->Unit(benchmark::kMicrosecond);

void BM_LoadFullModel(benchmark::State& state) {
    Fixture fixture(true);
    const QString name = fixture.path("full.cst");
    fixture.model->SaveToFile(name);
    TModel model;
    for (auto _ : state) {
        if (!model.LoadFromFile(name))
            state.SkipWithError("the model did not load");
        benchmark::DoNotOptimize(model.Cells.data());
    }
}
BENCHMARK(BM_LoadFullModel)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
