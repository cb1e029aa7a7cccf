#include "fuzz_support.h"

#include <QGuiApplication>
#include <QImageReader>
#include <cstdio>
#include <cstdlib>

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
        // Keeps each input quick: a picture header may ask for any size.
        QImageReader::setAllocationLimit(16);
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
