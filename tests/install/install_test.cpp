#include "x_session.h"

#include "common/program_folder.h"
#include "library/block_list.h"
#include "model/model.h"

#include <QDirIterator>
#include <QMimeDatabase>
#include <QStandardPaths>
#include <cstdio>
#include <optional>
#include <unistd.h>

namespace {

const QString kId = S("org.quadrantine.cubestacks");
const QString kModelType = S("application/x-cubestacks-model");
constexpr int kToolMs = 120000;

class InstallTest : public SessionTest {
protected:
    static void SetUpTestSuite() {
        stage = std::make_unique<QTemporaryDir>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(S("DESTDIR"), stage->path());
        installed = RunTool(QStringLiteral(CMAKE_PROGRAM), {"--install", BUILD_FOLDER, "--prefix", "/usr"},
                            env, kToolMs);
    }
    void SetUp() override {
        SessionTest::SetUp();
        ASSERT_TRUE(installed.ok) << installed.err.toStdString();
    }
    static QString Staged(const QString& path) { return stage->path() + S("/usr/") + path; }

    // A desktop tool's check of staged files: its output; nothing when it is missing (./build.sh installs
    // it).
    static std::optional<QByteArray> Check(const char* program, const QStringList& args) {
        if (QStandardPaths::findExecutable(S(program)).isEmpty()) {
            std::printf("%s is not installed: not checked\n", program);
            return std::nullopt;
        }
        const ToolResult run = RunTool(S(program), args, QProcessEnvironment::systemEnvironment(), kToolMs);
        EXPECT_TRUE(run.ok) << program << ": " << run.out.toStdString() << run.err.toStdString();
        return run.out;
    }

    inline static std::unique_ptr<QTemporaryDir> stage;
    inline static ToolResult installed;
};

TEST_F(InstallTest, TheProgramFolderTheLinksAndTheIconsAreLaidOut) {
    const QDir built(QStringLiteral(PROGRAM_FOLDER));
    int files = 0;
    for (const char* data : {"System", "Models", "Images"})
        for (QDirIterator it(built.filePath(QString::fromLatin1(data)), QDir::Files,
                             QDirIterator::Subdirectories);
             it.hasNext(); ++files) {
            const QFileInfo file(it.next());
            const QString copy = Staged(S("lib/cubestacks/") + built.relativeFilePath(file.filePath()));
            EXPECT_EQ(QFileInfo(copy).size(), file.size()) << copy.toStdString();
        }
    EXPECT_TRUE(files > 2 && QFileInfo(Staged(S("lib/cubestacks/Images"))).isDir()) << files;

    for (const QString& program : {S("cubestacks"), S("cubestacks-convert")}) {
        const QString link = Staged(S("bin/") + program);
        char target[4096] = {};
        ASSERT_GT(::readlink(QFile::encodeName(link).constData(), target, sizeof target - 1), 0)
            << link.toStdString();
        EXPECT_NE(target[0], '/') << "not relative: " << target;
        const QFileInfo real(QFileInfo(link).canonicalFilePath());
        EXPECT_EQ(real.filePath(), QFileInfo(Staged(S("lib/cubestacks/") + program)).canonicalFilePath());
        EXPECT_TRUE(real.isExecutable()) << link.toStdString();
    }

    for (int size : {16, 32, 48, 128, 256}) {
        const QImage icon(Staged(S("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(kId)));
        EXPECT_EQ(std::pair(icon.size(), icon.hasAlphaChannel()), std::pair(QSize(size, size), true));
    }
}

TEST_F(InstallTest, TheDesktopEntryFileTypeAndAppStreamDataAreAccepted) {
    const QString entry = Staged(S("share/applications/%1.desktop").arg(kId));
    const QByteArray text = ReadAll(entry);
    EXPECT_TRUE(text.contains("\nExec=cubestacks %f\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("\nIcon=" + kId.toUtf8() + "\n"));
    EXPECT_TRUE(text.contains("\nMimeType=" + kModelType.toUtf8() + ";\n"));
    EXPECT_EQ(Check("desktop-file-validate", {entry}).value_or(""), "") << "not even a hint";
    Check("appstreamcli",
          {"validate", "--no-net", "--pedantic", Staged(S("share/metainfo/%1.metainfo.xml").arg(kId))});
    if (Check("update-mime-database", {Staged(S("share/mime"))})) {
        EXPECT_TRUE(QFileInfo::exists(Staged(S("share/mime/mime.cache"))));
    }
    qputenv("XDG_DATA_DIRS", (Staged(S("share")) + S(":/usr/share")).toLocal8Bit());
    QFile::copy(Staged(S("lib/cubestacks/Models/Welcome.cst")), Home(S("model")));
    QFile(Home(S("Any.cst"))).open(QIODevice::WriteOnly);
    for (const char* name : {"Any.cst", "model"})
        EXPECT_EQ(QMimeDatabase().mimeTypeForFile(Home(S(name))).name(), kModelType) << name;
}

TEST_F(InstallTest, TheStagedProgramOpensTheModelItIsGiven) {
    const QString model = Home(S("Given Model.cst"));
    SetProgramFolder(Staged(S("lib/cubestacks")));
    {
        TBlockList library;
        ASSERT_GT(library.Count, 0) << library.LoadError.toStdString();
        TModel given(TModelContext{&library, kMainWindow.size(), {}, {}, nullptr});
        for (int row = 0; row < given.Rows; ++row)
            for (int col = 0; col < given.Cols; ++col)
                given.SetBlockIndex(col, row, (col * 7 + row * 3) % library.Count, 0);
        given.SaveToFile(model);
    }
    SetProgramFolder(QString());

    ASSERT_TRUE(StartDisplay());
    const QProcessEnvironment env = ProgramEnvironment();
    const ToolResult converted = RunTool(Staged(S("bin/cubestacks-convert")),
                                         {"--size", "1024x768", model, Out(S("expected.png"))}, env, kToolMs);
    ASSERT_TRUE(converted.ok) << converted.err.toStdString();
    const QImage expected = QImage(Out(S("expected.png"))).convertToFormat(QImage::Format_RGB32);
    ASSERT_TRUE(Launch(program, Staged(S("bin/cubestacks")), {model}, env, S("program.log")));
    QImage screen;
    std::vector<QRect> covered;
    WaitFor(
        [&] {
            covered.clear();
            for (const XWindow& w : VisibleWindows(S(".")))
                if (w.geometry != kMainWindow)
                    covered.push_back(w.geometry.translated(-kMainWindow.topLeft()));
            screen = Screenshot();
            return !program->Running() ||
                   (!screen.isNull() && Differences(screen.copy(kMainWindow), expected, covered) == 0);
        },
        kStartMs, 200);
    EXPECT_TRUE(program->Running()) << program->Describe().toStdString();
    EXPECT_EQ(Differences(screen.copy(kMainWindow), expected, covered), 0) << "see " << out.toStdString();
    int hidden = 0; // most of the window in view
    for (QRect r : covered) {
        r &= QRect(QPoint(), kMainWindow.size());
        hidden += r.width() * r.height();
    }
    EXPECT_LT(hidden, kMainWindow.width() * kMainWindow.height() / 2);
    if (HasFailure())
        screen.save(Out(S("screen.png")));
}

} // namespace
