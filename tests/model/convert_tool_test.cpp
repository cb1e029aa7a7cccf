#include "imaging/bitmap.h"
#include "library/block_list.h"
#include "model_fixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QtEndian>
#include <map>

namespace {

class ConvertToolTest : public ModelTest {
protected:
    void SetUp() override {
        ModelTest::SetUp();
        const QString built = QCoreApplication::applicationDirPath() + "/cubestacks-convert";
        ASSERT_TRUE(QFile::exists(built)) << built.toStdString();
        tool = folder->file("cubestacks-convert");
        ASSERT_TRUE(QFile::copy(built, tool));
        Fill("in.cst");
    }

    struct Run {
        int exitCode = -1;
        QString errors, output;
    };
    Run Convert(const QStringList& args) {
        QProcess process;
        process.setWorkingDirectory(folder->path());
        process.start(tool, args);
        EXPECT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardError()),
                QString::fromLocal8Bit(process.readAllStandardOutput())};
    }
    QString file(const QString& name) const { return folder->file("Models/" + name); }

    void Fill(const QString& name) {
        ASSERT_TRUE(QFile::copy(DataFile("model_files", "every_part.cst"), file(name)));
    }

    QString tool;
};

TEST_F(ConvertToolTest, ModelFilesAndImagesAsTheProgramMakesThem) {
    TModel model(context);
    ASSERT_TRUE(model.LoadFromFile(file("in.cst")));
    model.SaveToFile(file("saved.cst"));
    ASSERT_EQ(Convert({file("in.cst"), file("one.cst")}).exitCode, 0);
    ASSERT_EQ(Convert({file("one.cst"), file("two.cst")}).exitCode, 0);
    EXPECT_EQ(ReadAll(file("one.cst")) + ReadAll(file("two.cst")), ReadAll(file("saved.cst")).repeated(2));

    TModelContext gridded = Context(QSize(800, 600));
    gridded.Defaults.GridVisible = true;
    TModel here(gridded);
    ASSERT_TRUE(here.LoadFromFile(file("in.cst")));
    Surface expected(QSize(800, 600));
    here.Draw(expected.canvas);
    EXPECT_EQ(expected.at(31, 300), qRgb(0, 128, 0)); // a grid line
    for (const char* name : {"out.bmp", "out.png"}) {
        const Run run = Convert({"--size", "800x600", "--grid", file("in.cst"), file(name)});
        ASSERT_TRUE(run.exitCode == 0 && run.errors.contains("This model was saved in a higher resolution."))
            << run.errors.toStdString();
        QImageReader reader(file(name));
        EXPECT_EQ(reader.format(), QByteArray(name + 4));
        EXPECT_EQ(AsBitmap(reader.read()), expected.bitmap) << name;
    }
    EXPECT_EQ(qFromLittleEndian<quint16>(ReadAll(file("out.bmp")).constData() + 28), 24);
    ASSERT_EQ(Convert({file("in.cst"), file("plain.png")}).exitCode, 0);
    const QImage plain(file("plain.png"));
    EXPECT_EQ(plain.size(), QSize(1024, 768));
    EXPECT_NE(plain.pixel(31, 300) & 0xFFFFFF, 0x008000u);
    EXPECT_EQ(plain.pixel(10, 10) | 0xFF000000u, ColorOf("42V"));
}

TEST_F(ConvertToolTest, CommandLinesOfTheDataFolder) {
    for (const char* dir : {"one", "two"})
        QDir().mkpath(folder->file(dir));
    Fill("../one/same.cst");
    QDir().mkpath(file("taken.cst"));
    TModel(context).SaveToFile(folder->file("two/same.cst"));
    const QByteArray input = ReadAll(folder->file("one/same.cst"));
    for (const QStringList& c : DataCases("convert")) {
        const Run run = Convert(c[0].split(' ', Qt::SkipEmptyParts));
        const bool written = !c.value(4).isEmpty() && QFileInfo::exists(folder->file(c.value(4)));
        EXPECT_EQ(
            std::tuple(run.exitCode, run.output.toStdString(), run.errors.contains(c.value(3)), written),
            std::tuple(c.value(1).toInt(), QString(c.value(2)).replace("\\n", "\n").toStdString(), true,
                       false))
            << c[0].toStdString() << ": " << run.errors.toStdString();
    }
    EXPECT_EQ(ReadAll(folder->file("one/same.cst")), input);
    ASSERT_EQ(Convert({"one/same.cst", "single.bmp"}).exitCode, 0);
    EXPECT_EQ(ReadAll(folder->file("out/same.bmp")), ReadAll(folder->file("single.bmp")));
}

TEST_F(ConvertToolTest, BatchConvertsWhatLoadsAndNamesWhatFails) {
    QDir().mkpath(file("batch"));
    Fill("batch/full.cst");
    TModel(context).SaveToFile(file("batch/empty.cst"));
    for (const char* name : {"old_format.cst", "cut_in_cells.cst"})
        QFile::copy(DataFile("model_files", name), file(QString("batch/") + name));
    QFile::copy(DataFile("model_files", "not_a_model.bmp"), file("batch/notes.bmp"));

    const QStringList names = {"empty", "full", "old_format"};
    for (const char* format : {"png", "cst"}) {
        std::map<QString, QByteArray> firstRun;
        for (const char* jobs : {"4", "1"}) {
            const QString out = file(QString("out-%1-%2").arg(format, jobs));
            const Run run =
                Convert({"--grid", "--jobs", jobs, "--to", format, "--output-dir", out, file("batch")});
            EXPECT_TRUE(run.exitCode == 1 && run.output == "3 converted, 1 failed\n" &&
                        !run.errors.contains('\r') &&
                        run.errors.contains(file("batch/cut_in_cells.cst") + ": Read beyond end of file"))
                << run.errors.toStdString(); // no progress line off a terminal
            EXPECT_EQ(QDir(out).entryList(QDir::Files, QDir::Name),
                      QStringList(names).replaceInStrings(QRegularExpression("$"), QString(".") + format));
            for (const QString& name : names) {
                const QByteArray bytes = ReadAll(out + "/" + name + "." + format);
                EXPECT_TRUE(!bytes.isEmpty() && (!firstRun.count(name) || bytes == firstRun[name]))
                    << name.toStdString() << " with 1 and 4 jobs";
                firstRun[name] = bytes;
            }
        }
        for (const QString& name : names) {
            const QString single = file(name + "-single." + format);
            ASSERT_EQ(Convert({"--grid", file("batch/" + name + ".cst"), single}).exitCode, 0);
            EXPECT_EQ(ReadAll(single), firstRun[name]) << name.toStdString() << "." << format;
        }
    }
    TModel back(context);
    ASSERT_TRUE(back.LoadFromFile(file("out-cst-1/old_format.cst")));
    EXPECT_EQ(StackNames(back, 0, 0), (std::vector<std::string>{"30H", "44H", "42V"}));
    EXPECT_EQ(back.TextOverlay.Text, "Hello & bye");
}

} // namespace
