#pragma once

// Shared by the benchmarks: the real program folder the build lays out,
// synthetic block sets written into a folder of their own, and a main that
// runs them under a Qt application on the offscreen platform.

#include "imaging/bitmap_file.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QString>
#include <benchmark/benchmark.h>
#include <utility>

#ifndef CUBESTACKS_BIN_DIR
#error "CUBESTACKS_BIN_DIR names the program folder the build lays out"
#endif

// The built program folder (trailing '/'): the executable, System/ with the
// ten generated block sets and the background pictures, Models/Welcome.cst.
// CUBESTACKS_BENCH_FOLDER points the benchmarks at another one.
inline QString RealProgramFolder() {
    const QString other = qEnvironmentVariable("CUBESTACKS_BENCH_FOLDER");
    QString folder = other.isEmpty() ? QString::fromUtf8(CUBESTACKS_BIN_DIR) : other;
    if (!folder.endsWith('/'))
        folder += '/';
    return folder;
}

// True when the real block sets are there; otherwise the benchmark is skipped with a reason.
inline bool RealSetsPresent(benchmark::State& state) {
    if (QDir(RealProgramFolder() + QStringLiteral("System")).exists(QStringLiteral("sd10.csd")))
        return true;
    state.SkipWithError("the built block sets are missing: build the 'content' target first");
    return false;
}

// Writes the file relative to folder; the benchmark program stops if it cannot.
inline void WriteBenchFile(const QString& folder, const QString& relative, const QByteArray& bytes) {
    const QString name = QDir(folder).filePath(relative);
    QDir().mkpath(QFileInfo(name).path());
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the benchmark's files");
}

// Writes block set number (1-based) into folder: System/sdNN.csd with the
// title and rows of names each, name(row, k) the k-th name of a row, and
// System/sdNN.csb, a sheet at pitch 33 whose pixel (x, y) is pixel(x, y).
template <typename Name, typename Pixel>
void WriteBenchSet(const QString& folder, int number, const QByteArray& title, int rows, int names, Name name,
                   Pixel pixel) {
    QByteArray bytes(160, '\0');
    QByteArray field = title;
    field.resize(63, '\0');
    bytes += field;
    bytes += '\0';
    bytes += static_cast<char>(rows);
    for (int row = 0; row < rows; ++row) {
        bytes += static_cast<char>(names);
        for (int k = 0; k < names; ++k)
            bytes += name(row, k).c_str();
    }
    WriteBenchFile(folder, QString::asprintf("System/sd%02d.csd", number), bytes);
    QImage sheet(33 * names, 33 * rows, QImage::Format_RGB32);
    for (int y = 0; y < sheet.height(); ++y)
        for (int x = 0; x < sheet.width(); ++x)
            sheet.setPixel(x, y, pixel(x, y));
    WriteBenchFile(folder, QString::asprintf("System/sd%02d.csb", number), EncodeBitmap24(sheet));
}

// The main of a benchmark program: an application of type App on the
// offscreen platform (unless the environment names another), then every benchmark.
template <typename App> int RunBenchmarks(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    App app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
