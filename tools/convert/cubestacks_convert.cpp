// cubestacks-convert [--size WIDTHxHEIGHT] [--grid] INPUT OUTPUT
//
// Loads INPUT (a model file of either format) as a main window of that size
// would, with the block sets from the System folder beside this program, and
// writes OUTPUT by its extension: .cst a model file, .bmp a 24-bit Windows
// bitmap of the model image, .png a PNG of it. Exit status 0 on success, 1
// when loading or saving fails, 2 for a wrong command line.

#include "common/io_error.h"
#include "common/main_window_size.h"
#include "common/messages.h"
#include "common/save_file.h"
#include "imaging/bitmap.h"
#include "imaging/bitmap_file.h"
#include "imaging/png_file.h"
#include "library/block_list.h"
#include "model/model.h"
#include "model/model_defaults.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QStringList>
#include <cstdio>
#include <optional>

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

struct Options {
    QSize size{1024, 768};
    bool grid = false;
    QString input;
    QString output;
    QString format; // "cst", "bmp" or "png"
};

int Usage(const char* problem) {
    std::fprintf(stderr, "cubestacks-convert: %s\n", problem);
    std::fprintf(stderr, "usage: cubestacks-convert [--size WIDTHxHEIGHT] [--grid] INPUT OUTPUT\n"
                         "       OUTPUT ends in .cst (model file), .bmp (24-bit bitmap) or .png\n");
    return kExitUsage;
}

void Fail(const QString& text) {
    std::fprintf(stderr, "cubestacks-convert: %s\n", qPrintable(text));
}

// Parses the arguments; the problem text when they are wrong.
std::optional<const char*> Parse(const QStringList& args, Options& options) {
    QStringList files;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--grid")) {
            options.grid = true;
        } else if (arg == QLatin1String("--size") || arg.startsWith(QLatin1String("--size="))) {
            QString value;
            if (arg.startsWith(QLatin1String("--size="))) {
                value = arg.mid(7);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                return "--size needs a value such as 1024x768";
            }
            static const QRegularExpression pattern(QStringLiteral("^(\\d{1,5})[xX](\\d{1,5})$"));
            const QRegularExpressionMatch match = pattern.match(value);
            if (!match.hasMatch())
                return "--size wants WIDTHxHEIGHT, for example 1024x768";
            options.size = QSize(match.captured(1).toInt(), match.captured(2).toInt());
            if (options.size.width() < 32 || options.size.height() < 32)
                return "--size must be at least 32x32";
        } else if (arg.startsWith(QLatin1String("--")) && arg.size() > 2) {
            return "unknown option";
        } else {
            files << arg;
        }
    }
    if (files.size() != 2)
        return "give one input and one output file";
    options.input = files[0];
    options.output = files[1];
    options.format = QFileInfo(options.output).suffix().toLower();
    if (options.format != QLatin1String("cst") && options.format != QLatin1String("bmp") &&
        options.format != QLatin1String("png"))
        return "the output file must end in .cst, .bmp or .png";
    return std::nullopt;
}

// Encoded in memory first, then written the way the program saves every file.
void SavePng(const QImage& image, const QString& fileName) {
    SaveFileContents(fileName, EncodePng(image), "PNG");
}

int Convert(const Options& options) {
    SetMainWindowSize(options.size);
    ModelDefaults().GridVisible = options.grid;

    TBlockList library;
    if (!library.LoadError.isEmpty())
        Fail(QStringLiteral("warning: ") + library.LoadError);
    SetBlockList(&library);
    struct Release {
        ~Release() { SetBlockList(nullptr); }
    } release;

    TModel model;
    if (!QFileInfo::exists(options.input)) {
        Fail(QStringLiteral("Model file %1 does not exist").arg(options.input));
        return kExitFailed;
    }
    if (!model.LoadFromFile(options.input))
        return kExitFailed; // the message has been shown

    if (options.format == QLatin1String("cst")) {
        model.SaveToFile(options.output);
        return 0;
    }
    QImage image = NewBitmap(ModelImageSize().width(), ModelImageSize().height());
    TCanvas canvas(&image);
    model.Draw(canvas);
    if (options.format == QLatin1String("bmp"))
        SaveBitmapFile(image, options.output);
    else
        SavePng(image, options.output);
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setOrganizationName(QStringLiteral("Quadrantine"));
    QGuiApplication::setApplicationName(QStringLiteral("Cubestacks"));

    Options options;
    if (const auto problem = Parse(QGuiApplication::arguments(), options))
        return Usage(*problem);
    try {
        return Convert(options);
    } catch (const IoError& error) {
        Fail(QString::fromStdString(error.what()));
        return kExitFailed;
    }
}
