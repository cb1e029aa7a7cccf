// cubestacks-convert [--size WIDTHxHEIGHT] [--grid] INPUT OUTPUT
// cubestacks-convert [--size WIDTHxHEIGHT] [--grid] [--jobs N] --to cst|bmp|png --output-dir DIR INPUT...
//
// Loads INPUT (a model file of either format) as a main window of that size
// would, with the block sets from the System folder beside this program, and
// writes OUTPUT by its extension: .cst a model file, .bmp a 24-bit Windows
// bitmap of the model image, .png a PNG of it. Exit status 0 on success, 1
// when loading or saving fails, 2 for a wrong command line.
//
// The batch form converts every INPUT (a model file, or a folder whose .cst
// files are taken) into DIR/NAME.EXT, on N threads (all cores unless told)
// that share one block library. A damaged input never stops the others; each
// failure is told with its file and reason, and at the end one line says
// "N converted, M failed". Exit status 1 when any input failed.

#include "common/io_error.h"
#include "common/messages.h"
#include "common/program_folder.h"
#include "common/save_file.h"
#include "imaging/bitmap.h"
#include "imaging/bitmap_file.h"
#include "imaging/png_file.h"
#include "library/block_list.h"
#include "model/model.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QStringList>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#ifdef __GLIBC__
#include <malloc.h>
#endif
#ifdef Q_OS_WIN
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

struct Options {
    QSize size{1024, 768};
    bool grid = false;
    QString format;       // "cst", "bmp" or "png"
    QString systemFolder; // the block sets and background pictures: System beside the converter
    // The single-file form.
    QString input;
    QString output;
    // The batch form: --to, --output-dir and --jobs.
    bool batch = false;
    QString outputDir;
    int jobs = 0; // 0: one per core
    QStringList inputs;
};

int Usage(const char* problem) {
    std::fprintf(stderr, "cubestacks-convert: %s\n", problem);
    std::fprintf(stderr,
                 "usage: cubestacks-convert [--size WIDTHxHEIGHT] [--grid] INPUT OUTPUT\n"
                 "       cubestacks-convert [--size WIDTHxHEIGHT] [--grid] [--jobs N] --to cst|bmp|png "
                 "--output-dir DIR INPUT...\n"
                 "       OUTPUT ends in .cst (model file), .bmp (24-bit bitmap) or .png; an INPUT of the\n"
                 "       second form is a model file or a folder whose .cst files are converted\n");
    return kExitUsage;
}

void Fail(const QString& text) {
    std::fprintf(stderr, "cubestacks-convert: %s\n", qPrintable(text));
}

// What went wrong loading the block sets, told before any model.
void WarnAboutSets(const TBlockList& library) {
    for (const QString& text : {library.LoadError, library.LoadNotice})
        if (!text.isEmpty())
            Fail(QStringLiteral("warning: ") + text);
}

bool KnownFormat(const QString& format) {
    return format == QLatin1String("cst") || format == QLatin1String("bmp") || format == QLatin1String("png");
}

