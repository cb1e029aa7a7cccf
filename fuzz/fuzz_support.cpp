#include "fuzz_support.h"

#include <QGuiApplication>
#include <QImageReader>
#include <cstdio>
#include <cstdlib>

// Freed memory is held back for 32 MB of later allocations rather than
// AddressSanitizer's 256 MB: more than any input frees, so that a use after
// free within an input is still caught, and the picture target stays well
// below the 512 MB it may use. Options given in ASAN_OPTIONS still win.
extern "C" const char* __asan_default_options() {
    return "quarantine_size_mb=32";
}

namespace {

void Silent(QtMsgType, const QMessageLogContext&, const QString&) {}

} // namespace

THardeningWorld& FuzzWorld() {
    static THardeningWorld* world = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // Qt is given no arguments of the fuzzer's own.
        static int argc = 1;
        static char name[] = "cubestacks-fuzz";
        static char* argv[] = {name, nullptr};
        new QGuiApplication(argc, argv); // lives as long as the process
        qInstallMessageHandler(Silent);
        // Keeps each input quick and small: a picture header may ask for any
        // size, and what is decoded is turned into 32 bits a pixel (32 MB for
        // 1 MB of a 1-bit picture). A sheet that reaches the last block of the
        // picture check's set still fits: 397 x 628 pixels of 32 bits.
        QImageReader::setAllocationLimit(1);
        return new THardeningWorld;
    }();
    return *world;
}

QByteArray FuzzInput(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

void ReportProblem(const std::string& problem) {
    if (problem.empty())
        return;
    std::fprintf(stderr, "\n*** input handled unsoundly: %s\n", problem.c_str());
    std::abort();
}
