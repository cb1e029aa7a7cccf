#include "app_fixture.h"

#include "app/first_frame_report.h"
#include "windows/splash_form.h"

namespace {

class FirstFrameReportTest : public AppTest {
protected:
    QString StartWindows(const char* asked) {
        qputenv("CUBESTACKS_REPORT_FIRST_FRAME", asked);
        testing::internal::CaptureStderr();
        InstallFirstFrameReport();
        auto splash = std::make_unique<TSplashForm>();
        splash->ShowAndPaint();
        MakeForm();
        QTest::qWait(20);
        form->update();
        QTest::qWait(20);
        splash.reset();
        form.reset();
        qunsetenv("CUBESTACKS_REPORT_FIRST_FRAME");
        return QString::fromStdString(testing::internal::GetCapturedStderr());
    }
};

TEST_F(FirstFrameReportTest, OneLineForEachWindowWhenAsked) {
    const QString text = StartWindows("1");
    static const QRegularExpression line(S("^cubestacks: first frame: (\\w+) ([0-9.]+) ms$"),
                                         QRegularExpression::MultilineOption);
    QStringList windows;
    std::vector<double> ms;
    for (const auto& m : line.globalMatch(text)) {
        windows << m.captured(1);
        ms.push_back(m.captured(2).toDouble());
    }
    ASSERT_EQ(windows, QStringList({"splash", "main"})) << text.toStdString();
    EXPECT_TRUE(ms[0] > 0 && ms[1] >= ms[0]) << text.toStdString(); // since the program started
    for (const char* value : {"", "0", "yes"})
        EXPECT_FALSE(StartWindows(value).contains(S("first frame"))) << value;
}

} // namespace
