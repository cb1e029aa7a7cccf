// fuzz_make_seeds FOLDER: writes the starting inputs of every fuzz target into
// FOLDER/<target>/, made with the program's own writers.

#include "hardening_checks.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_make_seeds FOLDER\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    const QString root = QString::fromLocal8Bit(argv[1]);
    THardeningWorld world;
    const std::pair<const char*, SeedList> targets[] = {
        {"model_file", ModelFileSeeds(world)},
        {"set_file", SetFileSeeds()},
        {"picture", PictureSeeds()},
        {"chunk", ChunkSeeds()},
    };
    for (const auto& [target, seeds] : targets) {
        const QString folder = root + '/' + target;
        QDir().mkpath(folder);
        for (const auto& [name, bytes] : seeds) {
            QFile file(folder + '/' + QString::fromStdString(name));
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
                std::fprintf(stderr, "fuzz_make_seeds: cannot write %s\n", qPrintable(file.fileName()));
                return 1;
            }
        }
    }
    return 0;
}
