#include "app_fixture.h"

#include "app/first_frame_report.h"
#include "windows/splash_form.h"

#include <QRegularExpression>
#include <QTest>
#include <cstdio>
#include <unistd.h>

namespace {

class FirstFrameReportTest : public AppTest {
protected:
    void TearDown() override {
        qunsetenv("CUBESTACKS_REPORT_FIRST_FRAME");
        AppTest::TearDown();
    }
    QString StartWindows(const char* asked) {
        qputenv("CUBESTACKS_REPORT_FIRST_FRAME", asked);
        std::fflush(stderr);
        const int saved = dup(STDERR_FILENO);
        std::FILE* file = std::tmpfile();
        dup2(fileno(file), STDERR_FILENO);
        InstallFirstFrameReport();
        {
            TSplashForm splash;
            splash.ShowAndPaint();
            MakeForm();
            QTest::qWait(20);
            form->update();
            QTest::qWait(20);
        }
        form.reset();
        std::fflush(stderr);
        dup2(saved, STDERR_FILENO);
        close(saved);
        std::rewind(file);
        QByteArray text(1 << 16, '\0');
        text.truncate(static_cast<qsizetype>(std::fread(text.data(), 1, text.size(), file)));
        std::fclose(file);
        return QString::fromLocal8Bit(text);
    }
};

TEST_F(FirstFrameReportTest, OneLineForEachWindowWhenAsked) {
    const QString text = StartWindows("1");
    static const QRegularExpression line(S("^cubestacks: first frame: (\\w+) ([0-9.]+) ms$"),
                                         QRegularExpression::MultilineOption);
    QStringList windows;
    std::vector<double> ms;
    for (auto it = line.globalMatch(text); it.hasNext();) {
        const auto match = it.next();
        windows << match.captured(1);
        ms.push_back(match.captured(2).toDouble());
    }
    ASSERT_EQ(windows, QStringList({"splash", "main"})) << text.toStdString();
    EXPECT_GT(ms[0], 0.0); // since the program started
    EXPECT_GE(ms[1], ms[0]);
    for (const char* value : {"", "0", "yes"})
        EXPECT_FALSE(StartWindows(value).contains(S("first frame"))) << value;
}

} // namespace
