#include "app/application.h"
#include "app/first_frame_report.h"
#include "app/main_form.h"
#include "common/messages.h"
#include "desktop/windowing_platform.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <cstdio>

int main(int argc, char* argv[]) {
    ChooseWindowingPlatform(argc, argv);
    QApplication app(argc, argv);
    // Settings live under "Quadrantine" / "Cubestacks"; the title is what the user sees.
    QApplication::setOrganizationName(QStringLiteral("Quadrantine"));
    QApplication::setApplicationName(QStringLiteral("Cubestacks"));
    QApplication::setApplicationDisplayName(QString::fromLatin1(kProgramTitle));
    // The desktop entry and icon the installed program goes by.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quadrantine.cubestacks"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(kProgramTitle));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("The model file to open."),
                                 QStringLiteral("[FILE.cst]"));
    parser.process(app);
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        std::fprintf(stderr, "cubestacks: only the first model file is opened\n");

    InstallFirstFrameReport();
    TCubestacksApplication windows;
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/art/icon%1.png").arg(size));
    QApplication::setWindowIcon(icon);
    if (!files.isEmpty())
        windows.MainForm->ArgumentFile = files.constFirst();
    windows.Show();
    return QApplication::exec();
}
