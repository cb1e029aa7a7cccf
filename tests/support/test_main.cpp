#include "support/test_support.h"

#include "common/program_state.h"

#include <QApplication>
#include <QSettings>

namespace {
class FreshStatePerTest : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        ResetProgramState();
        SetMessagePresenter(&TestPresenter());
        TestPresenter().Clear();
    }
};
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const TempProgramFolder home;
    qputenv("XDG_CONFIG_HOME", home.file("config").toLocal8Bit());
    qputenv("XDG_DATA_HOME", home.file("data").toLocal8Bit());
    home.write("config/user-dirs.dirs",
               "XDG_DOCUMENTS_DIR=\"" + home.file("documents").toLocal8Bit() + "\"\n");
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Quadrantine"));
    QApplication::setApplicationName(QStringLiteral("Cubestacks"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.file("settings"));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home.file("settings"));
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshStatePerTest);
    return RUN_ALL_TESTS();
}