// Parses the arguments; the problem text when they are wrong.
std::optional<const char*> Parse(const QStringList& args, Options& options) {
    QStringList files;
    bool to = false;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        // An option's value, given as "--name=value" or as the next argument.
        QString value;
        auto takeValue = [&](const char* name) {
            const QString option = QLatin1String(name);
            if (arg == option) {
                if (i + 1 >= args.size())
                    return false;
                value = args[++i];
                return true;
            }
            value = arg.mid(option.size() + 1);
            return true;
        };
        auto is = [&](const char* name) {
            const QString option = QLatin1String(name);
            return arg == option || arg.startsWith(option + '=');
        };
        if (arg == QLatin1String("--grid")) {
            options.grid = true;
        } else if (is("--size")) {
            if (!takeValue("--size"))
                return "--size needs a value such as 1024x768";
            static const QRegularExpression pattern(QStringLiteral("^(\\d{1,5})[xX](\\d{1,5})$"));
            const QRegularExpressionMatch match = pattern.match(value);
            if (!match.hasMatch())
                return "--size wants WIDTHxHEIGHT, for example 1024x768";
            options.size = QSize(match.captured(1).toInt(), match.captured(2).toInt());
            if (options.size.width() < 32 || options.size.height() < 32)
                return "--size must be at least 32x32";
        } else if (is("--to")) {
            if (!takeValue("--to"))
                return "--to needs cst, bmp or png";
            options.format = value.toLower();
            if (!KnownFormat(options.format))
                return "--to wants cst, bmp or png";
            to = true;
            options.batch = true;
        } else if (is("--output-dir")) {
            if (!takeValue("--output-dir") || value.isEmpty())
                return "--output-dir needs a folder";
            options.outputDir = value;
            options.batch = true;
        } else if (is("--jobs")) {
            bool number = false;
            if (!takeValue("--jobs"))
                return "--jobs needs a number";
            options.jobs = value.toInt(&number);
            if (!number || options.jobs < 1 || options.jobs > 1024)
                return "--jobs wants a number from 1 to 1024";
            options.batch = true;
        } else if (arg.startsWith(QLatin1String("--")) && arg.size() > 2) {
            return "unknown option";
        } else {
            files << arg;
        }
    }
    if (options.batch) {
        if (!to || options.outputDir.isEmpty())
            return "converting several files needs both --to and --output-dir";
        if (files.isEmpty())
            return "give at least one input file or folder";
        options.inputs = files;
        return std::nullopt;
    }
    if (files.size() != 2)
        return "give one input and one output file";
    options.input = files[0];
    options.output = files[1];
    options.format = QFileInfo(options.output).suffix().toLower();
    if (!KnownFormat(options.format))
        return "the output file must end in .cst, .bmp or .png";
    return std::nullopt;
}

// The sets whose pictures the model shows.
std::vector<int32_t> SetsShown(const TModel& model, const TBlockList& library) {
    std::vector<bool> shown(kMaxSets, false);
    const int32_t cells = std::min<int32_t>(model.Cols * model.Rows * model.Levels, kCellStoreSize);
    for (int32_t i = 0; i < cells; ++i) {
        const int32_t index = model.Cells[static_cast<size_t>(i)];
        if (index >= 0 && index < library.Count)
            shown[library.Blocks[static_cast<size_t>(index)].Set] = true;
    }
    std::vector<int32_t> sets;
    for (int32_t set = 0; set < kMaxSets; ++set)
        if (shown[static_cast<size_t>(set)])
            sets.push_back(set);
    return sets;
}

// Writes the loaded model as the format says: the model file, or its image.
// Raises IoError when the file cannot be written.
void WriteOutput(TModel& model, const QString& format, const QString& fileName) {
    if (format == QLatin1String("cst")) {
        model.SaveToFile(fileName);
        return;
    }
    const QSize size = model.ImageSize();
    QImage image = NewBitmap(size.width(), size.height());
    TCanvas canvas(&image);
    model.Draw(canvas);
    if (format == QLatin1String("bmp"))
        SaveBitmapFile(image, fileName);
    else
        SaveFileContents(fileName, EncodePng(std::move(image)), "PNG");
}

// The text overlay needs fonts, and fonts a GUI application; a model without
// text is drawn without starting one (no platform plugin, no font set-up).
bool NeedsFonts(const TModel& model) {
    return !model.TextOverlay.Text.empty() || model.TextOverlay.Font.FontHeight > 0;
}

// The library and the main window the models are loaded into.
TModelContext ModelContext(const Options& options, const TBlockList& library) {
    TModelContext context;
    context.Library = &library;
    context.WindowSize = options.size;
    context.Defaults.GridVisible = options.grid;
    context.PictureFolder = options.systemFolder;
    return context;
}

// The data folder beside the converter (an application must exist).
QString SystemFolder() {
    return DataFolderIn(QCoreApplication::applicationDirPath(), QStringLiteral("System"));
}

