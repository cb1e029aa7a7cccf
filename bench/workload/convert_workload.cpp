// convert_workload PROGRAM_FOLDER OUT_FOLDER
//
// Writes the workload of bench/converter_vs_tmxrasterizer.sh: one picture as
// a model for cubestacks-convert and as a Tiled map for tmxrasterizer. Both
// are a 32 x 24 grid of 8 full layers of the blocks of the first block set of
// PROGRAM_FOLDER over a gradient, 1024 x 768:
//   model.cst       the model
//   map.tmx         the map: the gradient as an image layer, then 8 tile layers
//   sheet.bmp       the first set's sheet (pitch 33, magenta see-through), the map's tile sheet
//   background.png  the gradient, the map's image layer
// Exit status 0 when all were written, 1 otherwise.

#include "common/io_error.h"
#include "common/program_folder.h"
#include "library/background.h"
#include "library/block_list.h"
#include "model/model.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

namespace {

constexpr int kCols = 32;
constexpr int kRows = 24;
constexpr int kLayers = 8;

bool WriteText(const QString& name, const QByteArray& text) {
    QFile file(name);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.flush();
}

// The map: the tile sheet at pitch 33 (a one-pixel margin, a one-pixel gap),
// tile k of a sheet row is variation k of that row; gid = 1 + row * columns + variation.
QByteArray MapText(const TBlockList& library, const QImage& sheet,
                   const std::vector<int>& cells) {
    const int columns = sheet.width() / kSheetPitch;
    const int sheetRows = sheet.height() / kSheetPitch;
    QByteArray text;
    text += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    text += QStringLiteral("<map version=\"1.10\" orientation=\"orthogonal\" renderorder=\"right-down\" "
                           "width=\"%1\" height=\"%2\" tilewidth=\"32\" tileheight=\"32\" infinite=\"0\" "
                           "nextlayerid=\"%3\" nextobjectid=\"1\">\n")
                .arg(kCols)
                .arg(kRows)
                .arg(kLayers + 2)
                .toUtf8();
    text += QStringLiteral(" <tileset firstgid=\"1\" name=\"blocks\" tilewidth=\"32\" tileheight=\"32\" "
                           "spacing=\"1\" margin=\"1\" tilecount=\"%1\" columns=\"%2\">\n"
                           "  <image source=\"sheet.bmp\" trans=\"ff00ff\" width=\"%3\" height=\"%4\"/>\n"
                           " </tileset>\n")
                .arg(columns * sheetRows)
                .arg(columns)
                .arg(sheet.width())
                .arg(sheet.height())
                .toUtf8();
    text += " <imagelayer id=\"1\" name=\"gradient\">\n"
            "  <image source=\"background.png\" width=\"1024\" height=\"768\"/>\n"
            " </imagelayer>\n";
    for (int level = 0; level < kLayers; ++level) {
        text += QStringLiteral(" <layer id=\"%1\" name=\"level %2\" width=\"%3\" height=\"%4\">\n"
                               "  <data encoding=\"csv\">\n")
                    .arg(level + 2)
                    .arg(level)
                    .arg(kCols)
                    .arg(kRows)
                    .toUtf8();
        for (int y = 0; y < kRows; ++y) {
            for (int x = 0; x < kCols; ++x) {
                const int index = cells[static_cast<size_t>((level * kRows + y) * kCols + x)];
                int32_t set = 0, row = 0, variation = 0;
                library.MapFromIndex(index, set, row, variation);
                text += QByteArray::number(1 + row * columns + variation);
                if (x + 1 < kCols || y + 1 < kRows)
                    text += ',';
            }
            text += '\n';
        }
        text += "  </data>\n </layer>\n";
    }
    text += "</map>\n";
    return text;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: convert_workload PROGRAM_FOLDER OUT_FOLDER\n");
        return 2;
    }
    SetProgramFolder(QString::fromLocal8Bit(argv[1]));
    const QDir out(QString::fromLocal8Bit(argv[2]));
    QDir().mkpath(out.path());
    try {
        TBlockList library;
        int firstSet = 0; // blocks of the first set: indices 0 .. firstSet - 1
        while (firstSet < library.Count && library.Blocks[static_cast<size_t>(firstSet)].Set == 0)
            ++firstSet;
        if (!library.LoadError.isEmpty() || firstSet == 0) {
            std::fprintf(stderr, "convert_workload: no first block set in %s: %s\n", argv[1],
                         qPrintable(library.LoadError));
            return 1;
        }
        std::vector<int> cells(size_t{kCols} * kRows * kLayers);
        TModelContext context;
        context.Library = &library;
        TModel model(context);
        for (int level = 0; level < kLayers; ++level)
            for (int y = 0; y < kRows; ++y)
                for (int x = 0; x < kCols; ++x) {
                    const int index = (x * 7 + y * 13 + level * 29) % firstSet;
                    cells[static_cast<size_t>((level * kRows + y) * kCols + x)] = index;
                    model.SetBlockIndex(x, y, index, level);
                }
        model.Background.Color = RGBColor(30, 60, 200);
        model.SetBackgroundKind(bkGradient);
        model.SaveToFile(out.filePath("model.cst"));

        const QString sheetName = DataFolder(QStringLiteral("System")) + QStringLiteral("sd01.csb");
        const QImage sheet(sheetName, "BMP");
        QFile::remove(out.filePath("sheet.bmp"));
        if (sheet.isNull() || !QFile::copy(sheetName, out.filePath("sheet.bmp")) ||
            !model.BackgroundBitmap().save(out.filePath("background.png"), "PNG") ||
            !WriteText(out.filePath("map.tmx"), MapText(library, sheet, cells))) {
            std::fprintf(stderr, "convert_workload: cannot write the workload into %s\n", argv[2]);
            return 1;
        }
    } catch (const IoError& error) {
        std::fprintf(stderr, "convert_workload: %s\n", error.what());
        return 1;
    }
    return 0;
}
