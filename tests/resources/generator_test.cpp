// The generator repeats itself: run again, it writes exactly the bytes that
// were compiled into the program, and every file it lists is a resource.
#include "resource_checks.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

class GeneratorTest : public ResourceTest {};

TEST_F(GeneratorTest, RunningTheGeneratorAgainGivesTheSameBytesAsTheCompiledResources) {
#ifndef CS_RESGEN_PATH
    GTEST_FAIL() << "the build did not say where the generator is";
#else
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    QProcess generator;
    generator.start(QStringLiteral(CS_RESGEN_PATH), {out.path()});
    ASSERT_TRUE(generator.waitForFinished(120000));
    ASSERT_EQ(generator.exitStatus(), QProcess::NormalExit);
    ASSERT_EQ(generator.exitCode(), 0) << generator.readAllStandardError().toStdString();

    const QString qrc = QString::fromUtf8(ReadAll(out.filePath("generated.qrc")));
    static const QRegularExpression entry(QStringLiteral("<file>([^<]+)</file>"));
    int files = 0;
    for (const QRegularExpressionMatch& m : entry.globalMatch(qrc)) {
        const QString path = m.captured(1);
        SCOPED_TRACE(path.toStdString());
        const QByteArray again = ReadAll(out.filePath(path));
        ASSERT_FALSE(again.isEmpty());
        EXPECT_EQ(again, ReadAll(":/" + path)) << "differs from the compiled resource";
        ++files;
    }
    // 7 pointers, 6 sounds, 21 buttons, 7 window pictures and 6 icons.
    EXPECT_EQ(files, 47);
    // Nothing written that the list leaves out.
    int written = 0;
    for (QDirIterator it(out.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext(); it.next())
        ++written;
    EXPECT_EQ(written, files + 1);
#endif
}

} // namespace
