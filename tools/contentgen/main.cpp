// Draws the program's data: the block sets (System/sdNN.csd and .csb), the
// background pictures (System/bdXXX.csb), the welcome model (Models/Welcome.cst)
// and a contact sheet for review.
//
//   contentgen <program folder> <contact sheet.png>

#include "backgrounds.h"
#include "contact_sheet.h"
#include "content_sets.h"
#include "welcome_model.h"

#include "common/io_error.h"
#include "common/save_file.h"
#include "imaging/bitmap_file.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: contentgen <program folder> <contact sheet.png>\n");
        return 2;
    }
    const QString folder = QDir::fromNativeSeparators(QString::fromLocal8Bit(argv[1])) + '/';
    const QString contactSheet = QString::fromLocal8Bit(argv[2]);
    try {
        QDir().mkpath(folder + "System");
        QDir().mkpath(folder + "Models");
        const std::vector<art::BlockSet> sets = art::AllSets();
        for (size_t i = 0; i < sets.size(); ++i) {
            const QString base = folder + QString::asprintf("System/sd%02d", static_cast<int>(i + 1));
            SaveFileContents(base + ".csd", art::EncodeSetFile(sets[i]), "set");
            SaveBitmapFile(art::MakeSheet(sets[i]), base + ".csb");
        }
        std::vector<art::NamedPicture> backgrounds;
        for (const art::BackgroundPicture& bg : art::MakeBackgrounds()) {
            SaveBitmapFile(bg.image, folder + "System/bd" + QString::fromStdString(bg.code) + ".csb");
            backgrounds.push_back({bg.code, bg.image, bg.tileDown});
        }
        const QImage welcome = art::BuildWelcomeModel(folder);
        const QImage sheet = art::MakeContactSheet(sets, backgrounds, welcome);
        if (!sheet.save(contactSheet, "PNG"))
            throw IoError("Cannot write " + contactSheet.toStdString());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "contentgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
