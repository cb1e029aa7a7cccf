#include "app/application.h"
#include "app/first_frame_report.h"
#include "common/messages.h"
#include "desktop/windowing_platform.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    ChooseWindowingPlatform(argc, argv);
    QApplication app(argc, argv);
    // Settings live under "Quadrantine" / "Cubestacks"; the title is what the user sees.
    QApplication::setOrganizationName(QStringLiteral("Quadrantine"));
    QApplication::setApplicationName(QStringLiteral("Cubestacks"));
    QApplication::setApplicationDisplayName(QString::fromLatin1(kProgramTitle));
    InstallFirstFrameReport();
    TCubestacksApplication windows;
    windows.Show();
    return QApplication::exec();
}
