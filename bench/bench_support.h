#pragma once

// Shared by the benchmarks: the real program folder the build lays out, and a
// main that runs them under a Qt application on the offscreen platform.

#include <QDir>
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