int ConvertOne(const Options& options, int& argc, char** argv) {
    std::optional<QGuiApplication> app; // made before, and so gone after, the model with its fonts
    // Only the pictures of the sets the model shows are cut, and none for a model file.
    TBlockList library(TBlockList::TPictureLoading::WhenAsked, options.systemFolder);
    WarnAboutSets(library);

    TModel model(ModelContext(options, library));
    if (!QFileInfo::exists(options.input)) {
        Fail(QStringLiteral("Model file %1 does not exist").arg(options.input));
        return kExitFailed;
    }
    if (!model.LoadFromFile(options.input))
        return kExitFailed; // the message has been shown

    if (options.format != QLatin1String("cst")) {
        if (NeedsFonts(model))
            app.emplace(argc, argv);
        for (const int32_t set : SetsShown(model, library))
            if (!library.LoadPictures(set))
                Fail(QStringLiteral("warning: ") + library.LoadError);
    }
    WriteOutput(model, options.format, options.output);
    return 0;
}

// ---------------------------------------------------------------------------
// The batch form.

// Keeps the messages of the model code for the input being converted.
class CollectingPresenter : public MessagePresenter {
public:
    explicit CollectingPresenter(QStringList& messages) : m_messages(messages) {}
    int Present(const QString&, const QString& text, int, int defaultAnswer) override {
        QString plain = text;
        plain.replace(QLatin1String("\r\n"), QLatin1String(" "));
        m_messages << plain;
        return defaultAnswer;
    }

private:
    QStringList& m_messages;
};

struct Job {
    QString input;   // as given or found in a folder
    QString output;  // DIR/NAME.EXT
    QString refusal; // why it is not converted at all, before any work
};

// Output names compare as the file system does.
QString OutputKey(const QString& fileName) {
    const QString path = QDir::cleanPath(QFileInfo(fileName).absoluteFilePath());
#ifdef Q_OS_WIN
    return path.toLower();
#else
    return path;
#endif
}

