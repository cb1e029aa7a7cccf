// The start-up timing lines the benchmarks read: written once each, splash
// first, only when asked for by the environment.

#include "app_fixture.h"

#include "app/first_frame_report.h"
#include "library/block_list.h"
#include "windows/splash_form.h"

#include <QApplication>
#include <QRegularExpression>
#include <QTest>
#include <cstdio>
#include <unistd.h>

namespace {

// Standard error goes to a temporary file while it lives.
class StandardErrorCapture {
public:
    StandardErrorCapture() {
        std::fflush(stderr);
        m_saved = dup(STDERR_FILENO);
        m_file = std::tmpfile();
        if (m_file)
            dup2(fileno(m_file), STDERR_FILENO);
    }
    ~StandardErrorCapture() {
        std::fflush(stderr);
        dup2(m_saved, STDERR_FILENO);
        close(m_saved);
        if (m_file)
            std::fclose(m_file);
    }
    QString Text() const {
        std::fflush(stderr);
        if (!m_file)
            return {};
        std::rewind(m_file);
        QByteArray text;
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, m_file)) > 0;)
            text.append(buffer, static_cast<qsizetype>(n));
        return QString::fromLocal8Bit(text);
    }

private:
    int m_saved = -1;
    std::FILE* m_file = nullptr;
};

class FirstFrameReportTest : public AppTest {
protected:
    void TearDown() override {
        qunsetenv("CUBESTACKS_REPORT_FIRST_FRAME");
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
        AppTest::TearDown();
    }
    // The report lines: window name and milliseconds, in the order written.
    static std::vector<std::pair<QString, double>> Reports(const QString& text) {
        static const QRegularExpression line(QStringLiteral("^cubestacks: first frame: (\\w+) ([0-9.]+) ms$"),
                                             QRegularExpression::MultilineOption);
        std::vector<std::pair<QString, double>> reports;
        for (auto it = line.globalMatch(text); it.hasNext();) {
            const auto match = it.next();
            reports.emplace_back(match.captured(1), match.captured(2).toDouble());
        }
        return reports;
    }
    // The splash painted, then the main window shown and painted twice.
    void StartWindows() {
        TSplashForm splash;
        splash.ShowAndPaint();
        MakeForm();
        QTest::qWait(20);
        form->update();
        QTest::qWait(20);
    }
};

TEST_F(FirstFrameReportTest, OneLineForEachWindowWhenAsked) {
    {
        StandardErrorCapture capture;
        qputenv("CUBESTACKS_REPORT_FIRST_FRAME", "1");
        InstallFirstFrameReport();
        StartWindows();
        const auto reports = Reports(capture.Text());
        ASSERT_EQ(reports.size(), 2u) << capture.Text().toStdString();
        EXPECT_EQ(reports[0].first, QStringLiteral("splash"));
        EXPECT_EQ(reports[1].first, QStringLiteral("main"));
        EXPECT_GT(reports[0].second, 0.0);
        EXPECT_GE(reports[1].second, reports[0].second);
    }
    form.reset();
    // Not asked for: nothing is written.
    for (const char* value : {"", "0", "yes"}) {
        StandardErrorCapture capture;
        qputenv("CUBESTACKS_REPORT_FIRST_FRAME", value);
        InstallFirstFrameReport();
        StartWindows();
        EXPECT_TRUE(Reports(capture.Text()).empty()) << value << ": " << capture.Text().toStdString();
        form.reset();
    }
}

} // namespace