// Every input file (a folder gives its .cst files, by name) with its output
// and, where it must not be converted, why.
std::vector<Job> PlanJobs(const Options& options) {
    std::vector<Job> jobs;
    for (const QString& input : options.inputs) {
        const QFileInfo info(input);
        if (info.isDir()) {
            QDir folder(input);
            const QStringList names = folder.entryList(
                {QStringLiteral("*.cst")}, QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
            if (names.isEmpty())
                Fail(QStringLiteral("warning: %1: no .cst files in this folder").arg(input));
            for (const QString& name : names)
                jobs.push_back({folder.filePath(name), {}, {}});
        } else if (info.exists()) {
            jobs.push_back({input, {}, {}});
        } else {
            jobs.push_back({input, {}, QStringLiteral("does not exist")});
        }
    }

    const QDir dir(options.outputDir);
    std::map<QString, QString> inputs; // canonical path of every input
    for (const Job& job : jobs) {
        const QString canonical = QFileInfo(job.input).canonicalFilePath();
        if (!canonical.isEmpty())
            inputs.emplace(OutputKey(canonical), job.input);
    }
    std::map<QString, QString> outputs; // output key -> the input that has it
    for (Job& job : jobs) {
        if (!job.refusal.isEmpty())
            continue;
        job.output = dir.filePath(QFileInfo(job.input).completeBaseName() + '.' + options.format);
        const QString key = OutputKey(job.output);
        const QString existing = QFileInfo(job.output).canonicalFilePath();
        const auto input = existing.isEmpty() ? inputs.end() : inputs.find(OutputKey(existing));
        if (input != inputs.end()) {
            job.refusal =
                QStringLiteral("skipped: its output %1 is the input %2, which is never written over")
                    .arg(job.output, input->second);
            continue;
        }
        const auto [taken, added] = outputs.emplace(key, job.input);
        if (!added)
            job.refusal =
                QStringLiteral("skipped: its output %1 is already that of %2").arg(job.output, taken->second);
    }
    return jobs;
}

// What the workers tell: failures as they come, and on a terminal a progress line.
class Report {
public:
    explicit Report(size_t total) : m_total(total), m_terminal(isatty(fileno(stderr)) != 0) {}

    void Finished(const QString& input, const QString& failure, const QStringList& warnings) {
        const std::lock_guard<std::mutex> lock(m_mutex);
        ClearProgress();
        for (const QString& warning : warnings)
            Fail(QStringLiteral("%1: warning: %2").arg(input, warning));
        if (!failure.isEmpty()) {
            Fail(QStringLiteral("%1: %2").arg(input, failure));
            ++m_failed;
        }
        ++m_done;
        if (m_terminal && m_done < m_total) {
            std::fprintf(stderr, "\r%zu/%zu done, %zu failed", m_done, m_total, m_failed);
            m_progressShown = true;
        }
        std::fflush(stderr);
    }
    void End() {
        const std::lock_guard<std::mutex> lock(m_mutex);
        ClearProgress();
        std::printf("%zu converted, %zu failed\n", m_done - m_failed, m_failed);
        std::fflush(stdout);
    }
    size_t Failed() const { return m_failed; }

private:
    void ClearProgress() {
        if (m_progressShown)
            std::fprintf(stderr, "\r\033[K");
        m_progressShown = false;
    }

    std::mutex m_mutex;
    size_t m_total;
    size_t m_done = 0;
    size_t m_failed = 0;
    bool m_terminal;
    bool m_progressShown = false;
};

// Converts one input on the calling thread; the reason when it fails.
QString ConvertJob(const Job& job, const QString& format, TModelContext context, QStringList& messages) {
    if (!job.refusal.isEmpty())
        return job.refusal;
    CollectingPresenter presenter(messages);
    context.Messages = &presenter;
    try {
        TModel model(context);
        if (!model.LoadFromFile(job.input)) {
            const QString why = messages.join(' ');
            messages.clear();
            return why.isEmpty() ? QStringLiteral("not loaded") : why;
        }
        WriteOutput(model, format, job.output);
    } catch (const std::exception& error) {
        return QString::fromLocal8Bit(error.what());
    }
    return {};
}

int ConvertBatch(const Options& options) {
    std::vector<Job> jobs = PlanJobs(options);
    if (!QDir().mkpath(options.outputDir)) {
        Fail(QStringLiteral("cannot make the output folder %1").arg(options.outputDir));
        return kExitFailed;
    }

    // One library for every thread, complete before the first draws: drawing only reads it.
    TBlockList library(TBlockList::TPictureLoading::AtOnce, options.systemFolder);
    WarnAboutSets(library);
    const TModelContext context = ModelContext(options, library);

    Report report(jobs.size());
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t i = next++; i < jobs.size(); i = next++) {
            QStringList messages;
            const QString failure = ConvertJob(jobs[i], options.format, context, messages);
            report.Finished(jobs[i].input, failure, messages);
        }
    };
    const size_t threads = std::min<size_t>(
        jobs.size(),
        static_cast<size_t>(options.jobs > 0 ? options.jobs : std::max(1, QThread::idealThreadCount())));
    std::vector<std::thread> workers;
    for (size_t t = 1; t < threads; ++t)
        workers.emplace_back(work);
    work();
    for (std::thread& worker : workers)
        worker.join();
    report.End();
    return report.Failed() > 0 ? kExitFailed : 0;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    Options options;
    if (const auto problem = Parse(args, options))
        return Usage(*problem);

    try {
        if (options.batch) {
#ifdef __GLIBC__
            // Each conversion takes and gives back the same few large blocks
            // (images of 3 MiB): kept by the allocator rather than given back
            // to the system, they are not cleared and mapped afresh each time.
            mallopt(M_MMAP_THRESHOLD, 64 << 20);
            mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
            QGuiApplication app(argc, argv);
            options.systemFolder = SystemFolder();
            return ConvertBatch(options);
        }
        // The program folder from a core application, which costs little; a
        // GUI application only when the model has text to draw.
        {
            QCoreApplication core(argc, argv);
            options.systemFolder = SystemFolder();
        }
        return ConvertOne(options, argc, argv);
    } catch (const IoError& error) {
        Fail(QString::fromStdString(error.what()));
        return kExitFailed;
    }
}
